#include "comtrade/common/readingprogress.h"

namespace VornaLumeto {

void ReadingProgress::beginStage(Stage stage, qint64 units)
{
    done.store(0, std::memory_order_relaxed);
    total.store(units, std::memory_order_relaxed);
    currentStage.store(int(stage), std::memory_order_relaxed);
}

int ReadingProgress::permille() const
{
    const qint64 all = total.load(std::memory_order_relaxed);
    const qint64 finished = done.load(std::memory_order_relaxed);
    return all <= 0 ? 0 : int(qBound<qint64>(0, finished * 1000 / all, 1000));
}

} // namespace VornaLumeto
