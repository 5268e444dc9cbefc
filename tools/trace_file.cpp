#include "tools/trace_file.h"

#include <string_view>

#include "files/trace_table.h"

namespace quarzel::headless {
namespace {

// Rows are written out in pieces of about this size.
constexpr std::size_t kBufferBytes = 1 << 20;

}  // namespace

TraceFile::TraceFile(std::string path, const std::string& program) : m_path(std::move(path)) {
    refuseIrregularFile(m_path);
    std::string_view rest = program;
    while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        m_commands.push_back(traceCsvCommand(rest.substr(0, end)));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    }
    m_buffer = traceCsvHeader();
}

void TraceFile::row(const TraceRow& row) {
    const bool inProgram = row.line >= 0 && static_cast<std::size_t>(row.line) < m_commands.size();
    appendTraceCsvRow(m_buffer, row,
                      inProgram ? m_commands[static_cast<std::size_t>(row.line)] : "");
    if (m_buffer.size() >= kBufferBytes) {
        writeOut();
    }
}

void TraceFile::writeOut() {
    if (!m_error) {
        try {
            if (!m_writer) {
                m_writer = std::make_unique<AtomicFileWriter>(m_path);
            }
            m_writer->write(m_buffer);
        } catch (const SystemError& error) {
            m_error = error;
            m_writer.reset();
        }
    }
    m_buffer.clear();
}

void TraceFile::finish() {
    writeOut();
    if (m_error) {
        throw *m_error;
    }
    m_writer->commit();
}

}  // namespace quarzel::headless
