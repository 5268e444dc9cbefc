// The page's panel "Aufgabe": a task file chosen with the browser's picker, the data files it
// names asked for by name, every case tested on the editor's program, a case taken over.
#pragma once

#include <optional>
#include <string>

#include "grading/task_file.h"

namespace quarzel {

class WebApp;

class WebTask {
  public:
    // "Laden…": the task file, then its data files; a refused or incomplete task keeps the
    // one shown before and says why in a box "Aufgabe".
    void load(WebApp& app);
    // "Testen": every case on the editor's program; nothing of the session changes.
    void test(WebApp& app);
    // "Fall übernehmen" and a double click on a case: its start table into the session's table.
    void takeOver(WebApp& app, int row);

  private:
    void show();

    std::optional<grading::Task> m_task;
};

}  // namespace quarzel
