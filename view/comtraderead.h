#pragma once

#include "analysis/signalanalysis.h"
#include "comtrade/common/recording.h"
#include "comtrade/common/recordingsampling.h"
#include "view/bandgeometry.h"

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <functional>

class QAction;
class QActionGroup;
class QCPAxisRect;
class QCPBars;
class QCPCurve;
class QCPGraph;
class QCPItemText;
class QCPLayer;
class QCustomPlot;
class QHBoxLayout;
class QLabel;
class QMenu;
class QMouseEvent;
class QScrollBar;
class QSlider;
class QStackedWidget;
class QStandardItemModel;
class QTableView;
class QWheelEvent;

namespace VornaLumeto {

// The widget that shows one recording in a tab. It is the recording too:
// load() or buildDisplay() fills the inherited members and builds the display once.
//
// Implementation files, by concern:
//   view/load.cpp            construction, load sequence, destruction
//   view/layout.cpp          widget tree, plot axes, channel plots, replot timer
//   view/navigation.cpp      window, scroll bars, zoom, wheel, row slots, shortcuts
//   view/cuts.cpp            cut lines, placement, mouse and arrow keys
//   view/readouts.cpp        cut-bar times, channel readouts, unit prefixes
//   view/channelmenu.cpp     channel context menu, frequency toggle, scaling, relayout
//   view/vectordiagram.cpp, view/frequencydiagram.cpp   the two analysis panels
//   dialogs/fileinformation.cpp, dialogs/printexport.cpp         output of the view
class COMTRADE_read : public QWidget, public Recording {
    Q_OBJECT

public:
    explicit COMTRADE_read(QWidget* parent);
    ~COMTRADE_read() override;

    // Reads the recording with the viewer's own reader and builds the display;
    // returns loadSuccessMessage() or the reader's message.
    QString load(const QString& configurationPath);
    // How far building the display has come, 0 to 1000; returns false to stop it.
    using BuildProgress = std::function<bool(int permille)>;
    // The display half of load(): takes a recording read elsewhere as its
    // members and builds the display. With progress, reports on the way and
    // returns false when progress asked to stop (the view is then half built
    // and good only for deleting).
    bool buildDisplay(Recording&& recording, const BuildProgress& progress = {});

    // Analysis panels.
    void showVectorDiagram();
    void hideVectorDiagram();
    void refreshVectorDiagram();
    void clearVectorDiagram();
    void showFrequencyDiagram();
    void hideFrequencyDiagram();
    void refreshFrequencyDiagram();
    void emptyFrequencyDiagram();

    // Displayed channels and common scaling (the signals dialog calls these).
    // flags: one per channel, analog first; nullptr re-applies the stored flags.
    void applyDisplayedSignals(const QVector<bool>* flags = nullptr);
    void scaleSignals(const QVector<int>& indices);

    // Output. printOrExport takes one of the modes, as a number; any other number does nothing.
    enum OutputMode { PrintMode = 1, PdfMode = 2 };
    void showFileInformationWindow();
    int printOrExport(int mode);

    // Row-unit mapping of a channel's values into its 40-unit band.
    static void mapToBand(QVector<double>& destination, const QVector<double>& source,
                          int row, double peak, double fill);
    static double peakAbs(const QVector<double>& values);

    void requestReplot();

    enum class RowOrder { TopDown, BottomUp };
    static constexpr int rowSlotCount = visibleRows;

    // --- Construction state -------------------------------------------------
    QTimer replotTimer;
    QVector<QColor> channelColors;
    QVector<QColor> channelColorsFaded;
    QVector<Phasor> phasors;
    RecordingSampling sampling;  // the rates the analysis at cut 1 counts periods at, set by load()

