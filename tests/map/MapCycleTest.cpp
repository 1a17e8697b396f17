// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <memory>

#include "app/map/MapFrame.h"
#include "app/map/MapPictures.h"
#include "app/startup/MapHandlers.h"
#include "navdata/LonIndexWalk.h"
#include "tests/map/MapTestSupport.h"
#include "tests/support/ProgramData.h"

namespace corvane::map {
namespace {

using maptest::CanvasCall;
using maptest::RecordingCanvas;

class MapCycleTest : public ::testing::Test {
  protected:
    MapCycleTest() : p(host, link) {
        forms::Form1Model& f = p.forms.Form1;
        picture1 = Attach(f.Picture1, "Picture1");
        picture2 = Attach(f.Picture2, "Picture2");
        picstore = Attach(f.picstore, "picstore");
        f.left = 3000;
        f.top = 1500;
        f.width = 2600;
        f.height = 2600;
        p.forms.Form4.width = 2200;
        maptest::SetPosition(p.flightState, 51.5, -0.25, 0);
        p.flightState.altitude = 500;
        p.flightState.groundaltitude = 119;
        p.flightState.verticalspeed = 500;
        p.flightState.indicatedairspeed = 120 * 128;
        p.flightState.trueairspeed = 120 * 128;
        // One VOR 0.1 degree north of the aircraft and one airport with fuel
        // 0.1 degree south.
        db.VorCount = 1;
        db.Vors.resize(3);
        db.Vors[1].label1 = "LON";
        db.Vors[1].label2 = "London";
        db.Vors[1].latitude = 51.6;
        db.Vors[1].longitude = -0.25;
        db.VorLonIndex.fill(1);
        db.AirportCount = 1;
        db.Airports.resize(3);
        db.Airports[1].name = "Gatwick (EGKK)";
        db.Airports[1].latitude = 51.4;
        db.Airports[1].longitude = -0.25;
        db.Airports[1].hasFuel = -1;
        db.AirportLonIndex.fill(1);
    }

    RecordingCanvas* Attach(forms::Picture& picture, const char* name) {
        auto canvas = std::make_unique<RecordingCanvas>();
        canvas->name = name;
        RecordingCanvas* raw = canvas.get();
        picture.canvas = std::move(canvas);
        return raw;
    }

    // Puts the cursor over the dot of the given number (dots of the last cycle).
    void PointAtDot(int dot) {
        const MapDot& d = p.map.MapDots[dot];
        p.mainWindow.MapMouseX = (d.x + 1) * 15;
        p.mainWindow.MapMouseY = (d.y + 1) * 15;
        const host::Rect r = maptest::Picture1ScreenRect(p);
        host.cursor = {r.left + 10, r.top + 10};
    }

    maptest::FakeHost host;
    maptest::NullLink link;
    Program p;
    navdata::AirportDatabase& db = corvane::testing::OwnAirports(p);
    RecordingCanvas* picture1 = nullptr;
    RecordingCanvas* picture2 = nullptr;
    RecordingCanvas* picstore = nullptr;
};

TEST_F(MapCycleTest, AFrameIsBuiltOnPicture2FromTheStoredBackgroundAndCopiedInOneBlock) {
    host.timeStepPerCall = 0.25;
    maptest::MapCycle(p);
    // Picture2: the background, then the dots (no coastline data), nothing else.
    ASSERT_GE(picture2->calls.size(), 3u);
    EXPECT_EQ(picture2->calls[0].op, "CopyFrom");
    EXPECT_EQ(picture2->calls[0].text, "picstore");
    EXPECT_EQ(picture2->calls[0].args, (std::vector<double>{2500, 2500}));
    const auto fills = picture2->Only({"FillRect"});
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].colour, (forms::Rgb{60, 60, 255}));    // the VOR, collected first
    EXPECT_EQ(fills[1].colour, (forms::Rgb{255, 255, 128}));  // the airport with fuel
    EXPECT_LT(fills[0].args[1], 83);                          // north is up
    EXPECT_GT(fills[1].args[1], 83);
    // Picture1 receives only the one block copy.
    ASSERT_EQ(picture1->calls.size(), 1u);
    EXPECT_EQ(picture1->calls[0].op, "CopyFrom");
    EXPECT_EQ(picture1->calls[0].text, "Picture2");
    EXPECT_TRUE(picstore->calls.empty());
    // Text1: frame time and dot count.
    EXPECT_EQ(p.forms.Form1.Text1.text, " .25\t 2");
    EXPECT_EQ(p.map.MapPositionText, "N 51* 30'  W 0* 15'");
    EXPECT_FALSE(p.map.MapCycleBusy);
}

