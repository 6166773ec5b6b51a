#pragma once

#include <QtGlobal>

#include <atomic>

namespace VornaLumeto {

// How far one reading has come, and whether it is to stop. The readers advance
// it from the threads that read; whoever shows it reads it from its own thread
// and may cancel. One belongs to one reading: readings share nothing.
class ReadingProgress {
public:
    // What the reading is doing: reading the data with the viewer's own reader
    // or with the standard reader, or building the frequency tracks.
    enum class Stage { DialectData, StandardData, FrequencyTracks };

    // Any thread: the readers stop at their next step and report the reading cancelled.
    void cancel() { cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return cancelled.load(std::memory_order_relaxed); }

    // A stage of total units of work (bytes, channels) begins; nothing of it is done yet.
    void beginStage(Stage stage, qint64 total);
    // Units of the current stage done, from any thread.
    void advance(qint64 units) { done.fetch_add(units, std::memory_order_relaxed); }

    Stage stage() const { return Stage(currentStage.load(std::memory_order_relaxed)); }
    // How much of the current stage is done, 0 to 1000.
    int permille() const;

private:
    std::atomic<bool> cancelled{false};
    std::atomic<int> currentStage{int(Stage::DialectData)};
    std::atomic<qint64> total{0};
    std::atomic<qint64> done{0};
};

} // namespace VornaLumeto
