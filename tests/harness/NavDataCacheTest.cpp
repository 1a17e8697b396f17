// SPDX-License-Identifier: MIT
//
// The harness's cache of the program's data files: every reading gives what
// reading the file afresh gives, however the file was replaced or rewritten
// between two flights; readings of an unchanged file share one copy, and a
// copy handed out stays as it was read when the file changes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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
        const std::shared_ptr<const navdata::AirportDatabase> first = cache.AirportDatabase(path);
        if (!first) {
            ADD_FAILURE() << step << ": no data";
            return first;
        }
        EXPECT_EQ(*first, fresh) << step;
        const std::shared_ptr<const navdata::AirportDatabase> again = cache.AirportDatabase(path);
        EXPECT_EQ(again.get(), first.get()) << step << ", read again: the same copy";
        // The search's index is the one of the database read now.
        const auto index = cache.SearchIndexOf(*first);
        if (!index) {
            ADD_FAILURE() << step << ": no search index";
            return first;
        }
        EXPECT_EQ(index->Find(*first, fresh.Airports[1].name).airports, std::vector<std::int32_t>{1})
            << step;
        EXPECT_EQ(cache.SearchIndexOf(*first).get(), index.get()) << step << ": the same index";
        return first;
    };

    EXPECT_THROW(cache.AirportDatabase(path), navdata::NavDataError) << "no file yet";
    navdata::SaveAirportDatabase(OneAirport(51.0, "First (EGAA)"), path);
    const auto first = expectFresh("first file");

    navdata::SaveAirportDatabase(OneAirport(52.0, "Second (EGBB)"), path);  // renamed over it
    expectFresh("file replaced");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Airports[1].name, "First (EGAA)") << "a flight's copy stays as it was read";
    EXPECT_EQ(first->Airports[1].latitude, 51.0);
    EXPECT_EQ(cache.SearchIndexOf(*first), nullptr) << "no index for a database read before";

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
    const std::shared_ptr<const navdata::CoastlineData> firstCoast = cache.Coastlines(coastPath);
    EXPECT_EQ(firstCoast->CoastLatitude, navdata::LoadCoastlines(coastPath).CoastLatitude);
    EXPECT_EQ(cache.Coastlines(coastPath).get(), firstCoast.get()) << "read again: the same copy";
    coast.points[0].latitude = 105;
    Rewrite(coastPath, navdata::WriteCoastFile(coast, coastPath));
    EXPECT_EQ(cache.Coastlines(coastPath)->CoastLatitude,
              navdata::LoadCoastlines(coastPath).CoastLatitude);
    EXPECT_NE(firstCoast->CoastLatitude, cache.Coastlines(coastPath)->CoastLatitude)
        << "a flight's copy stays as it was read";
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace corvane::harness
