// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/flightstate/FlightState.h"
#include "app/flightstate/planeinterface.h"
#include "tests/flightstate/FakeSimulator.h"
#include "tests/flightstate/OutgoingItems.h"

namespace corvane::flightstate {
namespace {

using testing::FakeSimulator;
using testing::LinkCall;
using testing::PlainOutgoingItems;

LinkCall Read(std::int32_t size, std::int32_t offset) {
    return {"rawreadxbytes", offset, size, {}};
}
LinkCall ReadDword(std::int32_t offset) {
    return {"rawreadDWORD", offset, 4, {}};
}
// A write of the low `size` bytes of value: the DWORD request for four bytes.
LinkCall Write(std::int32_t offset, std::int32_t size, std::int64_t value) {
    LinkCall call{size == 4 ? "rawwriteDWORD" : "rawwritexbytes", offset, size, {}};
    for (int i = 0; i < size; ++i)
        call.data.push_back(std::uint8_t(value >> (8 * i)));
    return call;
}

const std::vector<LinkCall> kReadList = {
    Read(4, 0x02A0), Read(11, 0x0364), Read(36, 0x0560),  ReadDword(0x0B4C), Read(1, 0x0830),
    Read(1, 0x0840), Read(2, 0x0842),  Read(1, 0x0264),   Read(4, 0x02B8),   Read(4, 0x02BC),
    Read(2, 0x088C), Read(2, 0x0BE8),  Read(2, 0x0924),   Read(2, 0x09BC),   Read(2, 0x0A54),
    Read(2, 0x07BC), Read(2, 0x07D0),  ReadDword(0x07D4), Read(2, 0x07F2),   Read(2, 0x0B00),
    Read(2, 0x11BE),
};

class ExchangeTest : public ::testing::Test {
  protected:
    ExchangeTest() { state.simulatorkind = kFs98; }

    // One exchange; returns the write calls it made.
    std::vector<LinkCall> Exchange() {
        sim.calls.clear();
        ExchangeFlightState(state, sim);
        const std::size_t reads = kReadList.size() + 1;  // after startmessage
        if (sim.calls.size() < reads + 1)
            return {};
        return {sim.calls.begin() + reads, sim.calls.end() - 1};
    }
    void SetAllPlainItems() {
        for (const auto& item : PlainOutgoingItems())
            item.set(plane, 0x11223344);
    }

    FakeSimulator sim;
    FlightState state;
    planeinterface plane{state};
};

TEST_F(ExchangeTest, OtherSimulatorKindsLayNothingAndKeepEveryRequest) {
    for (std::int16_t kind : {0, 1, 3, 4, -1}) {
        SCOPED_TRACE(kind);
        state.simulatorkind = kind;
        SetAllPlainItems();
        plane.towerlat(1);
        sim.Put<std::int32_t>(0x02A0, 1234);
        Exchange();
        EXPECT_TRUE(sim.calls.empty());
        EXPECT_EQ(state.magvar, 0);
        for (const auto& item : PlainOutgoingItems())
            EXPECT_EQ(state.*item.pending, -1) << item.name;
        EXPECT_EQ(state.towerlatpending, -1);
    }
}

TEST_F(ExchangeTest, LaysTheFixedReadListThenSends) {
    std::vector<LinkCall> expected = {{"startmessage", 0, 0, {}}};
    expected.insert(expected.end(), kReadList.begin(), kReadList.end());
    expected.push_back({"sendmessage", 0, 0, {}});
    Exchange();
    EXPECT_EQ(sim.calls, expected);
}

TEST_F(ExchangeTest, LaysEveryRequestedWriteInTableOrderAndDeliversItsBytes) {
    std::vector<LinkCall> expected;
    const auto& items = PlainOutgoingItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        // Distinct multi-byte values, so a wrong size or offset shows in the bytes.
        const std::int32_t value = item.offset == 0x07D4 ? 3000 : 0x5A6B7C00 + std::int32_t(i);
        item.set(plane, value);
        expected.push_back(
            Write(item.offset, item.bytes, item.offset == 0x07D4 ? value * 19975 : value));
    }
    plane.towerlat(-0.5);  // 48-bit -3641526044: upper -1, lower 653441252
    plane.towerlon(-90);   // 270 degrees: whole 49152, fraction 0
    plane.toweralt(1000);
    for (const LinkCall& tower :
         {Write(0x0D56, 2, -1), Write(0x0D52, 4, 653441252), Write(0x0D5E, 2, 49152),
          Write(0x0D5A, 4, 0), Write(0x0D62, 4, 19975000)}) {
        expected.push_back(tower);
    }

