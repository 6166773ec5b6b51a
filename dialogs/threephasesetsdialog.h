#pragma once

#include "analysis/threephasesetup.h"
#include "comtrade/common/recording.h"

#include <QDialog>
#include <QVector>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSettings;
class QWidget;

namespace VornaLumeto {

// "Трёхфазные группы": the sets of a recording, each role assigned from its analog
// channels, with line data, phase rotation, CT and VT ratios and the choice of
// primary or secondary values. OK stores the sets for the recording's recorder in the
// settings (setupstore.h); Cancel stores nothing. The recording and the settings
// must outlive the dialog.
class ThreePhaseSetsDialog : public QDialog {
    Q_OBJECT

public:
    ThreePhaseSetsDialog(const Recording& recording, const QVector<ThreePhaseSetup>& setups, QSettings& settings,
                         QWidget* parent = nullptr);

    // The sets as the dialog shows them: after OK, what it stored.
    QVector<ThreePhaseSetup> setups() const { return edited; }

    void accept() override;

private:
    using Getter = std::function<double(const ThreePhaseSetup&)>;
    using Setter = std::function<void(ThreePhaseSetup&, double)>;

    QWidget* buildSetList();
    QWidget* buildEditor();
    QWidget* buildChannels();
    QWidget* buildLine();
    QWidget* buildTransformers();
    QComboBox* roleBox(PhaseRole role);
    // A field of the current set: shown by `get` when a set is shown, written by `set` as it changes.
    QDoubleSpinBox* numberBox(const QString& objectName, double minimum, double maximum, int decimals,
                              const Getter& get, const Setter& set);
    QDoubleSpinBox* lineBox(const QString& objectName, double LineData::*member, double minimum, double maximum,
                            int decimals);
    QDoubleSpinBox* ratioBox(const QString& objectName, double InstrumentRatios::*member);
    QComboBox* choiceBox(const QString& objectName, const QStringList& texts, const Getter& get, const Setter& set);

    void showSetup(int index);
    void showStatedFactors();
    void addSet();
    void removeSet();
    ThreePhaseSetup* currentSetup();

    const Recording& recording;
    QSettings& settings;
    QVector<ThreePhaseSetup> edited;
    bool showing = false;  // widgets being filled: their signals change nothing

    QListWidget* setList = nullptr;
    QWidget* editor = nullptr;
    QLineEdit* nameEdit = nullptr;
    QVector<std::function<void(const ThreePhaseSetup&)>> showers;  // fill each field from a set
    QVector<QWidget*> currentRatioBoxes;
    QVector<QWidget*> voltageRatioBoxes;
    QComboBox* recordedBox = nullptr;
    QLabel* statedFactors = nullptr;
};

} // namespace VornaLumeto
