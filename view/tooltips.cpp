#include "view/tooltips.h"

#include <QCoreApplication>
#include <QStringList>

namespace VornaLumeto {

QString plainToolTip(const QString& text)
{
    // Rich tooltips wrap, a path even at its slashes: the lines stay as they are.
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

QString analogChannelToolTip(const AnalogChannel& channel)
{
    const auto caption = [](const char* text) {
        return QCoreApplication::translate("VornaLumeto::COMTRADE_read", text);
    };
    QStringList lines{channel.id};
    const QList<QPair<QString, QString>> details{{caption("Фаза: "), channel.phase},
                                                 {caption("Присоединение: "), channel.circuit},
                                                 {caption("Единица измерения: "), channel.unit}};
    for (const auto& detail : details) {
        if (!detail.second.isEmpty())
            lines.append(detail.first + detail.second);
    }
    return plainToolTip(lines.join(QLatin1Char('\n')));
}

} // namespace VornaLumeto