    EXPECT_EQ(Exchange(), expected);
    for (const auto& item : items)
        EXPECT_EQ(state.*item.pending, 0) << item.name;
    EXPECT_EQ(state.towerlatpending | state.towerlonpending | state.toweraltpending, 0);

    // What reached the simulator: airbrake was laid after parkingbrake at 0x0BC8.
    for (const LinkCall& write : expected) {
        if (&write == &expected[12])
            continue;  // parkingbrake, overwritten by airbrake
        std::vector<std::uint8_t> landed(sim.image.begin() + write.offset,
                                         sim.image.begin() + write.offset + write.size);
        EXPECT_EQ(landed, write.data) << "at 0x" << std::hex << write.offset;
    }
    EXPECT_EQ(sim.GetSigned(0x0D52, 6), -3641526044);
    EXPECT_EQ(sim.GetSigned(0x0D5A, 6) & 0xFFFFFFFFFFFF, std::int64_t{49152} << 32);

    EXPECT_TRUE(Exchange().empty()) << "a value is not sent again unless set again";
}

TEST_F(ExchangeTest, AutopilotAltitudeIsClampedSoItsWireValueFits32Bits) {
    struct Row {
        std::int32_t feet;
        std::int32_t wire;
    };
    for (Row row : {Row{107508, 2147472300}, Row{107509, 2147472300}, Row{INT32_MAX, 2147472300},
                    Row{-107508, -2147472300}, Row{INT32_MIN, -2147472300}, Row{-1, -19975}}) {
        SCOPED_TRACE(row.feet);
        plane.apaltitude(row.feet);
        EXPECT_EQ(Exchange(), std::vector<LinkCall>{Write(0x07D4, 4, row.wire)});
    }
}

TEST_F(ExchangeTest, ThrottlesAndThrustsSendFourWritesAndEnginetypeNone) {
    plane.enginetype(99);
    plane.throttles(5000);
    plane.thrusts(-7);
    EXPECT_EQ(Exchange(), (std::vector<LinkCall>{Write(0x088C, 2, 5000), Write(0x0924, 2, 5000),
                                                 Write(0x09BC, 2, 5000), Write(0x0A54, 2, 5000),
                                                 Write(0x08A8, 4, -7), Write(0x0940, 4, -7),
                                                 Write(0x09D8, 4, -7), Write(0x0A70, 4, -7)}));
}

TEST_F(ExchangeTest, VerticalSpeedIsMinusTheFloorOfRawTimes3Point2808) {
    struct Row {
        std::int16_t raw;
        std::int32_t feetPerMinute;
    };
    for (Row row : {Row{0, 0}, Row{1, -3}, Row{-1, 4}, Row{100, -328}, Row{-100, 329},
                    Row{32767, -107501}, Row{-32768, 107506}}) {
        SCOPED_TRACE(row.raw);
        sim.Put(0x0842, row.raw);
        Exchange();
        EXPECT_EQ(state.verticalspeed, row.feetPerMinute);
    }
}

TEST_F(ExchangeTest, AutopilotAltitudeReadsBackInWholeFeetRoundedToNearest) {
    struct Row {
        std::int32_t raw;
        std::int32_t feet;
    };
    // 19975 is odd, so no raw value lies exactly half-way between two feet.
    for (Row row :
         {Row{19975 * 3000, 3000}, Row{29960, 1} /* 1.4999 x 19975 */, Row{29963, 2},
          Row{51935, 3} /* 2.6 */, Row{-47940, -2} /* -2.4 */, Row{-51935, -3}, Row{0, 0}}) {
        SCOPED_TRACE(row.raw);
        sim.Put(0x07D4, row.raw);
        Exchange();
        EXPECT_EQ(state.apaltitude, row.feet);
    }
}

TEST_F(ExchangeTest, SplitsThePositionAndStatusBlocksAndReadsEachField) {
    std::fill(sim.image.begin(), sim.image.end(), 0xEE);  // a read of the wrong size shows
    sim.Put<std::uint32_t>(0x0560, 0x89ABCDEF);
    sim.Put<std::int32_t>(0x0564, -123456);
    sim.Put<std::uint32_t>(0x0568, 0xFEDCBA98);
    sim.Put<std::int32_t>(0x056C, -0x2000000);
    sim.Put<std::int32_t>(0x0574, -15);
    sim.Put<std::int32_t>(0x0580, -0x40000000);
    sim.Put<std::uint8_t>(0x0366, 1);
    sim.Put<std::int32_t>(0x02A0, -2048);
    sim.Put<std::int32_t>(0x0B4C, 123);
    sim.Put<std::int32_t>(0x02B8, 250 * 128);
    sim.Put<std::int32_t>(0x02BC, 200 * 128);
    state.stallfactor = 0x7FFF0000;
    sim.Put<std::uint16_t>(0x11BE, 0xFFFF);
    Exchange();
    EXPECT_EQ(state.latitudelo, 0x89ABCDEFu);
    EXPECT_EQ(state.latitudehi, -123456);
    EXPECT_EQ(state.longitudelo, 0xFEDCBA98u);
    EXPECT_EQ(state.longitudehi, -0x2000000);
    EXPECT_EQ(state.altitude, -15);
    EXPECT_EQ(state.heading, -0x40000000);
    EXPECT_EQ(state.onground, 1);
    EXPECT_EQ(state.magvar, -2048);
    EXPECT_EQ(state.groundaltitude, 123);
    EXPECT_EQ(state.trueairspeed, 250 * 128);
    EXPECT_EQ(state.indicatedairspeed, 200 * 128);
    EXPECT_EQ(state.stallfactor, 0xFFFF) << "the high half is cleared before each batch";
    EXPECT_EQ(state.throttle1, 0xEEEE) << "a 16-bit reading fills the low half only";
}

TEST_F(ExchangeTest, FailedSendKeepsLastGoodReadingsAndConsumesRequests) {
    sim.Put<std::int16_t>(0x0842, 100);
    sim.Put<std::int32_t>(0x07D4, 19975 * 3000);
    sim.Put<std::uint16_t>(0x088C, 0x1234);
    sim.Put<std::int32_t>(0x0574, 900);
    Exchange();

    sim.answers = false;
    sim.Put<std::int16_t>(0x0842, 5);
    sim.Put<std::int32_t>(0x07D4, 19975 * 10);
    sim.Put<std::uint16_t>(0x088C, 0x4321);
    sim.Put<std::int32_t>(0x0574, 50);
    plane.gearhandle(1);
    EXPECT_EQ(Exchange(), std::vector<LinkCall>{Write(0x0BE8, 2, 1)});
    EXPECT_EQ(state.gearhandlepending, 0);
    EXPECT_EQ(sim.GetSigned(0x0BE8, 2), 0);
    EXPECT_EQ(state.verticalspeed, -328);
    EXPECT_EQ(state.apaltitude, 3000);
    EXPECT_EQ(state.throttle1, 0x1234);
    EXPECT_EQ(state.altitude, 900);

    sim.answers = true;
    EXPECT_TRUE(Exchange().empty()) << "a write whose send failed is not sent again";
    EXPECT_EQ(state.verticalspeed, -16);
    EXPECT_EQ(state.apaltitude, 10);
    EXPECT_EQ(state.throttle1, 0x4321);
    EXPECT_EQ(state.altitude, 50);
}

}  // namespace
}  // namespace corvane::flightstate
