// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "app/map/CoastlineLayer.h"
#include "tests/map/MapTestSupport.h"

namespace corvane::map {
namespace {

using maptest::CanvasCall;
using maptest::RecordingCanvas;

struct Pt {
    float lat;
    float lon;
};

// Appends blocks of points to the coastline arrays, each block followed by a
// break marker, with the block's box as given (or its points' box).
class CoastBuilder {
  public:
    CoastBuilder() : next_(1) {}
    CoastBuilder& Block(const std::vector<Pt>& points) {
        navdata::CoastBlock block;
        block.firstPoint = next_;
        block.minLatitude = block.minLongitude = 1000;
        block.maxLatitude = block.maxLongitude = -1000;
        for (const Pt& p : points) {
            data.CoastLatitude[next_] = p.lat;
            data.CoastLongitude[next_] = p.lon;
            ++next_;
            block.minLatitude = std::min<double>(block.minLatitude, p.lat);
            block.maxLatitude = std::max<double>(block.maxLatitude, p.lat);
            block.minLongitude = std::min<double>(block.minLongitude, p.lon);
            block.maxLongitude = std::max<double>(block.maxLongitude, p.lon);
        }
        data.CoastLatitude[next_] = navdata::CoastBreak;
        data.CoastLongitude[next_] = navdata::CoastBreak;
        ++next_;
        data.CoastPointCount = next_ - 1;
        data.CoastBlocks[++data.CoastBlockCount] = block;
        return *this;
    }
    navdata::CoastlineData data;

