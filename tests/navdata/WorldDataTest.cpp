// SPDX-License-Identifier: MIT
// Checks the airdata.tri and COAST2.int that the build makes from data/.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"
#include "navdata/LonIndexWalk.h"

namespace corvane::navdata {
namespace {

const std::string kAppDir = CORVANE_TEST_APP_DIR;

class WorldData : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        db_ = new AirportDatabase(LoadAirportDatabase(kAppDir + "/airdata.tri"));
        coast_ = new CoastlineData(LoadCoastlines(kAppDir + "/COAST2.int"));
    }
    static void TearDownTestSuite() {
        delete db_;
        delete coast_;
    }
    static AirportDatabase* db_;
    static CoastlineData* coast_;
};
AirportDatabase* WorldData::db_ = nullptr;
CoastlineData* WorldData::coast_ = nullptr;

TEST_F(WorldData, CountsAndNames) {
    const AirportDatabase& db = *db_;
    EXPECT_GE(db.AirportCount, 25000);
    EXPECT_GE(db.RunwayCount, 30000);
    EXPECT_GE(db.IlsCount, 3000);
    EXPECT_GE(db.VorCount, 3000);
    EXPECT_GE(db.NdbCount, 6000);
    std::set<std::string> names;
    for (int i = 1; i <= db.AirportCount; ++i) {
        const std::string& name = db.Airports[i].name;
        ASSERT_EQ(name.find('{'), std::string::npos) << name;
        ASSERT_FALSE(name.empty());
        ASSERT_NE(name.front(), ' ') << name;
        ASSERT_NE(name.back(), ' ') << name;
        ASSERT_TRUE(names.insert(name).second) << "duplicate " << name;
    }
}

TEST_F(WorldData, EveryAirportHasARunwayAndReferencesHold) {
    const AirportDatabase& db = *db_;
    std::vector<int> runwaysOf(db.AirportCount + 2, 0);
    for (int r = 1; r <= db.RunwayCount; ++r) {
        const RunwayRecord& runway = db.Runways[r];
        ASSERT_GE(runway.airportNumber, 1);
        ++runwaysOf[runway.airportNumber];
        ASSERT_GE(runway.lengthFeet, 1500);
        ASSERT_LE(runway.surface, 4);
        ASSERT_NE(runway.codeA, runway.codeB);
    }
    for (int i = 1; i <= db.AirportCount; ++i) {
        ASSERT_GT(runwaysOf[i], 0) << db.Airports[i].name;
    }
}

TEST_F(WorldData, Heathrow) {
    const AirportDatabase& db = *db_;
    int egll = 0;
    for (int i = 1; i <= db.AirportCount; ++i) {
        if (db.Airports[i].remark == "EGLL") {
            egll = i;
        }
    }
    ASSERT_NE(egll, 0);
    EXPECT_NE(db.Airports[egll].name.find("Heathrow"), std::string::npos);
    EXPECT_NE(db.Airports[egll].name.find("(EGLL)"), std::string::npos);
    EXPECT_NEAR(db.Airports[egll].latitude, 51.47, 0.02);
    EXPECT_NEAR(db.Airports[egll].longitude, -0.46, 0.03);
    bool found09L = false;
    for (int r = 1; r <= db.RunwayCount; ++r) {
        const RunwayRecord& runway = db.Runways[r];
        if (runway.airportNumber == egll && runway.codeA == 9 + 64) {
            found09L = true;
            EXPECT_EQ(runway.codeB, 27 + 128);
            EXPECT_NE(runway.ilsA, 0);
            EXPECT_NE(runway.ilsB, 0);
        }
    }
    EXPECT_TRUE(found09L);
}

TEST_F(WorldData, LongitudeIndexWalkVisitsEveryRecordInView) {
    const AirportDatabase& db = *db_;
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> centre(-181.0, 181.0);
    std::uniform_real_distribution<double> half(0.05, 6.0);
    auto check = [&](const auto& records, int count, const LonIndex& index) {
        for (int view = 0; view < 200; ++view) {
            const double c = centre(random), h = half(random);
            const RecordRange range = LonIndexWalk(index, count, c - h, c + h);
            const int first = LongitudeBand(c - h), last = LongitudeBand(c + h);
            for (int i = 1; i <= count; ++i) {
                const int band = LongitudeBand(records[i].longitude);
                if (band >= first && band <= last) {
                    ASSERT_TRUE(i >= range.first && i <= range.last) << i;
                }
            }
        }
        for (int k = 0; k < LonIndexSize; ++k) {
            ASSERT_LE(index[k], count);
        }
    };
    check(db.Airports, db.AirportCount, db.AirportLonIndex);
    check(db.Vors, db.VorCount, db.VorLonIndex);
    check(db.Ndbs, db.NdbCount, db.NdbLonIndex);
}

TEST_F(WorldData, Coastlines) {
    const CoastlineData& c = *coast_;
    EXPECT_GE(c.CoastPointCount, 60000);
    EXPECT_LE(c.CoastPointCount, CoastPointLimit);
    EXPECT_GT(c.CoastBlockCount, 500);
    for (int j = 1; j <= c.CoastBlockCount; ++j) {
        const CoastBlock& b = c.CoastBlocks[j];
        if (j > 1) {
            ASSERT_LE(c.CoastBlocks[j - 1].minLatitude, b.minLatitude);
        }
        int k = b.firstPoint;
        int n = 0;
        for (; c.CoastLatitude[k] + c.CoastLongitude[k] < 500.0f; ++k, ++n) {
            ASSERT_GE(c.CoastLatitude[k], b.minLatitude - 1e-4);
            ASSERT_LE(c.CoastLatitude[k], b.maxLatitude + 1e-4);
            ASSERT_GE(c.CoastLongitude[k], b.minLongitude - 1e-4);
            ASSERT_LE(c.CoastLongitude[k], b.maxLongitude + 1e-4);
        }
        ASSERT_GE(n, 2) << "block " << j;
    }
}

}  // namespace
}  // namespace corvane::navdata
