// The window "Protokoll": the run's protocol as a table (a row per step, following the newest),
// "Exportieren" as CSV or HTML, and above the table the run's history: the slider "Verlauf"
// and "Zurück bis Haltepunkt". Non-modal, shown and hidden by the run panel's button.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "common/views.h"

class QMenu;
class QPushButton;
class QSlider;
class QTableView;

namespace quarzel {

class TraceTableModel;
class TraceTableView;
class Workbench;

class TfrmProtocol : public QWidget {
    Q_OBJECT

  public:
    TfrmProtocol(Workbench& workbench, QWidget* parent = nullptr);

    QTableView* table() const;
    TraceTableModel* model() const { return m_model; }
    QSlider* history() const { return m_slHistory; }
    QPushButton* backToBreakpoint() const { return m_btBackToBreakpoint; }
    QPushButton* exportButton() const { return m_btExport; }
    QMenu* exportMenu() const { return m_exportMenu; }

    // Run before each of this window's commands (the main window commits an open cell edit).
    std::function<void()> beforeCommand;

    void toggle();

    // Once per frame, after the core told of changes: the rows, following the newest.
    void rowsRemoved(std::uint64_t first, std::uint64_t last);
    void syncRows();
    // The slider and the button as the core says, without a move of their own.
    void showHistory(const HistoryRange& range);

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void command(const std::function<void()>& run);
    // Hidden or minimised, the table is told nothing and catches up when it is shown again.
    bool onScreen() const { return isVisible() && !isMinimized(); }
    void catchUp();

    Workbench& m_workbench;
    TraceTableModel* m_model;
    TraceTableView* m_tvTrace;
    QSlider* m_slHistory;
    QPushButton* m_btBackToBreakpoint;
    QPushButton* m_btExport;
    QMenu* m_exportMenu;
    std::uint64_t m_historyOldest = 0;
};

}  // namespace quarzel