    // --- Layout and channel plots -------------------------------------------
    QWidget* plotArea = nullptr;
    QWidget* labelColumn = nullptr;
    QWidget* cutBar = nullptr;
    QWidget* labelTopSpacer = nullptr;     // set to the plot's margins by alignLabelColumn()
    QWidget* labelBottomSpacer = nullptr;
    QVector<QStackedWidget*> rowSlots;
    QVector<QWidget*> rowWidgets;
    QVector<QHBoxLayout*> rowLayouts;
    QVector<QLabel*> channelLabels;
    QVector<int> valueLabelIndex;
    QVector<quint16> rowMap;
    QByteArray shownFlags;
    QByteArray frequencyShown;
    QByteArray frequencySuffixAdded;  // per analog channel: the name label carries the " f" the view added
    QScrollBar* horizontalScrollBar = nullptr;
    QScrollBar* verticalScrollBar = nullptr;
    QSlider* zoomSlider = nullptr;
    QLabel* cut1TimeLabel = nullptr;
    QLabel* cut2TimeLabel = nullptr;
    QLabel* cutDifferenceLabel = nullptr;
    QCustomPlot* plot = nullptr;
    QCPAxisRect* axisRect = nullptr;
    QVector<QCPGraph*> waveGraphs;
    QVector<QCPGraph*> frequencyGraphs;
    QVector<QCPGraph*> digitalLowerGraphs;
    QVector<QCPGraph*> digitalUpperGraphs;
    QVector<QCPCurve*> separatorCurves;
    // Per analog channel, every sample mapped into its band; per digital channel,
    // the lower and upper edge of its trace at every sample.
    QVector<QVector<double>> normalizedValues;
    QVector<QVector<double>> digitalLowerValues;
    QVector<QVector<double>> digitalUpperValues;
    int colorIndex = 0;

    // --- Navigation -----------------------------------------------------------
    int firstVisibleSample = 0;
    int lastVisibleSample = 0;
    int windowSamples = 0;
    int lastHorizontalValue = 0;
    int lastVerticalValue = 0;
    int yLower = -visibleHeight;
    int yUpper = 0;
    int cutTolerance = 1;
    bool zoomResync = false;
    bool rightButtonHeld = false;
    bool wheelZoomed = false;

    // --- Time cuts --------------------------------------------------------------
    int cut1Index = 0;
    int cut2Index = 0;
    double cut1Time = 0.0;
    double cut2Time = 0.0;
    QCPCurve* cutLine1 = nullptr;
    QCPCurve* cutLine2 = nullptr;
    QCPLayer* cutLayer = nullptr;  // buffered layer: a cut move repaints only the lines
    double plotBottom = -visibleHeight;
    double plotTop = 0.0;
    int draggedCut = 0;
    bool cutDragging = false;

    // --- Channel menu and scaling ---------------------------------------------
    QMenu* channelMenu = nullptr;
    QAction* vectorDiagramAction = nullptr;
    QAction* frequencyDiagramAction = nullptr;
    QMenu* scaleMenu = nullptr;
    QActionGroup* scaleGroup = nullptr;
    QList<QAction*> scaleActions;
    QVector<int> scaleReference;
    QAction* showFrequencyAction = nullptr;

    // --- Vector diagram ---------------------------------------------------------
    QWidget* vectorPanel = nullptr;
    QWidget* vectorTableHolder = nullptr;
    QTableView* vectorTable = nullptr;
    QStandardItemModel* vectorModel = nullptr;
    QCustomPlot* vectorPlot = nullptr;
    QBrush degreesBackground;
    QBrush radiansBackground;
    QVector<QCPCurve*> vectorCurves;
    QVector<int> vectorChannels;
    bool vectorDiagramShown = false;
    QMenu* vectorMenu = nullptr;
    QMenu* vectorChannelMenu = nullptr;
    QMenu* angleReferenceMenu = nullptr;
    QMenu* angleUnitMenu = nullptr;
    QList<QAction*> vectorChannelActions;
    QList<QAction*> angleReferenceActions;
    QAction* absoluteAngleAction = nullptr;
    QList<QAction*> angleUnitActions;
    QActionGroup* angleReferenceGroup = nullptr;
    QActionGroup* angleUnitGroup = nullptr;

    // --- Frequency diagram ------------------------------------------------------
    QWidget* frequencyPanel = nullptr;
    QCustomPlot* frequencyPlot = nullptr;
    QCPBars* harmonicBars = nullptr;
    QVector<QCPItemText*> harmonicLabels;
    QVector<double> harmonicTicks;
    QVector<QString> harmonicTickLabels;
    int maxHarmonics = 0;
    int harmonicCount = 0;
    bool frequencyDiagramShown = false;
    QMenu* frequencyMenu = nullptr;
    QMenu* frequencyChannelMenu = nullptr;
    QMenu* valueModeMenu = nullptr;
    QMenu* percentMenu = nullptr;
    QList<QAction*> frequencyChannelActions;
    QAction* absoluteValuesAction = nullptr;
    QAction* fundamentalPercentAction = nullptr;
    QAction* rmsPercentAction = nullptr;
    QAction* harmonicCountAction = nullptr;
    QActionGroup* frequencyChannelGroup = nullptr;
    QActionGroup* valueModeGroup = nullptr;

