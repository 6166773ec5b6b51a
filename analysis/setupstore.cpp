#include "analysis/setupstore.h"

#include "analysis/phaserotation.h"
#include "analysis/threephasesetfinder.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QStringList>

#include <cmath>
#include <optional>

namespace VornaLumeto {

namespace {

// Numbers of the line and of the transformers, and whether a negative one is nonsense.
template <typename Data>
struct NumberKey {
    const char* key;
    double Data::*member;
    bool atLeastZero;
};
const NumberKey<LineData> lineKeys[] = {{"r1", &LineData::r1, false},
                                        {"x1", &LineData::x1, false},
                                        {"r0", &LineData::r0, false},
                                        {"x0", &LineData::x0, false},
                                        {"lengthKm", &LineData::lengthKm, true}};
const NumberKey<InstrumentRatios> ratioKeys[] = {{"ctPrimary", &InstrumentRatios::ctPrimary, true},
                                                 {"ctSecondary", &InstrumentRatios::ctSecondary, true},
                                                 {"vtPrimary", &InstrumentRatios::vtPrimary, true},
                                                 {"vtSecondary", &InstrumentRatios::vtSecondary, true}};

QString sideText(ValueSide side)
{
    return side == ValueSide::Secondary ? QStringLiteral("secondary") : QStringLiteral("primary");
}

ValueSide sideOf(const QVariant& value)
{
    return value.toString() == QLatin1String("secondary") ? ValueSide::Secondary : ValueSide::Primary;
}

QString channelName(const Recording& recording, int channel)
{
    return recording.analogChannels.at(channel).id.trimmed();
}

QString recorderGroup(const Recording& recording)
{
    return QStringLiteral("threePhaseSets/") + recorderKey(recording);
}

template <typename Data, std::size_t count>
void writeNumbers(QSettings& settings, const Data& data, const NumberKey<Data> (&keys)[count])
{
    for (const NumberKey<Data>& number : keys)
        settings.setValue(QLatin1String(number.key), data.*number.member);
}

// Numbers the user may have edited in the file: 0 for what is no finite number, or negative where it may not be.
template <typename Data, std::size_t count>
void readNumbers(const QSettings& settings, Data& data, const NumberKey<Data> (&keys)[count])
{
    for (const NumberKey<Data>& number : keys) {
        bool ok = false;
        const double value = settings.value(QLatin1String(number.key)).toDouble(&ok);
        const bool usable = ok && std::isfinite(value) && !(number.atLeastZero && value < 0.0);
        data.*number.member = usable ? value : 0.0;
    }
}

// The channel a stored role names: the stored index when that channel has the name, else
// the first channel of that name; -1 for none stored, nothing for a name the recording lacks.
std::optional<int> storedChannel(const QSettings& settings, const Recording& recording, const QString& role)
{
    const QString name = settings.value(role).toString();
    if (name.isEmpty())
        return -1;
    bool ok = false;
    const int index = settings.value(role + QStringLiteral("Index")).toInt(&ok);
    if (ok && index >= 0 && index < recording.analogChannels.size() && channelName(recording, index) == name)
        return index;
    for (int c = 0; c < recording.analogChannels.size(); ++c) {
        if (channelName(recording, c) == name)
            return c;
    }
    return std::nullopt;
}

void writeSetup(QSettings& settings, const Recording& recording, const ThreePhaseSetup& setup)
{
    settings.setValue(QStringLiteral("name"), setup.set.name);
    for (int r = 0; r < phaseRoleCount; ++r) {
        const QString role = phaseRoleKey(PhaseRole(r));
        const int channel = setup.set.channels[r];
        const bool assigned = channel >= 0 && channel < recording.analogChannels.size();
        settings.setValue(role, assigned ? channelName(recording, channel) : QString());
        settings.setValue(role + QStringLiteral("Index"), assigned ? channel : -1);
    }
    writeNumbers(settings, setup.line, lineKeys);
    settings.setValue(QStringLiteral("rotation"),
                      setup.rotation == PhaseRotation::Acb ? QStringLiteral("ACB") : QStringLiteral("ABC"));
    writeNumbers(settings, setup.ratios, ratioKeys);
    settings.setValue(QStringLiteral("recorded"), sideText(setup.ratios.recorded));
    settings.setValue(QStringLiteral("shown"), sideText(setup.shown));
}

std::optional<ThreePhaseSetup> readSetup(const QSettings& settings, const Recording& recording)
{
    ThreePhaseSetup setup;
    setup.set.name = settings.value(QStringLiteral("name")).toString();
    for (int r = 0; r < phaseRoleCount; ++r) {
        const std::optional<int> channel = storedChannel(settings, recording, phaseRoleKey(PhaseRole(r)));
        if (!channel)
            return std::nullopt;
        setup.set.channels[r] = *channel;
    }
    readNumbers(settings, setup.line, lineKeys);
    setup.rotation = settings.value(QStringLiteral("rotation")).toString() == QLatin1String("ACB")
                         ? PhaseRotation::Acb
                         : PhaseRotation::Abc;
    readNumbers(settings, setup.ratios, ratioKeys);
    setup.ratios.recorded = sideOf(settings.value(QStringLiteral("recorded")));
    setup.shown = sideOf(settings.value(QStringLiteral("shown")));
    return setup;
}

} // namespace

std::unique_ptr<QSettings> openUserSettings()
{
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("Lumeto"), QStringLiteral("lumeto"));
    settings->setIniCodec("UTF-8");
    return settings;
}

