#include "view/tooltips.h"

#include "comtrade/dialect/dialectmessages.h"

#include <QStringList>

namespace VornaLumeto {

QString plainToolTip(const QString& text)
{
    // Rich tooltips wrap, a path even at its slashes: the lines stay as they are.
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

QString analogChannelToolTip(const AnalogChannel& channel)
{
    QStringList lines{channel.id};
    const QList<QPair<QString, QString>> details{{dialectText("Фаза: "), channel.phase},
                                                 {dialectText("Присоединение: "), channel.circuit},
                                                 {dialectText("Единица измерения: "), channel.unit}};
    for (const auto& detail : details) {
        if (!detail.second.isEmpty())
            lines.append(detail.first + detail.second);
    }
    return plainToolTip(lines.join(QLatin1Char('\n')));
}

} // namespace VornaLumeto
