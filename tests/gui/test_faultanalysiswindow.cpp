// The fault-analysis window: its numbers against the two-source model at a cut
// inside the fault, following cut 1, "-" where nothing can be computed, and the
// ways it is opened.
#include "analysis/setupstore.h"
#include "analysis/unitprefix.h"
#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "support/gui/modaldriver.h"
#include "support/gui/recordingview.h"
#include "support/linefaultrecordings.h"
#include "support/standardrecordings.h"
#include "view/comtraderead.h"
#include "view/faultanalysiswindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using LumetoTools::FaultKind;
using VornaLumeto::COMTRADE_read;
using VornaLumeto::FaultAnalysisWindow;
using Complex = std::complex<double>;

Q_DECLARE_METATYPE(FaultKind)
Q_DECLARE_METATYPE(LumetoTools::LineEvent)

namespace {

const double degree = std::acos(-1.0) / 180.0;

LumetoTools::LineFaultOptions faultOptions(FaultKind kind, double resistance, bool secondary)
{
    LumetoTools::LineFaultOptions options;
    options.fault = {kind, 0.4, resistance};
    options.system = LumetoTest::testSystem(false, 10.0);
    options.secondaryValues = secondary;
    options.naming = secondary ? LumetoTools::ChannelNaming::Cyrillic : LumetoTools::ChannelNaming::Latin;
    return options;
}

// "63.5085 kV" and "-120.0" as one phasor in volts or amperes; NaN when either reads "-".
Complex shownPhasor(const QTableWidget* table, int row)
{
    const QStringList magnitude = table->item(row, 1)->text().split(QLatin1Char(' '));
    const QString angle = table->item(row, 2)->text();
    bool magnitudeRead = false;
    bool angleRead = false;
    const double value = magnitude.value(0).toDouble(&magnitudeRead);
    const double degrees = angle.toDouble(&angleRead);
    if (!magnitudeRead || !angleRead)
        return Complex(qQNaN(), qQNaN());
    return std::polar(value * VornaLumeto::unitPrefixFactor(magnitude.value(1)), degrees * degree);
}

// The loop table's R and X in ohms.
Complex shownImpedance(const QTableWidget* table, int row)
{
    return Complex(table->item(row, 1)->text().toDouble(), table->item(row, 2)->text().toDouble());
}

QStringList cellsOf(const QTableWidget* table)
{
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 1; column < table->columnCount(); ++column)
            cells.append(table->item(row, column)->text());
    }
    return cells;
}

// The model's relay-end phasors at a window, A, B, C, turned so that UA is at 0.
struct ModelPhasors {
    std::array<Complex, 3> voltage;
    std::array<Complex, 3> current;
};
ModelPhasors turnedToUa(const LumetoTools::PhaseQuantities& quantities)
{
    const Complex turn = std::conj(quantities.voltage[0]) / std::abs(quantities.voltage[0]);
    ModelPhasors model;
    for (int p = 0; p < 3; ++p) {
        model.voltage[p] = turn * quantities.voltage[p];
        model.current[p] = turn * quantities.current[p];
    }
    return model;
}

// The window's phase phasors against the model's, each within 1 % and 1° (a
// phasor below 2 % of its kind's largest within 1 % of that).
void compareWithModel(const FaultAnalysisWindow& window, const ModelPhasors& model)
{
    double voltageScale = 0.0;
    double currentScale = 0.0;
    for (int p = 0; p < 3; ++p) {
        voltageScale = std::max(voltageScale, std::abs(model.voltage[p]));
        currentScale = std::max(currentScale, std::abs(model.current[p]));
    }
    for (int p = 0; p < 3; ++p) {
        const QString voltage =
            LumetoTest::phasorMismatch(shownPhasor(window.voltageTableView, p), model.voltage[p], voltageScale);
        QVERIFY2(voltage.isEmpty(), qPrintable(QStringLiteral("U%1: ").arg(p) + voltage));
        const QString current =
            LumetoTest::phasorMismatch(shownPhasor(window.currentTableView, p), model.current[p], currentScale);
        QVERIFY2(current.isEmpty(), qPrintable(QStringLiteral("I%1: ").arg(p) + current));
    }
}

