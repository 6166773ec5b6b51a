// Finding the three-phase sets of a recording from its channel descriptions.
#include "analysis/channeldesignation.h"
#include "analysis/setupstore.h"
#include "analysis/threephasesetfinder.h"
#include "comtrade/dialect/dialectreader.h"
#include "support/readings.h"

#include <QtTest>

using VornaLumeto::PhaseRole;
using VornaLumeto::Recording;

namespace {

// Channels written "id|ph|ccbm|unit", numbered from 1 as a configuration numbers them.
Recording recordingOf(const QStringList& channels)
{
    Recording recording;
    for (const QString& line : channels) {
        const QStringList fields = line.split(QLatin1Char('|'));
        VornaLumeto::AnalogChannel channel;
        channel.index = quint8(recording.analogChannels.size() + 1);
        channel.id = fields.value(0);
        channel.phase = fields.value(1);
        channel.circuit = fields.value(2);
        channel.unit = fields.value(3);
        channel.multiplier = 1.0;
        recording.analogChannels.append(channel);
    }
    return recording;
}

// "name: UA=channel UB=channel ...", channels by their names, or by number with `numbers`.
QStringList described(const Recording& recording, bool numbers)
{
    QStringList sets;
    for (const VornaLumeto::ThreePhaseSet& set : VornaLumeto::findThreePhaseSets(recording)) {
        QString text = set.name + QLatin1Char(':');
        for (int r = 0; r < VornaLumeto::phaseRoleCount; ++r) {
            const int c = set.channels[r];
            if (c >= 0)
                text += QStringLiteral(" %1=%2").arg(VornaLumeto::phaseRoleKey(PhaseRole(r)),
                                                     numbers ? QString::number(c)
                                                             : recording.analogChannels.at(c).id.trimmed());
        }
        sets.append(text);
    }
    return sets;
}

QString roleText(const VornaLumeto::AnalogChannel& channel)
{
    const auto designation = VornaLumeto::designationOf(channel);
    return designation ? QString(VornaLumeto::phaseRoleKey(designation->role)) : QStringLiteral("-");
}

} // namespace

class TestThreePhaseSets : public QObject {
    Q_OBJECT

private slots:
    void roleFromName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("role");
        const QList<QPair<const char*, const char*>> rows = {
            {"Ua", "UA"},        {"UB", "UB"},         {"U фазы А", "UA"}, {"I фазы В", "IB"},
            {"Ток фазы С", "IC"}, {"Ia1", "IA"},       {"IA-1", "IA"},     {"F2-IB", "IB"},
            {"IL3", "IC"},       {"LINE SUM ILA", "IA"}, {"V_A", "UA"},    {"VB(kV)", "UB"},
            {"J2 Van", "UA"},    {"3I0", "IN"},        {"4-3U0", "UN"},    {"IG", "IN"},
            {"Uab", "-"},        {"UA-B", "-"},        {"I BIAS", "-"},    {"INPUT", "-"},
            {"V1MEM", "-"},      {"Частота", "-"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.first) << QString::fromUtf8(row.first) << QString::fromUtf8(row.second);
    }
    // The names alone, without ph field; the unit ("A" or "kV") agrees with the name's quantity.
    void roleFromName()
    {
        QFETCH(QString, name);
        QFETCH(QString, role);
        const bool current = name.contains(QLatin1Char('I')) || name.startsWith(QStringLiteral("Ток"));
        VornaLumeto::AnalogChannel channel = recordingOf({name + QStringLiteral("|||")}).analogChannels.first();
        channel.index = 4;
        QCOMPARE(roleText(channel), role);
        channel.unit = current ? QStringLiteral("A") : QStringLiteral("kV");
        QCOMPARE(roleText(channel), role);
    }

