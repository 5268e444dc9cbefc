// Writes the window's kept-work records on a thread of its own, so that a slow disk (a network
// home folder, a stick that flushes) never holds up typing or a run: the window hands over the
// newest record and goes on at once.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace quarzel {

class KeptWorkStore;

class RecordWriter {
  public:
    explicit RecordWriter(KeptWorkStore& store);
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;
    // Writes what was handed over and is still waiting, then ends the thread.
    ~RecordWriter();

    // The record to write next. One handed over while another is still waiting replaces it:
    // only the newest matters. The one being written is finished first.
    void hand(std::string record);
    // Waits until every record handed over is written (or failed); afterwards the store may be
    // used on this thread. The error of the last write, if it failed (takeError has it too).
    std::optional<std::string> finish();
    // The error of a write that failed since the last call (Windows-1252, as the core's texts).
    std::optional<std::string> takeError();

  private:
    void run();

    KeptWorkStore& m_store;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<std::string> m_waiting;
    bool m_writing = false;
    bool m_stop = false;
    std::optional<std::string> m_error;       // of the last write
    std::optional<std::string> m_unreported;  // since takeError was last called
    std::thread m_thread;                     // last: it starts once everything above is ready
};

}  // namespace quarzel
