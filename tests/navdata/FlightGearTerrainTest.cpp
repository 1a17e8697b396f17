// SPDX-License-Identifier: MIT
//
// corvane-navdata --flightgear --with-terrain on a FlightGear the test makes:
// a data folder with its airports and navaids, terrain tiles in its own
// Scenery and in the pilot's TerraSync download folder, and an airport the
// scenery defines again. Only the runways whose ends and middle lie on
// installed tiles are kept, and the report says how many were kept and
// dropped.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "tests/navdata/GzipFile.h"
#include "navdata/AirportDatabase.h"
#include "navdata/AirportDatabaseFile.h"
#include "sim/flightgear/SceneryTiles.h"

namespace corvane::navdata {
namespace {

namespace fs = std::filesystem;
namespace fg = sim::flightgear;
using testing::WriteGzip;

// A land runway row of apt.dat version 1000 (asphalt, 45 m wide).
std::string Runway(const char* a, double latA, double lonA, const char* b, double latB,
                   double lonB) {
    char row[200];
    std::snprintf(row, sizeof row,
                  "100 45.72 1 0 0.25 0 0 0 %s %.5f %.5f 0 0 0 0 0 0 %s %.5f %.5f 0 0 0 0 0 0\n", a,
                  latA, lonA, b, latB, lonB);
    return row;
}

std::string Airport(const char* icao, const char* name) {
    return std::string("1 10 1 0 ") + icao + " " + name + "\n";
}

// Makes the tile holding a point installed below a scenery folder.
void InstallTileAt(const fs::path& scenery, double latDeg, double lonDeg) {
    const fg::SceneryTile tile = fg::TileAt(latDeg, lonDeg);
    const fs::path folder = scenery / "Terrain" / tile.Folder();
    fs::create_directories(folder);
    std::ofstream(folder / (std::to_string(tile.Index()) + ".stg")) << "OBJECT_BASE x.btg\n";
}

struct ConverterRun {
    int status = -1;
    std::string output;
};

ConverterRun Converter(const std::string& arguments) {
    ConverterRun run;
    const std::string command = std::string(CORVANE_TEST_NAVDATA_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The airports of a database by their ICAO code (the remark), with their
// runway ends as "04/22" in the order stored.
std::map<std::string, std::string> RunwaysByAirport(const std::string& path) {
    const AirportDatabase db = LoadAirportDatabase(path);
    std::map<std::string, std::string> found;
    for (int r = 1; r <= db.RunwayCount; ++r) {
        const RunwayRecord& rw = db.Runways[r];
        std::string& ends = found[db.Airports[rw.airportNumber].remark];
        ends += (ends.empty() ? "" : " ") + std::to_string(rw.codeA % 64) + "/" +
                std::to_string(rw.codeB % 64);
    }
    return found;
}

TEST(FlightGearTerrain, OnlyAirportsOnInstalledTerrainAreKeptAndCounted) {
    testing::TempFolder folder;
    const fs::path root = folder.Path("fgdata");
    const fs::path home = folder.Path("home");
    const fs::path download = home / ".fgfs" / "TerraSync";
    fs::create_directories(root / "Airports");
    fs::create_directories(root / "Navaids");
    fs::create_directories(root / "Scenery" / "NavData" / "apt");
    fs::create_directories(download);

    // Tiles near the equator are 1/8 degree square: 21.0 to 21.125 north is
    // one row. Each runway is about 0.01 degree (3,600 ft) long.
    std::string apt = "I\n1000 Version - made by the test\n\n";
    // In the installed Scenery; its second runway runs over a tile not installed.
    apt += Airport("PAAA", "Installed Field") + Runway("04", 21.05, -157.95, "22", 21.06, -157.94) +
           Runway("09", 21.06, -157.80, "27", 21.06, -157.79);
    // In the pilot's TerraSync downloads.
    apt += Airport("PBBB", "Downloaded Field") + Runway("18", 20.06, -156.05, "36", 20.05, -156.05);
    // Across a tile's edge at 21.125 north, only its southern end installed.
    apt += Airport("PCCC", "Edge Field") + Runway("01", 21.12, -157.55, "19", 21.13, -157.55);
    // No terrain at all.
    apt += Airport("PDDD", "Sea Field") + Runway("08", 19.00, -150.00, "26", 19.00, -149.99);
    // Redefined by the scenery with runways 01/19: FlightGear knows only those.
    apt += Airport("PEEE", "Renumbered Field") + Runway("02", 21.02, -157.70, "20", 21.03, -157.70);
    apt += "99\n";
    WriteGzip(folder, "fgdata/Airports/apt.dat.gz", apt);
    WriteGzip(folder, "fgdata/Navaids/nav.dat.gz", "I\n810 Version - made by the test\n99\n");
    folder.Write("fgdata/Scenery/NavData/apt/PEEE.dat",
                 "I\n1000 Version - made by the test\n\n" + Airport("PEEE", "Renumbered Field") +
                     Runway("01", 21.02, -157.70, "19", 21.03, -157.70) + "99\n");

    InstallTileAt(root / "Scenery", 21.05, -157.95);  // PAAA's 04/22
    InstallTileAt(root / "Scenery", 21.02, -157.70);  // PEEE
    InstallTileAt(download, 20.05, -156.05);          // PBBB
    InstallTileAt(root / "Scenery", 21.12, -157.55);  // PCCC's southern end only
    ASSERT_NE(fg::TileAt(21.12, -157.55).Index(), fg::TileAt(21.13, -157.55).Index());
    ASSERT_NE(fg::TileAt(21.06, -157.80).Index(), fg::TileAt(21.05, -157.95).Index());

    setenv("HOME", home.c_str(), 1);
    unsetenv("FG_SCENERY");
    unsetenv("FG_ROOT");
    const std::string out = folder.Path("out");
    const ConverterRun filtered =
        Converter("--flightgear " + root.string() + " --with-terrain --out-dir " + out);
    ASSERT_EQ(filtered.status, 0) << filtered.output;
    const std::map<std::string, std::string> kept = RunwaysByAirport(out + "/airdata.tri");
    const std::map<std::string, std::string> expected = {
        {"PAAA", "4/22"}, {"PBBB", "18/36"}, {"PEEE", "1/19"}};
    EXPECT_EQ(kept, expected) << filtered.output;
    EXPECT_NE(filtered.output.find("airports: 3 kept, 3 dropped"), std::string::npos)
        << filtered.output;
    EXPECT_NE(filtered.output.find("dropped 2: no terrain installed in FlightGear's scenery"),
              std::string::npos)
        << filtered.output;  // the airports PCCC and PDDD
    EXPECT_NE(filtered.output.find("dropped 1: defined in an earlier file"), std::string::npos)
        << filtered.output;
    EXPECT_NE(filtered.output.find("dropped 3: no terrain installed in FlightGear's scenery"),
              std::string::npos)
        << filtered.output;  // the runways of PCCC and PDDD, PAAA's 09/27

    // Without the filter every airport stays, PEEE as the scenery has it.
    const std::string all = folder.Path("all");
    const ConverterRun unfiltered =
        Converter("--flightgear " + root.string() + " --out-dir " + all);
    ASSERT_EQ(unfiltered.status, 0) << unfiltered.output;
    const std::map<std::string, std::string> everything = RunwaysByAirport(all + "/airdata.tri");
    EXPECT_EQ(everything.size(), 5u);
    EXPECT_EQ(everything.at("PAAA"), "4/22 9/27");
    EXPECT_EQ(everything.at("PEEE"), "1/19");

    // No terrain anywhere: an error that names the folders looked at, no file.
    fs::remove_all(root / "Scenery" / "Terrain");
    fs::remove_all(download);
    const std::string none = folder.Path("none");
    const ConverterRun empty =
        Converter("--flightgear " + root.string() + " --with-terrain --out-dir " + none);
    EXPECT_EQ(empty.status, 1) << empty.output;
    EXPECT_NE(empty.output.find("no scenery tile is installed in FlightGear's scenery folders (" +
                                (root / "Scenery").string() + ")"),
              std::string::npos)
        << empty.output;
    EXPECT_FALSE(fs::exists(none + "/airdata.tri"));
}

}  // namespace
}  // namespace corvane::navdata
