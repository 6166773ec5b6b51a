#include "app/comtradeview.h"

#include "view/comtraderead.h"
#include "view/plaintext.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace VornaLumeto {

namespace {

constexpr int rowHeight = 15;
constexpr int listMargin = 5;

// Every row gets at least 15 pixels and at least the height its check box and
// label ask for, so that short lists are readable and none is cut off; lists
// taller than the dialog scroll.
int listHeight(int rows, int tallestRow)
{
    return rows == 0 ? 0 : 2 * listMargin + rows * qMax(rowHeight, tallestRow);
}

struct DialogButton {
    QString text;
    void (comtrade_view::*slot)();
    QString objectName;
};

void addButtonRow(QVBoxLayout* dialogLayout, comtrade_view* tabs,
                  const QVector<DialogButton>& buttons)
{
    auto* row = new QWidget(dialogLayout->parentWidget());
    auto* rowLayout = new QHBoxLayout(row);
    for (const DialogButton& description : buttons) {
        auto* button = new QPushButton(description.text, row);
        button->setObjectName(description.objectName);
        QObject::connect(button, &QPushButton::clicked, tabs, description.slot);
        rowLayout->addWidget(button);
    }
    dialogLayout->addWidget(row);
}

} // namespace

bool comtrade_view::showSignalsDialog(bool checkAll, int mode, bool analog, bool digital)
{
    COMTRADE_read* view = currentView();
    if (tabWidget->count() == 0 || !view)
        return false;

    checkBoxes.resize(0);

    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setFixedSize(300, 300);

    auto* scrollArea = new QScrollArea(dialog);
    auto* content = new QWidget;
    scrollArea->setWidget(content);

    const int analogRows = analog ? view->analogCount : 0;
    const int digitalRows = digital ? view->digitalCount : 0;
    const int rows = analogRows + digitalRows;

    auto* dialogLayout = new QVBoxLayout(dialog);
    dialogLayout->setContentsMargins(0, 0, 0, 0);
    dialogLayout->setSpacing(0);
    dialogLayout->addWidget(scrollArea);

    auto* listLayout = new QVBoxLayout(content);
    listLayout->setContentsMargins(listMargin, listMargin, listMargin, listMargin);
    listLayout->setSpacing(0);

    int tallestRow = 0;
    for (int i = 0; i < rows; ++i) {
        auto* row = new QWidget(content);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        QLabel* label = plainTextLabel(QString(), row);
        auto* box = new QCheckBox(row);
        box->setCheckable(true);
        checkBoxes.append(box);

        // Digital rows follow the analog ones, or start the list when analog channels are left out.
        const bool analogRow = i < analogRows;
        const QString& id = analogRow ? view->analogChannels.at(i).id
                                      : view->digitalChannels.at(i - analogRows).id;
        const bool shown = analogRow ? view->analogChannels.at(i).shown
                                     : view->digitalChannels.at(i - analogRows).shown;
        label->setText(id);
        box->setChecked(mode == DisplayedSignalsMode ? shown : checkAll);

        rowLayout->addWidget(box);
        rowLayout->addWidget(label);
        rowLayout->addStretch();
        listLayout->addWidget(row);
        tallestRow = qMax(tallestRow, row->sizeHint().height());
    }
    content->setFixedSize(270, listHeight(rows, tallestRow));

    addButtonRow(dialogLayout, this,
                 {{tr("Выделить все"), &comtrade_view::slot_pushButt_all_yes, QString()},
                  {tr("Очистить все"), &comtrade_view::slot_pushButt_all_no, QString()}});
    addButtonRow(dialogLayout, this,
                 {{tr("Применить"), &comtrade_view::slot_pushButt_Ok, QString::number(mode)},
                  {tr("Закрыть"), &comtrade_view::slot_pushButt_Exit, QString()}});

    dialog->exec();
    // The boxes died with the dialog; nothing may reach them through the list.
    checkBoxes.resize(0);
    return true;
}

void comtrade_view::slot_pushButt_all_yes()
{
    for (QCheckBox* box : qAsConst(checkBoxes))
        box->setChecked(true);
}

void comtrade_view::slot_pushButt_all_no()
{
    for (QCheckBox* box : qAsConst(checkBoxes))
        box->setChecked(false);
}

void comtrade_view::slot_pushButt_Ok()
{
    COMTRADE_read* view = currentView();
    const QObject* button = sender();
    if (!view || !button)
        return;

    // The button carries the dialog's mode as its object name.
    const QString mode = button->objectName();
    if (mode == QString::number(DisplayedSignalsMode)) {
        QVector<bool> flags;
        flags.reserve(checkBoxes.size());
        for (const QCheckBox* box : qAsConst(checkBoxes))
            flags.append(box->isChecked());
        view->applyDisplayedSignals(&flags);
    } else if (mode == QString::number(ScalingMode)) {
        QVector<int> indices;
        for (int i = 0; i < checkBoxes.size(); ++i) {
            if (checkBoxes.at(i)->isChecked())
                indices.append(i);
        }
        view->scaleSignals(indices);
    }
}

void comtrade_view::slot_pushButt_Exit()
{
    const QObject* button = sender();
    QObject* row = button ? button->parent() : nullptr;
    if (auto* dialog = qobject_cast<QDialog*>(row ? row->parent() : nullptr))
        dialog->accept();
}

} // namespace VornaLumeto
