// quarzel-run --trace: the protocol of a run as a CSV file, written while the run goes on, so
// that a run of millions of steps needs no more memory than a short one.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/system_error.h"
#include "files/text_file.h"
#include "model/trace_row.h"

namespace quarzel::headless {

class TraceFile : public TraceSink {
  public:
    // `program` as the runner read it (Windows-1252, CR LF between lines). A name that is
    // taken by something other than a regular file is refused at once, as --dump refuses it:
    // "Datei FILE kann nicht geschrieben werden".
    TraceFile(std::string path, const std::string& program);

    // Buffered; the file is created beside its target once the first rows are written out.
    void row(const TraceRow& row) override;
    // Writes the rest and puts the file in place; raises the error of a write that failed
    // during the run or now. A TraceFile that is not finished leaves the target alone.
    void finish();

  private:
    void writeOut();

    std::string m_path;
    std::vector<std::string> m_commands;  // the field "Befehl" of each program line
    std::string m_buffer;
    std::unique_ptr<AtomicFileWriter> m_writer;
    std::optional<SystemError> m_error;  // the run goes on; finish() raises it
};

}  // namespace quarzel::headless
