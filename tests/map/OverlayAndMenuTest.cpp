// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "app/map/MapMenus.h"
#include "app/map/MapOverlays.h"
#include "tests/map/MapTestSupport.h"

namespace corvane::map {
namespace {

using maptest::CanvasCall;
using maptest::RecordingCanvas;

std::vector<std::vector<double>> Args(const std::vector<CanvasCall>& calls) {
    std::vector<std::vector<double>> out;
    for (const CanvasCall& c : calls)
        out.push_back(c.args);
    return out;
}

TEST(Overlays, CirclesMarkAQuarterAHalfAndThreeQuartersOfTheRange) {
    RecordingCanvas canvas;
    DrawCircles(canvas, 2500, 2500);
    EXPECT_EQ(Args(canvas.calls),
              (std::vector<std::vector<double>>{
                  {1250, 1250, 312.5}, {1250, 1250, 625}, {1250, 1250, 937.5}}));
    for (const CanvasCall& c : canvas.calls)
        EXPECT_EQ(c.op, "Circle");
}

TEST(Overlays, CrosswiresWithTicksAtHalfTheRange) {
    RecordingCanvas canvas;
    DrawCrosswires(canvas, 2500, 2500);
    EXPECT_EQ(Args(canvas.Only({"Line"})), (std::vector<std::vector<double>>{
                                               {0, 1250, 2500, 1250},
                                               {1250, 0, 1250, 2500},
                                               {1875, 1187.5, 1875, 1312.5},
                                               {625, 1187.5, 625, 1312.5},
                                               {1187.5, 1875, 1312.5, 1875},
                                               {1187.5, 625, 1312.5, 625},
                                           }));
    EXPECT_EQ(canvas.calls.size(), 6u);
}

TEST(Overlays, TickLengthsFollowTheWidthOnOneAxisAndTheHeightOnTheOther) {
    RecordingCanvas canvas;
    DrawCrosswires(canvas, 4000, 2000);
    const auto lines = Args(canvas.calls);
    EXPECT_EQ(lines[2], (std::vector<double>{3000, 900, 3000, 1100}));   // W / 40 = 100
    EXPECT_EQ(lines[4], (std::vector<double>{1950, 1500, 2050, 1500}));  // H / 40 = 50
}

TEST(Overlays, TheOverlayUsesTheCanvasForeColour) {
    RecordingCanvas canvas;
    canvas.SetForeColor({192, 192, 192});
    DrawCircles(canvas, 2500, 2500);
    DrawCrosswires(canvas, 2500, 2500);
    for (const CanvasCall& c : canvas.calls)
        EXPECT_EQ(c.colour, (forms::Rgb{192, 192, 192}));
}

TEST(Overlays, ScaleBarOf3000Feet) {
    // 6000 units high, 1000 m over 0.85 x 3000 units: 3000 ft is
    // 3000 x 2550 / 3280.8 = 2331.75 units.
    RecordingCanvas canvas;
    DrawScale(canvas, 6000, 1000);
    const double L = 3000 * 2550 / (1000 * 3.2808);
    EXPECT_DOUBLE_EQ(ScaleBarLength(6000, 1000), L);
    const double x0 = 100, y0 = 5500;
    EXPECT_EQ(Args(canvas.Only({"Line"})), (std::vector<std::vector<double>>{
                                               {x0, y0 - 100, x0, y0 + 100},
                                               {x0 + L / 3, y0 - 50, x0 + L / 3, y0 + 50},
                                               {x0 + 2 * L / 3, y0 - 50, x0 + 2 * L / 3, y0 + 50},
                                               {x0 + L, y0 - 100, x0 + L, y0 + 100},
                                               {x0, y0, x0 + L, y0},
                                           }));
    const auto prints = canvas.Only({"Print"});
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, "3000 ft");
    // Centred under the bar: the recording canvas's text is 7 x 90 units wide.
    EXPECT_DOUBLE_EQ(prints[0].args[0], x0 + L / 2 - 315);
    EXPECT_DOUBLE_EQ(prints[0].args[1], y0 + 100);
}

TEST(Overlays, AScaleBarLongerThanThePictureRunsPastItsEdge) {
    RecordingCanvas canvas;
    DrawScale(canvas, 6000, 10);  // L = 233175 units
    const auto lines = canvas.Only({"Line"});
    EXPECT_DOUBLE_EQ(lines[4].args[2], 100 + ScaleBarLength(6000, 10));
    RecordingCanvas tiny;
    DrawScale(tiny, 6000, 1e-300);  // held to a finite length far past any edge
    EXPECT_DOUBLE_EQ(tiny.Only({"Line"})[4].args[2], 100 + kMaxScaleBarLength);
}

TEST(Overlays, NoScaleBarWithoutAPositiveSpan) {
    for (double span : {0.0, -5.0, std::nan("")}) {
        RecordingCanvas canvas;
        DrawScale(canvas, 6000, span);
        EXPECT_TRUE(canvas.calls.empty()) << span;
    }
}

TEST(MapMenus, RangeChoiceSetsTheRangeOneCheckMarkAndTheCaption) {
    forms::MainMenu menu;
    MapState state;
    const struct {
        int range;
        forms::MenuItem* item;
    } rows[] = {{5, &menu.Mnu5miles},   {10, &menu.Mnu10miles},   {25, &menu.Mnu25miles},
                {50, &menu.Mnu50miles}, {100, &menu.Mnu100miles}, {250, &menu.Mnu250miles}};
    for (const auto& r : rows) {
        ASSERT_TRUE(SelectRange(menu, state, r.range));
        EXPECT_EQ(state.MapRange, r.range);
        EXPECT_EQ(menu.MnuRange.caption, "Range (" + std::to_string(r.range) + ")");
        for (const auto& other : rows)
            EXPECT_EQ(other.item->checked, other.item == r.item);
    }
    EXPECT_FALSE(SelectRange(menu, state, 0));
    EXPECT_FALSE(SelectRange(menu, state, 75));
    EXPECT_EQ(state.MapRange, 250);
    EXPECT_EQ(menu.MnuRange.caption, "Range (250)");
    EXPECT_TRUE(menu.Mnu250miles.checked);
}

TEST(MapMenus, DotTogglesFlipTheirLayerAndOfferTheOpposite) {
    forms::MainMenu menu;
    MapState state;
    EXPECT_EQ(menu.mnuairportdots.caption, "Hide airport dots");
    ToggleAirportDots(menu, state);
    EXPECT_FALSE(state.ShowAirportDots);
    EXPECT_EQ(menu.mnuairportdots.caption, "Show airport dots");
    ToggleAirportDots(menu, state);
    EXPECT_TRUE(state.ShowAirportDots);
    EXPECT_EQ(menu.mnuairportdots.caption, "Hide airport dots");

    ToggleNdbDots(menu, state);
    EXPECT_FALSE(state.ShowNDBDots);
    EXPECT_EQ(menu.mnundbdots.caption, "Show NDB dots");
    EXPECT_TRUE(state.ShowVORDots);
    ToggleVorDots(menu, state);
    EXPECT_FALSE(state.ShowVORDots);
    EXPECT_EQ(menu.mnuvordots.caption, "Show VOR dots");
    ToggleNdbDots(menu, state);
    ToggleVorDots(menu, state);
    EXPECT_EQ(menu.mnundbdots.caption, "Hide NDB dots");
    EXPECT_EQ(menu.mnuvordots.caption, "Hide VOR dots");
}

TEST(MapMenus, OverlaySwitchTwiceReturnsToCircles) {
    forms::MainMenu menu;
    EXPECT_EQ(SwitchOverlay(menu.mnucrosswire), MapOverlay::Crosswires);
    EXPECT_EQ(menu.mnucrosswire.caption, "Circles");
    EXPECT_EQ(SwitchOverlay(menu.mnucrosswire), MapOverlay::Circles);
    EXPECT_EQ(menu.mnucrosswire.caption, "Crosswires");
}

TEST(MapMenus, ReadoutsSwitchCaptions) {
    forms::MainMenu menu;
    MapState state;
    EXPECT_EQ(menu.mnuhide.caption, "Hide plane data");
    ToggleReadouts(menu.mnuhide, state);
    EXPECT_FALSE(state.ReadoutsShown);
    EXPECT_EQ(menu.mnuhide.caption, "Show readouts");
    ToggleReadouts(menu.mnuhide, state);
    EXPECT_TRUE(state.ReadoutsShown);
    EXPECT_EQ(menu.mnuhide.caption, "Hide readouts");
}

}  // namespace
}  // namespace corvane::map
