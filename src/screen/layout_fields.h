// Every control the layout places, by its name: the window finds its widget by this object
// name, the page its element by this id. The register fields and speed buttons in the order
// of Register and Speed, so that a number the core sends names its control.
#pragma once

#include "common/views.h"
#include "screen/main_layout.h"

namespace quarzel {

struct LayoutField {
    const char* name;
    LayoutRect MainLayout::*rect;
};

inline constexpr LayoutField kLayoutFields[] = {
    {"gbProgram", &MainLayout::gbProgram},
    {"meProgram", &MainLayout::meProgram},
    {"gbData", &MainLayout::gbData},
    {"sgData", &MainLayout::sgData},
    {"gbDataGraphical", &MainLayout::gbDataGraphical},
    {"pbMemory", &MainLayout::pbMemory},
    {"enumber", &MainLayout::enumber},
    {"evalue", &MainLayout::evalue},
    {"ecomment", &MainLayout::ecomment},
    {"gbVMInspector", &MainLayout::gbVMInspector},
    {"gbVMAccu", &MainLayout::gbVMAccu},
    {"ebAccu", &MainLayout::ebAccu},
    {"gbVMWindow", &MainLayout::gbVMWindow},
    {"ebWindow", &MainLayout::ebWindow},
    {"gbVMIndex", &MainLayout::gbVMIndex},
    {"ebIndex", &MainLayout::ebIndex},
    {"gbVMIP", &MainLayout::gbVMIP},
    {"ebIP", &MainLayout::ebIP},
    {"gbVMSP", &MainLayout::gbVMSP},
    {"ebSP", &MainLayout::ebSP},
    {"gbFlowControl", &MainLayout::gbFlowControl},
    {"btCheck", &MainLayout::btCheck},
    {"btRun", &MainLayout::btRun},
    {"gbSpeed", &MainLayout::gbSpeed},
    {"rbStep", &MainLayout::rbStep},
    {"rbSlow", &MainLayout::rbSlow},
    {"rbFast", &MainLayout::rbFast},
    {"rbDirect", &MainLayout::rbDirect},
    {"btStep", &MainLayout::btStep},
    {"btBack", &MainLayout::btBack},
    {"lbSteps", &MainLayout::lbSteps},
    {"btAufgabe", &MainLayout::btAufgabe},
    {"gbFile", &MainLayout::gbFile},
    {"btNew", &MainLayout::btNew},
    {"btLoad", &MainLayout::btLoad},
    {"btSave", &MainLayout::btSave},
    {"btHTML", &MainLayout::btHTML},
    {"btView", &MainLayout::btView},
    {"btHelp", &MainLayout::btHelp},
    {"btExit", &MainLayout::btExit},
    {"btExamples", &MainLayout::btExamples},
};

struct RegisterField {
    const char* name;
    Register which;
};

inline constexpr RegisterField kRegisterFields[] = {
    {"ebAccu", Register::Accu}, {"ebWindow", Register::Window}, {"ebIndex", Register::Index},
    {"ebIP", Register::IP},     {"ebSP", Register::SP},
};

struct SpeedButton {
    const char* name;
    Speed speed;
};

inline constexpr SpeedButton kSpeedButtons[] = {
    {"rbStep", Speed::Step},
    {"rbSlow", Speed::Slow},
    {"rbFast", Speed::Fast},
    {"rbDirect", Speed::Direct},
};

}  // namespace quarzel
