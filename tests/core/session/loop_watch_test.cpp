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

// 1: JMP 3, 3: JMP 2, 2: JMP 1 - the cycle's lowest line is line 2 (index 1), not the line the
// detector happens to look at.
const Instructions kCycle = {op(M::CLA), op(M::JMP, 3), op(M::JMP, 1), op(M::JMP, 2)};
const std::string kCycleBox = "Quarzel 3|Endlosschleife ab Zeile 2 erkannt.";

struct Rig {
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;

    explicit Rig(Instructions program, Speed speed) {
        b.machine.InstructionList = std::move(program);
        b.flags.ProgramChecked = b.flags.DataChecked = true;
        t.workbench.btRunClick();
        t.workbench.speedClick(speed);
    }
    // Ticks the timer of the speed until a box appears or `limit` ticks have passed.
    int ticksUntilBox(int limit) {
        const std::size_t before = t.screen.prompts.messages.size();
        const auto timer = static_cast<RunTimer>(static_cast<int>(b.machine.RunMode) - 1);
        int ticks = 0;
        for (; ticks < limit && t.screen.prompts.messages.size() == before; ++ticks) {
            t.workbench.timerTick(timer);
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

TEST(LoopWatchTest, EveryTimedSpeedPausesAtTheCyclesLowestLine) {
    for (const Speed speed : {Speed::Slow, Speed::Fast, Speed::Direct}) {
        SCOPED_TRACE(static_cast<int>(speed));
        Rig rig(kCycle, speed);
        const int ticks = rig.ticksUntilBox(200);
        ASSERT_EQ(rig.boxes(), std::vector<std::string>{kCycleBox});
        EXPECT_EQ(rig.t.screen.prompts.messages[0].icon, MessageIcon::Information);
        // As a breakpoint pauses it: "Schritt", no timer, the run still in progress.
        EXPECT_EQ(rig.b.machine.RunMode, Speed::Step);
        EXPECT_TRUE(rig.b.machine.VM_Running);
        EXPECT_EQ(rig.t.screen.runPanel.timers, (std::array<bool, 3>{false, false, false}));
        // Finding the lowest line took no step of the run.
        EXPECT_EQ(rig.b.machine.StepCount, static_cast<std::uint64_t>(ticks));
    }
}

TEST(LoopWatchTest, TheSameRunGoesOnWithoutASecondBoxANewRunReportsAgain) {
    Rig rig(kCycle, Speed::Direct);
    rig.ticksUntilBox(200);
    rig.t.workbench.speedClick(Speed::Direct);
    EXPECT_EQ(rig.ticksUntilBox(300), 300);
    rig.t.workbench.btRunClick();  // Stop
    rig.t.workbench.btRunClick();  // a new run
    rig.t.workbench.speedClick(Speed::Direct);
    EXPECT_LT(rig.ticksUntilBox(200), 200);
    EXPECT_EQ(rig.boxes(), (std::vector<std::string>{kCycleBox, kCycleBox}));
}

TEST(LoopWatchTest, NothingIsReportedThatIsNoEndlessLoopAtATimedSpeed) {
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
        Rig rig(c.program, c.speed);
        rig.t.screen.numberInput.script.assign(400, std::string("5"));
        rig.b.table.setValue(0, "60");
        for (int i = 0; i < 300; ++i) {
            if (c.speed == Speed::Step) {
                rig.t.workbench.btStepClick();
            } else {
                rig.t.workbench.timerTick(RunTimer::Direct);
            }
        }
        EXPECT_TRUE(rig.boxes().empty());
    }
}

}  // namespace
}  // namespace quarzel
