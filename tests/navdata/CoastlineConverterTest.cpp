// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "navdata/CoastlineFile.h"
#include "tests/navdata/GzipFile.h"
#include "tools/navdata/CoastlineBuilder.h"
#include "tools/navdata/ConversionError.h"
#include "tools/navdata/TopoJsonReader.h"

namespace corvane::navdata::convert {
namespace {

using corvane::navdata::testing::TempFolder;
using corvane::navdata::testing::WriteGzip;

TEST(QuantizeCoastPoint, UnitsLimitsAndTheBreakMarker) {
    bool nudged = false;
    EXPECT_EQ(QuantizeCoastPoint(45.0, -90.0, nudged), (CoastRawPoint{16384, -16384}));
    EXPECT_FALSE(nudged);
    EXPECT_EQ(QuantizeCoastPoint(90.0, 180.0, nudged), (CoastRawPoint{32767, 32767}));
    EXPECT_EQ(QuantizeCoastPoint(-90.0, -180.0, nudged), (CoastRawPoint{-32768, -32768}));
    // A point that rounds to (0, 0) would read as a break marker: it moves one unit towards
    // its true latitude.
    EXPECT_EQ(QuantizeCoastPoint(0.001, 0.001, nudged), (CoastRawPoint{1, 0}));
    EXPECT_TRUE(nudged);
    EXPECT_EQ(QuantizeCoastPoint(-0.001, 0.002, nudged), (CoastRawPoint{-1, 0}));
    EXPECT_TRUE(nudged);
    EXPECT_EQ(QuantizeCoastPoint(0.0, 0.01, nudged), (CoastRawPoint{0, 2}));
    EXPECT_FALSE(nudged);
}

// A square island, a tiny island and a ring cut by the 180 degree meridian (as polygons that
// cross it are stored), in a quantized topology.
const char* const kTopology = R"({
  "type": "Topology",
  "transform": {"scale": [0.001, 0.001], "translate": [-180, -90]},
  "objects": {"land": {"type": "GeometryCollection", "geometries": [
    {"type": "MultiPolygon", "arcs": [[[0]], [[1]]]},
    {"type": "Polygon", "arcs": [[2]]},
    {"type": "LineString", "arcs": [0]}
  ]}},
  "arcs": [
    [[190000, 100000], [2000, 0], [0, 2000], [-2000, 0], [0, -2000]],
    [[200000, 100000], [1, 0], [0, 1], [-1, 0], [0, -1]],
    [[359000, 110000], [1000, 0], [0, 1000], [-1000, 0], [0, -1000]]
  ]
})";

TEST(TopoJsonReader, ReadsRingsOfPolygons) {
    const std::vector<Ring> rings = ReadTopoJsonRings(kTopology, "land.json");
    ASSERT_EQ(rings.size(), 3u);
    EXPECT_EQ(rings[0].size(), 5u);
    EXPECT_DOUBLE_EQ(rings[0][0].longitude, 10.0);
    EXPECT_DOUBLE_EQ(rings[0][0].latitude, 10.0);
    EXPECT_DOUBLE_EQ(rings[0][2].longitude, 12.0);
    EXPECT_DOUBLE_EQ(rings[0][2].latitude, 12.0);
    EXPECT_DOUBLE_EQ(rings[2][1].longitude, 180.0);
}

TEST(TopoJsonReader, ReversedArcsAndSharedEnds) {
    const std::string topology = R"({"type": "Topology", "objects": {"a": {"type": "Polygon",
        "arcs": [[0, -2]]}}, "arcs": [[[0, 0], [1, 0], [1, 1]], [[0, 0], [0, 1], [1, 1]]]})";
    const std::vector<Ring> rings = ReadTopoJsonRings(topology, "t.json");
    ASSERT_EQ(rings.size(), 1u);
    ASSERT_EQ(rings[0].size(), 5u);  // the shared end of the second arc is not repeated
    EXPECT_DOUBLE_EQ(rings[0][3].longitude, 0.0);
    EXPECT_DOUBLE_EQ(rings[0][3].latitude, 1.0);
    EXPECT_DOUBLE_EQ(rings[0][4].latitude, 0.0);
}

std::string ErrorOf(const std::string& text) {
    try {
        ReadTopoJsonRings(text, "bad.json");
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "";
}

TEST(TopoJsonReader, ClearErrors) {
    EXPECT_NE(ErrorOf("{\n\"type\": \"Topology\",\n oops\n}").find("bad.json:3: not valid JSON"),
              std::string::npos);
    // A number too large for a double (found by the TopoJSON fuzz target).
    EXPECT_NE(ErrorOf(R"({"type": "Topology", "arcs": [[[1e999, 0]]]})").find("not valid JSON"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"type": "FeatureCollection"})").find("not a TopoJSON topology"),
              std::string::npos);
    // A type that is not a string (found by the TopoJSON fuzz target: it escaped as a JSON
    // library exception).
    EXPECT_NE(ErrorOf(R"({"type": {"land": 1}})").find("not a TopoJSON topology"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"type": "Topology", "objects": {"land": {"type": ["Polygon"]}},
        "arcs": [[[0, 0], [1, 1]]]})")
                  .find("objects.land.type: is not a string"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"type": "Topology", "objects": {}})").find("\"arcs\" is missing"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"type": "Topology", "objects": {"land": {"type": "Polygon",
        "arcs": [[7]]}}, "arcs": [[[0, 0], [1, 1]]]})")
                  .find("objects.land.arcs[0][0]: arc 7 does not exist"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"type": "Topology", "objects": {}, "arcs": [[[0, "x"]]]})")
                  .find("arcs[0]: is not a number"),
              std::string::npos);
    EXPECT_NE(
        ErrorOf(R"({"type": "Topology", "objects": {}, "arcs": [[[0, 95]]]})").find("outside"),
        std::string::npos);
}

