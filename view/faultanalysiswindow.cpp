#include "view/faultanalysiswindow.h"

#include "analysis/primarysignals.h"
#include "analysis/setupstore.h"
#include "dialogs/threephasesetsdialog.h"
#include "view/comtraderead.h"
#include "view/faultanalysisnotes.h"
#include "view/impedancediagram.h"

#include <QComboBox>
#include <QFrame>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace VornaLumeto {

namespace {

QLabel* wrappedLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

FaultAnalysisWindow* FaultAnalysisWindow::showFor(COMTRADE_read* view)
{
    auto* window = view->findChild<FaultAnalysisWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new FaultAnalysisWindow(*view);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

FaultAnalysisWindow::FaultAnalysisWindow(COMTRADE_read& view)
    : QWidget(&view, Qt::Window), view(view), settings(openUserSettings())
{
    setAttribute(Qt::WA_DeleteOnClose);
    const QString file = QFileInfo(view.objectName()).fileName();
    setWindowTitle(file.isEmpty() ? tr("Анализ аварии") : tr("Анализ аварии — %1").arg(file));

    auto* layout = new QVBoxLayout(this);
    summaryLayout = new QVBoxLayout;
    summaryLayout->setContentsMargins(0, 0, 0, 0);
    summaryLayout->addWidget(buildSummary());
    layout->addLayout(summaryLayout);
    layout->addWidget(buildControls());
    layout->addWidget(buildNoSets(), 1);
    content = buildContent();
    layout->addWidget(content, 1);
    QLabel* conventions = wrappedLabel(this);
    conventions->setText(conventionsNote());
    conventions->setStyleSheet(QStringLiteral("color: #505050"));
    layout->addWidget(conventions);

    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &FaultAnalysisWindow::copyTables);
    connect(&view, &COMTRADE_read::cutReadoutsUpdated, this, &FaultAnalysisWindow::followCuts);

    const RecordingSetups restored = restoreSetups(*settings, view);
    setBox->setToolTip(restored.remembered ? tr("Группы, запомненные для этого регистратора")
                                           : tr("Группы, найденные по описанию каналов"));
    showSetups(restored.setups, QString());
    const QSize available = screen()->availableGeometry().size();
    resize(std::min(1280, available.width() * 9 / 10), std::min(820, available.height() * 9 / 10));
}

FaultAnalysisWindow::~FaultAnalysisWindow() = default;

// The fault report of the set: what happened, and a way to the window it was computed over.
QWidget* FaultAnalysisWindow::buildSummary()
{
    summaryPanel = new QFrame(this);
    summaryPanel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(summaryPanel);
    layout->setSpacing(4);
    auto* titleRow = new QHBoxLayout;
    summaryTitle = boldLabel(QString(), summaryPanel);
    QFont larger = summaryTitle->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.2);
    summaryTitle->setFont(larger);
    summaryTitle->setWordWrap(true);
    summaryTitle->setTextInteractionFlags(Qt::TextSelectableByMouse);
    titleRow->addWidget(summaryTitle, 1);
    windowCutButton = new QPushButton(tr("Срез 1 — в конец окна расчёта"), summaryPanel);
    windowCutButton->setToolTip(tr("Поставить срез 1 на последний отсчёт окна, по которому посчитаны расстояния: "
                                   "таблицы и диаграмма покажут то же, что сводка."));
    titleRow->addWidget(windowCutButton, 0, Qt::AlignTop);
    layout->addLayout(titleRow);
    summaryDetails = wrappedLabel(summaryPanel);
    summaryDetails->setTextFormat(Qt::PlainText);
    layout->addWidget(summaryDetails);
    lineDataLink = new QLabel(tr("Параметры линии задаются в окне <a href=\"sets\">«Трёхфазные группы»</a>."),
                              summaryPanel);
    lineDataLink->setTextFormat(Qt::RichText);
    layout->addWidget(lineDataLink);
    connect(windowCutButton, &QPushButton::clicked, this, &FaultAnalysisWindow::cutAtReportWindow);
    connect(lineDataLink, &QLabel::linkActivated, this, &FaultAnalysisWindow::editSets);
    summaryPanel->hide();
    return summaryPanel;
}

