// The dialog of three-phase sets: what the user changes is stored per recorder on OK only.
#include "analysis/setupstore.h"
#include "comtrade/dialect/dialectreader.h"
#include "support/linefaultrecordings.h"
#include "support/readings.h"
#include "dialogs/threephasesetsdialog.h"
#include "support/gui/modaldriver.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using VornaLumeto::PhaseRole;
using VornaLumeto::Recording;
using VornaLumeto::ThreePhaseSetsDialog;

namespace {

Recording sample(const QString& name)
{
    Recording recording;
    const QString message = LumetoTest::loadDialect(QStringLiteral(LUMETO_SAMPLES_DIR "/") + name, recording);
    if (message != VornaLumeto::loadSuccessMessage())
        qWarning() << message;
    return recording;
}

template <typename Widget>
Widget* child(QDialog* dialog, const char* name)
{
    return dialog->findChild<Widget*>(QLatin1String(name));
}

void chooseChannel(QDialog* dialog, const char* role, int channel)
{
    auto* box = child<QComboBox>(dialog, role);
    box->setCurrentIndex(box->findData(channel));
}

// Runs the edit on the dialog once it shows, then presses OK (or Cancel).
int runDialog(ThreePhaseSetsDialog& dialog, const std::function<void(QDialog*)>& edit, QDialogButtonBox::StandardButton press)
{
    LumetoTest::whenModalAppears([edit, press](QWidget* modal) {
        auto* shown = qobject_cast<QDialog*>(modal);
        if (!shown) {
            modal->close();
            return;
        }
        edit(shown);
        shown->findChild<QDialogButtonBox*>()->button(press)->click();
    });
    return dialog.exec();
}

} // namespace

class TestThreePhaseSetsDialog : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString settingsFile() const { return dir.filePath(QStringLiteral("settings.conf")); }

private slots:
    void init() { QFile::remove(settingsFile()); }

    // The second feeder of fault-4khz loses its IA and gets a line; the first is removed and a
    // named one added: OK stores exactly that for the recorder.
    void okStoresTheEditedSets()
    {
        const Recording recording = sample(QStringLiteral("fault-4khz.cfg"));
        QSettings settings(settingsFile(), QSettings::IniFormat);
        ThreePhaseSetsDialog dialog(recording, VornaLumeto::restoreSetups(settings, recording).setups, settings);
        const int result = runDialog(
            dialog,
            [](QDialog* shown) {
                child<QListWidget>(shown, "setList")->setCurrentRow(1);
                chooseChannel(shown, "roleIA", -1);
                child<QDoubleSpinBox>(shown, "lengthKm")->setValue(42.5);
                child<QComboBox>(shown, "rotation")->setCurrentIndex(1);
                child<QListWidget>(shown, "setList")->setCurrentRow(0);
                child<QPushButton>(shown, "removeSet")->click();
                child<QPushButton>(shown, "addSet")->click();
                child<QLineEdit>(shown, "setName")->setText(QStringLiteral("Резерв"));
                chooseChannel(shown, "roleUA", 8);
            },
            QDialogButtonBox::Ok);
        QCOMPARE(result, int(QDialog::Accepted));

        const VornaLumeto::RecordingSetups stored = VornaLumeto::restoreSetups(settings, recording);
        QVERIFY(stored.remembered);
        QCOMPARE(stored.setups.size(), 2);
        const VornaLumeto::ThreePhaseSetup& feeder = stored.setups.at(0);
        QCOMPARE(feeder.set.name, QStringLiteral("Line 2 East"));
        QCOMPARE(feeder.set.channel(PhaseRole::IA), -1);
        QCOMPARE(feeder.set.channel(PhaseRole::IB), 12);
        QCOMPARE(feeder.line.lengthKm, 42.5);
        QCOMPARE(feeder.rotation, VornaLumeto::PhaseRotation::Acb);
        QCOMPARE(stored.setups.at(1).set.name, QStringLiteral("Резерв"));
        QCOMPARE(stored.setups.at(1).set.channel(PhaseRole::UA), 8);
        QCOMPARE(dialog.setups().size(), 2);
    }

    void cancelStoresNothing()
    {
        const Recording recording = sample(QStringLiteral("fault-1khz.cfg"));
        QSettings settings(settingsFile(), QSettings::IniFormat);
        ThreePhaseSetsDialog dialog(recording, VornaLumeto::restoreSetups(settings, recording).setups, settings);
        const int result = runDialog(
            dialog, [](QDialog* shown) { chooseChannel(shown, "roleIA", -1); }, QDialogButtonBox::Cancel);
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(!VornaLumeto::restoreSetups(settings, recording).remembered);
        QVERIFY(settings.allKeys().isEmpty());
    }

    // The recording states 125 / 5 for its currents: the CT fields give way, the VT's 399.3 / 110 shows.
    void statedFactorsAreShownAndNotEntered()
    {
        Recording recording;
        QCOMPARE(LumetoTest::loadStandard(
                     qEnvironmentVariable("LUMETO_TEST_DATA") + QStringLiteral("/public/rust-comtrade/real_1999_bin.cfg"),
                     recording),
                 VornaLumeto::loadSuccessMessage());
        QSettings settings(settingsFile(), QSettings::IniFormat);
        ThreePhaseSetsDialog dialog(recording, VornaLumeto::foundSetups(recording), settings);
        QVERIFY(!child<QDoubleSpinBox>(&dialog, "ctPrimary")->isEnabled());
        QVERIFY(!child<QDoubleSpinBox>(&dialog, "vtSecondary")->isEnabled());
        QVERIFY(!child<QComboBox>(&dialog, "recorded")->isEnabled());
        const QString stated = child<QLabel>(&dialog, "statedFactors")->text();
        QVERIFY2(stated.contains(QStringLiteral("125 / 5, в записи вторичные")), qPrintable(stated));
        chooseChannel(&dialog, "roleIA", 9);  // "J1 Ia", no factors of its own
        QVERIFY(child<QDoubleSpinBox>(&dialog, "ctPrimary")->isEnabled());

        // A ratio of a thousand is written as the readouts write numbers: "1,000" would read as one.
        QTemporaryDir dir;
        Recording generated;
        QCOMPARE(LumetoTest::loadLineFault(dir, QStringLiteral("line"),
                                           LumetoTest::testFault(LumetoTools::FaultKind::AG, 0.5, 0.0, 0.0, true, 1000, true),
                                           {1999, LumetoTools::DataFormat::Binary}, generated),
                 VornaLumeto::loadSuccessMessage());
        ThreePhaseSetsDialog secondary(generated, VornaLumeto::foundSetups(generated), settings);
        const QString ratios = child<QLabel>(&secondary, "statedFactors")->text();
        QVERIFY2(ratios.contains(QStringLiteral("ТТ в файле: 1000 / 1, в записи вторичные")), qPrintable(ratios));
        QVERIFY2(ratios.contains(QStringLiteral("ТН в файле: 110000 / 100")), qPrintable(ratios));
    }
};

QTEST_MAIN(TestThreePhaseSetsDialog)
#include "test_threephasesetsdialog.moc"
