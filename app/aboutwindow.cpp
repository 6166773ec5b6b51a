#include "app/aboutwindow.h"

#include "app/version.h"

#include <QDate>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

const char* const supportPhone = "+7 (000) 000-00-00";
const char* const supportMail = "support@lumeto.example";
const char* const supportSite = "https://lumeto.example.org";

} // namespace

widget_vorna::widget_vorna(QWidget* parent, Qt::Alignment alignment, int pointSize)
    : QDialog(parent)
{
    setWindowIcon(QIcon(QStringLiteral(":/vornaallprogs_res/vornaallprogs_images/logotype.png")));
    setWindowTitle(tr("О программе"));
    setWindowFlags(Qt::WindowCloseButtonHint);
    setBackgroundPicture();

    // A family that does not exist falls back to the default one.
    boldFont.setPointSize(pointSize);
    boldFont.setWeight(75);
    boldFont.setFamily(QStringLiteral("Defualt"));

    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->addWidget(buildTextBlock(alignment), 0, alignment & Qt::AlignVertical_Mask);
}

QString widget_vorna::buildDateText(const QString& compilerDate)
{
    const QDate date = QLocale(QStringLiteral("en_US"))
                           .toDate(compilerDate.simplified(), QStringLiteral("MMM d yyyy"));
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

void widget_vorna::setBackgroundPicture()
{
    const QPixmap picture(QStringLiteral(":/vornalumeto_res/vornalumeto_images/about_prog.png"));
    setFixedSize(picture.size());
    QPalette backgroundPalette = palette();
    backgroundPalette.setBrush(QPalette::All, QPalette::Window, QBrush(picture));
    setPalette(backgroundPalette);
}

// Outer widget placed vertically by the window, inner block placed horizontally inside it.
QWidget* widget_vorna::buildTextBlock(Qt::Alignment alignment)
{
    auto* holder = new QWidget(this);
    auto* holderLayout = new QHBoxLayout(holder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    textBlock = new QWidget(holder);
    holderLayout->addWidget(textBlock, 0, alignment & Qt::AlignHorizontal_Mask);

    auto* lines = new QVBoxLayout(textBlock);
    lines->setContentsMargins(15, 15, 15, 15);
    lines->setSpacing(5);

    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    const QString white = QStringLiteral("<FONT COLOR=#FFFFFF>%1</FONT>");
    addLine(new QLabel(tr("<FONT COLOR=#FFFFFF>Версия: ") + VornaLumeto::applicationVersion()
                           + QStringLiteral("</FONT>"), textBlock), horizontal);
    addLine(new QLabel(tr("<FONT COLOR=#FFFFFF>Дата: ")
                           + buildDateText(QStringLiteral(__DATE__)) + QStringLiteral("</FONT>"),
                       textBlock), horizontal);
    addLine(new QLabel(tr("<FONT COLOR=#FFFFFF>Служба тех. поддержки:</FONT>"), textBlock),
            horizontal);
    auto* phone = new QLabel(white.arg(QLatin1String(supportPhone)), textBlock);
    phone->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addLine(phone, horizontal);
    addLine(linkLabel(QStringLiteral("mailto:") + QLatin1String(supportMail),
                      QLatin1String(supportMail)), horizontal);
    addLine(new QLabel(tr("<FONT COLOR=#FFFFFF>Официальный сайт:</FONT>"), textBlock), horizontal);
    addLine(linkLabel(QLatin1String(supportSite), QLatin1String(supportSite)), horizontal);
    return holder;
}

void widget_vorna::addLine(QLabel* label, Qt::Alignment alignment)
{
    label->setFont(boldFont);
    textBlock->layout()->addWidget(label);
    textBlock->layout()->setAlignment(label, alignment);
}

QLabel* widget_vorna::linkLabel(const QString& target, const QString& text)
{
    auto* label = new QLabel(QStringLiteral("<a href=\"%1\"><FONT COLOR=#AECBED>%2</FONT></a>")
                                 .arg(target, text),
                             textBlock);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    return label;
}
