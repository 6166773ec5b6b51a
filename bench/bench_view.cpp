// Opening a recording in a view and redrawing it: (a) a typical recording
// (16 analog + 32 digital channels, 10,000 samples) and (b) the largest the
// model holds (191 analog + 64 digital, 65,535 samples), shown at 1600 x 900.
// load() is timed in its two halves on the same view: reading (readRecording,
// the viewer's own reader) and building the display from what it read.
// Each recording is measured in a child process of its own, so that the peak
// memory figure belongs to that recording alone. The process keeps freed memory
// for reuse as the viewer does; the first load, which needs fresh pages from the
// system, is printed on its own.
// Then, in a child of its own, the R-X locus of the six loops over every
// sample of the fault-analysis case (one line, 65,535 samples; see
// benchsupport.h): computed from the samples and drawn in a diagram the size
// the fault-analysis window gives it, and the computation alone.
#include "benchsupport.h"

#include "app/processmemory.h"
#include "app/resourcesinit.h"
#include "analysis/primarysignals.h"
#include "analysis/setupstore.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/recordingreader.h"
#include "view/comtraderead.h"
#include "view/faultanalysiswindow.h"
#include "view/impedancediagram.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>

#include <memory>

using namespace LumetoBench;
using VornaLumeto::COMTRADE_read;

namespace {

constexpr int loadRuns = 3;
constexpr int replotRuns = 7;

double replotMedian(COMTRADE_read& view)
{
    std::vector<double> times;
    for (int run = 0; run < replotRuns; ++run)
        times.push_back(millisecondsOf([&view] { view.plot->replot(QCustomPlot::rpImmediateRefresh); }));
    return median(times);
}

// The six loops' locus of the line's set over every sample, as the window computes it.
VornaLumeto::ImpedanceLocus wholeLocus(const COMTRADE_read& view, const VornaLumeto::ThreePhaseSetup& setup)
{
    const VornaLumeto::SetSignals set =
        VornaLumeto::primarySetSignals(view, setup.set, VornaLumeto::setScaling(view, setup));
    return VornaLumeto::impedanceLocus(view.sampling, set, setup.line, 0, view.sampleCount() - 1,
                                       VornaLumeto::FaultAnalysisWindow::locusCurrentShare);
}

int measureLocus()
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("line"));
    if (!writeLineFaultCase(base))
        return 1;
    COMTRADE_read view(nullptr);
    if (view.load(base + QStringLiteral(".cfg")) != VornaLumeto::loadSuccessMessage())
        return 1;
    const QVector<VornaLumeto::ThreePhaseSetup> setups = VornaLumeto::foundSetups(view);
    if (setups.isEmpty())
        return 1;
    VornaLumeto::ThreePhaseSetup setup = setups.first();
    setup.line = {0.1, 0.4, 0.3, 1.2, 100.0};  // the generator's line
    VornaLumeto::ImpedanceDiagram diagram(nullptr);
    diagram.resize(780, 560);
    diagram.show();
    QApplication::processEvents();
    const int last = view.sampleCount() - 1;
    std::vector<double> computeAndDraw;
    std::vector<double> compute;
    for (int run = 0; run < replotRuns; ++run) {
        computeAndDraw.push_back(millisecondsOf([&] {
            diagram.setLocus(wholeLocus(view, setup), 1.0);
            diagram.setLine(setup.line.z1());
            diagram.showSamples(0, last, last / 2);
            diagram.fitToContents();
            diagram.replot(QCustomPlot::rpImmediateRefresh);
        }));
        compute.push_back(millisecondsOf([&] { wholeLocus(view, setup); }));
    }
    print(QStringLiteral("rx_locus_65535_samples"), median(computeAndDraw), "ms");
    print(QStringLiteral("rx_locus_65535_samples_compute"), median(compute), "ms");
    return 0;
}

int measure(const ViewCase& recordingCase)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("bench"));
    if (!writeCaseRecording(recordingCase, base))
        return 1;
    const QString path = base + QStringLiteral(".cfg");
    const QString name = QString::fromLatin1(recordingCase.name);

    std::vector<double> reading;
    std::vector<double> display;
    std::unique_ptr<COMTRADE_read> view;
    for (int run = 0; run < loadRuns; ++run) {
        view = std::make_unique<COMTRADE_read>(nullptr);
        VornaLumeto::RecordingReading read;
        reading.push_back(millisecondsOf([&] { read = VornaLumeto::readRecording(path, VornaLumeto::StandardReading::Never); }));
        display.push_back(millisecondsOf([&] { view->buildDisplay(std::move(read.recording)); }));
    }
    view->resize(1600, 900);
    view->show();
    QApplication::processEvents();

    print(name + QStringLiteral("_load_reading"), median(reading), "ms");
    print(name + QStringLiteral("_load_display"), median(display), "ms");
    print(name + QStringLiteral("_load_display_to_reading"), median(display) / median(reading), "x");
    print(name + QStringLiteral("_first_load_reading"), reading.front(), "ms");
    print(name + QStringLiteral("_first_load_display"), display.front(), "ms");
    print(name + QStringLiteral("_replot_zoomed_out"), replotMedian(*view), "ms");
    view->zoomSlider->setValue(0);
    print(name + QStringLiteral("_replot_narrowest"), replotMedian(*view), "ms");
    print(name + QStringLiteral("_peak_memory"), peakResidentMiB(), "MiB");
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VornaLumeto::setUpProcessMemory();  // as the viewer does at start-up
    LumetoBench::stayOnThisProcessor();
    QApplication application(argc, argv);
    VornaLumeto::initResources();

    const QStringList arguments = application.arguments();
    if (arguments.size() > 1) {
        if (arguments.at(1) == QLatin1String("locus"))
            return measureLocus();
        for (const ViewCase& recordingCase : viewCases) {
            if (arguments.at(1) == QLatin1String(recordingCase.name))
                return measure(recordingCase);
        }
        return 2;
    }
    QStringList children;
    for (const ViewCase& recordingCase : viewCases)
        children.append(QString::fromLatin1(recordingCase.name));
    children.append(QStringLiteral("locus"));
    for (const QString& name : children) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(application.applicationFilePath(), {name});
        child.waitForFinished(-1);
        if (child.exitCode() != 0)
            return child.exitCode();
    }
    return 0;
}