RecorderIdentity recorderIdentity(const Recording& recording)
{
    const StandardDescription& standard = recording.standard;
    if (standard.fromStandardReader)
        return RecorderIdentity{standard.stationName.trimmed(), standard.recorderId.trimmed()};
    return RecorderIdentity{recording.stationName.trimmed(), QString::number(recording.recorderId)};
}

QString recorderKey(const Recording& recording)
{
    QStringList names;
    for (int c = 0; c < recording.analogChannels.size(); ++c)
        names.append(channelName(recording, c));
    names.sort();
    const RecorderIdentity recorder = recorderIdentity(recording);
    const QString identity = recorder.station + QLatin1Char('\n') + recorder.recorderId + QLatin1Char('\n')
                             + names.join(QLatin1Char('\n'));
    return QString::fromLatin1(QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex());
}

QVector<ThreePhaseSetup> foundSetups(const Recording& recording)
{
    QVector<ThreePhaseSetup> setups;
    for (const ThreePhaseSet& set : findThreePhaseSets(recording)) {
        ThreePhaseSetup setup;
        setup.set = set;
        setup.rotation = observedRotation(recording, set);
        setups.append(setup);
    }
    return setups;
}

RecordingSetups restoreSetups(QSettings& settings, const Recording& recording)
{
    settings.beginGroup(recorderGroup(recording));
    const bool stored = settings.contains(QStringLiteral("sets/size"));
    RecordingSetups restored{QVector<ThreePhaseSetup>(), stored};
    const int count = settings.beginReadArray(QStringLiteral("sets"));
    for (int s = 0; s < count && restored.remembered; ++s) {
        settings.setArrayIndex(s);
        const std::optional<ThreePhaseSetup> setup = readSetup(settings, recording);
        restored.remembered = setup.has_value();
        if (setup)
            restored.setups.append(*setup);
    }
    settings.endArray();
    settings.endGroup();
    if (!restored.remembered)
        return RecordingSetups{foundSetups(recording), false};
    return restored;
}

void storeSetups(QSettings& settings, const Recording& recording, const QVector<ThreePhaseSetup>& setups)
{
    settings.remove(recorderGroup(recording));
    settings.beginGroup(recorderGroup(recording));
    const RecorderIdentity recorder = recorderIdentity(recording);
    settings.setValue(QStringLiteral("station"), recorder.station);
    settings.setValue(QStringLiteral("recorder"), recorder.recorderId);
    settings.beginWriteArray(QStringLiteral("sets"), setups.size());
    for (int s = 0; s < setups.size(); ++s) {
        settings.setArrayIndex(s);
        writeSetup(settings, recording, setups.at(s));
    }
    settings.endArray();
    settings.endGroup();
    settings.sync();
}

} // namespace VornaLumeto