  private:
    int next_;
};

// A 100 x 100 pixel canvas over the box 0 +- 1 degree both ways: 50 pixels
// per degree, centre (50, 50), heading 0, so a point (lat, lon) lands at
// (50 + 50 lon, 50 - 50 lat).
std::vector<CanvasCall> DrawSquareView(const navdata::CoastlineData& coast,
                                       const LetEventsRun& events = {}) {
    RecordingCanvas canvas(100, 100);
    const MapScreen screen{1500, 1500, 15, 15};
    DrawCoastlines(canvas, coast, -1, -1, 1, 1, 0.0f, 1, 1, 100, 100, screen, events);
    return canvas.Only({"MoveTo", "LineTo"});
}

CanvasCall Move(double x, double y) {
    return {"MoveTo", {x, y}, {}, {}};
}
CanvasCall Line(double x, double y) {
    return {"LineTo", {x, y}, kCoastlineColour, {}};
}

TEST(CoastlineLayer, ABlockThatLeavesAndReentersTheBoxFollowsThePenRules) {
    CoastBuilder b;
    b.Block({{0, 0},        // A inside   (50, 50)
             {0.5f, 0.5f},  // B inside   (75, 25)
             {0, 2},        // C outside  (150, 50)
             {0, 3},        // D outside  (200, 50)
             {0.5f, 0},     // E inside   (50, 25)
             {0.2f, 0.2f},  // F inside   (60, 40)
             {0, 1.5f},     // G outside  (125, 50)
             {-0.2f, 0}});  // H inside   (50, 60)
    const std::vector<CanvasCall> expected = {
        Move(50, 50),
        Line(50, 50),   // A: the first point, drawn to from itself
        Line(75, 25),   // B
                        // C: outside, nothing drawn yet
        Line(200, 50),  // D: after an outside point every point is drawn to
        Move(200, 50),  // E: re-entry starts at the last outside point
        Line(50, 25),
        Line(50, 25),   //    and is drawn to once more from itself
        Line(60, 40),   // F
                        // G: outside
        Move(125, 50),  // H: re-entry from G
        Line(50, 60),
        Line(50, 60),
    };
    EXPECT_EQ(DrawSquareView(b.data), expected);
}

TEST(CoastlineLayer, OnWideViewsEveryFifthPointIsUsedAndSkippedPointsCountAsInside) {
    // Range 250 near the equator: fewer than 50 pixels per degree of longitude.
    const MapView wide = MakeMapView(0.5, 10, 0, 250, 111130.555555555, MapScreen{});
    EXPECT_LT(wide.width / (wide.lonmax - wide.lonmin), 50);
    EXPECT_EQ(CoastPointStep(wide.lonmin, wide.lonmax, wide.width), 5);
    const MapView narrow = MakeMapView(0.5, 10, 0, 5, 111130.555555555, MapScreen{});
    EXPECT_EQ(CoastPointStep(narrow.lonmin, narrow.lonmax, narrow.width), 1);

    // A square view with 20 pixels per degree: 40 pixels over +-1 degree.
    CoastBuilder b;
    std::vector<Pt> points;
    for (int i = 0; i < 12; ++i)
        points.push_back({0, -0.5f + 0.05f * i});
    points[5].lon = 5;  // used and outside
    b.Block(points);
    RecordingCanvas canvas(40, 40);
    DrawCoastlines(canvas, b.data, -1, -1, 1, 1, 0.0f, 1, 1, 40, 40, MapScreen{600, 600, 15, 15},
                   {});
    // x = 20 + 20 lon, y = 20.
    const std::vector<CanvasCall> expected = {
        Move(10, 20), Line(10, 20),  // point 0
                                     // point 5 is outside: nothing
        Line(16, 20),                // point 6, skipped, is drawn to after the outside point 5
                                     // points 7 to 9 are skipped and count as inside
        Line(20, 20),                // point 10
    };
    EXPECT_EQ(canvas.Only({"MoveTo", "LineTo"}), expected);
}

TEST(CoastlineLayer, BlocksAreCulledByTheirBoxesAndTheWalkStopsNorthOfTheView) {
    CoastBuilder b;
    b.Block({{-3, 0}, {-2, 0.1f}})   // south of the box: skipped
        .Block({{0, 0.1f}})          // in view
        .Block({{0, 5}, {0.1f, 6}})  // east of the box: skipped
        .Block({{0, -6}})            // west of the box: skipped
        .Block({{2, 0}})             // north of the box: the walk stops here
        .Block({{0.5f, 0.5f}});      // in view, but stored after a northern block
    const std::vector<CanvasCall> expected = {Move(55, 50), Line(55, 50)};
    EXPECT_EQ(DrawSquareView(b.data), expected);
}

// The same 100 x 100 canvas over the box (lat, lon) +- 1 degree.
std::vector<CanvasCall> DrawViewAt(const navdata::CoastlineData& coast, double lat, double lon) {
    RecordingCanvas canvas(100, 100);
    const MapScreen screen{1500, 1500, 15, 15};
    DrawCoastlines(canvas, coast, lat - 1, lon - 1, lat + 1, lon + 1, 0.0f, 1, 1, 100, 100, screen,
                   {});
    return canvas.Only({"MoveTo", "LineTo"});
}

TEST(CoastlineLayer, ACoastCutAtTheMeridianIsDrawnInOnePieceFromEitherSide) {
    // As the file holds a coast cut at the meridian: the eastern half ends at
    // the highest longitude unit, the western half starts at 180 W.
    const float seam = static_cast<float>(32767 * 360.0 / 65536);
    CoastBuilder b;
    b.Block({{0.5f, 179.5f}, {0.2f, seam}}).Block({{0.2f, -180.0f}, {-0.5f, -179.5f}});
    // From 0.2 degree east of the meridian both halves meet at x = 40.
    const std::vector<CanvasCall> east = {Move(15, 25), Line(15, 25), Line(40, 40),
                                          Move(40, 40), Line(40, 40), Line(65, 75)};
    EXPECT_EQ(DrawViewAt(b.data, 0, -179.8), east);
    // From 0.2 degree west of it the same coast lies 20 pixels further right,
    // and the western half is the one beyond the meridian.
    const std::vector<CanvasCall> west = {Move(35, 25), Line(35, 25), Line(60, 40),
                                          Move(60, 40), Line(60, 40), Line(85, 75)};
    EXPECT_EQ(DrawViewAt(b.data, 0, 179.8), west);
    // A view that does not reach the meridian draws neither half in it.
    for (const CanvasCall& c : DrawViewAt(b.data, 0, 170))
        EXPECT_TRUE(c.args[0] < 0 || c.args[0] > 100) << c.args[0];
}

// The lines drawn (from the pen to each LineTo) that touch the 100 x 100
// canvas, as (x1, y1, x2, y2).
std::vector<std::vector<double>> LinesOnCanvas(const std::vector<CanvasCall>& calls) {
    std::vector<std::vector<double>> lines;
    double x = 0, y = 0;
    for (const CanvasCall& c : calls) {
        if (c.op == "LineTo" && std::max(x, c.args[0]) >= 0 && std::min(x, c.args[0]) <= 100 &&
            std::max(y, c.args[1]) >= 0 && std::min(y, c.args[1]) <= 100) {
            lines.push_back({x, y, c.args[0], c.args[1]});
        }
        x = c.args[0];
        y = c.args[1];
    }
    return lines;
}

TEST(CoastlineLayer, ALineThatJumpsAcrossTheMeridianGoesOnUnbroken) {
    // A line not cut at the meridian: its longitude jumps by nearly a turn.
    CoastBuilder b;
    b.Block({{0.5f, 179.6f}, {0.0f, -179.8f}, {-0.5f, -179.4f}});
    const std::vector<std::vector<double>> seen = {
        {20, 25, 20, 25}, {20, 25, 50, 50}, {50, 50, 70, 75}};
    EXPECT_EQ(LinesOnCanvas(DrawViewAt(b.data, 0, -179.8)), seen);
    // Far from the meridian, at the same latitude, no line crosses the map.
    EXPECT_TRUE(LinesOnCanvas(DrawViewAt(b.data, 0, 100)).empty());
}

TEST(CoastlineLayer, ThePenIsCyanAndTheCanvasColourIsPutBack) {
    CoastBuilder b;
    b.Block({{0, 0}, {0.1f, 0.1f}});
    RecordingCanvas canvas(100, 100);
    canvas.SetForeColor({192, 192, 192});
    DrawCoastlines(canvas, b.data, -1, -1, 1, 1, 0.0f, 1, 1, 100, 100,
                   MapScreen{1500, 1500, 15, 15}, {});
    for (const CanvasCall& c : canvas.Only({"LineTo"}))
        EXPECT_EQ(c.colour, kCoastlineColour);
    EXPECT_EQ(canvas.ForeColor(), (forms::Rgb{192, 192, 192}));
}

TEST(CoastlineLayer, TheCanvasCentreIsRoundedAndTheViewTurnsWithTheHeading) {
    // 167 pixels: centre 83.5 rounds to 84. Heading 90: east is up.
    CoastBuilder b;
    b.Block({{0, 0}, {0, 0.5f}});
    RecordingCanvas canvas;
    DrawCoastlines(canvas, b.data, -1, -1, 1, 1, 90.0f, 1, 1, 167, 167,
                   MapScreen{2500, 2500, 15, 15}, {});
    const auto lines = canvas.Only({"LineTo"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].args, (std::vector<double>{84, 84}));
    EXPECT_EQ(lines[1].args, (std::vector<double>{84, 84 - 42}));  // 83.3 pixels per degree
}

TEST(CoastlineLayer, EventsRunAtEvery200thInsideLine) {
    CoastBuilder b;
    std::vector<Pt> points;
    for (int i = 0; i < 450; ++i)
        points.push_back({0, -0.9f + 0.004f * i});
    b.Block(points);
    int events = 0;
    DrawSquareView(b.data, [&] { ++events; });
    EXPECT_EQ(events, 2);
}

TEST(CoastlineLayer, NoBlocksDrawNothing) {
    navdata::CoastlineData empty;
    EXPECT_TRUE(DrawSquareView(empty).empty());
}

// A frame with the runs starts at the first block whose run of northern edges
// reaches the box: the blocks before it lie wholly south. The view's block
// holds 250 points inside the box, so one event runs when it is counted; the
// blocks before it are every kind a walk must pass or stop at.
TEST(CoastlineLayer, TheRunsStartAtTheFirstBlockThatCanReachTheBox) {
    class Quiet final : public RecordingCanvas {
      public:
        using RecordingCanvas::RecordingCanvas;
        bool PaintsPixels() const override { return false; }
    };
    auto line = [](float lat, float lonFrom, int count) {
        std::vector<Pt> points;
        for (int i = 0; i < count; ++i)
            points.push_back({lat, lonFrom + 0.001f * i});
        return points;
    };
    struct Layout {
        const char* name;
        std::function<void(CoastBuilder&)> before;  // the blocks before the view's
        bool nanEdge;  // the first block's northern edge is not a number
        int events;    // as the walk over every block runs them
    };
    const Layout layouts[] = {
        {"nothing before", [](CoastBuilder&) {}, false, 1},
        {"south blocks before",
         [&](CoastBuilder& b) {
             b.Block(line(-60, 0, 5));
             b.Block(line(-30, 10, 5));
         },
         false, 1},
        {"a tall block before, east of the box",
         [&](CoastBuilder& b) {
             b.Block({{-80, 20}, {80, 20}});
         },
         false, 1},
        {"a block inside the box with an edge that is not a number before",
         [&](CoastBuilder& b) { b.Block(line(0.5f, -0.2f, 250)); }, true, 2},
    };
    for (const Layout& layout : layouts) {
        CoastBuilder b;
        layout.before(b);
        if (layout.nanEdge)
            b.data.CoastBlocks[1].maxLatitude = std::nan("");
        b.Block(line(0.0f, -0.2f, 250));
        b.Block(line(5.0f, 0.0f, 5));  // north of the box: the walk stops
        CoastRuns runs;
        BuildCoastRuns(b.data, runs);
        const MapScreen screen{1500, 1500, 15, 15};
        int walked = 0;
        int byRuns = 0;
        Quiet canvas(100, 100);
        DrawCoastlines(canvas, b.data, -1, -1, 1, 1, 0.0f, 1, 1, 100, 100, screen,
                       [&] { ++walked; });
        DrawCoastlines(
            canvas, b.data, -1, -1, 1, 1, 0.0f, 1, 1, 100, 100, screen, [&] { ++byRuns; }, &runs);
        EXPECT_EQ(walked, layout.events) << layout.name;
        EXPECT_EQ(byRuns, layout.events) << layout.name;
    }
}

}  // namespace
}  // namespace corvane::map
