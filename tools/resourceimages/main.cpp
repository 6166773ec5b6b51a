#include "resourceimages.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

namespace {

bool saveImage(const QImage& image, const QString& path)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    const bool saved = image.save(path, "PNG");
    QTextStream(stderr) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    // Drawing needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const QString resources = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                       : QStringLiteral(LUMETO_RESOURCES_DIR);
    const QString shared = resources + QStringLiteral("/vornaallprogs/images/");
    const QString own = resources + QStringLiteral("/vornalumeto/images/");

    using namespace LumetoTools;
    bool allSaved = saveImage(drawOpenFileIcon(), shared + QStringLiteral("buttonAddFile.png"));
    allSaved &= saveImage(drawLogotype(), shared + QStringLiteral("logotype.png"));
    allSaved &= saveImage(drawVectorIcon(), own + QStringLiteral("icon_vector.png"));
    allSaved &= saveImage(drawFrequencyIcon(), own + QStringLiteral("icon_frequency.png"));
    allSaved &= saveImage(drawAboutPicture(), own + QStringLiteral("about_prog.png"));
    allSaved &= saveImage(drawPolarGrid(AngleLabels::Degrees), own + QStringLiteral("phase.png"));
    allSaved &= saveImage(drawPolarGrid(AngleLabels::Radians), own + QStringLiteral("phase_radian.png"));
    return allSaved ? 0 : 1;
}
