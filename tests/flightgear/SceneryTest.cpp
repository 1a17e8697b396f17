// SPDX-License-Identifier: MIT
//
// FlightGear's scenery tiles: the tile of a point, its index and folder, the
// tiles a scenery folder holds, and which folders FlightGear reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "sim/flightgear/SceneryTiles.h"
#include "sim/flightgear/process/SceneryScan.h"

namespace corvane::sim::flightgear {
namespace {

struct TileCase {
    const char* name;
    double latDeg;
    double lonDeg;
    std::int64_t index;
    const char* folder;
    int x;
    int y;
    double widthDeg;
};

TEST(FlightGearSceneryTiles, PointsFallInFlightGearsTiles) {
    // The first two as FlightGear's own tile arithmetic numbers them; the
    // next three are tiles of Debian's flightgear-data-base
    // (Scenery/Terrain/<folder>/<index>.stg).
    const TileCase cases[] = {
        {"east north", 55.05, 5.1, 3040320, "e000n50/e005n55", 0, 0, 0.25},
        {"west south, fourth column", -43.8, -10.1, -1, "w020s50/w011s44", 3, 1, 0.25},
        {"Keflavik 11 threshold", 63.98504094, -22.65499831, 2582136, "w030n60/w023n63", 0, 7, 0.5},
        {"Honolulu 08L threshold", 21.3187, -157.9225, 367568, "w160n20/w158n21", 0, 2, 0.125},
        {"10 nm out on Keflavik 11's final", 63.985, -23.035, -1, "w030n60/w024n63", 1, 7, 0.5},
        {"band edge 22 N is a quarter degree wide", 22.0, 0.3, -1, "e000n20/e000n22", 1, 0, 0.25},
        {"just south of it an eighth", 21.999, 0.3, -1, "e000n20/e000n21", 2, 7, 0.125},
        {"band edge 22 S stays an eighth, in the folder of 30 S", -22.0, 0.3, -1, "e000s30/e000s22",
         2, 0, 0.125},
        {"polar tiles start on a multiple of their width", 89.5, -5.0, -1, "w020n80/w012n89", 0, 4,
         12.0},
        {"the pole itself is the top row", 90.0, 10.0, -1, "e000n80/e000n89", 0, 7, 12.0},
        {"180 E is 180 W", 10.0, 180.0, -1, "w180n10/w180n10", 0, 0, 0.125},
    };
    for (const TileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SceneryTile t = TileAt(c.latDeg, c.lonDeg);
        EXPECT_EQ(t.Folder(), c.folder);
        EXPECT_EQ(t.x, c.x);
        EXPECT_EQ(t.y, c.y);
        EXPECT_DOUBLE_EQ(t.widthDeg, c.widthDeg);
        if (c.index >= 0) {
            EXPECT_EQ(t.Index(), c.index);
        }
    }
}

TEST(FlightGearSceneryTiles, EveryPointLiesInItsTileAndTheIndexNamesIt) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> lat(-90.0, 90.0);
    std::uniform_real_distribution<double> lon(-180.0, 180.0);
    for (int i = 0; i < 20000; ++i) {
        const double la = lat(random);
        const double lo = lon(random);
        const SceneryTile t = TileAt(la, lo);
        ASSERT_GE(lo, t.WestDeg() - 1e-9) << la << " " << lo;
        ASSERT_LT(lo, t.WestDeg() + t.widthDeg + 1e-9) << la << " " << lo;
        ASSERT_GE(la, t.SouthDeg() - 1e-9) << la << " " << lo;
        ASSERT_LT(la, t.SouthDeg() + 0.125) << la << " " << lo;
        const std::optional<SceneryTile> back = TileFromIndex(t.Index());
        ASSERT_TRUE(back) << t.Index();
        ASSERT_EQ(back->Folder(), t.Folder());
        ASSERT_EQ(back->x, t.x);
        ASSERT_EQ(back->y, t.y);
    }
    // Indices no point has: a column past the tile's width, out of range.
    EXPECT_FALSE(TileFromIndex(2582136 + 2));  // column 2 where tiles are half a degree
    EXPECT_FALSE(TileFromIndex(-1));
    EXPECT_FALSE(TileFromIndex(std::int64_t(360) << 14));
}

TEST(FlightGearSceneryTiles, OnlyATilesOwnFileInItsOwnFolderCounts) {
    InstalledTerrain t;
    EXPECT_TRUE(t.AddFile("w030n60/w023n63", "2582136.stg"));
    EXPECT_TRUE(t.AddFile("w030n60/w023n63/", "2582137.stg"));
    EXPECT_FALSE(t.AddFile("w030n60/w023n63", "2582138.stg"));  // no such column there
    EXPECT_FALSE(t.AddFile("w030n60/w023n63", "BIKF.stg"));     // an airport's own file
    EXPECT_FALSE(t.AddFile("w030n60/w023n63", "2582128.btg.gz"));
    EXPECT_FALSE(t.AddFile("w030n60/w024n63", "2582128.stg"));  // in another tile's folder
    EXPECT_FALSE(t.AddFile("w030n60/w023n63", "25821x6.stg"));
    EXPECT_EQ(t.TileCount(), 2u);
    EXPECT_TRUE(t.HasAt(63.98504094, -22.65499831));
    EXPECT_TRUE(t.HasAt(63.99, -22.2));  // the second column
    EXPECT_FALSE(t.HasAt(63.985, -23.035));
}

TEST(FlightGearSceneryTiles, FoldersInFlightGearsOrderEachOnce) {
    SceneryFolderSources s;
    s.given = {"/data/a/", "/data/b"};
    s.environment = "/data/b::/data/c";
    s.terraSync = "/home/u/.fgfs/TerraSync";
    s.fgRoot = "/usr/share/games/flightgear/";
    EXPECT_EQ(SceneryFolders(s),
              (std::vector<std::string>{"/data/a", "/data/b", "/data/c", "/home/u/.fgfs/TerraSync",
                                        "/usr/share/games/flightgear/Scenery"}));
    EXPECT_TRUE(SceneryFolders(SceneryFolderSources{}).empty());
}

TEST(FlightGearSceneryScan, FindsTheTilesOfBothFolderLayouts) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("corvane-scenery-" + std::to_string(::getpid()));
    fs::remove_all(root);
    auto touch = [](const fs::path& p) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "OBJECT_BASE x.btg\n";
    };
    // A scenery folder with Terrain/ and one laid out flat, as older ones are.
    touch(root / "new/Terrain/w030n60/w023n63/2582136.stg");
    touch(root / "new/Terrain/w030n60/w023n63/2582136.btg.gz");
    touch(root / "new/Terrain/w030n60/w023n63/BIKF.btg.gz");
    touch(root / "new/Objects/w160n20/w158n21/367568.stg");  // objects are not terrain
    touch(root / "old/w160n20/w158n21/367568.stg");
    touch(root / "old/w160n20/notes/367569.stg");
    const InstalledTerrain t = ScanInstalledTerrain(
        {(root / "new").string(), (root / "old").string(), (root / "missing").string()});
    EXPECT_EQ(t.TileCount(), 2u);
    EXPECT_TRUE(t.HasAt(63.98504094, -22.65499831));
    EXPECT_TRUE(t.HasAt(21.3187, -157.9225));
    EXPECT_EQ(t.folders.size(), 3u);
    fs::remove_all(root);
}

}  // namespace
}  // namespace corvane::sim::flightgear
