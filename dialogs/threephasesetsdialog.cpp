#include "dialogs/threephasesetsdialog.h"

#include "analysis/instrumentscaling.h"
#include "analysis/setupstore.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace VornaLumeto {

namespace {

constexpr int noChannel = -1;

// "4. I фазы А, А": number, name and unit, as the user knows the channel.
QString channelText(const AnalogChannel& channel, int index)
{
    const QString unit = channel.unit.trimmed();
    const QString text = QStringLiteral("%1. %2").arg(index + 1).arg(channel.id.trimmed());
    return unit.isEmpty() ? text : text + QStringLiteral(", ") + unit;
}

// As the readouts write numbers: a group separator would read as a decimal comma ("1,000 / 1").
QString factorNumber(double value)
{
    return QString::number(value, 'g', 10);
}

bool isCurrent(PhaseRole role)
{
    return role >= PhaseRole::IA;
}

// A part of the editor under a bold title; the application's frames of group boxes
// draw their titles across the line.
QWidget* titled(const QString& title, QWidget* body)
{
    auto* section = new QWidget(body->parentWidget());
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 6, 0, 0);
    auto* heading = new QLabel(title, section);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    body->setParent(section);
    layout->addWidget(body);
    return section;
}

} // namespace

ThreePhaseSetsDialog::ThreePhaseSetsDialog(const Recording& recording, const QVector<ThreePhaseSetup>& setups,
                                           QSettings& settings, QWidget* parent)
    : QDialog(parent), recording(recording), settings(settings), edited(setups)
{
    setWindowTitle(tr("Трёхфазные группы"));
    auto* layout = new QVBoxLayout(this);
    const RecorderIdentity recorder = recorderIdentity(recording);
    layout->addWidget(new QLabel(
        tr("Группы запоминаются для регистратора «%1», номер %2.").arg(recorder.station, recorder.recorderId), this));
    auto* body = new QHBoxLayout;
    body->addWidget(buildSetList());
    editor = buildEditor();
    body->addWidget(editor, 1);
    layout->addLayout(body, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ThreePhaseSetsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ThreePhaseSetsDialog::reject);
    layout->addWidget(buttons);

    for (const ThreePhaseSetup& setup : edited)
        setList->addItem(setup.set.name);
    connect(setList, &QListWidget::currentRowChanged, this, &ThreePhaseSetsDialog::showSetup);
    setList->setCurrentRow(edited.isEmpty() ? -1 : 0);
    showSetup(setList->currentRow());
}

void ThreePhaseSetsDialog::accept()
{
    storeSetups(settings, recording, edited);
    QDialog::accept();
}

QWidget* ThreePhaseSetsDialog::buildSetList()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Группы:"), box));
    setList = new QListWidget(box);
    setList->setObjectName(QStringLiteral("setList"));
    layout->addWidget(setList, 1);
    auto* add = new QPushButton(tr("Добавить"), box);
    add->setObjectName(QStringLiteral("addSet"));
    auto* remove = new QPushButton(tr("Удалить"), box);
    remove->setObjectName(QStringLiteral("removeSet"));
    connect(add, &QPushButton::clicked, this, &ThreePhaseSetsDialog::addSet);
    connect(remove, &QPushButton::clicked, this, &ThreePhaseSetsDialog::removeSet);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    layout->addLayout(buttons);
    return box;
}

QWidget* ThreePhaseSetsDialog::buildEditor()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* nameRow = new QFormLayout;
    nameEdit = new QLineEdit(box);
    nameEdit->setObjectName(QStringLiteral("setName"));
    connect(nameEdit, &QLineEdit::textChanged, this, [this](const QString& name) {
        if (ThreePhaseSetup* setup = currentSetup(); setup && !showing) {
            setup->set.name = name;
            setList->currentItem()->setText(name);
        }
    });
    nameRow->addRow(tr("Название:"), nameEdit);
    layout->addLayout(nameRow);
    layout->addWidget(buildChannels());
    auto* data = new QHBoxLayout;
    data->setSpacing(24);
    data->addWidget(buildLine(), 0, Qt::AlignTop);
    data->addWidget(buildTransformers(), 1, Qt::AlignTop);
    layout->addLayout(data);
    layout->addStretch(1);
    return box;
}

