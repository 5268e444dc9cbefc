// The captions by name, for the page, which builds its controls from them, and for the tests.
// The window reads the constants of captions.h directly.
#pragma once

#include "screen/captions.h"
#include "screen/learn_captions.h"
#include "screen/primer_text.h"

namespace quarzel {

struct CaptionField {
    const char* name;
    const char* text;
};

// Each row names its caption once: the name is the constant's.
// clang-format off
#define QZ_CAPTION(name) CaptionField{#name, captions::name}
// clang-format on

inline constexpr CaptionField kCaptionFields[] = {
    QZ_CAPTION(gbProgram),
    QZ_CAPTION(gbData),
    QZ_CAPTION(gbVMInspector),
    QZ_CAPTION(gbVMAccu),
    QZ_CAPTION(gbVMWindow),
    QZ_CAPTION(gbVMIndex),
    QZ_CAPTION(gbVMIP),
    QZ_CAPTION(gbVMSP),
    QZ_CAPTION(gbFlowControl),
    QZ_CAPTION(btCheck),
    QZ_CAPTION(btRun),
    QZ_CAPTION(btStep),
    QZ_CAPTION(gbSpeed),
    QZ_CAPTION(rbStep),
    QZ_CAPTION(rbSlow),
    QZ_CAPTION(rbFast),
    QZ_CAPTION(rbDirect),
    QZ_CAPTION(btBack),
    QZ_CAPTION(btBackTip),
    QZ_CAPTION(lbStepsPrefix),
    QZ_CAPTION(lbStepsTip),
    QZ_CAPTION(btAufgabe),
    QZ_CAPTION(btAufgabeTip),
    QZ_CAPTION(actBreakpoint),
    QZ_CAPTION(actBreakpointTip),
    QZ_CAPTION(frmAufgabe),
    QZ_CAPTION(lbTaskNone),
    QZ_CAPTION(lbTaskTitleName),
    QZ_CAPTION(twCasesName),
    QZ_CAPTION(colCase),
    QZ_CAPTION(colPoints),
    QZ_CAPTION(colInputs),
    QZ_CAPTION(colResult),
    QZ_CAPTION(lbPointsName),
    QZ_CAPTION(lbInputsName),
    QZ_CAPTION(btTaskLoad),
    QZ_CAPTION(btTaskLoadTip),
    QZ_CAPTION(btTaskTest),
    QZ_CAPTION(btTaskTestTip),
    QZ_CAPTION(btTaskTakeOver),
    QZ_CAPTION(btTaskTakeOverTip),
    QZ_CAPTION(enumberTip),
    QZ_CAPTION(evalueTip),
    QZ_CAPTION(ecommentTip),
    QZ_CAPTION(pbMemory),
    QZ_CAPTION(gbFile),
    QZ_CAPTION(btNew),
    QZ_CAPTION(btLoad),
    QZ_CAPTION(btSave),
    QZ_CAPTION(btHTML),
    QZ_CAPTION(btView),
    QZ_CAPTION(btHelp),
    QZ_CAPTION(btExit),
    QZ_CAPTION(btExamples),
    QZ_CAPTION(btExamplesNarrow),
    QZ_CAPTION(btExamplesTip),
    QZ_CAPTION(lsExamplesName),
    QZ_CAPTION(frmHilfe),
    QZ_CAPTION(tsCommandList),
    // The primer's page, its button and what a screen reader calls a section's program.
    CaptionField{"tsPrimer", kPrimerTitle},
    CaptionField{"tsPrimerTry", kPrimerTryCaption},
    CaptionField{"tsPrimerProgramName", kPrimerProgramName},
    QZ_CAPTION(frmData),
    // The run's learning aids.
    QZ_CAPTION(lbSentence),
    QZ_CAPTION(lbHistory),
    QZ_CAPTION(tbHistory),
    QZ_CAPTION(tbHistoryTip),
    QZ_CAPTION(btBackToBreakpoint),
    QZ_CAPTION(btBackToBreakpointTip),
    QZ_CAPTION(btProtocol),
    QZ_CAPTION(btProtocolPanelTip),
    QZ_CAPTION(frmProtocol),
    QZ_CAPTION(btTraceExport),
    QZ_CAPTION(cbTraceFormat),
    QZ_CAPTION(lbTraceEmpty),
};

#undef QZ_CAPTION

}  // namespace quarzel
