// SPDX-License-Identifier: MIT
#include "app/flightstate/planeinterface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/flightstate/FlightState.h"
#include "tests/flightstate/FakeSimulator.h"
#include "tests/flightstate/OutgoingItems.h"

namespace corvane::flightstate {
namespace {

using testing::FakeSimulator;
using testing::OutgoingItem;
using testing::PlainOutgoingItems;

constexpr double kTwoTo32 = 4294967296.0;

// The 48-bit number the simulator reads from an upper part and a lower part.
std::int64_t Combined(std::int32_t upper, std::int32_t lower) {
    return std::int64_t{upper} * (std::int64_t{1} << 32) + std::uint32_t(lower);
}

// Every outgoing value and write request is clear except those of item `set`.
void ExpectOnlyRequested(const FlightState& s, std::size_t set, std::int32_t value) {
    const auto& items = PlainOutgoingItems();
    for (std::size_t j = 0; j < items.size(); ++j) {
        const bool requested = j == set;
        EXPECT_EQ(s.out.*items[j].value, requested ? value : 0) << items[j].name;
        EXPECT_EQ(s.*items[j].pending, requested ? -1 : 0) << items[j].name;
    }
    EXPECT_EQ(s.towerlatpending | s.towerlonpending | s.toweraltpending, 0);
    EXPECT_EQ(s.out.towerlatupper | s.out.towerlatlower | s.out.towerlonwhole |
                  s.out.towerlonfraction | s.out.toweralt,
              0);
}

TEST(planeinterfaceTest, EachWriteSetsExactlyItsValueAndRequest) {
    const auto& items = PlainOutgoingItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(items[i].name);
        FlightState s;
        planeinterface plane(s);
        items[i].set(plane, 0x12345678);
        ExpectOnlyRequested(s, i, items[i].byteProperty ? 0x78 : 0x12345678);
    }
}

TEST(planeinterfaceTest, ReadsReturnTheLastExchangedReadingNotTheValueWritten) {
    FakeSimulator sim;
    FlightState s;
    s.simulatorkind = kFs98;
    planeinterface plane(s);
    struct Row {
        const char* name;
        std::int32_t offset;
        std::int32_t bytes;
        std::uint32_t wire;
        std::function<std::int32_t(const planeinterface&)> read;
        std::int32_t expected;
    };
    const std::vector<Row> rows = {
        {"paused", 0x0264, 1, 0x01, [](auto& p) { return p.paused(); }, 1},
        {"crashing", 0x0830, 1, 0xFF, [](auto& p) { return p.crashing(); }, 255},
        {"throttle1", 0x088C, 2, 0xF000, [](auto& p) { return p.throttle1(); }, 61440},
        {"throttles", 0x088C, 2, 0xF000, [](auto& p) { return p.throttles(); }, 61440},
        {"throttle2", 0x0924, 2, 0xF002, [](auto& p) { return p.throttle2(); }, 61442},
        {"throttle3", 0x09BC, 2, 0xF003, [](auto& p) { return p.throttle3(); }, 61443},
        {"throttle4", 0x0A54, 2, 0xF004, [](auto& p) { return p.throttle4(); }, 61444},
        {"gearhandle", 0x0BE8, 2, 0x8001, [](auto& p) { return p.gearhandle(); }, 32769},
        {"apalthold", 0x07D0, 2, 0xFFFF, [](auto& p) { return p.apalthold(); }, 65535},
        {"stallfactor", 0x11BE, 2, 0xFFFE, [](auto& p) { return p.stallfactor(); }, 65534},
        {"apmaster", 0x07BC, 2, 0xFFFF, [](auto& p) { return p.apmaster(); }, -1},
        {"apvertspeed", 0x07F2, 2, 0xFC18, [](auto& p) { return p.apvertspeed(); }, -1000},
        {"enginetype", 0x0B00, 2, 0xFFFD, [](auto& p) { return p.enginetype(); }, -3},
        {"apaltitude", 0x07D4, 4, 19975 * 3000, [](auto& p) { return p.apaltitude(); }, 3000},
        // No reading behind these: they stay 0 whatever the simulator holds.
        {"spoilers", 0x0BD0, 2, 0x1111, [](auto& p) { return p.spoilers(); }, 0},
        {"flaps", 0x0BDC, 2, 0x1111, [](auto& p) { return p.flaps(); }, 0},
        {"aileron", 0x0BB6, 4, 0x1111, [](auto& p) { return p.aileron(); }, 0},
        {"elevator", 0x0BB2, 4, 0x1111, [](auto& p) { return p.elevator(); }, 0},
        {"apheading", 0x07CC, 4, 0x1111, [](auto& p) { return p.apheading(); }, 0},
    };
    for (const Row& row : rows) {
        for (std::int32_t b = 0; b < row.bytes; ++b) {
            sim.image[row.offset + b] = std::uint8_t(row.wire >> (8 * b));
        }
    }
    // Writing every property first changes no reading until it is read back.
    for (const OutgoingItem& item : PlainOutgoingItems())
        item.set(plane, 7);
    for (const Row& row : rows)
        EXPECT_EQ(row.read(plane), 0) << row.name;

    ExchangeFlightState(s, sim);  // reads come before the writes in the batch
    for (const Row& row : rows)
        EXPECT_EQ(row.read(plane), row.expected) << row.name;

    ExchangeFlightState(s, sim);
    EXPECT_EQ(plane.throttle1(), 7);
    EXPECT_EQ(plane.apaltitude(), 7);
    EXPECT_EQ(plane.apmaster(), std::int16_t(0xFF07)) << "a one-byte write keeps the upper byte";
}

struct TowerRow {
    const char* name;
    double degrees;
    std::int32_t upper;
    std::int32_t lower;
};

TEST(planeinterfaceTest, TowerLatitudeIsSplitIntoUpperAndLowerParts) {
    const double k = 7283052089.0;
    for (const TowerRow& row : {
             TowerRow{"zero", 0.0, 0, 0},
             TowerRow{"half a degree south", -0.5, -1, 653441252},
             TowerRow{"a millionth south", -1e-6, -1, -7283},
             TowerRow{"north pole", 90.0, 152, -1655308278},
         }) {
        SCOPED_TRACE(row.name);
        FlightState s;
        planeinterface(s).towerlat(row.degrees);
        EXPECT_EQ(s.out.towerlatupper, row.upper);
        EXPECT_EQ(s.out.towerlatlower, row.lower);
        EXPECT_EQ(s.towerlatpending, -1);
    }
    // The two parts together are the whole number of units nearest x, also where the
    // lower part rounds up to the next 2^32 units or to the top of its signed range.
    for (double x : {655474688010.0, -655474688010.0, 123456789.4, -3641526044.5, kTwoTo32 - 0.25,
                     -kTwoTo32 - 0.25, 3 * kTwoTo32 - 0.4, -0.003, 2147483647.3, 2147483647.6,
                     -2147483648.3}) {
        SCOPED_TRACE(x);
        FlightState s;
        planeinterface(s).towerlat(x / k);
        EXPECT_EQ(Combined(s.out.towerlatupper, s.out.towerlatlower),
                  std::int64_t(std::nearbyint(x / k * k)));
    }
}

TEST(planeinterfaceTest, TowerLongitudeIsSplitIntoWholeAndFraction) {
    // Degrees for whole 65536ths of a circle plus a count of quarters of 2^-32 of one.
    auto degrees = [](double whole, double quarterUnits) {
        return (whole + quarterUnits / 17179869184.0) * 360.0 / 65536.0;
    };
    for (const TowerRow& row : {
             TowerRow{"zero", 0.0, 0, 0},
             TowerRow{"west is taken east of 180", -90.0, 49152, 0},
             TowerRow{"three quarters on", degrees(100, 3 * 4294967296.0), 100, -1073741824},
             TowerRow{"exactly half on", degrees(100, 2 * 4294967296.0), 100, INT32_MIN},
             TowerRow{"a quarter unit below the next whole", degrees(100, 4 * 4294967296.0 - 1),
                      101, 0},
             TowerRow{"a quarter unit above a whole", degrees(100, 1), 100, 0},
         }) {
        SCOPED_TRACE(row.name);
        FlightState s;
        planeinterface(s).towerlon(row.degrees);
        EXPECT_EQ(s.out.towerlonwhole, row.upper);
        EXPECT_EQ(s.out.towerlonfraction, row.lower);
        EXPECT_EQ(s.towerlonpending, -1);
    }
}

TEST(planeinterfaceTest, TowerAltitudeIsFeetTimes19975RoundedHalfToEven) {
    struct Row {
        double feet;
        std::int32_t wire;
    };
    for (Row row : {Row{1000, 19975000}, Row{0.5, 9988}, Row{1.5, 29962}, Row{-0.5, -9988},
                    Row{1e6, INT32_MAX}, Row{-1e6, INT32_MIN}}) {
        SCOPED_TRACE(row.feet);
        FlightState s;
        planeinterface(s).toweralt(row.feet);
        EXPECT_EQ(s.out.toweralt, row.wire);
        EXPECT_EQ(s.toweraltpending, -1);
    }
}

}  // namespace
}  // namespace corvane::flightstate