    // --- Build steps of load(), in the order they run -----------------------------
    void buildLayout();
    void buildVectorDiagram();
    void buildFrequencyDiagram();
    void buildChannelMenu();
    void setupPlotAxes();
    // False when progress asked to stop while the plots' data were built.
    bool buildChannelPlots(const BuildProgress& progress = {});
    void createVectorCurve(int channel);  // called by buildChannelPlots for each analog channel
    void buildAnalogChannel(int channel);
    void buildAnalogRows(int channel, const QColor& color);
    void buildDigitalChannel(int channel);
    QWidget* newRowWidget();
    QLabel* addChannelLabel(QHBoxLayout* row, const QString& text);
    void advanceColor();
    // Graphs of channels whose rows are out of view are not drawn; runs before every replot.
    void fitGraphsToView();
    void alignLabelColumn();     // after every plot layout: spacers follow the axis rect's margins
    void createCuts();
    void setInitialWindow();

    // --- Navigation, cuts, readouts -----------------------------------------------
    void refillRowSlots(int firstRow, RowOrder order);
    // The whole recording from its first displayed row: after loading and after every relayout.
    void showWholeRecording(int shownRows);
    int narrowestWindow() const;  // samples beyond the first in about 30 ms
    void showVisibleWindow();     // x range from firstVisibleSample to lastVisibleSample
    void scrollToShow(int sample);  // moves the visible window as the scroll bar does, centred on the sample
    void installShortcuts();
    void placeCut(int which, double time);
    // Cut 1 on a sample, as a click on it would put it, the visible window first
    // scrolled (its width kept) to show the sample where it does not; the
    // readouts, the cut bar and the plot follow.
    void putCut1On(int sample);
    void setCutLinePoints(QCPCurve* line, double time);
    void repaintCuts();  // cut lines only, on their own layer
    void updateCutTimes();
    void updateReadouts();
    static void showValueWithPrefix(double value, const QString& unit, QLabel* valueLabel,
                                    QLabel* unitLabel);
    double mouseTime(const QMouseEvent* event) const;
    // The analysis windows that end at cut 1, counted at the rate of the stretch
    // that holds the cut; a window is usable where it is recorded().
    CutWindows analysisWindows() const;
    // Enough samples before cut 1 for the diagrams: its whole period is recorded.
    bool diagramWindowReady() const;
    ChannelScaling channelScaling(int channel) const;

    // --- Channel menu -------------------------------------------------------------
    void toggleFrequencyCurve();
    // Vertical shift of a displayed channel after the hidden channels above it are packed away.
    double displayShift(int analogChannel) const;
    void setScaleNote(int channel, int referenceChannel);  // referenceChannel < 0: own scale
    void hideFrequencyCurves();
    int layOutAnalogChannels();                    // returns the number of hidden channels
    int layOutDigitalChannels(int hiddenAnalog);   // returns the number of hidden channels
    void resetCutsToFirstSample();  // both cuts on the first sample, their lines drawn again

public slots:
    void slot_horzScrollBarChanged();
    void slot_vertScrollBarChanged();
    void slot_slider_valueChange();
    void slot_mouse_wheel(QWheelEvent* event);
    void slot_press_mouse(QMouseEvent* event);
    void slot_release_mouse(QMouseEvent* event);
    void slot_move_mouse(QMouseEvent* event);
    void slot_key_Right();
    void slot_key_Left();
    void slot_key_Top();
    void slot_key_Bottom();
    void slot_key_shift_d_vector_menu();
    void slot_key_shift_d_frequency_menu();
    void slot_menu_vector_diag(QPoint pos);
    void slot_action_submenu_vector_diag_channel();
    void slot_action_submenu_vector_diag_angle_ot();
    void slot_action_submenu_vector_diag_raz();
    void slot_menu_frequency_diag(QPoint pos);
    void slot_action_submenu_frequency_diag_channel();
    void slot_action_submenu_frequency_diag_value();
    void slot_action_frequency_diag_numer_garmonic();
    void slot_analog_ch_menu(QPoint pos);
    void slot_analog_ch_act_vector_diag();
    void slot_analog_ch_act_frequency_diag();
    void slot_analog_ch_scale_relative_to_group();

signals:
    // updateReadouts() has written the readouts anew: a cut was placed or
    // moved, or the channels were laid out again. The fault-analysis window follows it.
    void cutReadoutsUpdated();
};

} // namespace VornaLumeto