TEST_F(MapCycleTest, TheReadoutWindowShowsTheAircraftReadouts) {
    maptest::MapCycle(p);
    const forms::Form4Model& f4 = p.forms.Form4;
    EXPECT_TRUE(f4.visible);
    EXPECT_EQ(f4.Label1.caption, "N 51* 30'  W 0* 15'");
    EXPECT_EQ(f4.Label2.caption, "Heading  0");
    EXPECT_EQ(f4.Label3.caption, "1250 ft  +8.3 ft/sec");
    EXPECT_EQ(f4.Label4.caption, "120 Kts");

    p.map.ReadoutsShown = false;
    maptest::MapCycle(p);
    EXPECT_FALSE(f4.visible);
}

TEST_F(MapCycleTest, TheHoverLabelNamesTheDotUnderTheMouse) {
    maptest::MapCycle(p);
    PointAtDot(1);
    maptest::MapCycle(p);
    const forms::Form4Model& f4 = p.forms.Form4;
    EXPECT_TRUE(f4.visible);
    EXPECT_EQ(f4.Label1.caption, "VOR - LON - London");
    EXPECT_EQ(f4.Label2.caption, "Bearing 0");
    EXPECT_EQ(f4.Label3.caption, "6 miles");
    EXPECT_EQ(f4.Label4.caption, "ETA  3 mins");

    // Shown even with the readouts off.
    p.map.ReadoutsShown = false;
    PointAtDot(2);
    maptest::MapCycle(p);
    EXPECT_TRUE(f4.visible);
    EXPECT_EQ(f4.Label1.caption, "Gatwick (EGKK)");
    EXPECT_EQ(f4.Label2.caption, "Bearing 180");

    // Not while the joystick is dragged, nor with the cursor off the map.
    p.joystick.JoystickDragging = true;
    maptest::MapCycle(p);
    EXPECT_FALSE(f4.visible);
    p.joystick.JoystickDragging = false;
    const host::Rect r = maptest::Picture1ScreenRect(p);
    host.cursor = {r.right + 1, r.top};
    maptest::MapCycle(p);
    EXPECT_FALSE(f4.visible);
    host.cursor = {r.right, r.bottom};  // the edge is still on the map
    maptest::MapCycle(p);
    EXPECT_TRUE(f4.visible);
}

TEST_F(MapCycleTest, NearestDotChoosesLikeTheHoverLabel) {
    maptest::MapCycle(p);
    const MapDot& vor = p.map.MapDots[1];
    EXPECT_EQ(maptest::NearestDot(p, vor.x * 15, vor.y * 15), 1);
    EXPECT_EQ(maptest::NearestDot(p, (vor.x + 4) * 15, (vor.y + 4.7f) * 15), 1);
    EXPECT_EQ(maptest::NearestDot(p, (vor.x + 4) * 15, (vor.y + 5) * 15), 0);
    p.joystick.JoystickDragging = true;  // the click choice does not look at the joystick
    EXPECT_EQ(maptest::NearestDot(p, vor.x * 15, vor.y * 15), 1);
}

TEST_F(MapCycleTest, WindowsArePlacedOnTheSimulatorWindow) {
    forms::Form1Model& f1 = p.forms.Form1;
    f1.left = 50;
    f1.top = 20;
    maptest::MapCycle(p);
    EXPECT_EQ(f1.left, 100);
    EXPECT_EQ(f1.top, 100);
    EXPECT_EQ(p.SimulatorWindowHandle, 77u);
    EXPECT_EQ(p.SimulatorWindowRect, (host::Rect{0, 0, 1024, 768}));
    // W = 15 x 1024 = 15360, H = 15 x 768 = 11520.
    EXPECT_EQ(p.forms.Form4.left, 15360 - 2200 - 100);

    f1.left = 15360 - 2600 - 399;  // too far right: moved in
    f1.top = 11520 - 2600 - 799;
    maptest::MapCycle(p);
    EXPECT_EQ(f1.left, 15360 - 2600 - 200);
    EXPECT_EQ(f1.top, 11520 - 2600 - 800);

    // The simulator window gone: the last rectangle stays in use.
    host.simulatorPresent = false;
    host.simulatorRect = {0, 0, 640, 480};
    p.forms.Form4.left = 0;
    maptest::MapCycle(p);
    EXPECT_EQ(p.SimulatorWindowHandle, 0u);
    EXPECT_EQ(p.SimulatorWindowRect, (host::Rect{0, 0, 1024, 768}));
    EXPECT_EQ(p.forms.Form4.left, 15360 - 2200 - 100);
    // Back, with a new size.
    host.simulatorPresent = true;
    maptest::MapCycle(p);
    EXPECT_EQ(p.forms.Form4.left, 15 * 640 - 2200 - 100);
}

TEST_F(MapCycleTest, WhileTheWindowIsDraggedOnlyThePositionAndPlacementAreRefreshed) {
    p.mainWindow.WindowDragging = true;
    p.forms.Form1.Text1.text = "before";
    p.forms.Form1.left = 10;
    maptest::MapCycle(p);
    EXPECT_EQ(p.map.MapPositionText, "N 51* 30'  W 0* 15'");
    EXPECT_EQ(p.forms.Form1.left, 100);
    EXPECT_TRUE(picture1->calls.empty());
    EXPECT_TRUE(picture2->calls.empty());
    EXPECT_EQ(p.forms.Form1.Text1.text, "before");
    EXPECT_FALSE(p.forms.Form4.visible);
    EXPECT_FALSE(p.map.MapCycleBusy);
}

