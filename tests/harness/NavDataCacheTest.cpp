// SPDX-License-Identifier: MIT
//
// The harness's cache of the program's data files: every reading gives what
// reading the file afresh gives, however the file was replaced or rewritten
// between two flights.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"
#include "navdata/DataFile.h"
#include "navdata/LonIndexWalk.h"
#include "navdata/NavDataError.h"
#include "tools/harness/NavDataCache.h"

namespace corvane::harness {
namespace {

navdata::AirportDatabase OneAirport(double latitude, const std::string& name) {
    navdata::AirportDatabase db;
    db.AirportCount = 1;
    db.Airports.resize(3);
    db.Airports[1].name = name;
    db.Airports[1].latitude = latitude;
    db.Airports[1].longitude = 10.0;
    db.AirportLonIndex = navdata::BuildLonIndex(std::vector<double>{10.0});
    return db;
}

// Writes the bytes into the file as it is (same inode), as an editor might.
void Rewrite(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
}

TEST(NavDataCache, EveryReadingIsWhatTheFileHoldsNow) {
    const std::string folder = ::testing::TempDir() + "navdata-cache-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/airdata.tri";
    NavDataCache cache;
    auto expectFresh = [&](const char* step) {
        const navdata::AirportDatabase fresh = navdata::LoadAirportDatabase(path);
        EXPECT_EQ(cache.AirportDatabase(path), fresh) << step;
        EXPECT_EQ(cache.AirportDatabase(path), fresh) << step << ", read again";
    };

    EXPECT_THROW(cache.AirportDatabase(path), navdata::NavDataError) << "no file yet";
    navdata::SaveAirportDatabase(OneAirport(51.0, "First (EGAA)"), path);
    expectFresh("first file");
    navdata::AirportDatabase copy = cache.AirportDatabase(path);
    copy.Airports[1].name = "changed by its reader";
    expectFresh("a reader changes its own copy only");

    navdata::SaveAirportDatabase(OneAirport(52.0, "Second (EGBB)"), path);  // renamed over it
    expectFresh("file replaced");

    // The same size in place: only the latitude's bytes differ.
    Rewrite(path, navdata::WriteAirportDatabase(OneAirport(53.0, "Second (EGBB)"), path));
    expectFresh("file rewritten in place");

    std::filesystem::remove(path);
    EXPECT_THROW(cache.AirportDatabase(path), navdata::NavDataError) << "file removed";
    Rewrite(path, {1, 2, 3});
    EXPECT_THROW(cache.AirportDatabase(path), navdata::NavDataError) << "file cut short";
    navdata::SaveAirportDatabase(OneAirport(54.0, "Third (EGCC)"), path);
    expectFresh("file made again");

    // The coastlines the same way.
    const std::string coastPath = folder + "/COAST2.int";
    navdata::CoastFileContents coast;
    coast.points = {{100, 200}, {110, 210}, {0, 0}};
    coast.blocks = {{1, 100, 110, 200, 210}};
    navdata::SaveCoastFile(coast, coastPath);
    EXPECT_EQ(cache.Coastlines(coastPath).CoastLatitude,
              navdata::LoadCoastlines(coastPath).CoastLatitude);
    coast.points[0].latitude = 105;
    Rewrite(coastPath, navdata::WriteCoastFile(coast, coastPath));
    EXPECT_EQ(cache.Coastlines(coastPath).CoastLatitude,
              navdata::LoadCoastlines(coastPath).CoastLatitude);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace corvane::harness
