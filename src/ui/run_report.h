// What the window draws of a run besides registers and memory: the line "Was geschah", the
// protocol's rows and the slider "Verlauf". The core says what changed at every step; this
// draws it once per frame at most, and while a timed run goes on a few times a second: at
// "Direkt" every tenth step, which nobody could read at every step anyway (nor a screen reader
// speak), while a step's sentence and the protocol's repainted table cost more than the step.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <cstdint>
#include <functional>

#include "common/views.h"

class QTimer;

namespace quarzel {

class SentenceLine;
class TfrmProtocol;
class Workbench;

class RunReport : public QObject {
    Q_OBJECT

  public:
    RunReport(const Workbench& workbench, SentenceLine& sentence, TfrmProtocol& protocol,
              QObject* parent = nullptr);

    void sentenceChanged();
    void rowsAdded();
    void rowsRemoved(std::uint64_t first, std::uint64_t last);
    void showHistory(const HistoryRange& range);

    // Draws what is due now, without waiting for the frame.
    void drawNow();
    bool due() const;

    // Milliseconds on a steady clock; the benchmark gives ticks that follow each other without
    // waiting the run's own pace. A time of the clock before means nothing on the new one: the
    // pace starts again, what is due next is drawn at once.
    void setClock(std::function<std::int64_t()> clock);

  private:
    void schedule();
    bool timedRun() const;

    const Workbench& m_workbench;
    SentenceLine& m_sentence;
    TfrmProtocol& m_protocol;
    QTimer* m_frame;
    QTimer* m_pace;
    QElapsedTimer m_started;
    std::function<std::int64_t()> m_clock;
    std::int64_t m_drawn = 0;
    bool m_everDrawn = false;
    bool m_sentenceDue = false;
    bool m_rowsDue = false;
    bool m_historyDue = false;
    HistoryRange m_history;
};

}  // namespace quarzel
