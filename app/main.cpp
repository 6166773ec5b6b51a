#include "app/commandline.h"
#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/processmemory.h"
#include "app/qttranslation.h"
#include "app/resourcesinit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>

namespace {

void applyStyleSheet(QApplication& application)
{
    QFile styleFile(QStringLiteral(":/vornaallprogs_res/vornaallprogs_style.css"));
    if (!styleFile.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = styleFile.readAll();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    application.setStyleSheet(QString::fromUtf8(bytes));
}

} // namespace

int main(int argc, char* argv[])
{
    VornaLumeto::setUpProcessMemory(argv);
    QApplication application(argc, argv);
    QTranslator qtTranslator;
    VornaLumeto::installQtTranslation(qtTranslator);

    const VornaLumeto::CommandLine commandLine =
        VornaLumeto::parseCommandLine(QCoreApplication::arguments(), QDir::currentPath());
    if (!commandLine.startsViewer()) {
        QTextStream(stdout) << commandLine.output;
        QTextStream(stderr) << commandLine.error;
        return commandLine.exitCode;
    }

    VornaLumeto::initResources();
    applyStyleSheet(application);

    VornaLumeto::MainWindow window(0, nullptr);
    window.setMinimumSize(840, 630);
    window.show();
    for (const QString& path : commandLine.recordings)
        window.recordingTabs->openFile(path);
    return application.exec();
}
