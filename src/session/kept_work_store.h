// Where the desktop window keeps its work (kept_work.h) while it is open: one record file per
// window in the user's data folder, claimed for as long as the window is open, left behind when
// it ends without a clean end (a crash, a kill, the power gone) and found there by the next
// start. Nothing here is thrown away unread: a record that cannot be applied is set aside.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/file_claim.h"

namespace quarzel {

// One window's record, "sitzung-<process>-<n>.qrzl", with its claim "sitzung-<process>-<n>.lock"
// beside it. The name is chosen when the first record is written, so a window in which nothing
// was typed leaves no file at all.
class KeptWorkStore {
  public:
    // `folder`: the user's data folder (UTF-8), made when the first record is written.
    explicit KeptWorkStore(std::string folder);

    const std::string& folder() const { return m_folder; }
    // Empty until the first record is written.
    const std::string& recordPath() const { return m_recordPath; }
    // Writes `record` whole over this window's last one (the atomic writer). Raises the
    // writer's error when the folder, the claim or the record cannot be made.
    void write(const std::string& record);
    // The clean end: the record and its claim go. A later write starts a new record.
    void remove();

  private:
    void chooseName();

    std::string m_folder;
    std::optional<FileClaim> m_claim;
    std::string m_recordPath;
};

// A record that a window left behind, claimed until it is dealt with so that no other window
// starting at the same time offers it as well. Given up unremoved, it stays for a later start.
class LeftRecord {
  public:
    LeftRecord(FileClaim claim, std::string path, std::string record);

    const std::string& path() const { return m_path; }
    const std::string& record() const { return m_record; }
    // Restored elsewhere or declined: the record and its claim go.
    void remove();

  private:
    FileClaim m_claim;
    std::string m_path;
    std::string m_record;
};

// A damaged or oversized record, renamed so that it is neither offered nor overwritten again.
struct SetAsideRecord {
    std::string path;     // its name now (the old one when the folder refused the rename)
    std::string problem;  // why it cannot be applied, German, UTF-8
};

struct LeftWork {
    std::optional<LeftRecord> newest;      // the newest record that can be restored
    std::vector<SetAsideRecord> setAside;  // the damaged records newer than it
};

// The records in `folder` that no open window claims, looked at newest first (by the time they
// were last written): a damaged or oversized one is set aside and the next one looked at; one
// that holds nothing but a fresh start's work is removed unoffered. Claims whose record is gone
// are removed on the way. A folder that does not exist holds nothing.
LeftWork findLeftWork(const std::string& folder);

}  // namespace quarzel