    void findsSets_data()
    {
        QTest::addColumn<QStringList>("channels");
        QTest::addColumn<QStringList>("sets");
        QTest::newRow("Latin names, no fields")
            << QStringList{"Ua|||V", "Ub|||V", "Uc|||V", "Ia|||A", "Ib|||A", "Ic|||A", "3I0|||A", "F|||Hz"}
            << QStringList{"Группа 1: UA=0 UB=1 UC=2 IA=3 IB=4 IC=5 IN=6"};
        QTest::newRow("ph fields in Cyrillic, ccbm names the set")
            << QStringList{"U1|А|ВЛ-110|кВ", "U2|В|ВЛ-110|кВ", "U3|С|ВЛ-110|кВ", "I1|А|ВЛ-110|А",
                           "I2|В|ВЛ-110|А", "I3|С|ВЛ-110|А"}
            << QStringList{"ВЛ-110: UA=0 UB=1 UC=2 IA=3 IB=4 IC=5"};
        QTest::newRow("ph field over name, units over name")
            << QStringList{"Ic|L1|Bay|kA", "Ia|L2|Bay|kA", "Ib|L3|Bay|kA", "Ia|R|Bay|кВ", "Ib|S|Bay|кВ",
                           "Ic|T|Bay|кВ"}
            << QStringList{"Bay: UA=3 UB=4 UC=5 IA=0 IB=1 IC=2"};
        QTest::newRow("two feeders")
            << QStringList{"UA L1|||kV", "UB L1|||kV", "UC L1|||kV", "IA L1|||A", "IB L1|||A", "IC L1|||A",
                           "UA L2|||kV", "UB L2|||kV", "UC L2|||kV", "IA L2|||A", "IB L2|||A", "IC L2|||A",
                           "3I0 L2|||A"}
            << QStringList{"L1: UA=0 UB=1 UC=2 IA=3 IB=4 IC=5", "L2: UA=6 UB=7 UC=8 IA=9 IB=10 IC=11 IN=12"};
        QTest::newRow("a role met twice opens a second set")
            << QStringList{"IA|||A", "IB|||A", "IC|||A", "IA|||A", "IB|||A", "IC|||A"}
            << QStringList{"Группа 1: IA=0 IB=1 IC=2", "Группа 2: IA=3 IB=4 IC=5"};
        QTest::newRow("voltages join the current set they name alike")
            << QStringList{"LINE SUM ILA|||A", "LINE SUM ILB|||A", "LINE SUM ILC|||A", "REM SUM ILA|||A",
                           "REM SUM ILB|||A", "REM SUM ILC|||A", "LINE ULA|||V", "LINE ULB|||V", "LINE ULC|||V"}
            << QStringList{"LINE: UA=6 UB=7 UC=8 IA=0 IB=1 IC=2", "REM SUM: IA=3 IB=4 IC=5"};
        QTest::newRow("voltages named alike to two current sets stay apart")
            << QStringList{"LINE X ILA|||A", "LINE X ILB|||A", "LINE X ILC|||A", "LINE Y ILA|||A",
                           "LINE Y ILB|||A", "LINE Y ILC|||A", "REM ILA|||A", "REM ILB|||A", "REM ILC|||A",
                           "LINE ULA|||V", "LINE ULB|||V", "LINE ULC|||V"}
            << QStringList{"LINE X: IA=0 IB=1 IC=2", "LINE Y: IA=3 IB=4 IC=5", "REM: IA=6 IB=7 IC=8",
                           "LINE: UA=9 UB=10 UC=11"};
        QTest::newRow("the one VT and the one CT of a recorder")
            << QStringList{"J1 -IA|A||A", "J1 -IB|B||A", "J1 -IC|C||A", "J1 -IG|G||A", "J2 -VA|A||V",
                           "J2 -VB|B||V", "J2 -VC|C||V", "J1 Ia|_||A", "J1 Ib|_||A", "J1 Ic|_||A"}
            << QStringList{"J2 / J1: UA=4 UB=5 UC=6 IA=0 IB=1 IC=2 IN=3"};
        QTest::newRow("none: line voltages, two phases, other units")
            << QStringList{"Uab|||kV", "Ubc|||kV", "Uca|||kV", "Ia|||A", "Ib|||A", "Ua|||%", "Ub|||%", "Uc|||%",
                           "IA|AB||A"}
            << QStringList{};
    }
    void findsSets()
    {
        QFETCH(QStringList, channels);
        QFETCH(QStringList, sets);
        QCOMPARE(described(recordingOf(channels), true), sets);
    }

