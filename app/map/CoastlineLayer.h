// SPDX-License-Identifier: MIT
//
// The coastline layer of the moving map: the coastline polylines in view,
// drawn with move-to and line-to onto the frame's work canvas.
#pragma once

#include <cstdint>
#include <vector>

#include "app/map/MapView.h"
#include "navdata/CoastlineData.h"
#include "ports/Canvas.h"

namespace corvane::map {

// The coastline pen: RGB(0, 255, 255), one pixel wide.
inline constexpr forms::Rgb kCoastlineColour{0, 255, 255};

// The point step: 5 when the view has fewer than 50 pixels per degree of
// longitude (width / (lonmax - lonmin)), else 1. On wide views only every
// fifth point of a block is used.
int CoastPointStep(double lonmin, double lonmax, std::int16_t width);

// The longitude at which a coastline point is drawn. The file cannot hold
// 180 E: the converter holds a point on the meridian at the highest longitude
// unit (32767 of 65536 to the turn), a hair west of it. Such a point is drawn
// on the meridian, where the line on its other side (stored at 180 W) goes on.
// Every other longitude is drawn as stored.
double CoastPointLongitude(double lon);

// The coastlines cut into short runs of points with their boxes, for a canvas
// that paints nothing: there only the points inside the view are counted (the
// events run after every 200th), and a run wholly inside or outside the view
// is counted by its box. Only blocks whose points never jump by half a turn
// (a line across the meridian without a cut) are cut; the others are walked.
struct CoastRun {
    std::int32_t first = 0;  // entry of the run's first point
    std::int32_t count = 0;
    double minLatitude = 0.0;
    double maxLatitude = 0.0;
    double minLongitude = 0.0;  // as drawn (CoastPointLongitude)
    double maxLongitude = 0.0;
};
struct CoastRuns {
    const navdata::CoastlineData* builtFrom = nullptr;
    std::int32_t pointCount = -1;
    std::int16_t blockCount = -1;
    // Runs blockRuns[j] to blockRuns[j + 1] - 1 belong to block j; none to
    // a block that is walked.
    std::vector<std::int32_t> blockRuns;
    std::vector<CoastRun> runs;
    // Entry j: the northernmost edge of blocks 1 to j (an edge that is not a
    // number read as the pole), so that a frame starts at the first block
    // that can reach its box instead of passing every block south of it.
    std::vector<double> northmostSoFar;

    bool BuiltFor(const navdata::CoastlineData& coast) const {
        return builtFrom == &coast && pointCount == coast.CoastPointCount &&
               blockCount == coast.CoastBlockCount;
    }
};
void BuildCoastRuns(const navdata::CoastlineData& coast, CoastRuns& out);

// Draws the coastlines inside the box latmin..latmax, lonmin..lonmax onto the
// canvas in kCoastlineColour (the canvas's fore colour is put back after).
// The box's middle is projected to the canvas centre (width / 2, height / 2,
// each rounded half to even); heading is the true heading rounded to single
// precision.
//
// Blocks are culled by their boxes; the walk stops at the first block whose
// southern edge lies north of the box (blocks are stored by increasing
// southern edge). Along a block, with the pen rules of the map:
// - a used point inside the box is drawn to from the pen; when the point
//   before it was outside, the pen first moves back to that outside point;
// - after an outside point every next point is drawn to as well, so a
//   re-entry starts at the last point outside;
// - points skipped by the step count as inside for the next point.
// Every 200th inside line lets events run. Lines between points far off the
// canvas on one side (beyond its corners north, south, east or west of its
// centre, before the turn) paint nothing and are left out; the pen is put
// where the last of them would have ended, so the frame is the same.
//
// Where the box reaches past the 180 degree meridian, the blocks beyond it are
// tested and drawn the same way with their longitudes moved by a whole turn
// onto the box's side. A point stored at the file's highest longitude unit
// (where the converter holds the meridian) is drawn on the meridian, so a
// coast cut there meets its other half, stored at 180 W, unbroken.
void DrawCoastlines(forms::Canvas& canvas, const navdata::CoastlineData& coast, double latmin,
                    double lonmin, double latmax, double lonmax, float heading, double halflat,
                    double halflon, std::int16_t width, std::int16_t height,
                    const MapScreen& screen, const LetEventsRun& letEventsRun,
                    const CoastRuns* runs = nullptr);

}  // namespace corvane::map
