// SPDX-License-Identifier: MIT
//
// The running program in virtual time: the main cycle's order and guards, the
// keyboard focus kept where the pilot had it, the watchdog and the exit.
#include <gtest/gtest.h>

#include "app/forms/Mouse.h"
#include "app/startup/ExitStatus.h"
#include "app/startup/MainCycle.h"
#include "app/startup/MainWindowHandlers.h"
#include "tests/startup/ProgramFixture.h"

namespace corvane::testing {
namespace {

class RunningProgramTest : public ProgramTest {
  protected:
    void SetUp() override {
        SimulatorRuns();
        Load();
        ASSERT_TRUE(Running());
        host.RunFor(1.0);  // past the first tick
    }
    int ExchangesDuring(double seconds) {
        const int before = link.exchanges;
        host.RunFor(seconds);
        return link.exchanges - before;
    }
};

TEST_F(RunningProgramTest, OneExchangePerMainCycleTick) {
    // 150 ms ticks: 20 in 3 s (the map cycle does not exchange).
    EXPECT_EQ(ExchangesDuring(3.0), 20);
    p.Form1Timer1->SetEnabled(false);
    EXPECT_EQ(ExchangesDuring(3.0), 0);
}

TEST_F(RunningProgramTest, TicksAreSpacedByTheInterval) {
    const std::size_t first = link.exchangeTimes.size();
    host.RunFor(2.0);
    ASSERT_GT(link.exchangeTimes.size(), first + 5);
    for (std::size_t i = first + 1; i < link.exchangeTimes.size(); ++i) {
        EXPECT_NEAR(link.exchangeTimes[i] - link.exchangeTimes[i - 1], 0.150, 1e-9);
    }
}

TEST_F(RunningProgramTest, TickArrivingDuringATickReturnsAtOnce) {
    // A tick lets events run for up to one quantum; a second tick due within it
    // runs inside the first and must return at once. (Other timers off, so that
    // nothing else is due sooner.)
    p.Form1Timer1->SetEnabled(false);
    p.Form1Timer3->SetEnabled(false);
    p.Form5Timer1->SetEnabled(false);
    p.FirstCycle = true;
    p.SavedPauseState = 1;
    const double t = host.Now() + 1;
    int exchangesOutside = -1, exchangesInside = -1;
    bool busyInside = false;
    const std::size_t pauseWritesBefore = link.pauseWrites.size();
    host.At(t, "a tick", [&] {
        const int n = link.exchanges;
        startup::MainCycle(p);
        exchangesOutside = link.exchanges - n;
    });
    host.At(t + host.Quantum() / 2, "a second tick", [&] {
        busyInside = p.MainCycleBusy;
        const int n = link.exchanges;
        startup::MainCycle(p);
        exchangesInside = link.exchanges - n;
    });
    host.RunFor(2);
    EXPECT_TRUE(busyInside);
    EXPECT_EQ(exchangesInside, 0);
    EXPECT_EQ(exchangesOutside, 1);
    EXPECT_FALSE(p.MainCycleBusy);
    // The pause state went out once, with the first tick's exchange.
    EXPECT_EQ(link.pauseWrites.size(), pauseWritesBefore + 1);
}

TEST_F(RunningProgramTest, FirstTickWritesThePauseStateWithItsOwnExchange) {
    p.SavedPauseState = 0x0101;  // only the low byte is written
    p.FirstCycle = true;
    link.Put<std::uint8_t>(0x0264, 7);
    const int before = link.exchanges;
    while (link.exchanges == before)
        host.RunFor(0.01);
    ASSERT_FALSE(link.pauseWrites.empty());
    EXPECT_EQ(link.pauseWrites.back(), 1);
    EXPECT_EQ(link.Paused(), 1);
    EXPECT_FALSE(p.FirstCycle);
    // Later ticks leave the pause byte alone, and read it back.
    const std::size_t writes = link.pauseWrites.size();
    host.RunFor(1.0);
    EXPECT_EQ(link.pauseWrites.size(), writes);
    EXPECT_EQ(p.flightState.paused, 1);
}

TEST_F(RunningProgramTest, FocusGoesBackToTheLastWindowOutsideTheProgramsControls) {
    const host::WindowId simulatorView = sim.window;
    host.SetUserFocus(simulatorView);
    host.RunFor(0.2);
    EXPECT_EQ(p.startup.FocusWindow, simulatorView);
    // The pilot clicks the map: the next tick gives the focus back.
    host.SetUserFocus(p.forms.Form1.Picture1.windowHandle);
    host.RunFor(0.2);
    EXPECT_EQ(host.FocusWindow(), simulatorView);
    EXPECT_EQ(host.FocusGiven().back(), simulatorView);
    EXPECT_EQ(host.Repainted().back(), simulatorView);
    // The same for a control of the search window.
    host.SetUserFocus(p.forms.Form3.TxtAirport.windowHandle);
    host.RunFor(0.2);
    EXPECT_EQ(host.FocusWindow(), simulatorView);
    // A window of the program that is not one of its windowed controls is kept.
    host.SetUserFocus(p.forms.Form1.windowHandle);
    host.RunFor(0.2);
    EXPECT_EQ(p.startup.FocusWindow, p.forms.Form1.windowHandle);
}

TEST_F(RunningProgramTest, WindowedControlsAreTheControlsWithWindows) {
    // Form1: Picture1 (index 0) and VScroll1 (index 6); Form2: foundlist;
    // Form3: TxtAirport (index 1).
    EXPECT_EQ(p.startup.WindowedControls[0], (std::vector<int>{0, 6}));
    EXPECT_EQ(p.startup.WindowedControls[1], (std::vector<int>{0}));
    EXPECT_EQ(p.startup.WindowedControls[2], (std::vector<int>{1}));
}

class WatchdogPhaseTest : public ProgramTest, public ::testing::WithParamInterface<double> {};

TEST_P(WatchdogPhaseTest, EndsWithinHalfASecond) {
    SimulatorRuns();
    Load();
    ASSERT_TRUE(Running());
    const double gone = host.Now() + 3 + GetParam();
    host.At(gone, "the simulator closes", [&] { host.RemoveWindow(sim.window); });
    ASSERT_TRUE(host.RunUntilEnded(10));
    EXPECT_GE(host.EndTime(), gone);
    EXPECT_LE(host.EndTime() - gone, 0.5);
    EXPECT_EQ(host.ExitStatus(), startup::kExitNormal);
}

INSTANTIATE_TEST_SUITE_P(Phases, WatchdogPhaseTest, ::testing::Values(0.0, 0.1, 0.25, 0.499));

TEST_F(RunningProgramTest, WatchdogLeavesARunningSimulatorAlone) {
    host.RunFor(30);
    EXPECT_FALSE(host.Ended());
    EXPECT_EQ(p.SimulatorWindowHandle, sim.window);
}

TEST_F(RunningProgramTest, ExitAndTheCloseBoxEndTheProgramNormally) {
    EXPECT_TRUE(startup::MenuClick(p, "Mnuexit"));
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.ExitStatus(), startup::kExitNormal);
    const int exchanges = link.exchanges;
    host.RunFor(2);
    EXPECT_EQ(link.exchanges, exchanges);  // nothing runs any more
}

TEST_F(RunningProgramTest, CloseBoxEndsTheProgram) {
    startup::Form1_Unload(p);
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.ExitStatus(), startup::kExitNormal);
}

}  // namespace
}  // namespace corvane::testing
