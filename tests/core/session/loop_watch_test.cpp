// Loop watching of a run at a timed speed: a state that repeats pauses the run at "Schritt"
// with one box per run, at the cycle's lowest line; single steps, input and runs that end are
// never reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"

namespace quarzel {
namespace {

using M = Mnemonic;
using testing::op;

// 1: JMP 3, 3: JMP 2, 2: JMP 1 - the cycle's head in the listing is line 2 (index 1), which is
// not the line the detector happens to look at.
const Instructions kCycle = {op(M::CLA), op(M::JMP, 3), op(M::JMP, 1), op(M::JMP, 2)};
const std::string kCycleBox = "Quarzel 3|Endlosschleife ab Zeile 2 erkannt.";

class LoopWatchTest : public ::testing::Test {
  protected:
    testing::TestBench t;
    Workbench& b = t.bench;

    void start(Instructions program) {
        b.machine.InstructionList = std::move(program);
        b.flags.ProgramChecked = true;
        b.flags.DataChecked = true;
        b.btRunClick();
        ASSERT_TRUE(b.machine.VM_Running);
    }
    // Ticks the timer of `speed` until a box appears or `limit` ticks have passed.
    int tickUntilBox(Speed speed, int limit) {
        const std::size_t before = t.screen.prompts.messages.size();
        const RunTimer timer = speed == Speed::Slow   ? RunTimer::Slow
                               : speed == Speed::Fast ? RunTimer::Fast
                                                      : RunTimer::Direct;
        int ticks = 0;
        while (ticks < limit && t.screen.prompts.messages.size() == before) {
            b.timerTick(timer);
            ++ticks;
        }
        return ticks;
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> out;
        for (const auto& m : t.screen.prompts.messages) {
            out.push_back(m.caption + "|" + m.text);
        }
        return out;
    }
};

TEST_F(LoopWatchTest, EveryTimedSpeedPausesAtTheCyclesLowestLine) {
    for (const Speed speed : {Speed::Slow, Speed::Fast, Speed::Direct}) {
        SCOPED_TRACE(static_cast<int>(speed));
        t.screen.prompts.messages.clear();
        start(kCycle);
        b.speedClick(speed);
        const int ticks = tickUntilBox(speed, 200);
        ASSERT_EQ(boxes(), std::vector<std::string>{kCycleBox});
        EXPECT_EQ(t.screen.prompts.messages.back().icon, MessageIcon::Information);
        // As a breakpoint pauses it: "Schritt", no timer, the run still in progress.
        EXPECT_EQ(b.machine.RunMode, Speed::Step);
        EXPECT_TRUE(b.machine.VM_Running);
        EXPECT_EQ(t.screen.runPanel.timers, (std::array<bool, 3>{false, false, false}));
        EXPECT_TRUE(t.screen.runPanel.stepEnabled);
        // Finding the lowest line took no step of the run.
        EXPECT_EQ(b.machine.StepCount, static_cast<std::uint64_t>(ticks));
        b.btRunClick();  // stop, for the next speed
    }
}

TEST_F(LoopWatchTest, TheSameRunGoesOnWithoutASecondBoxANewRunReportsAgain) {
    start(kCycle);
    b.speedClick(Speed::Direct);
    tickUntilBox(Speed::Direct, 200);
    b.speedClick(Speed::Direct);
    const std::uint64_t steps = b.machine.StepCount;
    EXPECT_EQ(tickUntilBox(Speed::Direct, 300), 300);
    EXPECT_EQ(b.machine.StepCount, steps + 300);
    EXPECT_EQ(boxes().size(), 1u);

    b.btRunClick();  // Stop
    b.btRunClick();  // a new run
    b.speedClick(Speed::Direct);
    EXPECT_LT(tickUntilBox(Speed::Direct, 200), 200);
    EXPECT_EQ(boxes(), (std::vector<std::string>{kCycleBox, kCycleBox}));
}

TEST_F(LoopWatchTest, NothingIsReportedThatIsNoEndlessLoopAtATimedSpeed) {
    struct Case {
        const char* name;
        Instructions program;
        Speed speed;
    };
    const std::vector<Case> cases = {
        {"single steps", kCycle, Speed::Step},
        // The learner's numbers decide how it goes on, even when they are always the same.
        {"a cycle through INP", {op(M::INP), op(M::JMP, 0)}, Speed::Direct},
        // Cell 1 counts down: no state comes back before STP.
        {"a countdown",
         {op(M::LAD, 1), op(M::DEC), op(M::STO, 1), op(M::JNE, 0), op(M::STP)},
         Speed::Direct},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TestBench fresh;
        Workbench& wb = fresh.bench;
        for (int i = 0; i < 400; ++i) {
            fresh.screen.numberInput.script.push_back("5");
        }
        wb.table.setValue(0, "60");
        wb.machine.InstructionList = c.program;
        wb.flags.ProgramChecked = true;
        wb.flags.DataChecked = true;
        wb.btRunClick();
        wb.speedClick(c.speed);
        for (int i = 0; i < 300; ++i) {
            if (c.speed == Speed::Step) {
                wb.btStepClick();
            } else {
                wb.timerTick(RunTimer::Direct);
            }
        }
        EXPECT_TRUE(fresh.screen.prompts.messages.empty());
    }
}

}  // namespace
}  // namespace quarzel
