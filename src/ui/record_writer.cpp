#include "record_writer.h"

#include <exception>
#include <utility>

#include "common/system_error.h"
#include "common/win1252.h"
#include "session/kept_work_store.h"

namespace quarzel {

RecordWriter::RecordWriter(KeptWorkStore& store) : m_store(store), m_thread([this] { run(); }) {}

RecordWriter::~RecordWriter() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecordWriter::hand(std::string record) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting = std::move(record);
    }
    m_wake.notify_one();
}

std::optional<std::string> RecordWriter::finish() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_waiting && !m_writing; });
    return m_error;
}

std::optional<std::string> RecordWriter::takeError() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_unreported, std::nullopt);
}

void RecordWriter::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_waiting || m_stop; });
        if (!m_waiting) {
            return;  // stopped with nothing left to write
        }
        std::string record = std::move(*m_waiting);
        m_waiting.reset();
        m_writing = true;
        lock.unlock();
        std::optional<std::string> error;
        try {
            m_store.write(record);
        } catch (const SystemError& e) {
            error = e.text();
        } catch (const std::exception& e) {
            error = fromUtf8(e.what());
        }
        lock.lock();
        m_writing = false;
        m_error = error;
        if (error) {
            m_unreported = error;
        }
        if (!m_waiting) {
            m_idle.notify_all();
        }
    }
}

}  // namespace quarzel
