#include "app/mainwindow.h"
#include "app/processmemory.h"
#include "app/resourcesinit.h"

#include <QApplication>
#include <QFile>

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
    VornaLumeto::initResources();
    applyStyleSheet(application);

    VornaLumeto::MainWindow window(0, nullptr);
    window.setMinimumSize(840, 630);
    window.show();
    return application.exec();
}