QWidget* ThreePhaseSetsDialog::buildChannels()
{
    auto* group = new QWidget(this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(tr("Напряжение"), group), 0, 1);
    grid->addWidget(new QLabel(tr("Ток"), group), 0, 2);
    const QStringList rows = {tr("Фаза А"), tr("Фаза В"), tr("Фаза С"), tr("Нулевая последовательность (3U0, 3I0)")};
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(new QLabel(rows.at(row), group), row + 1, 0);
        grid->addWidget(roleBox(PhaseRole(int(PhaseRole::UA) + row)), row + 1, 1);
        grid->addWidget(roleBox(PhaseRole(int(PhaseRole::IA) + row)), row + 1, 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return titled(tr("Каналы"), group);
}

QComboBox* ThreePhaseSetsDialog::roleBox(PhaseRole role)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QStringLiteral("role") + phaseRoleKey(role));
    box->addItem(QStringLiteral("—"), noChannel);
    for (int c = 0; c < recording.analogChannels.size(); ++c)
        box->addItem(channelText(recording.analogChannels.at(c), c), c);
    connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this, box, role]() {
        if (ThreePhaseSetup* setup = currentSetup(); setup && !showing) {
            setup->set.assign(role, box->currentData().toInt());
            showStatedFactors();
        }
    });
    showers.append([box, role](const ThreePhaseSetup& setup) {
        box->setCurrentIndex(qMax(0, box->findData(setup.set.channel(role))));
    });
    return box;
}

QDoubleSpinBox* ThreePhaseSetsDialog::numberBox(const QString& objectName, double minimum, double maximum,
                                                int decimals, const Getter& get, const Setter& set)
{
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(objectName);
    box->setRange(minimum, maximum);
    box->setDecimals(decimals);
    connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, [this, set](double value) {
        if (ThreePhaseSetup* setup = currentSetup(); setup && !showing)
            set(*setup, value);
    });
    showers.append([box, get](const ThreePhaseSetup& setup) { box->setValue(get(setup)); });
    return box;
}

QDoubleSpinBox* ThreePhaseSetsDialog::lineBox(const QString& objectName, double LineData::*member, double minimum,
                                              double maximum, int decimals)
{
    return numberBox(
        objectName, minimum, maximum, decimals, [member](const ThreePhaseSetup& setup) { return setup.line.*member; },
        [member](ThreePhaseSetup& setup, double value) { setup.line.*member = value; });
}

// 0 is "not given", shown as "—".
QDoubleSpinBox* ThreePhaseSetsDialog::ratioBox(const QString& objectName, double InstrumentRatios::*member)
{
    QDoubleSpinBox* box = numberBox(
        objectName, 0.0, 1e7, 3, [member](const ThreePhaseSetup& setup) { return setup.ratios.*member; },
        [member](ThreePhaseSetup& setup, double value) { setup.ratios.*member = value; });
    box->setSpecialValueText(QStringLiteral("—"));
    return box;
}

QComboBox* ThreePhaseSetsDialog::choiceBox(const QString& objectName, const QStringList& texts, const Getter& get,
                                           const Setter& set)
{
    auto* box = new QComboBox(this);
    box->setObjectName(objectName);
    box->addItems(texts);
    connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this, set](int index) {
        if (ThreePhaseSetup* setup = currentSetup(); setup && !showing)
            set(*setup, index);
    });
    showers.append([box, get](const ThreePhaseSetup& setup) { box->setCurrentIndex(int(get(setup))); });
    return box;
}

QWidget* ThreePhaseSetsDialog::buildLine()
{
    auto* group = new QWidget(this);
    auto* form = new QFormLayout(group);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("R1, Ом/км:"), lineBox(QStringLiteral("r1"), &LineData::r1, 0.0, 100.0, 4));
    form->addRow(tr("X1, Ом/км:"), lineBox(QStringLiteral("x1"), &LineData::x1, -100.0, 100.0, 4));
    form->addRow(tr("R0, Ом/км:"), lineBox(QStringLiteral("r0"), &LineData::r0, 0.0, 100.0, 4));
    form->addRow(tr("X0, Ом/км:"), lineBox(QStringLiteral("x0"), &LineData::x0, -100.0, 100.0, 4));
    form->addRow(tr("Длина, км:"), lineBox(QStringLiteral("lengthKm"), &LineData::lengthKm, 0.0, 10000.0, 3));
    form->addRow(tr("Чередование фаз:"),
                 choiceBox(
                     QStringLiteral("rotation"), {tr("АВС (прямое)"), tr("АСВ (обратное)")},
                     [](const ThreePhaseSetup& setup) { return setup.rotation == PhaseRotation::Acb ? 1 : 0; },
                     [](ThreePhaseSetup& setup, double index) {
                         setup.rotation = index == 1 ? PhaseRotation::Acb : PhaseRotation::Abc;
                     }));
    return titled(tr("Линия"), group);
}

