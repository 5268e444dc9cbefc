#include "run_report.h"

#include <QTimer>

#include "model/machine_state.h"
#include "protocol_window.h"
#include "qt_text.h"
#include "screen/run_timers.h"
#include "sentence_line.h"
#include "session/workbench.h"

namespace quarzel {

namespace {

// One frame of a 60 Hz screen.
constexpr int kFrameMs = 16;

}  // namespace

RunReport::RunReport(const Workbench& workbench, SentenceLine& sentence, TfrmProtocol& protocol,
                     QObject* parent)
    : QObject(parent),
      m_workbench(workbench),
      m_sentence(sentence),
      m_protocol(protocol),
      m_frame(new QTimer(this)),
      m_pace(new QTimer(this)) {
    m_frame->setSingleShot(true);
    m_frame->setInterval(kFrameMs);
    connect(m_frame, &QTimer::timeout, this, &RunReport::drawNow);
    m_pace->setSingleShot(true);
    connect(m_pace, &QTimer::timeout, this, &RunReport::drawNow);
    m_started.start();
    m_clock = [this] { return static_cast<std::int64_t>(m_started.elapsed()); };
}

void RunReport::setClock(std::function<std::int64_t()> clock) {
    m_clock = std::move(clock);
    m_everDrawn = false;
}

void RunReport::sentenceChanged() {
    m_sentenceDue = true;
    schedule();
}

void RunReport::rowsAdded() {
    m_rowsDue = true;
    schedule();
}

void RunReport::rowsRemoved(std::uint64_t first, std::uint64_t last) {
    m_protocol.rowsRemoved(first, last);
    m_rowsDue = true;
    schedule();
}

void RunReport::showHistory(const HistoryRange& range) {
    m_history = range;
    m_historyDue = true;
    schedule();
}

bool RunReport::due() const {
    return m_sentenceDue || m_rowsDue || m_historyDue;
}

void RunReport::schedule() {
    if (!m_frame->isActive()) {
        m_frame->start();
    }
}

void RunReport::drawNow() {
    m_frame->stop();
    if (!due()) {
        return;
    }
    const std::int64_t now = m_clock();
    const std::int64_t since = now - m_drawn;
    if (m_everDrawn && timedRun() && since >= 0 && since < kReportPaceMs) {
        // Drawn at its pace; a run that stops meanwhile is drawn when the pace comes at the latest.
        if (!m_pace->isActive()) {
            m_pace->start(static_cast<int>(kReportPaceMs - since));
        }
        return;
    }
    m_pace->stop();
    m_drawn = now;
    m_everDrawn = true;
    if (m_sentenceDue) {
        m_sentenceDue = false;
        m_sentence.setSentence(toQString(m_workbench.stepSentence()));
    }
    if (m_rowsDue) {
        m_rowsDue = false;
        m_protocol.syncRows();
    }
    if (m_historyDue) {
        m_historyDue = false;
        m_protocol.showHistory(m_history);
    }
}

bool RunReport::timedRun() const {
    const MachineState& machine = m_workbench.machine();
    return machine.VM_Running && machine.RunMode != Speed::Step;
}

}  // namespace quarzel
