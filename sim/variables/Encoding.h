// SPDX-License-Identifier: MIT
//
// The units of the simulator variables: how a value in degrees, metres or
// knots becomes the integers of the variable space and back. Each pair is
// described in docs/simulator-variables.md; the offsets are in Offsets.h.
#pragma once

#include <cstdint>

namespace corvane::sim::encoding {

// A 64-bit fixed-point value split in two 32-bit words: value = hi + lo / 2^32.
struct Fixed64 {
    std::uint32_t lo = 0;
    std::int32_t hi = 0;
};

// Latitude: units of 45 / 5000875 degree (one metre of the program's sphere).
// Example: 1.0 degree -> hi 111130, lo 0.555... * 2^32.
Fixed64 EncodeLatitude(double latitudeDeg);
double DecodeLatitude(Fixed64 raw);

// Longitude: units of 90 / 2^30 degree; the value is taken into [-180, 180).
Fixed64 EncodeLongitude(double longitudeDeg);
double DecodeLongitude(Fixed64 raw);

// Altitude: whole metres (rounded down, signed) plus an unsigned fraction * 2^32.
struct AltitudeParts {
    std::uint32_t fraction = 0;
    std::int32_t metres = 0;
};
AltitudeParts EncodeAltitude(double altitudeM);
double DecodeAltitude(AltitudeParts raw);

// 32-bit angle: degrees * 2^32 / 360. Unsigned form for headings (0..360),
// signed form for pitch and bank (-180..180).
std::uint32_t EncodeAngle32(double angleDeg);
double DecodeAngle32(std::uint32_t raw);  // [0, 360)
std::int32_t EncodeSignedAngle32(double angleDeg);
double DecodeSignedAngle32(std::int32_t raw);  // [-180, 180)

// 16-bit angle: degrees * 65536 / 360, taken modulo 65536 (so 362 degrees is
// 2 degrees and -3 degrees is 357 degrees).
std::uint16_t EncodeAngle16(double angleDeg);
double DecodeAngle16(std::uint16_t raw);  // [0, 360)

// Magnetic variation (east positive) as a 16-bit angle.
double DecodeMagneticVariation(std::uint16_t raw);  // (-180, 180]

// Speeds: knots * 128.
std::int32_t EncodeKnots128(double speedKt);
double DecodeKnots128(std::int32_t raw);

// Vertical speed: metres per minute, positive DOWNWARDS, signed 16-bit.
// Example: climbing at 500 ft/min (2.54 m/s) -> -152.
std::int16_t EncodeVerticalSpeed(double climbMps);
double DecodeVerticalSpeedMps(std::int16_t raw);  // climb positive

// Autopilot altitude: metres * 65536 (the program writes feet * 19975, the same unit).
std::int32_t EncodeApAltitude(double altitudeM);
double DecodeApAltitudeM(std::int32_t raw);

// Autopilot heading: magnetic degrees * 65536 / 360 in the LOW 16 bits of a
// 32-bit word; the high 16 bits are ignored.
double DecodeApHeadingDeg(std::uint32_t raw);

// Control inputs (elevator, aileron, rudder, throttles, brakes, flaps,
// spoilers): signed 16-bit values; the result is raw / 16383 clamped to [-1, 1].
double ControlFraction(std::int16_t raw);

// Tower latitude: a signed 48-bit value, degrees * 7283052089 (metres north *
// 65536); upper 16 bits and lower 32 bits.
struct TowerLatitudeParts {
    std::uint32_t lower = 0;
    std::int16_t upper = 0;
};
TowerLatitudeParts EncodeTowerLatitude(double latitudeDeg);
double DecodeTowerLatitude(TowerLatitudeParts raw);

// Tower longitude: an unsigned 48-bit value in units of 360 / 65536 degree
// with 32 fraction bits (16 bits of whole units, then 32 bits of fraction); 0..360 east.
struct TowerLongitudeParts {
    std::uint32_t fraction = 0;
    std::uint16_t whole = 0;
};
TowerLongitudeParts EncodeTowerLongitude(double longitudeDeg);
double DecodeTowerLongitude(TowerLongitudeParts raw);  // (-180, 180]

// Tower altitude: feet * 19975.
std::int32_t EncodeTowerAltitude(double altitudeFt);
double DecodeTowerAltitudeFt(std::int32_t raw);

}  // namespace corvane::sim::encoding
