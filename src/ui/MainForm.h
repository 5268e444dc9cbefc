// The main window TfrmMainForm: program editor, memory table (or picture), registers, run
// panel and command buttons. It owns the one Workbench and hands the core its views; every
// control's event runs a core handler inside the central handler.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/views.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTimer;
class QToolButton;

namespace quarzel {

class DataGrid;
class DataTableModel;
class RunControl;
class RunReport;
class MemoryView;
class ProgramEditor;
class SentenceLine;
class TfrmAufgabe;
class TfrmData;
class TfrmHilfe;
class TfrmProtocol;
class Workbench;
class WorkKeeper;

// The five register fields.
class RegisterFields : public RegisterView {
  public:
    std::array<QLineEdit*, 5> fields{};  // in the order of Register
    void showRegister(Register which, std::int32_t value) override;
};

// btRun's caption, btStep, btBack, the step count, the speed buttons and the three timers; what
// a run reports besides ("Was geschah", the protocol, "Verlauf") goes to the run report.
class RunPanel : public RunPanelView {
  public:
    QPushButton* btRun = nullptr;
    QPushButton* btStep = nullptr;
    QPushButton* btBack = nullptr;
    QLabel* lbSteps = nullptr;
    std::array<QRadioButton*, 4> speeds{};  // in the order of Speed
    std::array<QTimer*, 3> timers{};        // in the order of RunTimer
    RunReport* report = nullptr;
    void setRunCaption(const std::string& caption) override;
    void setStepEnabled(bool enabled) override;
    void setTimerEnabled(RunTimer timer, bool enabled) override;
    void setBackEnabled(bool enabled) override;
    void showStepCount(std::uint64_t steps) override;
    void showSpeed(Speed speed) override;
    void sentenceChanged() override;
    void traceRowsAdded(std::uint64_t first, std::uint64_t last) override;
    void traceRowsRemoved(std::uint64_t first, std::uint64_t last) override;
    void showHistory(const HistoryRange& range) override;
};

// The picture and the number dialog need the workbench's table and keyboard, and the workbench
// needs them: it talks to these until the real widgets exist.
class PictureForwarder : public MemoryPictureView {
  public:
    MemoryPictureView* target = nullptr;
    void repaintNow() override {
        if (target != nullptr) {
            target->repaintNow();
        }
    }
};

class NumberInputForwarder : public NumberInputView {
  public:
    NumberInputView* target = nullptr;
    std::optional<std::string> askText(const std::optional<std::string>& rejected) override {
        return target != nullptr ? target->askText(rejected) : std::nullopt;
    }
    void hide() override {
        if (target != nullptr) {
            target->hide();
        }
    }
};

class TfrmMainForm : public QWidget {
    Q_OBJECT

  public:
    explicit TfrmMainForm(QWidget* parent = nullptr);
    ~TfrmMainForm() override;

    Workbench& workbench() { return *m_workbench; }
    bool GraphicalView() const { return m_graphicalView; }
    TfrmHilfe* frmHilfe() const { return m_frmHilfe; }
    TfrmData* frmData() const { return m_frmData; }
    TfrmAufgabe* frmAufgabe() const { return m_frmAufgabe; }
    TfrmProtocol* frmProtocol() const { return m_frmProtocol; }
    SentenceLine* sentenceLine() const { return lbSentence; }
    RunReport* runReport() const { return m_report; }
    ProgramEditor* programEditor() const { return meProgram; }
    DataGrid* dataGrid() const { return sgData; }
    MemoryView* memoryView() const { return pbMemory; }
    PromptView& prompts() { return *m_prompts; }
    // The control the layout places under this name (a field of kLayoutFields), not one of the
    // same name in a secondary window; null when there is none.
    QWidget* layoutControl(const char* name) const;

    // Keeps the program and the table in a record in `folder` (UTF-8) while the window is open,
    // offers a record left by a crash once the window is shown, and removes its own when the
    // window closes. Called before the window is first shown; without it nothing is kept.
    void keepWorkIn(const std::string& folder);
    WorkKeeper* workKeeper() const { return m_keeper.get(); }

    // The handlers of this window's own controls.
    void btExitClick();
    void btViewClick();
    void btHelpClick();
    void btHTMLClick();
    void btAufgabeClick();
    void btProtocolClick();
    // "Beispiele": the list of built-in examples under the button; choosing one loads it.
    void btExamplesClick();
    QMenu* examplesMenu() const { return m_examplesMenu; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;  // FormResize
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // FormClose

  private:
    void createControls();
    void FormCreate();
    void wireHandlers();
    void ResizeWorkingArea();

    std::unique_ptr<PromptView> m_prompts;
    RegisterFields m_registers;
    RunPanel m_runPanel;
    PictureForwarder m_picture;
    NumberInputForwarder m_numberInput;
    std::unique_ptr<Workbench> m_workbench;
    std::unique_ptr<WorkKeeper> m_keeper;  // after the workbench, which it reads
    bool m_graphicalView = false;
    bool m_placed = false;

    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;  // the scrolled surface every control lies on
    QGroupBox* gbProgram = nullptr;
    ProgramEditor* meProgram = nullptr;
    QGroupBox* gbData = nullptr;
    DataGrid* sgData = nullptr;
    DataTableModel* m_tableModel = nullptr;
    QGroupBox* gbVMInspector = nullptr;
    QGroupBox* gbVMAccu = nullptr;
    QGroupBox* gbVMWindow = nullptr;
    QGroupBox* gbVMIndex = nullptr;
    QGroupBox* gbVMIP = nullptr;
    QGroupBox* gbVMSP = nullptr;
    QLineEdit* ebAccu = nullptr;
    QLineEdit* ebWindow = nullptr;
    QLineEdit* ebIndex = nullptr;
    QLineEdit* ebIP = nullptr;
    QLineEdit* ebSP = nullptr;
    QGroupBox* gbFlowControl = nullptr;
    QPushButton* btCheck = nullptr;
    QPushButton* btRun = nullptr;
    QPushButton* btStep = nullptr;
    QPushButton* btBack = nullptr;
    QLabel* lbSteps = nullptr;
    QPushButton* btAufgabe = nullptr;
    QPushButton* btProtocol = nullptr;
    SentenceLine* lbSentence = nullptr;
    QGroupBox* gbSpeed = nullptr;
    QRadioButton* rbStep = nullptr;
    QRadioButton* rbSlow = nullptr;
    QRadioButton* rbFast = nullptr;
    QRadioButton* rbDirect = nullptr;
    QGroupBox* gbDataGraphical = nullptr;
    MemoryView* pbMemory = nullptr;
    QLineEdit* enumber = nullptr;
    QLineEdit* evalue = nullptr;
    QLineEdit* ecomment = nullptr;
    QGroupBox* gbFile = nullptr;
    QToolButton* btNew = nullptr;
    QToolButton* btLoad = nullptr;
    QToolButton* btSave = nullptr;
    QToolButton* btHelp = nullptr;
    QToolButton* btExit = nullptr;
    QToolButton* btView = nullptr;
    QToolButton* btHTML = nullptr;
    QToolButton* btExamples = nullptr;
    QMenu* m_examplesMenu = nullptr;
    QTimer* tSlow = nullptr;
    QTimer* tFast = nullptr;
    QTimer* tDirect = nullptr;
    TfrmHilfe* m_frmHilfe = nullptr;
    TfrmData* m_frmData = nullptr;
    TfrmAufgabe* m_frmAufgabe = nullptr;
    TfrmProtocol* m_frmProtocol = nullptr;
    RunReport* m_report = nullptr;
};

}  // namespace quarzel