TEST(CoastlineBuilder, BlocksMarkersAndTheSeam) {
    CoastReport report;
    const CoastFileContents c =
        BuildCoastlines(ReadTopoJsonRings(kTopology, "land.json"), CoastOptions{}, report);
    // The tiny island shrinks below the file's units; the ring on the 180 degree meridian loses
    // its edge along it and becomes an open line of four points.
    EXPECT_EQ(report.droppedTinyRings, 1);
    EXPECT_EQ(report.keptRings, 2);
    EXPECT_EQ(report.artificialCuts, 1);
    ASSERT_EQ(c.blocks.size(), 2u);
    EXPECT_EQ(c.points.size(), 5u + 1 + 4 + 1);
    for (std::size_t j = 0; j < c.blocks.size(); ++j) {
        const CoastRawBlock& b = c.blocks[j];
        if (j > 0) {
            EXPECT_LE(c.blocks[j - 1].minLatitude, b.minLatitude);
        }
        // Every point of the block up to its marker lies in its box.
        std::size_t k = static_cast<std::size_t>(b.firstPoint) - 1;
        int n = 0;
        for (; !c.points[k].IsBreak(); ++k, ++n) {
            EXPECT_GE(c.points[k].latitude, b.minLatitude);
            EXPECT_LE(c.points[k].latitude, b.maxLatitude);
            EXPECT_GE(c.points[k].longitude, b.minLongitude);
            EXPECT_LE(c.points[k].longitude, b.maxLongitude);
        }
        EXPECT_GE(n, 2);
    }
    // No edge of the output runs along the meridian.
    for (std::size_t k = 0; k + 1 < c.points.size(); ++k) {
        EXPECT_FALSE(c.points[k].longitude == 32767 && c.points[k + 1].longitude == 32767);
    }
    // The square island keeps its four corners and its closing point.
    const CoastlineData data = ToCoastlineData(c);
    EXPECT_EQ(data.CoastPointCount, 11);
}

TEST(CoastlineBuilder, BudgetsAreKeptAndTheLargestRingsWin) {
    // Forty square islands along one parallel, growing eastwards, each a ring of 41 points.
    std::vector<Ring> rings;
    for (int i = 0; i < 40; ++i) {
        const double size = 0.5 + 0.05 * i;
        const double lat = 10.0;
        const double lon = -170.0 + 8.0 * i;
        Ring ring;
        for (int side = 0; side < 4; ++side) {
            for (int s = 0; s < 10; ++s) {
                const double t = s / 10.0 * size;
                const double wobble = (s % 2 == 0 ? 0.0 : 0.02);  // not straight: DP keeps them
                const GeoPoint p = side == 0   ? GeoPoint{lat - wobble, lon + t}
                                   : side == 1 ? GeoPoint{lat + t, lon + size + wobble}
                                   : side == 2 ? GeoPoint{lat + size + wobble, lon + size - t}
                                               : GeoPoint{lat + size - t, lon - wobble};
                ring.push_back(p);
            }
        }
        ring.push_back(ring.front());
        rings.push_back(ring);
    }
    CoastOptions options;
    options.pointBudget = 400;
    options.blockBudget = 12;
    options.maxBlockPoints = 16;
    CoastReport report;
    const CoastFileContents c = BuildCoastlines(rings, options, report);
    EXPECT_LE(static_cast<int>(c.points.size()), options.pointBudget);
    EXPECT_LE(static_cast<int>(c.blocks.size()), options.blockBudget);
    EXPECT_GT(report.keptRings, 0);
    EXPECT_EQ(report.keptRings + report.droppedBudgetRings + report.droppedTinyRings, 40);
    // The kept islands are the largest: the last rings of the list, furthest east.
    const double westernmostKept = -170.0 + 8.0 * (40 - report.keptRings);
    for (const CoastRawBlock& b : c.blocks) {
        EXPECT_GE(b.minLongitude / CoastLongitudeScale, westernmostKept - 0.1);
        EXPECT_LE(b.maxLatitude - b.minLatitude, static_cast<int>(2.5 * CoastLatitudeScale));
    }
    // Deterministic: the same input gives the same file.
    CoastReport again;
    EXPECT_EQ(BuildCoastlines(rings, options, again), c);
    // And the loader accepts it.
    EXPECT_NO_THROW(ReadCoastlines(WriteCoastFile(c, "c.int"), "c.int"));
}

TEST(CoastlineBuilder, ReadsGzipFiles) {
    TempFolder folder;
    const std::string path = WriteGzip(folder, "land.json.gz", kTopology);
    EXPECT_EQ(ReadTopoJsonFile(path).size(), 3u);
}

}  // namespace
}  // namespace corvane::navdata::convert