QWidget* FaultAnalysisWindow::buildControls()
{
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(tr("Группа:"), box));
    setBox = new QComboBox(box);
    setBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row->addWidget(setBox);
    setsButton = new QPushButton(tr("Трёхфазные группы…"), box);
    row->addWidget(setsButton);
    row->addStretch(1);
    row->addWidget(new QLabel(tr("Значения:"), box));
    sideBox = new QComboBox(box);
    sideBox->addItems({tr("первичные"), tr("вторичные")});
    row->addWidget(sideBox);
    connect(setBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &FaultAnalysisWindow::chooseSet);
    connect(setsButton, &QPushButton::clicked, this, &FaultAnalysisWindow::editSets);
    connect(sideBox, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { chooseSide(index == 0 ? ValueSide::Primary : ValueSide::Secondary); });
    return box;
}

// In the place of the set's content: what to do when there is no set.
QWidget* FaultAnalysisWindow::buildNoSets()
{
    noSetsPanel = new QWidget(this);
    auto* layout = new QVBoxLayout(noSetsPanel);
    layout->setContentsMargins(0, 12, 0, 0);
    QLabel* label = wrappedLabel(noSetsPanel);
    label->setText(tr("В осциллограмме не найдено трёхфазных групп: фазных напряжений или токов A, B, C. "
                      "Назначьте каналы в окне «Трёхфазные группы»."));
    layout->addWidget(label);
    layout->addStretch(1);
    return noSetsPanel;
}

QWidget* FaultAnalysisWindow::buildContent()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    windowLabel = wrappedLabel(box);
    notesLabel = wrappedLabel(box);
    layout->addWidget(windowLabel);
    layout->addWidget(notesLabel);
    auto* splitter = new QSplitter(Qt::Horizontal, box);
    splitter->setChildrenCollapsible(false);
    // On a small screen the tables scroll rather than push the window off it.
    auto* tables = new QScrollArea(splitter);
    tables->setWidgetResizable(true);
    tables->setFrameShape(QFrame::NoFrame);
    tables->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QWidget* tablesBox = buildTables(tables);
    tables->setWidget(tablesBox);
    tables->setMinimumWidth(tablesBox->sizeHint().width() + tables->verticalScrollBar()->sizeHint().width());
    splitter->addWidget(tables);
    splitter->addWidget(buildDiagram(splitter));
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    return box;
}

QWidget* FaultAnalysisWindow::tablePanel(const QString& title, QTableWidget*& table, const QStringList& widest,
                                         int rows, QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(boldLabel(title, panel));
    const int columns = widest.size();
    table = new QTableWidget(rows, columns, panel);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Ctrl+C copies every table, whichever was clicked.
    table->setFocusPolicy(Qt::NoFocus);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    // Columns as wide as their widest text, so that numbers never jump or lose digits.
    int width = 2 * table->frameWidth();
    for (int column = 0; column < columns; ++column) {
        const int columnWidth = table->fontMetrics().horizontalAdvance(widest.at(column)) + 18;
        table->setColumnWidth(column, columnWidth);
        width += columnWidth;
        for (int row = 0; row < rows; ++row) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(column == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                               : int(Qt::AlignRight | Qt::AlignVCenter));
            table->setItem(row, column, item);
        }
    }
    const int height = table->horizontalHeader()->sizeHint().height()
                       + rows * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth();
    table->setFixedSize(width, height);
    layout->addWidget(table);
    return panel;
}

QWidget* FaultAnalysisWindow::buildTables(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 6, 0);
    const QString name = tr("3U0 (расч.)");
    const QString measured = QStringLiteral("-888.888 mкВ");
    const QString power = tr("-888888 квар");
    const QString ohms = QStringLiteral("-8.88888e+06");
    const QString angle = tr("Угол, °");
    voltagePanel = tablePanel(tr("Напряжения"), voltageTableView, {name, measured, angle}, 7, box);
    currentPanel = tablePanel(tr("Токи"), currentTableView, {name, measured, angle}, 9, box);
    powerPanel = tablePanel(tr("Мощность"), powerTableView, {tr("Сумма"), power, power, power, tr("cos φ ")}, 4, box);
    loopPanel = tablePanel(tr("Сопротивления петель"), loopTableView, {tr("Петля"), ohms, ohms, ohms, angle}, 6, box);
    grid->addWidget(voltagePanel, 0, 0, Qt::AlignTop);
    grid->addWidget(currentPanel, 0, 1, Qt::AlignTop);
    grid->addWidget(powerPanel, 1, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(loopPanel, 2, 0, 1, 2, Qt::AlignLeft);
    auto* copy = new QPushButton(tr("Копировать таблицы (Ctrl+C)"), box);
    connect(copy, &QPushButton::clicked, this, &FaultAnalysisWindow::copyTables);
    grid->addWidget(copy, 3, 0, 1, 2, Qt::AlignLeft);
    grid->setRowStretch(4, 1);
    return box;
}