QWidget* ThreePhaseSetsDialog::buildTransformers()
{
    auto* group = new QWidget(this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(tr("первичный"), group), 0, 1);
    grid->addWidget(new QLabel(tr("вторичный"), group), 0, 2);
    grid->addWidget(new QLabel(tr("ТТ, А:"), group), 1, 0);
    currentRatioBoxes = {ratioBox(QStringLiteral("ctPrimary"), &InstrumentRatios::ctPrimary),
                         ratioBox(QStringLiteral("ctSecondary"), &InstrumentRatios::ctSecondary)};
    grid->addWidget(currentRatioBoxes.at(0), 1, 1);
    grid->addWidget(currentRatioBoxes.at(1), 1, 2);
    grid->addWidget(new QLabel(tr("ТН, В:"), group), 2, 0);
    voltageRatioBoxes = {ratioBox(QStringLiteral("vtPrimary"), &InstrumentRatios::vtPrimary),
                         ratioBox(QStringLiteral("vtSecondary"), &InstrumentRatios::vtSecondary)};
    grid->addWidget(voltageRatioBoxes.at(0), 2, 1);
    grid->addWidget(voltageRatioBoxes.at(1), 2, 2);

    const QStringList sides = {tr("первичные"), tr("вторичные")};
    recordedBox = choiceBox(
        QStringLiteral("recorded"), sides, [](const ThreePhaseSetup& setup) { return int(setup.ratios.recorded); },
        [](ThreePhaseSetup& setup, double index) { setup.ratios.recorded = ValueSide(int(index)); });
    const QString entered = tr("Для каналов, у которых в файле нет своих коэффициентов трансформации");
    for (QWidget* box : currentRatioBoxes + voltageRatioBoxes + QVector<QWidget*>{recordedBox})
        box->setToolTip(entered);
    grid->addWidget(new QLabel(tr("Значения в записи:"), group), 3, 0);
    grid->addWidget(recordedBox, 3, 1, 1, 2);
    statedFactors = new QLabel(group);
    statedFactors->setObjectName(QStringLiteral("statedFactors"));
    statedFactors->setWordWrap(true);
    grid->addWidget(statedFactors, 4, 0, 1, 3);
    grid->addWidget(new QLabel(tr("Показывать значения:"), group), 5, 0);
    grid->addWidget(choiceBox(
                        QStringLiteral("shown"), sides, [](const ThreePhaseSetup& setup) { return int(setup.shown); },
                        [](ThreePhaseSetup& setup, double index) { setup.shown = ValueSide(int(index)); }),
                    5, 1, 1, 2);
    return titled(tr("Измерительные трансформаторы"), group);
}

ThreePhaseSetup* ThreePhaseSetsDialog::currentSetup()
{
    const int row = setList->currentRow();
    return row >= 0 && row < edited.size() ? &edited[row] : nullptr;
}

void ThreePhaseSetsDialog::showSetup(int index)
{
    const bool valid = index >= 0 && index < edited.size();
    editor->setEnabled(valid);
    showing = true;
    const ThreePhaseSetup shown = valid ? edited.at(index) : ThreePhaseSetup{};
    nameEdit->setText(shown.set.name);
    for (const auto& show : showers)
        show(shown);
    showing = false;
    showStatedFactors();
}

// What the recording states for the assigned channels of one kind: the entered ratios
// serve only where it states nothing, so the fields give way when every channel has its own.
void ThreePhaseSetsDialog::showStatedFactors()
{
    const ThreePhaseSetup* setup = currentSetup();
    QStringList lines;
    int kindsFromFile = 0;
    for (bool currents : {true, false}) {
        QStringList texts;
        bool anyAssigned = false;
        bool allStated = true;
        for (int r = 0; r < phaseRoleCount && setup; ++r) {
            const int channel = setup->set.channels[r];
            if (isCurrent(PhaseRole(r)) != currents || channel < 0)
                continue;
            anyAssigned = true;
            const StatedRatio stated = statedRatio(recording, channel);
            allStated = allStated && stated.stated;
            const QString text =
                stated.stated ? tr("%1 / %2, в записи %3")
                                    .arg(factorNumber(stated.primary), factorNumber(stated.secondary),
                                         stated.recorded == ValueSide::Secondary ? tr("вторичные") : tr("первичные"))
                              : tr("не указан");
            if (!texts.contains(text))
                texts.append(text);
        }
        const bool fromFile = anyAssigned && allStated;
        kindsFromFile += fromFile ? 1 : 0;
        for (QWidget* box : currents ? currentRatioBoxes : voltageRatioBoxes)
            box->setEnabled(!fromFile);
        if (anyAssigned)
            lines.append((currents ? tr("ТТ в файле: %1") : tr("ТН в файле: %1")).arg(texts.join(QStringLiteral("; "))));
    }
    recordedBox->setEnabled(kindsFromFile < 2);
    statedFactors->setText(lines.join(QLatin1Char('\n')));
}

void ThreePhaseSetsDialog::addSet()
{
    QStringList names;
    for (const ThreePhaseSetup& setup : edited)
        names.append(setup.set.name);
    ThreePhaseSetup setup;
    for (int number = edited.size() + 1; setup.set.name.isEmpty() || names.contains(setup.set.name); ++number)
        setup.set.name = tr("Группа %1").arg(number);
    edited.append(setup);
    setList->addItem(setup.set.name);
    setList->setCurrentRow(edited.size() - 1);
}

void ThreePhaseSetsDialog::removeSet()
{
    const int row = setList->currentRow();
    if (row < 0 || row >= edited.size())
        return;
    edited.remove(row);
    delete setList->takeItem(row);
    showSetup(setList->currentRow());
}

} // namespace VornaLumeto