TEST_F(MapCycleTest, ABusyCycleIsNotEnteredAgain) {
    p.map.MapCycleBusy = true;
    maptest::MapCycle(p);
    EXPECT_TRUE(picture1->calls.empty());
    EXPECT_TRUE(p.map.MapPositionText.empty());

    // A tick arriving while the cycle lets events run returns at once.
    p.map.MapCycleBusy = false;
    db.Airports.resize(1003);
    db.AirportCount = 1001;
    for (int i = 2; i <= 1001; ++i)
        db.Airports[i] = db.Airports[1];
    db.AirportLonIndex = navdata::BuildLonIndex(std::vector<double>(1001, -0.25));
    int nested = 0;
    host.onDoEvents = [&] {
        ++nested;
        maptest::MapCycle(p);
    };
    maptest::MapCycle(p);
    EXPECT_GT(nested, 0);
    EXPECT_EQ(picture1->calls.size(), 1u);
    EXPECT_FALSE(p.map.MapCycleBusy);
}

TEST_F(MapCycleTest, TheDestinationDotBlinksWhileAFlyThereRuns) {
    p.plan.DestAirport = 1;
    p.forms.Form1.menu.mnuFlythereOff.visible = true;
    std::vector<double> widths;
    for (int i = 0; i < 3; ++i) {
        picture2->calls.clear();
        maptest::MapCycle(p);
        const auto fills = picture2->Only({"FillRect"});
        widths.push_back(fills.back().args[2] - fills.back().args[0]);
    }
    EXPECT_EQ(widths, (std::vector<double>{3, 5, 3}));
}

TEST_F(MapCycleTest, CopyAndRestoreMoveTheBackgroundThroughPicstore) {
    copy(p.forms.Form1);
    ASSERT_EQ(picstore->calls.size(), 1u);
    EXPECT_EQ(picstore->calls[0].text, "Picture1");
    EXPECT_EQ(picstore->calls[0].args, (std::vector<double>{2500, 2500}));
    EXPECT_FALSE(p.forms.Form1.picstore.autoRedraw);
    restore(p.forms.Form1);
    ASSERT_EQ(picture2->calls.size(), 1u);
    EXPECT_EQ(picture2->calls[0].text, "picstore");
    EXPECT_TRUE(p.forms.Form1.picstore.autoRedraw);
}

TEST_F(MapCycleTest, TheOverlaySwitchRedrawsPicture1AndStoresIt) {
    startup::mnucrosswire_Click(p);
    EXPECT_EQ(p.forms.Form1.menu.mnucrosswire.caption, "Circles");
    ASSERT_GE(picture1->calls.size(), 2u);
    EXPECT_EQ(picture1->calls[0].op, "Cls");
    EXPECT_EQ(picture1->Only({"Line"}).size(), 6u);
    EXPECT_EQ(picstore->calls.back().text, "Picture1");

    picture1->calls.clear();
    startup::mnucrosswire_Click(p);
    EXPECT_EQ(p.forms.Form1.menu.mnucrosswire.caption, "Crosswires");
    EXPECT_EQ(picture1->calls[0].op, "Cls");
    EXPECT_EQ(picture1->Only({"Circle"}).size(), 3u);
    EXPECT_EQ(picture1->Only({"Circle"})[2].args, (std::vector<double>{1250, 1250, 937.5}));
}

TEST_F(MapCycleTest, MenuCommandsChangeTheNextFrame) {
    startup::RangeMenu_Click(p, 5);
    EXPECT_EQ(p.map.MapRange, 5);
    EXPECT_EQ(p.forms.Form1.menu.MnuRange.caption, "Range (5)");
    maptest::MapCycle(p);
    EXPECT_EQ(p.map.MapDotCount, 0);  // 6 miles away is off a 5-mile map
    startup::RangeMenu_Click(p, 10);
    maptest::MapCycle(p);
    EXPECT_EQ(p.map.MapDotCount, 2);

    startup::mnuvordots_Click(p);
    startup::mnuairportdots_Click(p);
    maptest::MapCycle(p);
    EXPECT_EQ(p.map.MapDotCount, 0);
    EXPECT_EQ(p.forms.Form1.menu.mnuvordots.caption, "Show VOR dots");
    startup::mnuairportdots_Click(p);
    maptest::MapCycle(p);
    EXPECT_EQ(p.map.MapDotCount, 1);

    startup::mnuhide_Click(p);
    EXPECT_FALSE(p.map.ReadoutsShown);
    EXPECT_EQ(p.forms.Form1.menu.mnuhide.caption, "Show readouts");
    startup::mnundbdots_Click(p);
    EXPECT_FALSE(p.map.ShowNDBDots);
}

}  // namespace
}  // namespace corvane::map
