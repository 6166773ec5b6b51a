// Sets with their line and instrument data remembered per recorder in a settings file.
#include "analysis/setupstore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using VornaLumeto::PhaseRole;
using VornaLumeto::Recording;
using VornaLumeto::ThreePhaseSetup;

namespace {

Recording feederRecording()
{
    Recording recording;
    recording.stationName = QStringLiteral("ПС Северная");
    recording.recorderId = 2;
    for (const char* name : {"Ua", "Ub", "Uc", "Ia", "Ib", "Ic", "3I0", "Ib2"}) {
        VornaLumeto::AnalogChannel channel;
        channel.id = QString::fromUtf8(name);
        channel.unit = channel.id.startsWith(QLatin1Char('U')) ? QStringLiteral("kV") : QStringLiteral("A");
        channel.multiplier = 1.0;
        recording.analogChannels.append(channel);
    }
    return recording;
}

// The found set with IB moved to channel "Ib2" and everything else changed from its default.
ThreePhaseSetup editedSetup(const Recording& recording)
{
    ThreePhaseSetup setup = VornaLumeto::foundSetups(recording).value(0);
    setup.set.name = QStringLiteral("ВЛ-110 Северная-1");
    setup.set.assign(PhaseRole::IB, 7);
    setup.line = VornaLumeto::LineData{0.12, 0.4, 0.3, 1.2, 35.5};
    setup.rotation = VornaLumeto::PhaseRotation::Acb;
    setup.ratios = VornaLumeto::InstrumentRatios{600.0, 5.0, 110000.0, 100.0, VornaLumeto::ValueSide::Secondary};
    setup.shown = VornaLumeto::ValueSide::Secondary;
    return setup;
}

void compareSetups(const ThreePhaseSetup& actual, const ThreePhaseSetup& expected)
{
    QCOMPARE(actual.set.name, expected.set.name);
    QCOMPARE(actual.set.channels, expected.set.channels);
    QCOMPARE(actual.line.r1, expected.line.r1);
    QCOMPARE(actual.line.x1, expected.line.x1);
    QCOMPARE(actual.line.r0, expected.line.r0);
    QCOMPARE(actual.line.x0, expected.line.x0);
    QCOMPARE(actual.line.lengthKm, expected.line.lengthKm);
    QCOMPARE(actual.rotation, expected.rotation);
    QCOMPARE(actual.ratios.ctRatio(), expected.ratios.ctRatio());
    QCOMPARE(actual.ratios.vtPrimary, expected.ratios.vtPrimary);
    QCOMPARE(actual.ratios.vtSecondary, expected.ratios.vtSecondary);
    QCOMPARE(actual.ratios.recorded, expected.ratios.recorded);
    QCOMPARE(actual.shown, expected.shown);
}

} // namespace

class TestSetupStore : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString settingsFile() const { return dir.filePath(QStringLiteral("settings.conf")); }

