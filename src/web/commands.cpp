// The user's commands on today's workbench members, as the window wires them. The session's
// facade takes these rules over; then each method here becomes one call.
#include "model/data_table.h"
#include "web/web_app.h"

namespace quarzel {

void WebApp::command(WebCommand which) {
    Workbench& wb = *m_workbench;
    switch (which) {
        case WebCommand::Check:
            handle([&wb] {
                wb.runControl.btCheckClick();
                wb.runControl.updateRunPanel();
            });
            return;
        case WebCommand::Run:
            m_passBreakpointAt.reset();  // a new run pauses at every marked line again
            handle([&wb] { wb.runControl.btRunClick(); });
            return;
        case WebCommand::Step:
            handle([&wb] { wb.runControl.btStepClick(); });
            return;
        case WebCommand::Back:
            handle([&wb] { wb.runControl.VM_StepBack(); });
            return;
        case WebCommand::New:
            handle([&wb] {
                wb.files.btNewClick();
                wb.runControl.updateRunPanel();
            });
            return;
        case WebCommand::Load:
            handle([&wb] {
                wb.files.btLoadClick();
                wb.runControl.updateRunPanel();
            });
            return;
        case WebCommand::Save:
            handle([&wb] { wb.files.btSaveClick(); });
            return;
    }
}

void WebApp::speedClick(Speed speed) {
    Workbench& wb = *m_workbench;
    handle([&wb, speed] {
        switch (speed) {
            case Speed::Step:
                wb.runControl.rbStepClick();
                return;
            case Speed::Slow:
                wb.runControl.rbSlowClick();
                return;
            case Speed::Fast:
                wb.runControl.rbFastClick();
                return;
            case Speed::Direct:
                wb.runControl.rbDirectClick();
                return;
        }
    });
    // Choosing a timed speed while looking at a marked line goes on from that line.
    if (speed != Speed::Step) {
        m_passBreakpointAt = wb.machine.StepCount;
    }
}

void WebApp::timerTick(RunTimer timer) {
    Workbench& wb = *m_workbench;
    if (breakpointAhead()) {
        m_passBreakpointAt = wb.machine.StepCount;
        // Exactly a click on "Schritt": its handler stops the timers and enables the step
        // buttons; the run stays in progress at the marked line.
        m_runPanel.showSpeed(Speed::Step);
        handle([&wb] { wb.runControl.rbStepClick(); });
        return;
    }
    handle([&wb, timer] {
        switch (timer) {
            case RunTimer::Slow:
                wb.runControl.tSlowTimer();
                return;
            case RunTimer::Fast:
                wb.runControl.tFastTimer();
                return;
            case RunTimer::Direct:
                wb.runControl.tDirectTimer();
                return;
        }
    });
}

bool WebApp::breakpointAhead() const {
    const MachineState& m = m_workbench->machine;
    return m.VM_Running && m.RunMode != Speed::Step && m_passBreakpointAt != m.StepCount &&
           m_editor.hasBreakpoint(m.VM_IP);
}

void WebApp::htmlExport(const std::string& date) {
    Workbench& wb = *m_workbench;
    handle([&wb, &date] { wb.html.btHTMLClick(date); });
}

void WebApp::programChanged(const std::string& text) {
    handle([this, &text] { m_editor.setTextFromPage(text); });
}

void WebApp::cellTyped(int column, int row, const std::string& text) {
    Workbench& wb = *m_workbench;
    handle([&wb, column, row, &text] {
        wb.flags.sgDataSetEditText(column, row, text);
        wb.runControl.updateRunPanel();
    });
}

void WebApp::cellEdited(int column, int row, const std::string& text) {
    Workbench& wb = *m_workbench;
    handle([&wb, column, row, &text] {
        if (text == wb.table.text(column, row)) {
            return;  // the cell was entered and left as it was: nothing changed
        }
        wb.table.setText(column, row, text);
        wb.flags.sgDataSetEditText(column, row, text);
        wb.runControl.updateRunPanel();
    });
}

void WebApp::toggleBreakpoint(int line) {
    m_editor.setBreakpoint(line, !m_editor.hasBreakpoint(line));
}

bool WebApp::closeRequested() {
    Workbench& wb = *m_workbench;
    // A save that fails keeps the work, so that nothing is lost: the error has been shown and
    // the next "Ende" asks again.
    const bool saved = handle([&wb] {
        if (wb.flags.ProgramModified) {
            wb.files.SaveProgram();
        }
        if (wb.flags.DataModified) {
            wb.files.SaveData();
        }
    });
    if (!saved) {
        return false;
    }
    for (RunTimer timer : {RunTimer::Slow, RunTimer::Fast, RunTimer::Direct}) {
        m_runPanel.setTimerEnabled(timer, false);
    }
    if (wb.machine.VM_Running) {
        handle([&wb] { wb.runControl.VM_Stop(); });
    }
    restart();
    showAll();
    return true;
}

}  // namespace quarzel
