#include <gtest/gtest.h>

#include "app/panel.h"
#include "fakes.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

using testing::Rig;

double clockTimeShown(Rig& rig) { return *strictNumber(rig.controls.box(kBoxClockTime)); }

TEST(PauseTest, APauseIsExcludedFromTheClockAndTheMotion) {
    Rig rig;
    rig.clock.reading = 100;
    rig.run();
    rig.tickAfter(2);
    const double shownAtPause = clockTimeShown(rig);
    rig.clock.reading += 0.5;
    rig.korvel.cmd_stop_simulation_Click();
    EXPECT_FALSE(rig.timer.ticking());
    const SimulationState frozen = rig.state;
    rig.clock.reading += 10;
    rig.korvel.cmd_continue_Click();
    EXPECT_TRUE(rig.timer.ticking());
    rig.tickAfter(0.25);
    // The tick simulates 0.5 s before the pause and 0.25 s after it, not the 10 s.
    EXPECT_DOUBLE_EQ(rig.state.tickElapsed, 0.75);
    EXPECT_NEAR(clockTimeShown(rig), shownAtPause + 0.75, 1e-5);
    EXPECT_NE(rig.state.posY[kCraft], frozen.posY[kCraft]);
}

TEST(PauseTest, ASecondPauseKeepsTheFirstStart) {
    Rig rig;
    rig.clock.reading = 100;
    rig.run();
    rig.tickAfter(1);
    rig.korvel.cmd_stop_simulation_Click();
    rig.clock.reading += 4;
    rig.korvel.cmd_stop_simulation_Click();
    rig.clock.reading += 3;
    rig.korvel.cmd_continue_Click();
    rig.tickAfter(0.5);
    EXPECT_DOUBLE_EQ(rig.state.tickElapsed, 0.5);
    EXPECT_NEAR(clockTimeShown(rig), 1.5, 1e-5);
}

TEST(PauseTest, ContinueWithoutAPauseChangesNothing) {
    Rig before;
    before.korvel.cmd_continue_Click();  // before any run
    EXPECT_FALSE(before.timer.ticking());
    EXPECT_EQ(before.state.runStartTime, 0);

    Rig rig;
    rig.run();
    rig.tickAfter(1);
    rig.korvel.cmd_stop_simulation_Click();
    rig.clock.reading += 2;
    rig.korvel.cmd_continue_Click();
    const SimulationState once = rig.state;
    rig.clock.reading += 5;
    rig.korvel.cmd_continue_Click();  // not paused any more
    EXPECT_EQ(rig.state.runStartTime, once.runStartTime);
    EXPECT_EQ(rig.state.lastTickTime, once.lastTickTime);
}

TEST(PauseTest, StartingARunEndsThePause) {
    for (bool clear : {true, false}) {
        Rig rig;
        rig.run();
        rig.korvel.cmd_stop_simulation_Click();
        rig.clock.reading += 3;
        if (clear)
            rig.run();
        else
            rig.korvel.cmd_restart_Click();
        EXPECT_TRUE(rig.timer.ticking());
        EXPECT_DOUBLE_EQ(rig.state.lastTickTime, rig.clock.reading);
        rig.korvel.cmd_continue_Click();  // nothing to continue
        EXPECT_DOUBLE_EQ(rig.state.lastTickTime, rig.clock.reading);
    }
}

TEST(PauseTest, AnAcceptedActionClosesTheMessageLeftOpen) {
    using Action = void (*)(Korvel&);
    const Action accepted[] = {
        [](Korvel& k) { k.runSImulation_Click(); },
        [](Korvel& k) { k.cmd_restart_Click(); },
        [](Korvel& k) { k.cmd_continue_Click(); },
        [](Korvel& k) { k.cmd_color_Click(kBankForward); },
        [](Korvel& k) { k.cmd_color_Click(kBankSecondPlanet); },
        [](Korvel& k) { k.cmd_apply_Click(); },
        [](Korvel& k) { k.cmd_color_Click(kBankImpulse1); },
    };
    for (int way = 0; way < 7; ++way) {
        Rig rig;
        rig.korvel.cmd_color_Click(kBankImpulse1000);
        rig.controls.box(kBoxSecondPlanetMass) = ".0123";
        rig.controls.box(kBoxSecondPlanetDist) = "2.5";
        rig.run();
        rig.controls.box(kBoxScreenScale) = "abc";
        rig.run();  // refused: its message is left open, the run goes on
        ASSERT_TRUE(rig.controls.messageOpen);
        rig.korvel.cmd_continue_Click();  // not paused, so not accepted
        EXPECT_TRUE(rig.controls.messageOpen);
        rig.korvel.cmd_stop_simulation_Click();
        rig.controls.box(kBoxScreenScale) = "3";
        accepted[way](rig.korvel);
        EXPECT_FALSE(rig.controls.messageOpen) << way;
        EXPECT_EQ(rig.timer.ticking(), way < 3) << way;
    }
}

TEST(PauseTest, ImpulsesWhilePausedShowAfterContinue) {
    Rig rig;
    rig.run();
    rig.tickAfter(0.001);
    rig.korvel.cmd_stop_simulation_Click();
    rig.korvel.cmd_color_Click(kBankImpulse1000);
    rig.korvel.cmd_color_Click(kBankBackward);
    rig.korvel.cmd_continue_Click();
    rig.tickAfter(0.001);
    EXPECT_NEAR(*strictNumber(rig.controls.box(kBoxSpeed)), 7000, 1);
}

TEST(QuitTest, EndsTheProgram) {
    Rig rig;
    rig.run();
    rig.korvel.cmd_exit_program_Click();
    EXPECT_TRUE(rig.controls.ended);
}

}  // namespace
}  // namespace korvel