private slots:
    void init() { QFile::remove(settingsFile()); }

    // Stored and read back through a fresh settings object, as at the next start.
    void roundTrip()
    {
        const Recording recording = feederRecording();
        {
            QSettings settings(settingsFile(), QSettings::IniFormat);
            VornaLumeto::storeSetups(settings, recording, {editedSetup(recording)});
        }
        QSettings settings(settingsFile(), QSettings::IniFormat);
        const VornaLumeto::RecordingSetups restored = VornaLumeto::restoreSetups(settings, recording);
        QVERIFY(restored.remembered);
        QCOMPARE(restored.setups.size(), 1);
        compareSetups(restored.setups.first(), editedSetup(recording));
    }

    // The same recorder writing its channels in another order: each role keeps its channel by name.
    void reorderedChannelsKeepTheirRoles()
    {
        const Recording recording = feederRecording();
        QSettings settings(settingsFile(), QSettings::IniFormat);
        VornaLumeto::storeSetups(settings, recording, {editedSetup(recording)});
        Recording reordered = recording;
        std::reverse(reordered.analogChannels.begin(), reordered.analogChannels.end());
        QCOMPARE(VornaLumeto::recorderKey(reordered), VornaLumeto::recorderKey(recording));
        const VornaLumeto::RecordingSetups restored = VornaLumeto::restoreSetups(settings, reordered);
        QVERIFY(restored.remembered);
        QCOMPARE(restored.setups.first().set.channel(PhaseRole::IB), 0);  // "Ib2", now first
        QCOMPARE(restored.setups.first().set.channel(PhaseRole::UA), 7);
    }

    void otherRecordersFindTheirOwn_data()
    {
        QTest::addColumn<QString>("station");
        QTest::addColumn<qint32>("recorderId");
        QTest::addColumn<QString>("renamedChannel");
        QTest::newRow("another station") << "ПС Южная" << 2 << "";
        QTest::newRow("another recorder id") << "ПС Северная" << 3 << "";
        QTest::newRow("a channel renamed") << "ПС Северная" << 2 << "Ic2";
    }
    // None sees the choice stored for another recorder: each gets the sets the finder finds.
    void otherRecordersFindTheirOwn()
    {
        QFETCH(QString, station);
        QFETCH(qint32, recorderId);
        QFETCH(QString, renamedChannel);
        const Recording recording = feederRecording();
        QSettings settings(settingsFile(), QSettings::IniFormat);
        VornaLumeto::storeSetups(settings, recording, {editedSetup(recording)});
        Recording other = recording;
        other.stationName = station;
        other.recorderId = recorderId;
        if (!renamedChannel.isEmpty())
            other.analogChannels[7].id = renamedChannel;
        const VornaLumeto::RecordingSetups restored = VornaLumeto::restoreSetups(settings, other);
        QVERIFY(!restored.remembered);
        QCOMPARE(restored.setups.size(), 1);
        compareSetups(restored.setups.first(), VornaLumeto::foundSetups(other).first());
    }

    // Removing every set is a choice too; a number that is none reads as 0; a stored channel
    // name the recording lacks makes the whole entry the finder's again.
    void storedChoicesAreCheckedWhenRead()
    {
        const Recording recording = feederRecording();
        QSettings settings(settingsFile(), QSettings::IniFormat);
        VornaLumeto::storeSetups(settings, recording, {});
        VornaLumeto::RecordingSetups restored = VornaLumeto::restoreSetups(settings, recording);
        QVERIFY(restored.remembered);
        QVERIFY(restored.setups.isEmpty());

        VornaLumeto::storeSetups(settings, recording, {editedSetup(recording)});
        const QString set = QStringLiteral("threePhaseSets/%1/sets/1/").arg(VornaLumeto::recorderKey(recording));
        settings.setValue(set + QStringLiteral("lengthKm"), QStringLiteral("nan"));
        restored = VornaLumeto::restoreSetups(settings, recording);
        QVERIFY(restored.remembered);
        QCOMPARE(restored.setups.first().line.lengthKm, 0.0);
        QCOMPARE(restored.setups.first().line.x1, 0.4);

        settings.setValue(set + QStringLiteral("IA"), QStringLiteral("Iz"));
        restored = VornaLumeto::restoreSetups(settings, recording);
        QVERIFY(!restored.remembered);
        QCOMPARE(restored.setups.first().set.channel(PhaseRole::IA), 3);
    }

    // The application's own settings, never the working folder, whatever main names the application.
    void userSettingsLiveInTheConfigurationFolder()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString file = VornaLumeto::openUserSettings()->fileName();
        QVERIFY2(file.endsWith(QStringLiteral("/Lumeto/lumeto.conf")), qPrintable(file));
        QVERIFY2(file.startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)),
                 qPrintable(file));
    }
};

QTEST_GUILESS_MAIN(TestSetupStore)
#include "test_setupstore.moc"