    void findsSetsOfRecordings_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("sets");
        QTest::addColumn<QString>("rotations");  // each found setup's, as its first period shows it
        const QString samples = QStringLiteral(LUMETO_SAMPLES_DIR "/");
        const QString data = qEnvironmentVariable("LUMETO_TEST_DATA") + QStringLiteral("/public/");
        QTest::newRow("fault-4khz") << samples + "fault-4khz.cfg"
                                    << QStringList{"ВЛ-110 Северная-1: UA=U фазы А UB=U фазы В UC=U фазы С "
                                                   "IA=I фазы А IB=I фазы В IC=I фазы С IN=3I0",
                                                   "Line 2 East: UA=UA L2 UB=UB L2 UC=UC L2 IA=IA L2 IB=IB L2 "
                                                   "IC=IC L2 IN=3I0 L2"} << QStringLiteral("ABC ABC");
        QTest::newRow("1991 SEL") << data + "COMTRADE.jl/1991-ascii-sel.cfg"
                                  << QStringList{"Группа 1: UA=VA(kV) UB=VB(kV) UC=VC(kV) IA=IA IB=IB IC=IC IN=IG",
                                                 "L: IA=IAL IB=IBL IC=ICL", "X: IA=IAX IB=IBX IC=ICX",
                                                 "T: IA=IAT IB=IBT IC=ICT"} << QStringLiteral("ABC ABC ABC ABC");
        QTest::newRow("go test1") << data + "go-comtrade/test1.cfg"
                                  << QStringList{"LINE: UA=LINE ULA UB=LINE ULB UC=LINE ULC UN=LINE UN "
                                                 "IA=LINE SUM ILA IB=LINE SUM ILB IC=LINE SUM ILC IN=LINE SUM IN",
                                                 "REM1 SUM: IA=REM1 SUM ILA IB=REM1 SUM ILB IC=REM1 SUM ILC "
                                                 "IN=REM1 SUM IN"} << QStringLiteral("ABC ABC");
        QTest::newRow("go test2") << data + "go-comtrade/test2.cfg"
                                  << QStringList{"Группа 1: UA=5-Ua UB=6-Ub UC=7-Uc UN=8-3U0 IA=1-Ia IB=2-Ib "
                                                 "IC=3-Ic IN=4-3I0"} << QStringLiteral("ABC");
        QTest::newRow("1999 PQ, phases labelled A, C, B")
            << data + "COMTRADE.jl/1999-ascii-pq.cfg"
            << QStringList{"Группа 1: UA=Va UB=Vb UC=Vc IA=Ia IB=Ib IC=Ic"} << QStringLiteral("ACB");
        QTest::newRow("python float32") << data + "python-comtrade/sample_float32.cff" << QStringList{} << QString();
    }
    void findsSetsOfRecordings()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, sets);
        QFETCH(QString, rotations);
        Recording recording;
        const QString message = path.startsWith(QStringLiteral(LUMETO_SAMPLES_DIR))
                                    ? LumetoTest::loadDialect(path, recording)
                                    : LumetoTest::loadStandard(path, recording);
        QCOMPARE(message, VornaLumeto::loadSuccessMessage());
        QCOMPARE(described(recording, false), sets);
        QStringList observed;
        for (const VornaLumeto::ThreePhaseSetup& setup : VornaLumeto::foundSetups(recording))
            observed.append(setup.rotation == VornaLumeto::PhaseRotation::Acb ? QStringLiteral("ACB")
                                                                              : QStringLiteral("ABC"));
        QCOMPARE(observed.join(QLatin1Char(' ')), rotations);
    }
};

QTEST_GUILESS_MAIN(TestThreePhaseSets)
#include "test_threephasesets.moc"
