// SPDX-License-Identifier: MIT
#include "sim/variables/VariableSpace.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "SimTestSupport.h"
#include "sim/model/Simulator.h"

namespace corvane::sim {
namespace {

using test::Command;
using test::GetSigned;
using test::Put;

struct RangeCase {
    const char* name;
    std::uint32_t offset;
    std::uint32_t size;
    bool ok;
};

class VariableSpaceRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(VariableSpaceRange, ReadAndWriteRefuseRangesPastTheEnd) {
    const RangeCase& c = GetParam();
    VariableSpace space;
    std::uint8_t buffer[16];
    std::memset(buffer, 0xAB, sizeof(buffer));
    const std::uint64_t before = space.WriteCount();
    EXPECT_EQ(space.Write(c.offset, c.size, buffer), c.ok);
    EXPECT_EQ(space.WriteCount(), before + (c.ok ? 1 : 0));
    std::uint8_t back[16] = {};
    EXPECT_EQ(space.Read(c.offset, c.size, back), c.ok);
    if (c.ok) {
        EXPECT_EQ(std::memcmp(back, buffer, c.size), 0);
    } else {
        EXPECT_EQ(back[0], 0);  // nothing copied
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VariableSpaceRange,
                         ::testing::Values(RangeCase{"Start", 0, 4, true},
                                           RangeCase{"LastByte", 65535, 1, true},
                                           RangeCase{"LastWord", 65532, 4, true},
                                           RangeCase{"OneBytePastTheEnd", 65535, 2, false},
                                           RangeCase{"EmptyAtTheEnd", 65536, 0, true},
                                           RangeCase{"EmptyBeyondTheEnd", 65537, 0, false},
                                           RangeCase{"OffsetWrapsAround", 0xFFFFFFFFu, 2, false},
                                           RangeCase{"SizeWrapsAround", 16, 0xFFFFFFF8u, false}),
                         [](const ::testing::TestParamInfo<RangeCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(VariableSpace, NullBufferIsRefusedUnlessEmpty) {
    VariableSpace space;
    EXPECT_FALSE(space.Write(0x100, 2, nullptr));
    EXPECT_FALSE(space.Read(0x100, 2, nullptr));
    EXPECT_TRUE(space.Write(0x100, 0, nullptr));
}

TEST(VariableSpace, TypedAccessIsLittleEndian) {
    VariableSpace space;
    space.SetU32(0x200, 0x11223344u);
    std::uint8_t bytes[4];
    ASSERT_TRUE(space.Read(0x200, 4, bytes));
    EXPECT_EQ(bytes[0], 0x44);
    EXPECT_EQ(bytes[3], 0x11);
    space.SetI16(0x210, -2);
    EXPECT_EQ(space.U16(0x210), 0xFFFE);
    EXPECT_EQ(space.I16(0x210), -2);
    EXPECT_EQ(space.U32(65534), 0u);  // runs past the end: reads 0
}

TEST(VariableSpace, ChangeCountMovesWithEveryChangeAndOnlyThen) {
    VariableSpace space;
    std::uint8_t bytes[2] = {1, 2};
    std::uint64_t count = space.ChangeCount();
    auto moved = [&] {
        const bool m = space.ChangeCount() != count;
        count = space.ChangeCount();
        return m;
    };
    ASSERT_TRUE(space.Write(0x100, 2, bytes));
    EXPECT_TRUE(moved());
    space.SetU8(0x100, 3);
    EXPECT_TRUE(moved());
    space.SetI16(0x100, -3);
    EXPECT_TRUE(moved());
    space.SetI32(0x100, 7);
    EXPECT_TRUE(moved());
    // Reads and refused changes leave it.
    EXPECT_EQ(space.U32(0x100), 7u);
    EXPECT_TRUE(space.Read(0x100, 2, bytes));
    EXPECT_FALSE(space.Write(65535, 2, bytes));
    space.SetU32(65534, 1);
    EXPECT_FALSE(moved());
}

TEST(SimulatorVariables, UnknownOffsetsAreStoredAndSurviveSteps) {
    Simulator sim;
    const std::uint8_t pattern[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(sim.Variables().Write(0x3000, 6, pattern));
    ASSERT_TRUE(sim.Variables().Write(0xFFFE, 2, pattern));
    sim.Advance(1.0);
    std::uint8_t back[6] = {};
    ASSERT_TRUE(sim.Variables().Read(0x3000, 6, back));
    EXPECT_EQ(std::memcmp(back, pattern, 6), 0);
    ASSERT_TRUE(sim.Variables().Read(0xFFFE, 2, back));
    EXPECT_EQ(back[0], 1);
    EXPECT_EQ(back[1], 2);
}

TEST(SimulatorVariables, ProgramWritesAreNotLostToThePublish) {
    Simulator sim;
    AirStart air;
    air.altitudeFt = 3000;
    sim.StartInAir(air);
    // Values as the program writes them, with its widths.
    Command::ApAltitudeFt(sim, 4000);
    Command::ApVerticalSpeed(sim, -350);
    Command::Throttles(sim, 12345);
    Command::Gear(sim, 16383);
    Command::Elevator(sim, -8000);
    Put(sim, test::o::kBrakeIndicator, -14136, 2);
    Put(sim, test::o::kEngine1Thrust, 777, 4);
    for (int i = 0; i < 20; ++i) {
        sim.Step();
        EXPECT_EQ(GetSigned(sim, test::o::kApAltitude, 4), 4000 * 19975);
        EXPECT_EQ(GetSigned(sim, test::o::kApVerticalSpeed, 2), -350);
        EXPECT_EQ(GetSigned(sim, test::o::kThrottle1, 2), 12345);
        EXPECT_EQ(GetSigned(sim, test::o::kThrottle4, 2), 12345);
        EXPECT_EQ(GetSigned(sim, test::o::kGear, 2), 16383);
        EXPECT_EQ(GetSigned(sim, test::o::kElevator, 2), -8000);
        EXPECT_EQ(GetSigned(sim, test::o::kBrakeIndicator, 2), -14136);
    }
    // The engine thrust word is the simulator's output: the publish owns it.
    EXPECT_NE(GetSigned(sim, test::o::kEngine1Thrust, 4), 777);
}

}  // namespace
}  // namespace corvane::sim
