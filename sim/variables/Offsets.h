// SPDX-License-Identifier: MIT
//
// Offsets of the simulator variables in the 65536-byte variable space. The
// encoding of each one is described in docs/simulator-variables.md and
// implemented in Encoding.h.
#pragma once

#include <cstdint>

namespace corvane::sim::offsets {

// Written by the simulator after every step (the model owns them).
constexpr std::uint32_t kMagneticVariation = 0x02A0;  // 16-bit angle, 32-bit word
constexpr std::uint32_t kTrueAirspeed = 0x02B8;       // knots * 128, 32-bit
constexpr std::uint32_t kIndicatedAirspeed = 0x02BC;  // knots * 128, 32-bit
constexpr std::uint32_t kOnGround = 0x0366;           // 16-bit, 1 on the ground
constexpr std::uint32_t kLatitudeLo = 0x0560;         // 64-bit latitude, low half
constexpr std::uint32_t kLatitudeHi = 0x0564;
constexpr std::uint32_t kLongitudeLo = 0x0568;  // 64-bit longitude, low half
constexpr std::uint32_t kLongitudeHi = 0x056C;
constexpr std::uint32_t kAltitudeFraction = 0x0570;  // unsigned fraction of a metre * 2^32
constexpr std::uint32_t kAltitudeMetres = 0x0574;    // signed whole metres
constexpr std::uint32_t kPitch = 0x0578;             // 32-bit angle, positive nose down
constexpr std::uint32_t kBank = 0x057C;              // 32-bit angle, positive left wing down
constexpr std::uint32_t kHeading = 0x0580;           // 32-bit angle, true heading
constexpr std::uint32_t kCrashed = 0x0840;           // 16-bit, 1 while crashed
constexpr std::uint32_t kVerticalSpeed = 0x0842;     // 16-bit, metres per minute, + down
constexpr std::uint32_t kEngine1Thrust = 0x08A8;     // 32-bit, thrust / static max * 16384
constexpr std::uint32_t kEngine2Thrust = 0x0940;
constexpr std::uint32_t kEngine3Thrust = 0x09D8;
constexpr std::uint32_t kEngine4Thrust = 0x0A70;
constexpr std::uint32_t kEngineType = 0x0B00;        // 16-bit
constexpr std::uint32_t kGroundAltitude = 0x0B4C;    // 32-bit whole metres
constexpr std::uint32_t kElevatorPosition = 0x0BB4;  // 16-bit surface position
constexpr std::uint32_t kAileronPosition = 0x0BB8;   // 16-bit surface position
constexpr std::uint32_t kRudderPosition = 0x0BBC;    // 16-bit surface position
constexpr std::uint32_t kFlapsPosition = 0x0BE0;     // 32-bit, 0..16383
constexpr std::uint32_t kGearPosition = 0x0BEC;      // 32-bit, 0 up .. 16383 down
constexpr std::uint32_t kSpoilersPosition = 0x0BD4;  // 32-bit, 0..16383
constexpr std::uint32_t kStallFactor = 0x11BE;       // unsigned 16-bit

// Written by the program (and read back as written).
constexpr std::uint32_t kPause = 0x0264;            // 16-bit, paused when non-zero
constexpr std::uint32_t kAutoCoordinator = 0x0278;  // 16-bit, on when non-zero
constexpr std::uint32_t kApMaster = 0x07BC;         // 32-bit switch
constexpr std::uint32_t kApWingLeveller = 0x07C0;   // 32-bit switch
constexpr std::uint32_t kApHeadingHold = 0x07C8;    // 32-bit switch
constexpr std::uint32_t kApHeading = 0x07CC;        // low 16 bits: magnetic * 65536 / 360
constexpr std::uint32_t kApAltitudeHold = 0x07D0;   // 32-bit switch
constexpr std::uint32_t kApAltitude = 0x07D4;       // 32-bit, metres * 65536
constexpr std::uint32_t kApVerticalSpeed = 0x07F2;  // signed 16-bit, ft/min
constexpr std::uint32_t kCrashDetection = 0x0830;   // 8-bit, on when non-zero
constexpr std::uint32_t kThrottle1 = 0x088C;        // signed 16-bit, -..16383
constexpr std::uint32_t kThrottle2 = 0x0924;
constexpr std::uint32_t kThrottle3 = 0x09BC;
constexpr std::uint32_t kThrottle4 = 0x0A54;
constexpr std::uint32_t kElevator = 0x0BB2;                // signed 16-bit, + nose down
constexpr std::uint32_t kAileron = 0x0BB6;                 // signed 16-bit, + roll right
constexpr std::uint32_t kRudder = 0x0BBA;                  // signed 16-bit, + yaw right
constexpr std::uint32_t kLeftBrake = 0x0BC4;               // 16-bit, 0..16383
constexpr std::uint32_t kRightBrake = 0x0BC6;              // 16-bit, 0..16383
constexpr std::uint32_t kParkingBrake = 0x0BC8;            // 16-bit, set when non-zero
constexpr std::uint32_t kBrakeIndicator = 0x0BCA;          // 16-bit, stored only
constexpr std::uint32_t kSpoilersArm = 0x0BCC;             // 32-bit switch
constexpr std::uint32_t kSpoilers = 0x0BD0;                // 32-bit lever, 0..16383
constexpr std::uint32_t kFlaps = 0x0BDC;                   // 32-bit lever, 0..16383
constexpr std::uint32_t kGear = 0x0BE8;                    // 32-bit lever, 0 up, 16383 down
constexpr std::uint32_t kTowerLatitudeLo = 0x0D52;         // lower 32 bits of 48-bit latitude
constexpr std::uint32_t kTowerLatitudeHi = 0x0D56;         // upper 16 bits (signed)
constexpr std::uint32_t kTowerLongitudeFraction = 0x0D5A;  // 32-bit fraction
constexpr std::uint32_t kTowerLongitudeWhole = 0x0D5E;     // 16-bit whole part
constexpr std::uint32_t kTowerAltitude = 0x0D62;           // 32-bit, feet * 19975
constexpr std::uint32_t kTowerFirst = 0x0D52;
constexpr std::uint32_t kTowerEnd = 0x0D66;  // one past the last tower byte

constexpr std::uint32_t kThrottles[4] = {kThrottle1, kThrottle2, kThrottle3, kThrottle4};
constexpr std::uint32_t kEngineThrusts[4] = {kEngine1Thrust, kEngine2Thrust, kEngine3Thrust,
                                             kEngine4Thrust};

}  // namespace corvane::sim::offsets
