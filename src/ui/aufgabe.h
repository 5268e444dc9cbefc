// The task window frmAufgabe: the window's side of the task session, a teacher's task opened
// beside the main window, its cases tested and one taken over. It turns clicks into session
// calls and shows what the session reports. Shown and hidden by the main window's "Aufgabe".
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "grading/task_panel_view.h"
#include "grading/task_session.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace quarzel {

class PromptView;
class Workbench;

class TfrmAufgabe : public QWidget, private grading::TaskPanelView {
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

    grading::TaskSession& session() { return *m_session; }
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
    void showTask(const std::string& title, const std::vector<CaseRow>& cases) override;
    void showSelection(int row) override;
    void showCaseResult(int row, bool passed, const std::string& text) override;
    void showPoints(const std::string& text) override;
    void showTakenOver(const std::string& text) override;
    void enableButtons(bool test, bool takeOver) override;

    // Runs a button's command after the main window's open cell editor is committed.
    void command(void (grading::TaskSession::*call)());
    int selectedRow() const;

    bool m_placed = false;

    QLabel* m_lbTitle;
    QTableWidget* m_twCases;
    QLabel* m_lbPoints;
    QLabel* m_lbInputs;
    QPushButton* m_btLoad;
    QPushButton* m_btTest;
    QPushButton* m_btTakeOver;
    // Made once the widgets it reports to exist.
    std::optional<grading::TaskSession> m_session;
};

}  // namespace quarzel
