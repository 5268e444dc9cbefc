#include "work_keeper.h"

#include <algorithm>

#include "common/win1252.h"
#include "model/data_table.h"
#include "session/kept_work.h"
#include "session/workbench.h"

namespace quarzel {
namespace {

constexpr char kOfferQuestion[] = "Programm und Daten der letzten Sitzung wiederherstellen?";
constexpr char kOfferCaption[] = "QRZL";

// What a fresh start holds; a record of nothing more is never written, and nothing is left to
// offer after a clean end.
std::string freshRecord() {
    return keptWorkRecord("", DataTable());
}

}  // namespace

WorkKeeper::WorkKeeper(Workbench& workbench, PromptView& prompts, const std::string& folder,
                       QObject* parent)
    : QObject(parent),
      m_workbench(workbench),
      m_prompts(prompts),
      m_store(folder),
      m_writer(m_store),
      m_lastKept(freshRecord()) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { keepNow(); });
}

WorkKeeper::~WorkKeeper() = default;

void WorkKeeper::changed() {
    if (!m_unkept) {
        m_unkept = true;
        m_firstUnkept.start();
    }
    const int waited = static_cast<int>(std::min<qint64>(m_firstUnkept.elapsed(), kLatestMs));
    if (m_workbench.machine().VM_Running) {
        if (!m_timer.isActive()) {
            m_timer.start(std::max(0, kRunMs - waited));
        }
    } else {
        m_timer.start(std::min(kPauseMs, kLatestMs - waited));
    }
}

void WorkKeeper::keepNow() {
    m_timer.stop();
    reportFailure();
    if (!m_unkept) {
        return;
    }
    m_unkept = false;
    std::string record = m_workbench.keptWork();
    if (record == m_lastKept) {
        return;  // changed and changed back
    }
    m_writer.hand(record);
    m_lastKept = std::move(record);
}

void WorkKeeper::reportFailure() {
    const std::optional<std::string> error = m_writer.takeError();
    if (!error) {
        return;
    }
    m_lastKept.clear();  // the next keep tries again, also with the same work
    if (!m_failureShown) {
        m_failureShown = true;
        m_prompts.showNote("Programm und Daten können nicht zwischengespeichert werden: " +
                           toUtf8(*error));
    }
}

void WorkKeeper::offerLeftWork() {
    if (m_offered) {
        return;
    }
    m_offered = true;
    m_workbench.guard([this] {
        LeftWork left = findLeftWork(m_store.folder());
        if (!left.setAside.empty()) {
            // A box, not a passing note: the work the learner expects is not there, and they
            // should learn why before they start anew.
            m_prompts.showMessage(fromUtf8(keptWorkDamagedNote(left.setAside.front().problem)),
                                  "Hinweis", MessageIcon::Information);
        }
        if (!left.newest) {
            return;
        }
        if (!m_prompts.askYesNo(kOfferQuestion, kOfferCaption)) {
            left.newest->remove();
            return;
        }
        if (m_workbench.restoreKeptWork(left.newest->record()).result !=
            KeptWorkRestore::Restored) {
            return;
        }
        // The old record goes only once the work is safe in this window's own.
        changed();
        keepNow();
        if (!m_writer.finish()) {
            left.newest->remove();
        }
        reportFailure();
    });
}

void WorkKeeper::endCleanly() {
    m_timer.stop();
    m_unkept = false;
    m_writer.finish();
    m_store.remove();
    m_lastKept = freshRecord();
}

}  // namespace quarzel
