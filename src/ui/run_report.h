// What the window draws of a run besides registers and memory: the line "Was geschah", the
// protocol's rows and the slider "Verlauf". The core says what changed at every step; this
// draws it once per frame at most, so a run at "Direkt" makes no sentence and no row per step.
// While a timed run goes on, the protocol (a whole table repainted) comes a few times a second.
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
    // pace starts again, the next protocol is drawn at once.
    void setClock(std::function<std::int64_t()> clock);

  private:
    void schedule();
    void drawProtocol();
    bool timedRun() const;

    const Workbench& m_workbench;
    SentenceLine& m_sentence;
    TfrmProtocol& m_protocol;
    QTimer* m_frame;
    QTimer* m_pace;
    QElapsedTimer m_started;
    std::function<std::int64_t()> m_clock;
    std::int64_t m_protocolDrawn = 0;
    bool m_protocolEverDrawn = false;
    bool m_sentenceDue = false;
    bool m_rowsDue = false;
    bool m_historyDue = false;
    HistoryRange m_history;
};

}  // namespace quarzel
