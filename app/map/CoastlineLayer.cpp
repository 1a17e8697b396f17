// SPDX-License-Identifier: MIT
#include "app/map/CoastlineLayer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "app/map/MapProjection.h"
#include "navdata/Geodesy.h"

namespace corvane::map {

int CoastPointStep(double lonmin, double lonmax, std::int16_t width) {
    const double pixelsPerDegree = width / (lonmax - lonmin);
    return pixelsPerDegree < 50 ? 5 : 1;
}

double CoastPointLongitude(double lon) {
    // The highest longitude unit of the file, 32767 of 65536 to the turn.
    constexpr float kSeamLongitude = static_cast<float>(32767 / navdata::CoastLongitudeScale);
    return lon >= kSeamLongitude ? 180.0 : lon;
}

namespace {

constexpr int kPointsPerRun = 32;
// A block is cut into runs only when no two of its points one after the
// other lie more than this apart in longitude: then moving its longitudes
// by a whole turn cannot make a jump of more than half a turn appear.
constexpr double kMostLongitudeStepDeg = 179.0;

}  // namespace

void BuildCoastRuns(const navdata::CoastlineData& coast, CoastRuns& out) {
    out.builtFrom = &coast;
    out.pointCount = coast.CoastPointCount;
    out.blockCount = coast.CoastBlockCount;
    out.runs.clear();
    const int blockCount =
        std::min<int>(coast.CoastBlockCount, static_cast<int>(coast.CoastBlocks.size()) - 1);
    out.blockRuns.assign(static_cast<std::size_t>(std::max(blockCount, 0)) + 2, 0);
    out.northmostSoFar.assign(static_cast<std::size_t>(std::max(blockCount, 0)) + 1,
                              -std::numeric_limits<double>::infinity());
    for (int j = 1; j <= blockCount; ++j) {
        const double north = coast.CoastBlocks[static_cast<std::size_t>(j)].maxLatitude;
        out.northmostSoFar[static_cast<std::size_t>(j)] =
            std::max(out.northmostSoFar[static_cast<std::size_t>(j) - 1],
                     std::isnan(north) ? std::numeric_limits<double>::infinity() : north);
    }
    const std::vector<float>& lats = coast.CoastLatitude;
    const std::vector<float>& lons = coast.CoastLongitude;
    const int pointEntries = static_cast<int>(std::min(lats.size(), lons.size()));
    auto isPoint = [&](int k) {
        return k < pointEntries &&
               lats[static_cast<std::size_t>(k)] + lons[static_cast<std::size_t>(k)] <
                   navdata::CoastBreak;
    };
    for (int j = 1; j <= blockCount; ++j) {
        out.blockRuns[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(out.runs.size());
        const int first = coast.CoastBlocks[static_cast<std::size_t>(j)].firstPoint;
        if (first < 1 || first >= pointEntries)
            continue;
        bool jumps = false;
        int end = first;
        for (; isPoint(end); ++end) {
            if (end > first &&
                !(std::fabs(CoastPointLongitude(lons[static_cast<std::size_t>(end)]) -
                            CoastPointLongitude(lons[static_cast<std::size_t>(end - 1)])) <=
                  kMostLongitudeStepDeg))
                jumps = true;
        }
        if (jumps)
            continue;
        for (int k = first; k < end; k += kPointsPerRun) {
            CoastRun run;
            run.first = k;
            run.count = std::min(kPointsPerRun, end - k);
            run.minLatitude = run.maxLatitude = lats[static_cast<std::size_t>(k)];
            run.minLongitude = run.maxLongitude =
                CoastPointLongitude(lons[static_cast<std::size_t>(k)]);
            for (int i = k + 1; i < k + run.count; ++i) {
                const double lat = lats[static_cast<std::size_t>(i)];
                const double lon = CoastPointLongitude(lons[static_cast<std::size_t>(i)]);
                run.minLatitude = std::min(run.minLatitude, lat);
                run.maxLatitude = std::max(run.maxLatitude, lat);
                run.minLongitude = std::min(run.minLongitude, lon);
                run.maxLongitude = std::max(run.maxLongitude, lon);
            }
            out.runs.push_back(run);
        }
    }
    out.blockRuns[static_cast<std::size_t>(blockCount) + 1] =
        static_cast<std::int32_t>(out.runs.size());
}

void DrawCoastlines(forms::Canvas& canvas, const navdata::CoastlineData& coast, double latmin,
                    double lonmin, double latmax, double lonmax, float heading, double halflat,
                    double halflon, std::int16_t width, std::int16_t height,
                    const MapScreen& screen, const LetEventsRun& letEventsRun,
                    const CoastRuns* runs) {
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

    // Runs of points far off the canvas on one side are walked without
    // drawing. A point is far when, before the turn, it lies more than
    // farPixels from the canvas centre across or along the map (north, south,
    // east or west of a square about the centre that holds the whole canvas
    // with a margin): every line between two points far on the same side stays
    // in that half-plane, whichever way the map is turned, and paints nothing.
    // While the pen is on such a point, the lines to the next points far on
    // the same side are left out and the pen is put where the last of them
    // ended; the pen, the point kept for a re-entry and the pen rules' state
    // are then as if they had been drawn. Points held at the far pixel limit
    // are always drawn.
    const double canvasWidth = std::max<double>(width, canvas.PixelWidth());
    const double canvasHeight = std::max<double>(height, canvas.PixelHeight());
    // A turn that is not a number paints every point at the origin: nothing
    // is far then.
    const bool turnKnown = std::isfinite(projection.turn.s) && std::isfinite(projection.turn.c);
    const double farPixels =
        turnKnown ? std::hypot(std::max(projection.xc, canvasWidth - projection.xc),
                               std::max(projection.yc, canvasHeight - projection.yc)) +
                        8.0
                  : std::numeric_limits<double>::infinity();
    constexpr double kUnheldPixels = 4194304.0;  // 2^22: far below RoundToPixel's hold
    enum Side { kNear, kNorth, kSouth, kEast, kWest };
    auto sideOf = [&](int k, double lon) {
        const double dy =
            (lats[static_cast<std::size_t>(k)] - projection.centreLat) * projection.turn.sy;
        const double dx = (lon - projection.centreLon) * projection.turn.sx;
        if (!(std::fabs(dx) < kUnheldPixels && std::fabs(dy) < kUnheldPixels))
            return kNear;
        if (dy > farPixels)
            return kNorth;
        if (dy < -farPixels)
            return kSouth;
        if (dx > farPixels)
            return kEast;
        if (dx < -farPixels)
            return kWest;
        return kNear;
    };

    long drawn = 0;
    // Every 200th point drawn inside the box lets events run.
    auto countAdded = [&](long added) {
        const long before = drawn;
        drawn += added;
        for (long n = drawn / 200 - before / 200; n > 0; --n)
            if (letEventsRun)
                letEventsRun();
    };
    // On a canvas that paints nothing only the events are left to do: they
    // run after every 200th point drawn inside the box, and which points those
    // are depends on the box and the point step alone, not on the pixels.
    // The used points are counted down to rather than found by the point's
    // number modulo the step, a division per point.
    auto countBlock = [&](int k) {
        firstOfBlock = true;
        int untilUsed = 0;  // points before the next used one
        while (k < pointEntries &&
               lats[static_cast<std::size_t>(k)] + lons[static_cast<std::size_t>(k)] <
                   navdata::CoastBreak) {
            const double lon = longitude(k);
            if (untilUsed == 0) {
                untilUsed = step;
                if (inside(k, lon))
                    countAdded(1);
            }
            --untilUsed;
            ++k;
        }
    };
    // Counting by runs: in a block without jumps every point's longitude is
    // its drawn longitude plus the block's turn, and a sum that keeps its
    // order under rounding lets a run's box stand for its points. Within a
    // block the used points are those a whole number of steps from its first.
    const bool byRuns = runs != nullptr && runs->BuiltFor(coast);
    auto countRuns = [&](int j, int k) {
        const int firstRun = runs->blockRuns[static_cast<std::size_t>(j)];
        const int endRun = runs->blockRuns[static_cast<std::size_t>(j) + 1];
        for (int r = firstRun; r < endRun; ++r) {
            const CoastRun& run = runs->runs[static_cast<std::size_t>(r)];
            if (run.maxLatitude < latmin || run.minLatitude > latmax ||
                run.maxLongitude + shift < lonmin || run.minLongitude + shift > lonmax)
                continue;
            // The run's first used point: offsets from the block's first
            // point that are a whole number of steps.
            const int offset = run.first - k;
            const int firstUsed = run.first + (step - offset % step) % step;
            const int end = run.first + run.count;
            if (firstUsed >= end)
                continue;
            if (latmin <= run.minLatitude && run.maxLatitude <= latmax &&
                lonmin <= run.minLongitude + shift && run.maxLongitude + shift <= lonmax) {
                countAdded((end - 1 - firstUsed) / step + 1);
                continue;
            }
            for (int i = firstUsed; i < end; i += step) {
                const double lon = CoastPointLongitude(lons[static_cast<std::size_t>(i)]) + shift;
                if (inside(i, lon))
                    countAdded(1);
            }
        }
    };
    int blockNumber = 0;
    auto drawBlock = [&](int k) {
        if (!canvas.PaintsPixels()) {
            if (byRuns && runs->blockRuns[static_cast<std::size_t>(blockNumber)] <
                              runs->blockRuns[static_cast<std::size_t>(blockNumber) + 1])
                countRuns(blockNumber, k);
            else
                countBlock(k);
            return;
        }
        firstOfBlock = true;
        const double firstLon = longitude(k);
        Pixel previous = project(k, firstLon);
        canvas.MoveTo(previous.x, previous.y);
        Side penSide = sideOf(k, firstLon);
        bool wasInside = inside(k, firstLon);
        firstOfBlock = true;
        // The run being left out: the points the pen and the kept point
        // would be on (k < 0: not moved during the run).
        bool skipping = false;
        int penK = -1;
        double penLon = 0;
        int previousK = -1;
        double previousLon = 0;
        auto endRun = [&] {
            if (penK >= 0) {
                const Pixel pen = project(penK, penLon);
                canvas.MoveTo(pen.x, pen.y);
            }
            if (previousK >= 0)
                previous = project(previousK, previousLon);
            skipping = false;
        };
        long n = 0;
        while (k < pointEntries &&
               lats[static_cast<std::size_t>(k)] + lons[static_cast<std::size_t>(k)] <
                   navdata::CoastBreak) {
            // Every point's longitude is followed, used or not, so that a jump
            // across the meridian is seen wherever it falls.
            const double lon = longitude(k);
            if (penSide != kNear) {
                const Side side = sideOf(k, lon);
                if (side == penSide && !inside(k, lon)) {
                    if (!skipping) {
                        skipping = true;
                        penK = previousK = -1;
                    }
                    // The pen rules without drawing: no point is inside.
                    const bool used = n % step == 0;
                    if (!wasInside || used) {
                        previousK = k;
                        previousLon = lon;
                    }
                    if (!wasInside) {
                        penK = k;
                        penLon = lon;
                    }
                    wasInside = !used;
                    ++n;
                    ++k;
                    continue;
                }
            }
            if (skipping)
                endRun();
            bool curInside = true;
            bool projected = false;
            Pixel q;
            if (n % step == 0) {
                q = project(k, lon);
                projected = true;
                if (!inside(k, lon)) {
                    curInside = false;
                } else {
                    if (!wasInside) {
                        canvas.MoveTo(previous.x, previous.y);
                        penSide = kNear;  // the kept point's side is not followed
                    }
                    canvas.LineTo(q.x, q.y);
                    penSide = sideOf(k, lon);
                    countAdded(1);
                }
            }
            if (!wasInside) {
                if (!projected)
                    q = project(k, lon);
                projected = true;
                canvas.LineTo(q.x, q.y);
                penSide = sideOf(k, lon);
            }
            // The previous point is needed again only after an outside point,
            // which is always projected.
            if (projected)
                previous = q;
            wasInside = curInside;
            ++n;
            ++k;
        }
        if (skipping)
            endRun();
    };

    const int blockCount =
        std::min<int>(coast.CoastBlockCount, static_cast<int>(coast.CoastBlocks.size()) - 1);
    int firstBlock = 1;
    if (runs != nullptr && runs->BuiltFor(coast) &&
        runs->northmostSoFar.size() == static_cast<std::size_t>(std::max(blockCount, 0)) + 1) {
        // Every block before the first whose run of northern edges reaches
        // latmin lies wholly south of the box.
        const auto& north = runs->northmostSoFar;
        firstBlock = static_cast<int>(std::lower_bound(north.begin() + 1, north.end(), latmin) -
                                      north.begin());
    }
    for (int j = firstBlock; j <= blockCount; ++j) {
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
            blockNumber = j;
            drawBlock(k);
        }
    }
    canvas.SetForeColor(savedColour);
}

}  // namespace corvane::map