std::unique_ptr<COMTRADE_read> openLineFault(const QTemporaryDir& dir, const LumetoTools::LineFaultOptions& options)
{
    return LumetoTest::openStandardView(LumetoTest::writeStandardRecording(
        dir, QStringLiteral("fault"), LumetoTools::generateLineFaultRecording(options)));
}

void placeCut1(COMTRADE_read& view, int sample)
{
    view.placeCut(1, view.timeAxis.at(sample));
    view.updateReadouts();
}

// The window of a view whose found set was given the test line beforehand, as the sets dialog stores it.
FaultAnalysisWindow* windowWithTestLine(COMTRADE_read& view)
{
    QVector<VornaLumeto::ThreePhaseSetup> setups = VornaLumeto::foundSetups(view);
    for (VornaLumeto::ThreePhaseSetup& setup : setups)
        setup.line = LumetoTest::testLine();
    VornaLumeto::storeSetups(*VornaLumeto::openUserSettings(), view, setups);
    return FaultAnalysisWindow::showFor(&view);
}

// A distance as the summary writes it: "32.00 км".
QString kmText(const std::optional<VornaLumeto::LineDistance>& distance)
{
    return QString::number(distance->km, 'f', 2) + QChar(0x00a0) + QStringLiteral("км");
}

} // namespace

class TestFaultAnalysisWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        // The sets come from the finder, never from what a user of this machine stored.
        QStandardPaths::setTestModeEnabled(true);
    }
    void init() { QFile::remove(VornaLumeto::openUserSettings()->fileName()); }

    // At the last whole period before clearing the tables hold the model's relay-end
    // phasors (1 %, 1°) and the faulted loop its V / I, on the side chosen: the
    // secondary side divides by the ratios the recording states.
    void showsTheModelInsideTheFault_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<double>("resistance");
        QTest::addColumn<bool>("secondaryRecording");
        QTest::addColumn<bool>("showSecondary");
        QTest::addColumn<int>("loop");
        QTest::newRow("AG bolted, primary values") << FaultKind::AG << 0.0 << false << false << 0;
        QTest::newRow("BCG 10 ohm, secondary recording shown primary") << FaultKind::BCG << 10.0 << true << false << 4;
        QTest::newRow("CA 5 ohm, secondary recording shown secondary") << FaultKind::CA << 5.0 << true << true << 5;
    }
    void showsTheModelInsideTheFault()
    {
        QFETCH(FaultKind, kind);
        QFETCH(double, resistance);
        QFETCH(bool, secondaryRecording);
        QFETCH(bool, showSecondary);
        QFETCH(int, loop);
        const LumetoTools::LineFaultOptions options = faultOptions(kind, resistance, secondaryRecording);
        const std::unique_ptr<COMTRADE_read> view = openLineFault(dir, options);
        QVERIFY(view->sampleCount() > 0);
        FaultAnalysisWindow* window = FaultAnalysisWindow::showFor(view.get());
        QCOMPARE(window->setBox->count(), 1);
        if (showSecondary)
            emit window->sideBox->activated(1);
        placeCut1(*view, LumetoTools::sampleAt(*options.clearingMs, options.sampleRate) - 1);

        const ModelPhasors model = turnedToUa(LumetoTools::solveLineFault(options.system, options.fault).fault);
        const double vtRatio = options.voltageRatio.primary / options.voltageRatio.secondary;
        const double ctRatio = options.currentRatio.primary / options.currentRatio.secondary;
        ModelPhasors shownModel = model;
        for (int p = 0; p < 3; ++p) {
            shownModel.voltage[p] /= showSecondary ? vtRatio : 1.0;
            shownModel.current[p] /= showSecondary ? ctRatio : 1.0;
        }
        compareWithModel(*window, shownModel);

        // Without line data k0 = 0: the loop is the bare V / I.
        const Complex voltage = loop < 3 ? model.voltage[loop] : model.voltage[loop - 3] - model.voltage[(loop - 2) % 3];
        const Complex current = loop < 3 ? model.current[loop] : model.current[loop - 3] - model.current[(loop - 2) % 3];
        const Complex expected = voltage / current * (showSecondary ? ctRatio / vtRatio : 1.0);
        const QString mismatch = LumetoTest::phasorMismatch(shownImpedance(window->loopTableView, loop), expected,
                                                            std::abs(expected));
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QVERIFY(window->notesLabel->text().contains(QStringLiteral("k0 = 0: параметры линии не заданы")));
        QVERIFY(window->summaryDetails->text().contains(QStringLiteral("нужны параметры линии")));
        QVERIFY(!window->lineDataLink->isHidden());

        // Ctrl+C: the tables as tab-separated rows.
        window->copyTables();
        const QString copied = QApplication::clipboard()->text();
        QCOMPARE(copied, window->tablesText());
        QStringList loopRow{window->loopTableView->item(loop, 0)->text()};
        loopRow += cellsOf(window->loopTableView).mid(loop * 4, 4);
        QVERIFY2(copied.contains(QLatin1Char('\n') + loopRow.join(QLatin1Char('\t')) + QLatin1Char('\n')),
                 qPrintable(copied));
    }

    // The last prefault sample shows the load; a period of Right presses later the
    // window lies wholly in the fault and shows the fault.
    void followsCut1MovedByTheKeys()
    {
        const LumetoTools::LineFaultOptions options = faultOptions(FaultKind::BG, 5.0, false);
        const std::unique_ptr<COMTRADE_read> view = openLineFault(dir, options);
        FaultAnalysisWindow* window = FaultAnalysisWindow::showFor(view.get());
        const int inception = LumetoTools::sampleAt(options.inceptionMs, options.sampleRate);
        placeCut1(*view, inception - 1);
        const LumetoTools::LineFaultSolution model = LumetoTools::solveLineFault(options.system, options.fault);
        compareWithModel(*window, turnedToUa(model.prefault));
        for (int step = 0; step < options.sampleRate / options.lineFrequency; ++step)
            view->slot_key_Right();
        QCOMPARE(view->cut1Index, inception - 1 + options.sampleRate / options.lineFrequency);
        compareWithModel(*window, turnedToUa(model.fault));
    }

    // No number where the period ending at cut 1 gives none; the window says why.
    void showsDashWithoutAWholePeriod_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("cut");
        QTest::addColumn<QString>("why");
        QTest::newRow("before the first whole period") << 2000 << 38 << QStringLiteral("записано меньше периода");
        QTest::newRow("7 samples per period") << 350 << 40 << QStringLiteral("меньше 8 отсчётов на период");
    }
    void showsDashWithoutAWholePeriod()
    {
        QFETCH(int, rate);
        QFETCH(int, cut);
        QFETCH(QString, why);
        LumetoTools::LineFaultOptions options = faultOptions(FaultKind::AG, 0.0, false);
        options.sampleRate = rate;
        const std::unique_ptr<COMTRADE_read> view = openLineFault(dir, options);
        FaultAnalysisWindow* window = FaultAnalysisWindow::showFor(view.get());
        placeCut1(*view, cut);
        for (const QTableWidget* table :
             {window->voltageTableView, window->currentTableView, window->powerTableView, window->loopTableView}) {
            for (const QString& cell : cellsOf(table))
                QVERIFY2(cell == QStringLiteral("-") || cell.isEmpty(), qPrintable(cell));
        }
        QVERIFY2(window->windowLabel->text().contains(why), qPrintable(window->windowLabel->text()));
    }

    // A set of currents alone: the currents and their sequences, nothing that needs voltages.
    void setWithoutVoltagesShowsCurrentsOnly()
    {
        const LumetoTools::LineFaultOptions options = faultOptions(FaultKind::AG, 0.0, false);
        LumetoTools::GeneratedRecording recording = LumetoTools::generateLineFaultRecording(options);
        recording.analog.remove(0, 3);
        const std::unique_ptr<COMTRADE_read> view =
            LumetoTest::openStandardView(LumetoTest::writeStandardRecording(dir, QStringLiteral("currents"), recording));
        FaultAnalysisWindow* window = FaultAnalysisWindow::showFor(view.get());
        placeCut1(*view, LumetoTools::sampleAt(*options.clearingMs, options.sampleRate) - 1);
        QVERIFY(window->voltagePanel->isHidden());
        QVERIFY(window->powerPanel->isHidden());
        QVERIFY(window->loopPanel->isHidden());
        QVERIFY(window->diagramPanel->isHidden());
        QVERIFY(!window->currentPanel->isHidden());
        QVERIFY(!window->tablesText().contains(QStringLiteral("Напряжения")));
        // I1 (row 4) has a value; angles from IA.
        QVERIFY(window->currentTableView->item(4, 1)->text() != QStringLiteral("-"));
        QCOMPARE(window->currentTableView->item(0, 2)->text(), QStringLiteral("0.0"));
    }

    // "Анализ аварии…" in a tab title's menu and Ctrl+Shift+A on the main window both
    // open the tab's one window; it goes with its tab.
    void opensFromTheTabMenuAndTheShortcut()
    {
        VornaLumeto::MainWindow main(0, nullptr);
        VornaLumeto::comtrade_view* tabs = main.recordingTabs;
        const QString path = LumetoTest::writeStandardRecording(
            dir, QStringLiteral("opened"), LumetoTools::generateLineFaultRecording(faultOptions(FaultKind::AG, 0.0, false)));
        QVERIFY(tabs->openNamedFile(path, true).isEmpty());
        QCOMPARE(tabs->faultAnalysisAction->text(), QStringLiteral("Анализ аварии…"));
        tabs->faultAnalysisAction->setData(0);
        tabs->faultAnalysisAction->trigger();
        COMTRADE_read* view = tabs->views.first();
        QPointer<FaultAnalysisWindow> window = view->findChild<FaultAnalysisWindow*>();
        QVERIFY(window && window->isVisible() && window->isWindow());

        QAction* shortcut = nullptr;
        for (QAction* action : main.actions()) {
            if (action->shortcut() == QKeySequence(QStringLiteral("Ctrl+Shift+A")))
                shortcut = action;
        }
        QVERIFY(shortcut);
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
        shortcut->trigger();
        shortcut->trigger();
        QCOMPARE(view->findChildren<FaultAnalysisWindow*>().size(), 1);
        window = view->findChild<FaultAnalysisWindow*>();
        QVERIFY(window->isVisible());

        tabs->slot_close_tab(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
    }

    // With the line's data, the summary names the type in words and letters,
    // its times, and each method's distance of the report, every one the true
    // distance on a bolted fault; an evolving fault keeps its first type and
    // notes the later one, a recording that begins inside the fault has no
    // inception and no prefault period for Takagi.
    void summaryNamesTheFaultAndItsDistances_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<int>("later");  // a FaultKind, or -1
        QTest::addColumn<double>("inceptionMs");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("told");
        const QString times = QStringLiteral("Начало: 100 мс. Отключение: 200 мс. Длительность: 100 мс.");
        QTest::newRow("AG") << FaultKind::AG << -1 << 100.0
                            << QStringLiteral("Однофазное замыкание фазы A на землю (AG)") << times;
        QTest::newRow("BCG") << FaultKind::BCG << -1 << 100.0 << QStringLiteral("Двухфазное замыкание на землю BCG")
                             << times;
        QTest::newRow("BG becoming BCG") << FaultKind::BG << int(FaultKind::BCG) << 100.0
                                         << QStringLiteral("Однофазное замыкание фазы B на землю (BG)")
                                         << QStringLiteral("Затем авария развилась: двухфазное замыкание на землю BCG с 15");
        QTest::newRow("CA under way at the start")
            << FaultKind::CA << -1 << 0.0 << QStringLiteral("Двухфазное замыкание CA")
            << QStringLiteral("Начало: до начала записи (осциллограмма начинается во время аварии). Отключение: 200 мс.");
    }
    void summaryNamesTheFaultAndItsDistances()
    {
        QFETCH(FaultKind, kind);
        QFETCH(int, later);
        QFETCH(double, inceptionMs);
        QFETCH(QString, title);
        QFETCH(QString, told);
        LumetoTools::LineFaultOptions options = faultOptions(kind, 0.0, false);
        options.inceptionMs = inceptionMs;
        if (later >= 0) {
            options.laterKind = FaultKind(later);
            options.laterMs = 150.0;
        }
        const std::unique_ptr<COMTRADE_read> view = openLineFault(dir, options);
        FaultAnalysisWindow* window = windowWithTestLine(*view);
        QCOMPARE(window->summaryTitle->text(), title);
        const VornaLumeto::FaultReport& report = window->shownReport();
        const QString details = window->summaryDetails->text();
        QVERIFY2(details.contains(told), qPrintable(details));
        for (const auto* distance : {&report.reactance, &report.takagi, &report.negativeSequence}) {
            if (distance == &report.takagi && inceptionMs == 0.0) {
                QVERIFY(!distance->has_value());
                QVERIFY(details.contains(QStringLiteral("по Такаги нет доаварийного периода")));
                continue;
            }
            QVERIFY(distance->has_value());
            QVERIFY2(std::fabs((*distance)->perUnit - options.fault.distance) <= 0.005,
                     qPrintable(QString::number((*distance)->perUnit)));
            QVERIFY2(details.contains(kmText(*distance)), qPrintable(details));
        }
        QVERIFY(window->lineDataLink->isHidden());
        QVERIFY(!window->windowCutButton->isHidden());
    }

    // Zoomed in at the start, the button scrolls the visible window (its width
    // kept) and puts cut 1 on the window's last sample: the tables show the
    // phasors the summary used, the cut bar its time.
    void cutButtonShowsTheReportWindow()
    {
        const std::unique_ptr<COMTRADE_read> view = openLineFault(dir, faultOptions(FaultKind::AG, 5.0, false));
        FaultAnalysisWindow* window = windowWithTestLine(*view);
        view->zoomSlider->setValue(0);
        const int width = view->lastVisibleSample - view->firstVisibleSample;
        const VornaLumeto::FaultReport& report = window->shownReport();
        QVERIFY(report.window);
        const int last = report.window->first + report.window->count - 1;
        QVERIFY(last > view->lastVisibleSample);

        window->windowCutButton->click();
        QCOMPARE(view->cut1Index, last);
        QCOMPARE(view->cut1Time, view->timeAxis.at(last));
        QCOMPARE(view->lastVisibleSample - view->firstVisibleSample, width);
        QVERIFY(view->firstVisibleSample <= last && last <= view->lastVisibleSample);
        QCOMPARE(view->horizontalScrollBar->value(), view->firstVisibleSample);
        QCOMPARE(view->cut1TimeLabel->text(), QString::number(view->rawTimeAxis.at(last), 'g', 6));
        for (int p = 0; p < 3; ++p) {
            const Complex expected[2] = {*report.atWindow.voltages[p], *report.atWindow.currents[p]};
            const Complex shown[2] = {shownPhasor(window->voltageTableView, p), shownPhasor(window->currentTableView, p)};
            for (int kind = 0; kind < 2; ++kind) {
                QVERIFY(std::fabs(std::abs(shown[kind]) / std::abs(expected[kind]) - 1.0) < 1e-5);
                QVERIFY(std::fabs(std::arg(shown[kind] / expected[kind])) < 0.06 * degree);
            }
        }
        QCOMPARE(window->loopTableView->item(0, 2)->text(), QString::number(report.loopImpedance->imag(), 'g', 6));
    }

    // What a recording without a fault is, said, and no window to go to.
    void summaryOfARecordingWithoutAFault_data()
    {
        QTest::addColumn<LumetoTools::LineEvent>("event");
        QTest::addColumn<QString>("title");
        QTest::newRow("load only") << LumetoTools::LineEvent::LoadOnly << QStringLiteral("Аварии нет: только нагрузка");
        QTest::newRow("energisation") << LumetoTools::LineEvent::Energisation
                                      << QStringLiteral("Аварии нет: включение присоединения");
    }
    void summaryOfARecordingWithoutAFault()
    {
        QFETCH(LumetoTools::LineEvent, event);
        QFETCH(QString, title);
        LumetoTools::LineFaultOptions options = faultOptions(FaultKind::AG, 0.0, false);
        options.event = event;
        const std::unique_ptr<COMTRADE_read> view = openLineFault(dir, options);
        FaultAnalysisWindow* window = FaultAnalysisWindow::showFor(view.get());
        QCOMPARE(window->summaryTitle->text(), title);
        QVERIFY(window->windowCutButton->isHidden());
        QVERIFY(window->lineDataLink->isHidden());
    }

    // After the trip V / I is noise over noise: the loop table reads "-" where
    // the diagram has no point, and says why.
    void loopTableAfterTheTripAgreesWithTheDiagram()
    {
        LumetoTools::LineFaultOptions options = faultOptions(FaultKind::AG, 0.0, false);
        options.noise = 0.001;
        const std::unique_ptr<COMTRADE_read> view = openLineFault(dir, options);
        FaultAnalysisWindow* window = FaultAnalysisWindow::showFor(view.get());
        placeCut1(*view, LumetoTools::sampleAt(*options.clearingMs, options.sampleRate) - 1);
        QVERIFY(window->loopTableView->item(0, 1)->text() != QStringLiteral("-"));
        QVERIFY(!window->notesLabel->text().contains(QStringLiteral("ток петли меньше")));
        placeCut1(*view, LumetoTools::sampleAt(*options.clearingMs + 40.0, options.sampleRate));
        for (int loop = 0; loop < VornaLumeto::faultLoopCount; ++loop)
            QCOMPARE(window->loopTableView->item(loop, 1)->text(), QStringLiteral("-"));
        QVERIFY2(window->notesLabel->text().contains(QStringLiteral("AG, BG, CG, AB, BC, CA: ток петли меньше 2 %")),
                 qPrintable(window->notesLabel->text()));
    }

    // A name without a suffix gets the chosen type's; the file is that type.
    void savesTheDiagramAsPngOrPdf_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("PNG") << "PNG (*.png)" << "rx.png" << QByteArray("\x89PNG");
        QTest::newRow("PDF") << "PDF (*.pdf)" << "rx.pdf" << QByteArray("%PDF");
    }
    void savesTheDiagramAsPngOrPdf()
    {
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        const std::unique_ptr<COMTRADE_read> view = openLineFault(dir, faultOptions(FaultKind::AG, 0.0, false));
        FaultAnalysisWindow* window = FaultAnalysisWindow::showFor(view.get());
        const QString chosen = dir.filePath(QStringLiteral("rx"));
        LumetoTest::whenModalAppears([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->selectNameFilter(filter);
            dialog->selectFile(chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        window->saveDiagram();
        QFile file(dir.filePath(written));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QVERIFY(file.read(start.size()) == start);
    }
};

QTEST_MAIN(TestFaultAnalysisWindow)
#include "test_faultanalysiswindow.moc"
