// The task window frmAufgabe: a teacher's task file opened beside the main window, every case
// tested on the program as it stands in the editor, and a case's memory taken over into the
// main window's table to step through it. Shown and hidden by the main window's "Aufgabe".
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "grading/task_file.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace quarzel {

class PromptView;
class Workbench;

class TfrmAufgabe : public QWidget {
    Q_OBJECT

  public:
    // The columns of the case list.
    enum Column { ColName, ColPoints, ColInputs, ColResult, ColumnCount };

    TfrmAufgabe(Workbench& workbench, PromptView& prompts, QWidget* parent = nullptr);

    // Before each of this window's commands: the main window hands an open cell editor's text
    // to the table first.
    std::function<void()> beforeCommand;

    // btAufgabeClick: hides the window when it is visible, else shows it (non-modal).
    void toggle();

    // "Laden…": the file dialog, then loadTask.
    void btLoadClick();
    // Reads the task file at `path` (UTF-8). A refused file keeps the task shown before and
    // says why in a box "Aufgabe".
    bool loadTask(const std::string& path);
    // "Testen": every case on the editor's program, nothing in the main window changed.
    void btTestClick();
    // "Fall übernehmen": the selected case's memory into the main window's table.
    void btTakeOverClick();

    const std::optional<grading::Task>& task() const { return m_task; }
    QLabel* lbTitle() const { return m_lbTitle; }
    QTableWidget* twCases() const { return m_twCases; }
    QLabel* lbPoints() const { return m_lbPoints; }
    QLabel* lbInputs() const { return m_lbInputs; }
    QPushButton* btLoad() const { return m_btLoad; }
    QPushButton* btTest() const { return m_btTest; }
    QPushButton* btTakeOver() const { return m_btTakeOver; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void showTask();
    void updateButtons();
    int selectedCase() const;

    Workbench& m_workbench;
    PromptView& m_prompts;
    std::optional<grading::Task> m_task;
    bool m_placed = false;

    QLabel* m_lbTitle;
    QTableWidget* m_twCases;
    QLabel* m_lbPoints;
    QLabel* m_lbInputs;
    QPushButton* m_btLoad;
    QPushButton* m_btTest;
    QPushButton* m_btTakeOver;
};

}  // namespace quarzel
