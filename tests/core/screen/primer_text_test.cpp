// The primer's small programs do what "Ausprobieren" promises: each passes "Prüfen" and runs
// to its STP on the table of a fresh start, without a message.
#include "screen/primer_text.h"

#include <gtest/gtest.h>

#include "common/win1252.h"
#include "fakes.h"

namespace quarzel {
namespace {

TEST(PrimerText, EveryProgramPassesTheCheckAndRunsToItsEnd) {
    int programs = 0;
    for (const PrimerSection& section : primerSections()) {
        if (section.program.empty()) {
            continue;
        }
        ++programs;
        testing::TestBench t;
        WorkbenchInternals& b = t.bench;
        t.workbench.tryProgram(section.program);
        ASSERT_EQ(toUtf8(t.screen.editor.text()).substr(0, toUtf8(section.program).size()),
                  toUtf8(section.program))
            << section.title;
        t.workbench.btCheckClick();
        ASSERT_TRUE(t.screen.prompts.messages.empty())
            << section.title << ": " << t.screen.prompts.messages[0].text;
        EXPECT_TRUE(b.flags.ProgramChecked && b.flags.DataChecked) << section.title;
        t.workbench.btRunClick();
        for (int steps = 0; b.machine.VM_Running && steps < 1000; ++steps) {
            t.workbench.btStepClick();
        }
        EXPECT_TRUE(t.screen.prompts.messages.empty()) << section.title;
        EXPECT_FALSE(b.machine.VM_Running) << section.title << " runs on";
        const VM_Instruction& last =
            b.machine.InstructionList.at(static_cast<std::size_t>(b.machine.VM_IP));
        EXPECT_EQ(last.Opcode, static_cast<std::int32_t>(Mnemonic::STP)) << section.title;
    }
    EXPECT_GE(programs, 5);
}

}  // namespace
}  // namespace quarzel
