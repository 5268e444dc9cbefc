#include "run_report.h"

#include <QTimer>

#include "protocol_window.h"
#include "qt_text.h"
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
      m_frame(new QTimer(this)) {
    m_frame->setSingleShot(true);
    m_frame->setInterval(kFrameMs);
    connect(m_frame, &QTimer::timeout, this, &RunReport::drawNow);
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

}  // namespace quarzel
