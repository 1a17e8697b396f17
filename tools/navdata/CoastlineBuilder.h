// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "navdata/CoastlineData.h"
#include "tools/navdata/ConversionReport.h"
#include "tools/navdata/TopoJsonReader.h"

namespace corvane::navdata::convert {

struct CoastOptions {
    int pointBudget = CoastPointLimit;  ///< points written, break markers included
    int blockBudget = CoastBlockLimit;
    int maxBlockPoints = 256;            ///< points of one block, its break marker not counted
    double firstToleranceMetres = 50.0;  ///< the ladder of tolerances: first step,
    double toleranceFactor = 1.05;       ///< each next step this much larger,
    int toleranceSteps = 160;            ///< this many steps
};

/// Builds the coastline file from land rings by the documented rule
/// (docs/navdata-formats.md): edges along the 180 degree meridian or south of 85 S are left
/// out; each ring is simplified (Douglas-Peucker) with one tolerance; points are quantized to
/// the file's units; rings are kept from the largest area down while the points and blocks
/// fit; the tolerance is the smallest of the ladder at which the points left suffice for every
/// block the budget allows. Lines are cut into blocks of at most maxBlockPoints points, stored
/// in order of increasing southern edge, each ended by a break marker. Deterministic.
CoastFileContents BuildCoastlines(const std::vector<Ring>& rings, const CoastOptions& options,
                                  CoastReport& report);

/// Quantizes a position to the file's units without overflowing (latitude 90 and longitude
/// 180 are held to 32767) and without landing on the break marker (0, 0), which is moved one
/// latitude unit north or south, towards the true position. nudged tells whether it was moved.
CoastRawPoint QuantizeCoastPoint(double latitude, double longitude, bool& nudged);

}  // namespace corvane::navdata::convert
