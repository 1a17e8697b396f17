// SPDX-License-Identifier: MIT
//
// The main window on the headless host: the pop-up menu and its pause
// handling, the menu's captions and checks after each command, the outline,
// minimise and restore, the window drag, the airport click and help.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/forms/Mouse.h"
#include "app/startup/MainWindowHandlers.h"
#include "tests/startup/ProgramFixture.h"

namespace corvane::testing {
namespace {

using forms::kLeftButton;
using forms::kRightButton;
using forms::RegionShape;
using startup::MenuClick;
using ::testing::HasSubstr;
using Kind = RegionShape::Kind;

// Picture1 is 2500 twips, 167 pixels at 15 twips per pixel; the throttle is
// 2500..2755 twips across, 167..184 pixels.
const RegionShape kRound{Kind::Ellipse, 0, 0, 167, 167};
const RegionShape kSquare{Kind::Rectangle, 0, 0, 167, 167};
const RegionShape kThrottle{Kind::Rectangle, 167, 0, 184, 167};
const RegionShape kSpot{Kind::Ellipse, 63, 63, 104, 104};

class MainWindowTest : public ProgramTest {
  protected:
    void SetUp() override {
        SimulatorRuns();
        Load();
        ASSERT_TRUE(Running());
        host.RunFor(1.0);
    }
    // The next main-cycle tick (one exchange) has run.
    void NextTick() {
        const int before = link.exchanges;
        while (link.exchanges == before && !host.Ended())
            host.RunFor(0.01);
    }
    void RightClick() { startup::Picture1_MouseDown(p, kRightButton, 0, 1000, 1000); }
    forms::Form1Model& form() { return p.forms.Form1; }
    forms::MainMenu& menu() { return p.forms.Form1.menu; }
};

TEST_F(MainWindowTest, RightPressPausesTheSimulatorAtOnceAndOpensTheMenuAtTheMouse) {
    host.SetCursor({321, 234});
    const int before = link.exchanges;
    RightClick();
    EXPECT_EQ(link.exchanges, before + 1);  // one exchange at once
    EXPECT_EQ(link.Paused(), 1);
    EXPECT_EQ(p.SavedPauseState, 0);
    EXPECT_TRUE(p.FirstCycle);
    EXPECT_TRUE(menu().popupRequested);
    EXPECT_EQ(menu().popupX, 321);
    EXPECT_EQ(menu().popupY, 234);
}

TEST_F(MainWindowTest, ChosenCommandGivesTheSavedPauseStateBack) {
    for (std::uint8_t pausedBefore : {0, 1}) {
        SCOPED_TRACE(int(pausedBefore));
        link.Put<std::uint8_t>(0x0264, pausedBefore);
        NextTick();  // read it
        RightClick();
        ASSERT_EQ(link.Paused(), 1);
        EXPECT_EQ(p.SavedPauseState, pausedBefore);
        ASSERT_TRUE(MenuClick(p, "mnushape"));
        EXPECT_FALSE(menu().mnuview.visible);
        EXPECT_FALSE(menu().popupRequested);
        EXPECT_EQ(p.flightState.pausedpending, flightstate::kRequestSet);
        EXPECT_EQ(p.flightState.out.paused, pausedBefore);
        NextTick();
        EXPECT_EQ(link.Paused(), pausedBefore);
    }
}

TEST_F(MainWindowTest, MenuClosedWithoutACommandUnpausesOnTheNextTick) {
    RightClick();
    ASSERT_EQ(link.Paused(), 1);
    menu().popupRequested = false;  // the menu closed, nothing chosen
    NextTick();
    EXPECT_EQ(link.Paused(), 0);
    EXPECT_FALSE(p.FirstCycle);
}

TEST_F(MainWindowTest, CaptionsAndChecksAfterEachCommand) {
    // Each step runs its command (unless run is false: another look after the
    // previous command) and looks at one item.
    struct Step {
        const char* command;
        const forms::MenuItem* item;
        std::string caption;
        bool checked;
        bool run = true;
    };
    forms::MainMenu& m = menu();
    const Step steps[] = {
        {"Mnu10miles", &m.MnuRange, "Range (10)", false},
        {"Mnu10miles", &m.Mnu10miles, "10 miles", true, false},
        {"Mnu250miles", &m.Mnu250miles, "250 miles", true},
        {"Mnu250miles", &m.Mnu10miles, "10 miles", false, false},
        {"Mnu250miles", &m.Mnu50miles, "50 miles", false, false},
        {"mnuairportdots", &m.mnuairportdots, "Show airport dots", false},
        {"mnuairportdots", &m.mnuairportdots, "Hide airport dots", false},
        {"mnundbdots", &m.mnundbdots, "Show NDB dots", false},
        {"mnuvordots", &m.mnuvordots, "Show VOR dots", false},
        {"mnuhide", &m.mnuhide, "Show readouts", false},
        {"mnucrosswire", &m.mnucrosswire, "Circles", false},
        {"mnucrosswire", &m.mnucrosswire, "Crosswires", false},
        {"mnushape", &m.mnushape, "Round window", false},
        {"mnushape", &m.mnushape, "Square window", false},
        {"mnuminimize", &m.mnuminimize, "Restore", false},
        {"mnuminimize", &m.mnuminimize, "Minimize", false},
        {"mnuground8000", &m.mnuground8000, "8,000 ft above ground", true},
        {"mnuAbs3000", &m.mnuground8000, "8,000 ft above ground", false},
        {"mnuAbs3000", &m.mnuAbs3000, "3,000 ft above sea level", true, false},
        {"mnuFlyPast", &m.mnuFlyPast, "Stop fly past view", false},
        {"mnuFlyPast", &m.mnuFlyPast, "Fly past view", false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command + std::string(" / ") + step.item->name);
        if (step.run) {
            // The pilot's pace: the main cycle sends the last command's pause
            // state and reads it back (a reading lags its write by an exchange).
            host.RunFor(0.5);
            RightClick();
            ASSERT_TRUE(MenuClick(p, step.command));
            // Every one of these commands ends the menu action.
            EXPECT_TRUE(p.mainWindow.MenuActionEnded);
            EXPECT_EQ(p.flightState.out.paused, 0);
            EXPECT_FALSE(m.mnuview.visible);
        }
        EXPECT_EQ(step.item->caption, step.caption);
        EXPECT_EQ(step.item->checked, step.checked);
    }
    EXPECT_EQ(p.map.MapRange, 250);
}

TEST_F(MainWindowTest, DispatcherKnowsCommandsOnlyAndLeavesSomeCommandsTheirOwnEnding) {
    EXPECT_FALSE(MenuClick(p, "MnuRange"));  // a submenu
    EXPECT_FALSE(MenuClick(p, "mnuview"));
    EXPECT_FALSE(MenuClick(p, "nonsense"));

    // Help leaves the pause state to the next main-cycle tick.
    host.AddFile(p.DataFolder + "cv.html");
    host.SetProgramStarter(
        [](const std::string&, const std::vector<std::string>&) { return true; });
    RightClick();
    p.flightState.pausedpending = flightstate::kRequestClear;
    ASSERT_TRUE(MenuClick(p, "mnuHelp"));
    EXPECT_FALSE(p.mainWindow.MenuActionEnded);
    EXPECT_EQ(p.flightState.pausedpending, flightstate::kRequestClear);
    NextTick();
    EXPECT_EQ(link.Paused(), 0);

    // The airport search keeps the simulator paused until its window closes.
    RightClick();
    p.flightState.pausedpending = flightstate::kRequestClear;
    ASSERT_TRUE(MenuClick(p, "mnushowplace"));
    EXPECT_FALSE(p.mainWindow.MenuActionEnded);
    host.RunFor(1);
    EXPECT_EQ(link.Paused(), 1);
}

TEST_F(MainWindowTest, OutlineCommandsAndTheThrottle) {
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<RegionShape> region;
        const char* caption;
    };
    auto shape = [&] { startup::mnushape_Click(p); };
    auto throttle = [&](bool shown) {
        return
            [&, shown] { menu().mnuthrottle.caption = shown ? "Hide throttle" : "Show throttle"; };
    };
    const std::vector<RegionShape> start = form().region;
    EXPECT_EQ(start, std::vector<RegionShape>{kRound});
    const Step steps[] = {
        {"square", shape, {kSquare}, "Round window"},
        {"round again", shape, {kRound}, "Square window"},
        {"throttle shown (no change until the next outline)",
         throttle(true),
         {kRound},
         "Square window"},
        {"square with throttle", shape, {kSquare, kThrottle}, "Round window"},
        {"round with throttle", shape, {kRound, kThrottle}, "Square window"},
        {"throttle hidden", throttle(false), {kRound, kThrottle}, "Square window"},
        {"square drops the throttle", shape, {kSquare}, "Round window"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(form().region, step.region);
        EXPECT_EQ(menu().mnushape.caption, step.caption);
    }
}

TEST_F(MainWindowTest, MinimiseShowsTheMiddleSpotAndRestoreBringsBackThePreviousOutline) {
    struct Case {
        const char* what;
        bool square;
        bool throttle;
        std::vector<RegionShape> restored;
    };
    const Case cases[] = {
        {"round", false, false, {kRound}},
        {"square", true, false, {kSquare}},
        {"square with throttle", true, true, {kSquare, kThrottle}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        menu().mnuthrottle.caption = c.throttle ? "Hide throttle" : "Show throttle";
        if (c.square != (menu().mnushape.caption == "Round window"))
            startup::mnushape_Click(p);
        p.forms.Form4.visible = true;
        form().Image1.visible = true;

        ASSERT_TRUE(MenuClick(p, "mnuminimize"));
        EXPECT_EQ(form().region, std::vector<RegionShape>{kSpot});
        EXPECT_EQ(menu().mnuminimize.caption, "Restore");
        EXPECT_FALSE(p.Form1Timer3->Enabled());
        EXPECT_TRUE(p.Form1Timer1->Enabled());  // the main cycle flies on
        EXPECT_FALSE(form().Image1.visible);
        EXPECT_FALSE(p.forms.Form4.visible);
        const int exchanges = link.exchanges;
        host.RunFor(1);
        EXPECT_GT(link.exchanges, exchanges);

        p.Form1Timer1->SetEnabled(false);
        ASSERT_TRUE(MenuClick(p, "mnuminimize"));
        EXPECT_EQ(form().region, c.restored);
        EXPECT_EQ(menu().mnushape.caption, c.square ? "Round window" : "Square window");
        EXPECT_EQ(menu().mnuminimize.caption, "Minimize");
        EXPECT_TRUE(p.Form1Timer1->Enabled());
        EXPECT_TRUE(p.Form1Timer3->Enabled());
        EXPECT_TRUE(form().Image1.visible);  // the joystick is on ("Hide joystick")
        EXPECT_TRUE(p.forms.Form4.visible);
    }
    // With the joystick switched off, restore leaves the knob hidden.
    menu().mnujoyshow.caption = "Show joystick";
    startup::mnuminimize_Click(p);
    startup::mnuminimize_Click(p);
    EXPECT_FALSE(form().Image1.visible);
}

TEST_F(MainWindowTest, DragMovesTheWindowOnceOnReleaseByTheMouseWay) {
    struct Case {
        float pressX, pressY, releaseX, releaseY;
        double left, top;
    };
    const Case cases[] = {
        {1000, 1200, 1300, 1000, 400, -100},
        {500, 500, 500, 500, 100, 100},
        {2400, 100, -600, 3100, -2900, 3100},  // released outside the map
    };
    for (const Case& c : cases) {
        form().left = 100;
        form().top = 100;
        startup::Picture1_MouseDown(p, kLeftButton, 0, c.pressX, c.pressY);
        EXPECT_TRUE(p.mainWindow.WindowDragging);
        EXPECT_EQ(form().mousePointer, forms::kMovePointer);
        startup::Picture1_MouseMove(p, kLeftButton, 0, c.releaseX / 2, c.releaseY / 2);
        EXPECT_EQ(form().left, 100);  // nothing moves before the release
        EXPECT_EQ(p.mainWindow.MapMouseX, c.releaseX / 2);
        startup::Picture1_MouseUp(p, kLeftButton, 0, c.releaseX, c.releaseY);
        EXPECT_FALSE(p.mainWindow.WindowDragging);
        EXPECT_EQ(form().left, c.left);
        EXPECT_EQ(form().top, c.top);
        EXPECT_EQ(form().mousePointer, forms::kArrowPointer);
        EXPECT_EQ(host.Repainted().back(), form().windowHandle);
    }
    // A release without a press on the map does nothing.
    startup::Picture1_MouseUp(p, kLeftButton, 0, 2000, 2000);
    EXPECT_EQ(form().left, -2900);
}

class MapDotTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        p.Form1Timer3->SetEnabled(false);  // keep the map cycle from collecting dots anew
        // The loaded database with nine named airports.
        auto db = std::make_shared<navdata::AirportDatabase>(*p.airports);
        db->Airports.resize(10);
        db->AirportCount = 9;
        for (int i = 1; i <= 9; ++i)
            db->Airports[i].name = "Airport " + std::to_string(i);
        p.airports = db;
        p.map.MapDotCount = 2;
        p.map.MapDots[1] = {50, 60, map::kAirportWithFuel, 7};
        p.map.MapDots[2] = {100, 40, map::kVorDot, 3};
    }
};

TEST_F(MapDotTest, LeftPressOnAnAirportDotOpensItWithTheSimulatorPaused) {
    startup::Picture1_MouseDown(p, kLeftButton, 0, 50 * 15 + 30, 60 * 15);
    EXPECT_FALSE(p.mainWindow.WindowDragging);
    EXPECT_EQ(p.search.SelectedAirport, 7);
    EXPECT_FALSE(p.Form1Timer1->Enabled());
    EXPECT_FALSE(p.Form1Timer3->Enabled());
    EXPECT_EQ(link.Paused(), 1);
    EXPECT_EQ(p.SavedPauseState, 0);
}

TEST_F(MapDotTest, LeftPressOnABeaconOrAwayFromDotsStartsADrag) {
    startup::Picture1_MouseDown(p, kLeftButton, 0, 100 * 15, 40 * 15);
    EXPECT_TRUE(p.mainWindow.WindowDragging);
    EXPECT_EQ(p.search.SelectedAirport, 0);
    startup::Picture1_MouseUp(p, kLeftButton, 0, 100 * 15, 40 * 15);
    startup::Picture1_MouseDown(p, kLeftButton, 0, 10 * 15, 150 * 15);
    EXPECT_TRUE(p.mainWindow.WindowDragging);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
}

TEST_F(MapDotTest, AirportDotWithoutTheSimulatorsLinkDoesNothingAtAll) {
    p.flightState.simulatorkind = flightstate::kNoSimulator;
    const int exchanges = link.exchanges;
    startup::Picture1_MouseDown(p, kLeftButton, 0, 50 * 15, 60 * 15);
    EXPECT_FALSE(p.mainWindow.WindowDragging);
    EXPECT_EQ(p.search.SelectedAirport, 0);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
    EXPECT_EQ(link.exchanges, exchanges);
}

TEST_F(MainWindowTest, HelpOpensTheHelpFileOrSaysWhyNot) {
    const std::string file = p.DataFolder + "cv.html";
    startup::mnuHelp_Click(p);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_THAT(host.MessageBoxes()[0].text, HasSubstr(file));
    EXPECT_TRUE(host.StartedPrograms().empty());

    host.AddFile(file);
    bool viewerStarts = false;
    host.SetProgramStarter(
        [&](const std::string&, const std::vector<std::string>&) { return viewerStarts; });
    startup::mnuHelp_Click(p);
    ASSERT_EQ(host.StartedPrograms().size(), 1u);
    EXPECT_EQ(host.StartedPrograms()[0].path, "xdg-open");
    EXPECT_EQ(host.StartedPrograms()[0].arguments, std::vector<std::string>{file});
    ASSERT_EQ(host.MessageBoxes().size(), 2u);
    EXPECT_THAT(host.MessageBoxes()[1].text, HasSubstr("xdg-open"));

    viewerStarts = true;
    startup::mnuHelp_Click(p);
    EXPECT_EQ(host.MessageBoxes().size(), 2u);
    EXPECT_FALSE(host.Ended());
}

}  // namespace
}  // namespace corvane::testing
