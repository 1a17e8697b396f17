// SPDX-License-Identifier: MIT
//
// Scripted input on the headless host: a pilot's session as timed actions.
#include <gtest/gtest.h>

#include "app/forms/Mouse.h"
#include "app/startup/MainWindowHandlers.h"
#include "tests/startup/ProgramFixture.h"
#include "tools/harness/ProgramScript.h"

namespace corvane::testing {
namespace {

class ProgramScriptTest : public ProgramTest {
  protected:
    void SetUp() override {
        SimulatorRuns();
        Load();
        ASSERT_TRUE(Running());
        t0 = host.Now();
    }
    double t0 = 0;
    harness::ProgramScript script{host, p};
};

TEST_F(ProgramScriptTest, MenuChoicesRunAtTheirTimesWithTheSimulatorPausedInBetween) {
    script.MenuChoice(t0 + 2, "mnushape");
    script.MenuChoice(t0 + 4, "Mnu100miles");
    bool pausedAfterTheClick = false;
    host.At(t0 + 2.1, "look", [&] { pausedAfterTheClick = link.Paused() == 1; });
    host.RunUntil(t0 + 3);
    EXPECT_TRUE(pausedAfterTheClick);
    EXPECT_EQ(p.forms.Form1.menu.mnushape.caption, "Round window");
    EXPECT_EQ(link.Paused(), 0);
    host.RunUntil(t0 + 5);
    EXPECT_EQ(p.map.MapRange, 100);
    EXPECT_EQ(link.Paused(), 0);
}

TEST_F(ProgramScriptTest, DragMovesTheWindowOnRelease) {
    script.MouseDown(t0 + 1, forms::kLeftButton, 300, 300);
    script.MouseMove(t0 + 1.2, forms::kLeftButton, 500, 400);
    script.MouseUp(t0 + 1.4, forms::kLeftButton, 900, 600);
    host.RunUntil(t0 + 1.3);
    EXPECT_TRUE(p.mainWindow.WindowDragging);
    EXPECT_EQ(p.forms.Form1.left, 100);
    host.RunUntil(t0 + 2);
    EXPECT_FALSE(p.mainWindow.WindowDragging);
    EXPECT_EQ(p.forms.Form1.left, 700);
    EXPECT_EQ(p.forms.Form1.top, 400);
}

TEST_F(ProgramScriptTest, SearchAndCloseGiveTheMapWindowBack) {
    script.MenuChoice(t0 + 1, "mnushowplace");
    script.TypeText(t0 + 3, "nothing like it", true);
    script.ButtonClick(t0 + 5, "cmdclose");
    host.RunUntil(t0 + 2);
    EXPECT_TRUE(p.forms.Form3.visible);
    EXPECT_FALSE(p.forms.Form1.visible);
    EXPECT_FALSE(p.Form1Timer1->Enabled());
    host.RunUntil(t0 + 4);
    EXPECT_EQ(p.forms.Form3.TxtAirport.text, "nothing like it");
    EXPECT_FALSE(p.forms.Form3.visible);
    EXPECT_TRUE(p.forms.Form2.visible);
    host.RunUntil(t0 + 6);
    EXPECT_FALSE(p.forms.Form2.visible);
    EXPECT_TRUE(p.forms.Form1.visible);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
    host.RunUntil(t0 + 7);
    EXPECT_EQ(link.Paused(), 0);
}

}  // namespace
}  // namespace corvane::testing
