// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <vector>

#include "navdata/LonIndexWalk.h"

namespace corvane::navdata {
namespace {

// The map's walk: band range widened by one on each side and held to 0..1800, then every
// record number from index[first] to index[last]. Checks that every record whose band lies in
// the view is visited and that no number exceeds the count.
void CheckView(const std::vector<double>& longitudes, const LonIndex& index, double lonmin,
               double lonmax) {
    const int count = static_cast<int>(longitudes.size());
    const int first = std::clamp(LongitudeBand(lonmin) - 1, 0, 1800);
    const int last = std::clamp(LongitudeBand(lonmax) + 1, 0, 1800);
    const int from = index[first];
    const int to = index[last];
    ASSERT_LE(to, count) << lonmin << " " << lonmax;
    ASSERT_GE(from, count == 0 ? 0 : 1);
    const int viewFirst = LongitudeBand(lonmin);
    const int viewLast = LongitudeBand(lonmax);
    for (int i = 1; i <= count; ++i) {
        const int band = LongitudeBand(longitudes[i - 1]);
        if (band >= viewFirst && band <= viewLast) {
            ASSERT_TRUE(i >= from && i <= to)
                << "record " << i << " at " << longitudes[i - 1] << " not visited for view "
                << lonmin << " to " << lonmax << " (walk " << from << " to " << to << ")";
        }
    }
    const RecordRange range = LonIndexWalk(index, count, lonmin, lonmax);
    if (count == 0) {
        EXPECT_TRUE(range.empty());
    } else {
        EXPECT_EQ(range.first, std::max(from, 1));
        EXPECT_EQ(range.last, to);
    }
}

std::vector<double> RandomLongitudes(std::mt19937_64& random, int count, bool clustered) {
    std::uniform_real_distribution<double> anywhere(-180.0, 180.0);
    std::uniform_real_distribution<double> cluster(-0.5, 0.5);
    std::vector<double> longitudes;
    const double centre = anywhere(random);
    for (int i = 0; i < count; ++i) {
        double lon = clustered ? centre + cluster(random) : anywhere(random);
        lon = std::clamp(lon, -180.0, std::nextafter(180.0, 0.0));
        longitudes.push_back(lon);
    }
    std::sort(longitudes.begin(), longitudes.end());
    return longitudes;
}

TEST(LonIndexWalk, EveryRecordOfTheViewIsVisitedForRandomViews) {
    std::mt19937_64 random(11);
    // Views are centred on the aircraft, so within +-180; they may reach beyond it.
    std::uniform_real_distribution<double> centre(-180.0, 180.0);
    std::uniform_real_distribution<double> half(0.001, 8.0);
    for (int trial = 0; trial < 60; ++trial) {
        const int count = trial % 10 == 0 ? 0 : static_cast<int>(random() % 3000) + 1;
        const std::vector<double> longitudes = RandomLongitudes(random, count, trial % 3 == 0);
        const LonIndex index = BuildLonIndex(longitudes);
        for (int view = 0; view < 300; ++view) {
            const double c = centre(random), h = half(random);
            CheckView(longitudes, index, c - h, c + h);
        }
        // The edges of the world, and views wholly in empty bands.
        CheckView(longitudes, index, -180.0, -179.9);
        CheckView(longitudes, index, 179.9, 180.0);
        CheckView(longitudes, index, -200.0, -179.0);
        CheckView(longitudes, index, 179.0, 200.0);
        CheckView(longitudes, index, 179.99999999999997, 180.0);
        CheckView(longitudes, index, -180.0, 180.0);
    }
}

TEST(LonIndexWalk, AcrossTheMeridianEveryRecordOfTheViewIsVisitedOnce) {
    std::mt19937_64 random(18);
    std::uniform_real_distribution<double> nearMeridian(-2.0, 2.0);
    std::uniform_real_distribution<double> half(0.001, 180.0);
    std::uniform_real_distribution<double> small(0.001, 5.0);
    for (int trial = 0; trial < 40; ++trial) {
        const int count = trial % 10 == 0 ? 0 : static_cast<int>(random() % 3000) + 1;
        const std::vector<double> longitudes = RandomLongitudes(random, count, false);
        const LonIndex index = BuildLonIndex(longitudes);
        for (int view = 0; view < 200; ++view) {
            // Views centred within a few degrees of the meridian, narrow and up to the
            // whole-world box of the poles.
            double c = 180.0 + nearMeridian(random);
            if (c > 180.0)
                c -= 360.0;
            const double h = view % 4 == 0 ? half(random) : small(random);
            const double lonmin = c - h, lonmax = c + h;
            const MeridianWalk walk = LonIndexWalkAcrossMeridian(index, count, lonmin, lonmax);
            std::vector<int> visits(static_cast<std::size_t>(count) + 1, 0);
            for (int part = 0; part < walk.count; ++part) {
                const RecordRange& r = walk.ranges[part];
                ASSERT_FALSE(r.empty());
                ASSERT_GE(r.first, 1);
                ASSERT_LE(r.last, count);
                for (int a = r.first; a <= r.last; ++a)
                    ++visits[static_cast<std::size_t>(a)];
            }
            for (int i = 1; i <= count; ++i) {
                ASSERT_LE(visits[static_cast<std::size_t>(i)], 1)
                    << "record " << i << " visited twice for view " << lonmin << " to " << lonmax;
                // In view seen from the centre, whichever side of the meridian it lies on.
                const double lon = longitudes[static_cast<std::size_t>(i - 1)];
                bool inView = false;
                for (double turn : {-360.0, 0.0, 360.0})
                    inView = inView || (lon + turn >= lonmin && lon + turn <= lonmax);
                if (inView) {
                    ASSERT_EQ(visits[static_cast<std::size_t>(i)], 1)
                        << "record " << i << " at " << lon << " not visited for view " << lonmin
                        << " to " << lonmax;
                }
            }
            // A view within the meridians walks exactly as LonIndexWalk does.
            if (lonmin >= -180.0 && lonmax <= 180.0 && count > 0) {
                ASSERT_EQ(walk.count, 1);
                const RecordRange plain = LonIndexWalk(index, count, lonmin, lonmax);
                EXPECT_EQ(walk.ranges[0].first, plain.first);
                EXPECT_EQ(walk.ranges[0].last, plain.last);
            }
        }
    }
}

TEST(LonIndexWalk, RecordsOnBandEdgesAndAtTheWorldsEdges) {
    const std::vector<double> longitudes = {-180.0, -180.0, -179.79, -0.2,     0.0,
                                            0.0,    0.2,    179.8,   179.99999};
    const LonIndex index = BuildLonIndex(longitudes);
    EXPECT_EQ(index[0], 1);
    EXPECT_EQ(index[1], 3);    // first record of band 1 (-179.79)
    EXPECT_EQ(index[899], 4);  // -0.2 is band 899
    EXPECT_EQ(index[900], 5);
    EXPECT_EQ(index[1799], 8);
    EXPECT_EQ(index[1800], 9);  // no record that far east: the count
    for (double lon = -180.0; lon <= 180.0; lon += 0.1) {
        CheckView(longitudes, index, lon - 0.05, lon + 0.05);
        CheckView(longitudes, index, lon, lon);
    }
}

TEST(LonIndexWalk, EmptyListHasZeroEntries) {
    const LonIndex index = BuildLonIndex({});
    EXPECT_TRUE(std::all_of(index.begin(), index.end(), [](std::int16_t e) { return e == 0; }));
    EXPECT_TRUE(LonIndexWalk(index, 0, -10.0, 10.0).empty());
}

TEST(LonIndexWalk, BuildRefusesUnsortedOrOutOfRangeLongitudes) {
    EXPECT_THROW(BuildLonIndex(std::vector<double>{1.0, 0.5, 2.0}), std::invalid_argument);
    EXPECT_THROW(BuildLonIndex(std::vector<double>{180.0}), std::invalid_argument);
    EXPECT_THROW(BuildLonIndex(std::vector<double>{-180.5}), std::invalid_argument);
    // Unsorted within one band is fine: the walk visits whole bands.
    EXPECT_NO_THROW(BuildLonIndex(std::vector<double>{0.15, 0.05}));
}

TEST(LongitudeBand, Values) {
    EXPECT_EQ(LongitudeBand(-180.0), 0);
    EXPECT_EQ(LongitudeBand(-179.79), 1);
    EXPECT_EQ(LongitudeBand(-179.8), 0);  // -179.8 + 180 is a hair below 0.2
    EXPECT_EQ(LongitudeBand(0.0), 900);
    EXPECT_EQ(LongitudeBand(179.9), 1799);
    EXPECT_EQ(LongitudeBand(180.0), 1800);
    EXPECT_EQ(LongitudeBand(-181.0), -5);
    EXPECT_EQ(LongitudeBand(1e300), 100000);
}

}  // namespace
}  // namespace corvane::navdata