QWidget* FaultAnalysisWindow::buildDiagram(QWidget* parent)
{
    diagramPanel = new QWidget(parent);
    auto* layout = new QVBoxLayout(diagramPanel);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->setSpacing(2);
    diagramTitle = boldLabel(QString(), diagramPanel);
    layout->addWidget(diagramTitle);
    diagram = new ImpedanceDiagram(diagramPanel);
    diagram->setMinimumSize(360, 320);
    layout->addWidget(diagram, 1);
    QLabel* hint = wrappedLabel(diagramPanel);
    hint->setText(tr("Точка на каждый отсчёт; кружок — срез 1. Где ток петли меньше %1 % наибольшего в "
                     "осциллограмме (выключатель отключён), точек нет. Колесо — масштаб, перетаскивание — сдвиг, "
                     "щелчок по легенде — показать или скрыть петлю.")
                      .arg(locusCurrentShare * 100));
    layout->addWidget(hint);
    auto* buttons = new QHBoxLayout;
    auto* fit = new QPushButton(tr("Вписать"), diagramPanel);
    auto* save = new QPushButton(tr("Сохранить диаграмму…"), diagramPanel);
    buttons->addStretch(1);
    buttons->addWidget(fit);
    buttons->addWidget(save);
    layout->addLayout(buttons);
    connect(fit, &QPushButton::clicked, diagram, &ImpedanceDiagram::fitToContents);
    connect(save, &QPushButton::clicked, this, &FaultAnalysisWindow::saveDiagram);
    return diagramPanel;
}

void FaultAnalysisWindow::showSetups(const QVector<ThreePhaseSetup>& newSetups, const QString& keepName)
{
    setups = newSetups;
    current = -1;
    const QSignalBlocker blocker(setBox);
    setBox->clear();
    int chosen = setups.isEmpty() ? -1 : 0;
    for (int index = 0; index < setups.size(); ++index) {
        setBox->addItem(setups.at(index).set.name);
        if (setups.at(index).set.name == keepName)
            chosen = index;
    }
    setBox->setCurrentIndex(chosen);
    setBox->setEnabled(!setups.isEmpty());
    sideBox->setEnabled(!setups.isEmpty());
    noSetsPanel->setVisible(setups.isEmpty());
    content->setVisible(!setups.isEmpty());
    chooseSet(chosen);
}

void FaultAnalysisWindow::chooseSet(int index)
{
    if (index < 0 || index >= setups.size()) {
        current = -1;
        tables.clear();
        summaryPanel->hide();
        return;
    }
    current = index;
    const ThreePhaseSetup& setup = setups.at(index);
    scaling = setScaling(view, setup);
    primary = primarySetSignals(view, setup.set, scaling);
    locus = impedanceLocus(view.sampling, primary, setup.line, 0, setSampleCount(primary) - 1, locusCurrentShare);
    report = faultReport(view.sampling, view.timeAxis, primary, setup.line, setup.rotation);
    showSummary();
    sideBox->setCurrentIndex(setup.shown == ValueSide::Primary ? 0 : 1);
    voltagePanel->setVisible(primary.hasVoltages());
    currentPanel->setVisible(primary.hasCurrents());
    const bool both = primary.hasVoltages() && primary.hasCurrents();
    powerPanel->setVisible(both);
    loopPanel->setVisible(both);
    diagramPanel->setVisible(both);
    chooseSide(setup.shown);
}

void FaultAnalysisWindow::chooseSide(ValueSide side)
{
    if (current < 0)
        return;
    ThreePhaseSetup& setup = setups[current];
    setup.shown = side;
    display = analysisDisplay(view, setup.set, scaling, side);
    const std::optional<double> factor = display.impedanceFactor();
    diagram->setLocus(locus, factor);
    diagram->setLine(setup.line.isGiven() && factor ? std::optional<Complex>(setup.line.z1() * *factor)
                                                    : std::nullopt);
    followCuts();
    diagram->fitToContents();
}

void FaultAnalysisWindow::editSets()
{
    const QString keepName = current >= 0 ? setups.at(current).set.name : QString();
    ThreePhaseSetsDialog dialog(view, setups, *settings, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setBox->setToolTip(tr("Группы, запомненные для этого регистратора"));
    showSetups(dialog.setups(), keepName);
}

} // namespace VornaLumeto
