// SPDX-License-Identifier: MIT
//
// The coastline layer leaves out the lines between points far off the canvas
// on one side. Over the world's coastlines, seen from random places (near
// coasts, the poles and the 180 degree meridian), headings, ranges and canvas
// sizes, it paints the same pixels, leaves the pen at the same place and lets
// events run as often as the walk that draws every line; on a canvas that
// paints nothing it only lets the events run, as often.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/map/CoastlineLayer.h"
#include "app/map/MapProjection.h"
#include "navdata/CoastlineFile.h"
#include "navdata/Geodesy.h"
#include "platform/canvas/PixelRaster.h"
#include "tests/map/MapTestSupport.h"

namespace corvane::map {
namespace {

// The walk as it was before the far runs were left out: every line drawn.
void DrawEveryPoint(forms::Canvas& canvas, const navdata::CoastlineData& coast, double latmin,
                    double lonmin, double latmax, double lonmax, float heading, double halflat,
                    double halflon, std::int16_t width, std::int16_t height,
                    const MapScreen& screen, const LetEventsRun& letEventsRun) {
    const forms::Rgb savedColour = canvas.ForeColor();
    canvas.SetForeColor(kCoastlineColour);

    const int step = CoastPointStep(lonmin, lonmax, width);
    Projection projection;
    projection.centreLat = (latmax + latmin) / 2;
    projection.centreLon = (lonmax + lonmin) / 2;
    projection.xc = std::nearbyint(width / 2.0);
    projection.yc = std::nearbyint(height / 2.0);
    projection.turn = MapScaleAndTurn(screen, heading, halflat, halflon);

    // The blocks are tested and drawn as stored and, where the box reaches
    // past the 180 degree meridian, once more moved by a whole turn onto the
    // box's side of it.
    double shifts[3] = {0, 0, 0};
    int shiftCount = 1;
    if (lonmax > 180.0)
        shifts[shiftCount++] = 360.0;
    if (lonmin < -180.0)
        shifts[shiftCount++] = -360.0;

    const std::vector<float>& lats = coast.CoastLatitude;
    const std::vector<float>& lons = coast.CoastLongitude;
    const int pointEntries = static_cast<int>(std::min(lats.size(), lons.size()));
    // The longitude of the block's point being drawn: as stored plus the
    // block's turn, and across a jump of more than half a turn from the point
    // before (a line that crosses the meridian without a cut) taken on that
    // point's side, so the line goes on unbroken.
    double shift = 0;
    double lastLon = 0;
    bool firstOfBlock = true;
    auto longitude = [&](int k) {
        double lon = CoastPointLongitude(lons[static_cast<std::size_t>(k)]) + shift;
        if (!firstOfBlock && std::fabs(lon - lastLon) > 180.0)
            lon = navdata::NearestLongitude(lon, lastLon);
        firstOfBlock = false;
        lastLon = lon;
        return lon;
    };
    auto inside = [&](int k, double lon) {
        const double lat = lats[static_cast<std::size_t>(k)];
        return latmin <= lat && lat <= latmax && lonmin <= lon && lon <= lonmax;
    };
    struct Pixel {
        int x = 0;
        int y = 0;
    };
    auto project = [&](int k, double lon) {
        const CanvasPoint point =
            ProjectToCanvas(projection, lats[static_cast<std::size_t>(k)], lon);
        return Pixel{RoundToPixel(point.x), RoundToPixel(point.y)};
    };

    long drawn = 0;
    auto drawBlock = [&](int k) {
        firstOfBlock = true;
        const double firstLon = longitude(k);
        Pixel previous = project(k, firstLon);
        canvas.MoveTo(previous.x, previous.y);
        bool wasInside = inside(k, firstLon);
        firstOfBlock = true;
        long n = 0;
        while (k < pointEntries &&
               lats[static_cast<std::size_t>(k)] + lons[static_cast<std::size_t>(k)] <
                   navdata::CoastBreak) {
            bool curInside = true;
            bool projected = false;
            Pixel q;
            // Every point's longitude is followed, used or not, so that a jump
            // across the meridian is seen wherever it falls.
            const double lon = longitude(k);
            if (n % step == 0) {
                q = project(k, lon);
                projected = true;
                if (!inside(k, lon)) {
                    curInside = false;
                } else {
                    if (!wasInside)
                        canvas.MoveTo(previous.x, previous.y);
                    canvas.LineTo(q.x, q.y);
                    if (++drawn % 200 == 0 && letEventsRun)
                        letEventsRun();
                }
            }
            if (!wasInside) {
                if (!projected)
                    q = project(k, lon);
                projected = true;
                canvas.LineTo(q.x, q.y);
            }
            // The previous point is needed again only after an outside point,
            // which is always projected.
            if (projected)
                previous = q;
            wasInside = curInside;
            ++n;
            ++k;
        }
    };

    const int blockCount =
        std::min<int>(coast.CoastBlockCount, static_cast<int>(coast.CoastBlocks.size()) - 1);
    for (int j = 1; j <= blockCount; ++j) {
        const navdata::CoastBlock& block = coast.CoastBlocks[static_cast<std::size_t>(j)];
        if (block.maxLatitude < latmin)
            continue;
        if (block.minLatitude > latmax)
            break;
        const int k = block.firstPoint;
        if (k < 1 || k >= pointEntries)
            continue;
        for (int i = 0; i < shiftCount; ++i) {
            shift = shifts[i];
            // A block wider than half a turn may cross the meridian without a
            // cut: its box says nothing of where its line runs.
            const double west = block.minLongitude;
            const double east = CoastPointLongitude(block.maxLongitude);
            if (east - west <= 180.0 && (east + shift < lonmin || west + shift > lonmax))
                continue;
            drawBlock(k);
        }
    }
    canvas.SetForeColor(savedColour);
}

// Paints the lines as the image canvas does and keeps the pen.
class RasterCanvas final : public maptest::RecordingCanvas {
  public:
    RasterCanvas(int width, int height)
        : RecordingCanvas(width, height),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}
    std::vector<std::uint32_t> pixels;
    int penX = 0;
    int penY = 0;
    void MoveTo(int x, int y) override {
        penX = x;
        penY = y;
    }
    void LineTo(int x, int y) override {
        const canvas::PixelBuffer buffer{pixels.data(), PixelWidth(), PixelHeight(), PixelWidth()};
        canvas::DrawPixelLine(buffer, penX, penY, x, y, canvas::PackRgb(ForeColor()), false);
        ++lines;
        penX = x;
        penY = y;
    }
    long lines = 0;
};

// Paints no pixels, as the harness's blank canvas; counts the pen work it is given.
class QuietCanvas final : public maptest::RecordingCanvas {
  public:
    using RecordingCanvas::RecordingCanvas;
    bool PaintsPixels() const override { return false; }
    void MoveTo(int, int) override { ++penCalls; }
    void LineTo(int, int) override { ++penCalls; }
    long penCalls = 0;
};

const std::string kAppDir = CORVANE_TEST_APP_DIR;

TEST(CoastlineFarRuns, TheWorldLooksTheSameFromEverywhere) {
    const navdata::CoastlineData coast = navdata::LoadCoastlines(kAppDir + "/COAST2.int");
    ASSERT_GT(coast.CoastPointCount, 1000);
    CoastRuns runs;
    BuildCoastRuns(coast, runs);
    ASSERT_FALSE(runs.runs.empty());
    std::mt19937_64 random(2026);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const double ranges[] = {2, 5, 10, 25, 50, 100, 250, 1000};
    long views = 0;
    long linesLeftOut = 0;
    long eventsSeen = 0;
    for (int i = 0; i < 1500; ++i) {
        double lat = 0;
        double lon = 0;
        const double rangeNm = ranges[random() % std::size(ranges)];
        switch (i % 4) {
            case 0:
            case 1: {  // near a coast point
                const int k = 1 + static_cast<int>(random() % coast.CoastPointCount);
                if (coast.CoastLatitude[k] == navdata::CoastBreak)
                    continue;
                const double spread = 2.0 * rangeNm / 60.0;
                lat = std::clamp(coast.CoastLatitude[k] + uniform(-spread, spread), -89.9, 89.9);
                lon = coast.CoastLongitude[k] + uniform(-spread, spread);
                break;
            }
            case 2:  // about the 180 degree meridian
                lat = uniform(-80, 80);
                lon = (random() % 2 ? 180.0 : -180.0) + uniform(-3, 3);
                break;
            default:  // near the poles
                lat = (random() % 2 ? 1 : -1) * uniform(60, 89.9);
                lon = uniform(-180, 180);
                break;
        }
        const float heading = static_cast<float>(uniform(0, 360));
        const int tpp = 15;
        const int width = 60 + static_cast<int>(random() % 300);
        const int height = random() % 3 == 0 ? width : 60 + static_cast<int>(random() % 300);
        const MapScreen screen{double(width * tpp), double(height * tpp), tpp, tpp};
        const MapView view = MakeMapView(lat, lon, heading, rangeNm, 111130.555555555, screen);
        // Now and then a work canvas larger than the view.
        const int extra = random() % 4 == 0 ? static_cast<int>(random() % 200) : 0;
        RasterCanvas expected(view.width + extra, view.height + extra);
        RasterCanvas actual(view.width + extra, view.height + extra);
        int expectedEvents = 0;
        int actualEvents = 0;
        DrawEveryPoint(expected, coast, view.latmin, view.lonmin, view.latmax, view.lonmax, heading,
                       view.halflat, view.halflon, view.width, view.height, screen,
                       [&] { ++expectedEvents; });
        DrawCoastlines(actual, coast, view.latmin, view.lonmin, view.latmax, view.lonmax, heading,
                       view.halflat, view.halflon, view.width, view.height, screen,
                       [&] { ++actualEvents; });
        const std::string where = "view at " + std::to_string(lat) + ", " + std::to_string(lon) +
                                  " heading " + std::to_string(heading) + " range " +
                                  std::to_string(rangeNm) + " canvas " +
                                  std::to_string(view.width) + "x" + std::to_string(view.height);
        ASSERT_TRUE(expected.pixels == actual.pixels) << where;
        ASSERT_EQ(expected.penX, actual.penX) << where;
        ASSERT_EQ(expected.penY, actual.penY) << where;
        ASSERT_EQ(expectedEvents, actualEvents) << where;
        ASSERT_EQ(expected.ForeColor(), actual.ForeColor()) << where;
        // A canvas that paints nothing gets no pen work, and the events run
        // as often.
        QuietCanvas quiet(view.width + extra, view.height + extra);
        int quietEvents = 0;
        DrawCoastlines(quiet, coast, view.latmin, view.lonmin, view.latmax, view.lonmax, heading,
                       view.halflat, view.halflon, view.width, view.height, screen,
                       [&] { ++quietEvents; });
        ASSERT_EQ(expectedEvents, quietEvents) << where;
        ASSERT_EQ(quiet.penCalls, 0) << where;
        // Counted by the runs' boxes, as often again.
        int runEvents = 0;
        DrawCoastlines(
            quiet, coast, view.latmin, view.lonmin, view.latmax, view.lonmax, heading, view.halflat,
            view.halflon, view.width, view.height, screen, [&] { ++runEvents; }, &runs);
        ASSERT_EQ(expectedEvents, runEvents) << where;
        ASSERT_EQ(expected.ForeColor(), quiet.ForeColor()) << where;
        eventsSeen += quietEvents;
        linesLeftOut += expected.lines - actual.lines;
        ++views;
    }
    EXPECT_GT(views, 1000);
    EXPECT_GT(linesLeftOut, 0) << "the views must include far runs";
    EXPECT_GT(eventsSeen, 0) << "the views must let events run";
}

}  // namespace
}  // namespace corvane::map
