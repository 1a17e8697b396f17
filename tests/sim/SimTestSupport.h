// SPDX-License-Identifier: MIT
//
// Helpers for the stand-in simulator's tests: writes and reads through the
// variable space with the widths and conversions the program's link uses, so
// the tests drive the simulator exactly as the program would.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "sim/model/Simulator.h"
#include "sim/variables/Offsets.h"

namespace corvane::sim::test {

namespace o = offsets;

// Little-endian write of the low `size` bytes of value, as one write request.
inline void Put(Simulator& sim, std::uint32_t offset, std::int64_t value, std::uint32_t size) {
    std::uint8_t bytes[8];
    for (std::uint32_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
    }
    ASSERT_TRUE(sim.Variables().Write(offset, size, bytes));
}

inline std::int64_t GetSigned(const Simulator& sim, std::uint32_t offset, std::uint32_t size) {
    std::uint8_t bytes[8] = {};
    EXPECT_TRUE(sim.Variables().Read(offset, size, bytes));
    std::uint64_t v = 0;
    for (std::uint32_t i = 0; i < size; ++i) {
        v |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    }
    const std::uint64_t sign = 1ull << (8 * size - 1);
    if (size < 8 && (v & sign) != 0) {
        v |= ~((sign << 1) - 1);
    }
    return static_cast<std::int64_t>(v);
}

inline std::uint32_t GetUnsigned(const Simulator& sim, std::uint32_t offset, std::uint32_t size) {
    std::uint8_t bytes[4] = {};
    EXPECT_TRUE(sim.Variables().Read(offset, size, bytes));
    std::uint32_t v = 0;
    for (std::uint32_t i = 0; i < size; ++i) {
        v |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return v;
}

// The program's readings and their conversions.
struct Reading {
    static double LatitudeDeg(const Simulator& sim) {
        const double hi = static_cast<double>(GetSigned(sim, o::kLatitudeHi, 4));
        const double lo = static_cast<double>(GetSigned(sim, o::kLatitudeLo, 4));
        return (hi + lo / 4294967296.0) * 45.0 / 5000875.0;
    }
    static double LongitudeDeg(const Simulator& sim) {
        const double hi = static_cast<double>(GetSigned(sim, o::kLongitudeHi, 4));
        const double lo = static_cast<double>(GetSigned(sim, o::kLongitudeLo, 4));
        return (hi + lo / 4294967296.0) * 90.0 / 1073741824.0;
    }
    static double AltitudeFt(const Simulator& sim) {
        return static_cast<double>(GetSigned(sim, o::kAltitudeMetres, 4)) * 3.2808;
    }
    static double GroundFt(const Simulator& sim) {
        return static_cast<double>(GetSigned(sim, o::kGroundAltitude, 4)) * 3.2808;
    }
    static double VerticalSpeedFpm(const Simulator& sim) {
        const double raw = static_cast<double>(GetSigned(sim, o::kVerticalSpeed, 2));
        return -std::floor(raw * 3.2808);
    }
    static double TrueAirspeedKt(const Simulator& sim) {
        return static_cast<double>(GetSigned(sim, o::kTrueAirspeed, 4)) / 128.0;
    }
    static double IndicatedAirspeedKt(const Simulator& sim) {
        return static_cast<double>(GetSigned(sim, o::kIndicatedAirspeed, 4)) / 128.0;
    }
    static double TrueHeadingDeg(const Simulator& sim) {
        double h = static_cast<double>(GetSigned(sim, o::kHeading, 4)) * 360.0 / 4294967296.0;
        return h < 0.0 ? h + 360.0 : h;
    }
    static double MagneticVariationDeg(const Simulator& sim) {
        const double v =
            static_cast<double>(GetSigned(sim, o::kMagneticVariation, 4)) * 360.0 / 65536.0;
        return v > 180.0 ? v - 360.0 : v;
    }
    static int StallFactor(const Simulator& sim) {
        return static_cast<int>(GetUnsigned(sim, o::kStallFactor, 2));
    }
    static bool OnGround(const Simulator& sim) { return GetUnsigned(sim, o::kOnGround, 1) == 1; }
    static int EngineType(const Simulator& sim) {
        return static_cast<int>(GetSigned(sim, o::kEngineType, 2));
    }
};

// The program's writes, with its widths.
struct Command {
    static void Throttles(Simulator& sim, std::int64_t value) {
        for (std::uint32_t offset : o::kThrottles) {
            Put(sim, offset, value, 2);
        }
    }
    static void Autopilot(Simulator& sim, bool master, bool altitudeHold, bool headingHold) {
        Put(sim, o::kApMaster, master ? 1 : 0, 1);
        Put(sim, o::kApAltitudeHold, altitudeHold ? 1 : 0, 1);
        Put(sim, o::kApHeadingHold, headingHold ? 1 : 0, 1);
    }
    // Heading in whole degrees magnetic, unwrapped, as the guidance sends it.
    static void ApHeading(Simulator& sim, double headingMagDeg) {
        const double units = std::nearbyint(std::nearbyint(headingMagDeg) * 65536.0 / 360.0);
        Put(sim, o::kApHeading, static_cast<std::int64_t>(units), 4);
    }
    static void ApAltitudeFt(Simulator& sim, double feet) {
        Put(sim, o::kApAltitude, static_cast<std::int64_t>(std::nearbyint(feet)) * 19975, 4);
    }
    static void ApVerticalSpeed(Simulator& sim, std::int64_t fpm) {
        Put(sim, o::kApVerticalSpeed, fpm, 4);
    }
    static void Flaps(Simulator& sim, std::int64_t v) { Put(sim, o::kFlaps, v, 2); }
    static void Spoilers(Simulator& sim, std::int64_t v) { Put(sim, o::kSpoilers, v, 2); }
    static void ArmSpoilers(Simulator& sim, bool on) { Put(sim, o::kSpoilersArm, on ? 1 : 0, 1); }
    static void Gear(Simulator& sim, std::int64_t v) { Put(sim, o::kGear, v, 2); }
    static void Brakes(Simulator& sim, std::int64_t v) {
        Put(sim, o::kLeftBrake, v, 2);
        Put(sim, o::kRightBrake, v, 2);
    }
    static void Elevator(Simulator& sim, std::int64_t v) { Put(sim, o::kElevator, v, 4); }
    static void Aileron(Simulator& sim, std::int64_t v) { Put(sim, o::kAileron, v, 4); }
    static void Rudder(Simulator& sim, std::int64_t v) { Put(sim, o::kRudder, v, 4); }
    static void Pause(Simulator& sim, bool on) { Put(sim, o::kPause, on ? 1 : 0, 1); }
    static void CrashDetection(Simulator& sim, bool on) {
        Put(sim, o::kCrashDetection, on ? 1 : 0, 1);
    }
};

// The program's en-route power law: more power as the margin to the stall shrinks.
inline std::int64_t StallMarginThrottle(const Simulator& sim, double weight, double base) {
    std::int64_t t = static_cast<std::int64_t>(
        std::nearbyint(weight * (32767 - Reading::StallFactor(sim)) + base));
    return t > 16384 ? 16383 : t;
}

// Runs the simulator for seconds of its time in main-cycle ticks of 150 ms,
// calling tick(sim) before each.
template <typename Tick>
void RunTicks(Simulator& sim, double seconds, Tick tick) {
    const int ticks = static_cast<int>(std::ceil(seconds / 0.15));
    for (int i = 0; i < ticks; ++i) {
        tick(sim);
        sim.Advance(0.15);
    }
}

inline SimulatorOptions FixedVariation(double magVarDeg) {
    SimulatorOptions options;
    options.fixedMagneticVariationDeg = magVarDeg;
    return options;
}

}  // namespace corvane::sim::test
