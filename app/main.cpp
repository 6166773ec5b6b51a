#include "app/commandline.h"
#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/processmemory.h"
#include "app/qttranslation.h"
#include "app/resourcesinit.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>

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
    VornaLumeto::applyStyleSheet(application);

    VornaLumeto::MainWindow window(0, nullptr);
    window.setMinimumSize(840, 630);
    window.show();
    for (const QString& path : commandLine.recordings)
        window.recordingTabs->openFile(path);
    return application.exec();
}
