// Keeps the learner's work (program and table, one record) in the user's data folder while the
// window is open, so that a crash or a switched-off PC loses at most the last second or two;
// offers it back at the next start, and removes it when the window ends cleanly. The store's
// rules are the core's (session/kept_work_store.h); here are only the folder and the timing.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <string>

#include "record_writer.h"
#include "session/kept_work_store.h"

namespace quarzel {

class PromptView;
class Workbench;

class WorkKeeper : public QObject {
  public:
    // How long after a change the record is written: when typing pauses this long, ...
    static constexpr int kPauseMs = 1000;
    // ... but never later than this after the first change not kept yet, and during a run,
    // whose writes never pause, this long after it (so at most once a second).
    static constexpr int kLatestMs = 2000;
    static constexpr int kRunMs = 1000;

    WorkKeeper(Workbench& workbench, PromptView& prompts, const std::string& folder,
               QObject* parent = nullptr);
    // Leaves the record where it is: only a clean end removes it.
    ~WorkKeeper() override;

    // The program text or the table changed, whoever changed it.
    void changed();
    // Keeps what changed at once (before a run starts); nothing when nothing changed.
    void keepNow();
    // Once, after the window is shown: a damaged record left behind is set aside with a note;
    // the newest sound one is offered back. Ja restores it, Nein removes it.
    void offerLeftWork();
    // The window closes for good: the record goes.
    void endCleanly();
    // Waits until every record handed to the writer is on the disk.
    void waitUntilWritten() { m_writer.finish(); }

  private:
    void reportFailure();

    Workbench& m_workbench;
    PromptView& m_prompts;
    KeptWorkStore m_store;
    RecordWriter m_writer;   // after the store, which it writes
    std::string m_lastKept;  // what the disk holds, as far as this window knows
    QTimer m_timer;
    QElapsedTimer m_firstUnkept;
    bool m_unkept = false;
    bool m_offered = false;
    bool m_failureShown = false;
};

}  // namespace quarzel
