#include "resourceimages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextStream>

namespace {

bool reportSaved(bool saved, const QString& path)
{
    QTextStream(stderr) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

void makeParentDirectory(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
}

bool saveImage(const QImage& image, const QString& path)
{
    makeParentDirectory(path);
    return reportSaved(image.save(path, "PNG"), path);
}

// The scalable application icon comes from the same drawing as the PNG sizes.
bool saveLogotypeSvg(const QString& path)
{
    makeParentDirectory(path);
    QFile::remove(path);
    const int side = static_cast<int>(LumetoTools::logotypeSide);
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(QSize(side, side));
    generator.setViewBox(QRect(0, 0, side, side));
    generator.setTitle(QStringLiteral("Lumeto"));
    QPainter painter;
    const bool painted = painter.begin(&generator);
    if (painted) {
        LumetoTools::paintLogotype(painter);
        painter.end();
    }
    return reportSaved(painted && QFileInfo(path).size() > 0, path);
}

// The hicolor theme folder of one icon size.
QString hicolorIcon(const QString& icons, int size)
{
    return icons + QStringLiteral("/hicolor/%1x%1/apps/lumeto.png").arg(size);
}

} // namespace

int main(int argc, char* argv[])
{
    // Drawing needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const QString resources = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                       : QStringLiteral(LUMETO_RESOURCES_DIR);
    const QString icons = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(LUMETO_ICONS_DIR);
    const QString shared = resources + QStringLiteral("/vornaallprogs/images/");
    const QString own = resources + QStringLiteral("/vornalumeto/images/");

    using namespace LumetoTools;
    bool allSaved = saveImage(drawOpenFileIcon(), shared + QStringLiteral("buttonAddFile.png"));
    allSaved &= saveImage(drawLogotype(64), shared + QStringLiteral("logotype.png"));
    allSaved &= saveImage(drawVectorIcon(), own + QStringLiteral("icon_vector.png"));
    allSaved &= saveImage(drawFrequencyIcon(), own + QStringLiteral("icon_frequency.png"));
    allSaved &= saveImage(drawAboutPicture(), own + QStringLiteral("about_prog.png"));
    allSaved &= saveImage(drawPolarGrid(AngleLabels::Degrees), own + QStringLiteral("phase.png"));
    allSaved &= saveImage(drawPolarGrid(AngleLabels::Radians), own + QStringLiteral("phase_radian.png"));
    for (const int size : {48, 256})
        allSaved &= saveImage(drawLogotype(size), hicolorIcon(icons, size));
    allSaved &= saveLogotypeSvg(icons + QStringLiteral("/hicolor/scalable/apps/lumeto.svg"));
    return allSaved ? 0 : 1;
}
