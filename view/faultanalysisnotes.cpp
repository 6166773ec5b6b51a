#include "view/faultanalysisnotes.h"

#include "analysis/faulttype.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

namespace VornaLumeto {

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::FaultAnalysisWindow", source);
}

QString timeText(double ms)
{
    return QString::number(ms, 'g', 6);
}

bool phasorMissing(const SetSignals& set, const CutAnalysis& analysis)
{
    for (int p = 0; p < 3; ++p) {
        if ((set.has(PhaseRole(int(PhaseRole::UA) + p)) && !analysis.voltages[p])
            || (set.has(PhaseRole(int(PhaseRole::IA) + p)) && !analysis.currents[p]))
            return true;
    }
    return false;
}

QString noWindowReason(const RecordingSampling& sampling, int cut)
{
    const SampleWindow window = cutWindows(sampling.stretches, sampling.lineFrequency, cut).nearest;
    if (!window.recorded())
        return text("Нет окна: до среза 1 записано меньше периода.");
    if (window.acrossRateChange)
        return text("Нет окна: период до среза 1 захватывает смену частоты дискретизации.");
    if (window.count < minimumSamplesPerPeriod)
        return text("Нет окна: меньше %1 отсчётов на период.").arg(minimumSamplesPerPeriod);
    return text("Нет окна: срез 1 за последним отсчётом группы.");
}

} // namespace

QString windowNote(const RecordingSampling& sampling, const QVector<double>& timeAxis, const SetSignals& set,
                   const CutAnalysis& analysis, int cut)
{
    if (!analysis.window)
        return noWindowReason(sampling, cut);
    const SampleWindow window = *analysis.window;
    const int last = window.first + window.count - 1;
    QString note = text("Окно — период до среза 1 включительно: %1 … %2 мс, отсчётов: %3.")
                       .arg(timeText(timeAxis.value(window.first)), timeText(timeAxis.value(last)))
                       .arg(window.count);
    if (phasorMissing(set, analysis))
        note += QLatin1Char(' ') + text("В окне есть пропущенные значения.");
    return note;
}

QString angleReferenceNote(AngleReference reference)
{
    switch (reference) {
    case AngleReference::UA:
        return text("Углы относительно UA.");
    case AngleReference::IA:
        return text("Углы относительно IA: UA нет.");
    case AngleReference::WindowStart:
        break;
    }
    return text("Углы от начала окна: нет ни UA, ни IA.");
}

QString compensationNote(const ResidualCompensation& compensation)
{
    if (!compensation.fromLine)
        return text("k0 = 0: параметры линии не заданы.");
    const double degrees = std::arg(compensation.k0) * 180.0 / std::acos(-1.0);
    return text("k0 = %1∠%2° по параметрам линии.")
        .arg(QString::number(std::abs(compensation.k0), 'f', 3), QString::number(degrees, 'f', 1));
}

QString supervisionNote(const std::array<bool, faultLoopCount>& leftOut, double share)
{
    QStringList loops;
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        if (leftOut[loop])
            loops.append(faultLoopLetters(FaultLoop(loop)));
    }
    if (loops.isEmpty())
        return QString();
    return text("%1: ток петли меньше %2 % наибольшего в осциллограмме (выключатель отключён), "
                "сопротивление «-», как и на диаграмме.")
        .arg(loops.join(QStringLiteral(", ")))
        .arg(share * 100);
}

QString sideNote(const AnalysisDisplay& display)
{
    if (display.side == ValueSide::Primary)
        return text("Первичные значения.");
    const bool vt = display.vtRatio().has_value();
    const bool ct = display.ctRatio().has_value();
    if (vt && ct)
        return text("Вторичные значения.");
    if (!vt && !ct)
        return text("Вторичные значения: коэффициенты ТТ и ТН не известны.");
    return vt ? text("Вторичные значения: коэффициент ТТ не известен.")
              : text("Вторичные значения: коэффициент ТН не известен.");
}

QString conventionsNote()
{
    return text("Векторы: ДПФ по полному периоду промышленной частоты, окно кончается срезом 1; косинусная опора; "
                "модули действующие; углы от UA того же окна, положительные опережают. "
                "Симметричные составляющие: a = e^(j120°). Мощность S = U·I*, Q > 0 при отстающем (индуктивном) токе. "
                "Петли: Z = Uф / (Iф + k0·3I0), k0 = (Z0L − Z1L) / (3·Z1L); Z = (Uф1 − Uф2) / (Iф1 − Iф2). "
                "Значения первичные; вторичные — первичные, делённые на коэффициент трансформации, сопротивление × Kтт / Kтн.");
}

} // namespace VornaLumeto
