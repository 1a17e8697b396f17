// SPDX-License-Identifier: MIT
#include "sim/variables/Encoding.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/physics/Units.h"

namespace corvane::sim::encoding {

namespace {

constexpr double kTwo32 = 4294967296.0;
constexpr double kLatitudeUnitsPerDeg = 5000875.0 / 45.0;
constexpr double kLongitudeUnitsPerDeg = 1073741824.0 / 90.0;
constexpr double kTowerLatitudeUnitsPerDeg = 7283052089.0;
constexpr double kApAltitudeUnitsPerM = 65536.0;
constexpr double kTowerAltitudeUnitsPerFt = 19975.0;

// Splits x (in units) into hi + lo / 2^32 with hi = floor(x).
Fixed64 SplitFixed(double x) {
    double whole = std::floor(x);
    double fraction = std::round((x - whole) * kTwo32);
    if (fraction >= kTwo32) {
        fraction -= kTwo32;
        whole += 1.0;
    }
    Fixed64 raw;
    raw.hi = static_cast<std::int32_t>(static_cast<std::int64_t>(whole));
    raw.lo = static_cast<std::uint32_t>(fraction);
    return raw;
}

double JoinFixed(Fixed64 raw) {
    return static_cast<double>(raw.hi) + raw.lo / kTwo32;
}

template <typename T>
T ClampRound(double value) {
    double r = std::round(value);
    r = std::clamp(r, static_cast<double>(std::numeric_limits<T>::min()),
                   static_cast<double>(std::numeric_limits<T>::max()));
    return static_cast<T>(r);
}

}  // namespace

Fixed64 EncodeLatitude(double latitudeDeg) {
    return SplitFixed(std::clamp(latitudeDeg, -90.0, 90.0) * kLatitudeUnitsPerDeg);
}

double DecodeLatitude(Fixed64 raw) {
    return JoinFixed(raw) / kLatitudeUnitsPerDeg;
}

Fixed64 EncodeLongitude(double longitudeDeg) {
    Fixed64 raw = SplitFixed(units::Wrap180(longitudeDeg) * kLongitudeUnitsPerDeg);
    return raw;
}

double DecodeLongitude(Fixed64 raw) {
    return JoinFixed(raw) / kLongitudeUnitsPerDeg;
}

AltitudeParts EncodeAltitude(double altitudeM) {
    Fixed64 split = SplitFixed(std::clamp(altitudeM, -2.0e9, 2.0e9));
    return AltitudeParts{split.lo, split.hi};
}

double DecodeAltitude(AltitudeParts raw) {
    return static_cast<double>(raw.metres) + raw.fraction / kTwo32;
}

std::uint32_t EncodeAngle32(double angleDeg) {
    double steps = std::round(units::Wrap360(angleDeg) / 360.0 * kTwo32);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(steps) & 0xFFFFFFFFu);
}

double DecodeAngle32(std::uint32_t raw) {
    return raw * 360.0 / kTwo32;
}

std::int32_t EncodeSignedAngle32(double angleDeg) {
    double steps = std::round(units::Wrap180(angleDeg) / 360.0 * kTwo32);
    auto bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(steps) & 0xFFFFFFFF);
    return static_cast<std::int32_t>(bits);
}

double DecodeSignedAngle32(std::int32_t raw) {
    return raw * 360.0 / kTwo32;
}

std::uint16_t EncodeAngle16(double angleDeg) {
    double steps = std::round(units::Wrap360(angleDeg) / 360.0 * 65536.0);
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(steps) & 0xFFFFu);
}

double DecodeAngle16(std::uint16_t raw) {
    return raw * 360.0 / 65536.0;
}

double DecodeMagneticVariation(std::uint16_t raw) {
    double deg = DecodeAngle16(raw);
    return deg > 180.0 ? deg - 360.0 : deg;
}

std::int32_t EncodeKnots128(double speedKt) {
    return ClampRound<std::int32_t>(speedKt * 128.0);
}

double DecodeKnots128(std::int32_t raw) {
    return raw / 128.0;
}

std::int16_t EncodeVerticalSpeed(double climbMps) {
    return ClampRound<std::int16_t>(-climbMps * 60.0);
}

double DecodeVerticalSpeedMps(std::int16_t raw) {
    return -raw / 60.0;
}

std::int32_t EncodeApAltitude(double altitudeM) {
    return ClampRound<std::int32_t>(altitudeM * kApAltitudeUnitsPerM);
}

double DecodeApAltitudeM(std::int32_t raw) {
    return raw / kApAltitudeUnitsPerM;
}

double DecodeApHeadingDeg(std::uint32_t raw) {
    return DecodeAngle16(static_cast<std::uint16_t>(raw & 0xFFFFu));
}

double ControlFraction(std::int16_t raw) {
    return std::clamp(static_cast<double>(raw), -16383.0, 16383.0) / 16383.0;
}

TowerLatitudeParts EncodeTowerLatitude(double latitudeDeg) {
    double x = std::clamp(latitudeDeg, -90.0, 90.0) * kTowerLatitudeUnitsPerDeg;
    double upper = std::floor(x / kTwo32);
    double lower = std::round(x - upper * kTwo32);
    if (lower >= kTwo32) {
        lower -= kTwo32;
        upper += 1.0;
    }
    TowerLatitudeParts raw;
    raw.upper = static_cast<std::int16_t>(upper);
    raw.lower = static_cast<std::uint32_t>(lower);
    return raw;
}

double DecodeTowerLatitude(TowerLatitudeParts raw) {
    double value = static_cast<double>(raw.upper) * kTwo32 + static_cast<double>(raw.lower);
    return value / kTowerLatitudeUnitsPerDeg;
}

TowerLongitudeParts EncodeTowerLongitude(double longitudeDeg) {
    double v = units::Wrap360(longitudeDeg) * 65536.0 / 360.0;
    double whole = std::floor(v);
    double fraction = std::round((v - whole) * kTwo32);
    if (fraction >= kTwo32) {
        fraction -= kTwo32;
        whole += 1.0;
    }
    TowerLongitudeParts raw;
    raw.whole = static_cast<std::uint16_t>(static_cast<std::uint32_t>(whole) & 0xFFFFu);
    raw.fraction = static_cast<std::uint32_t>(fraction);
    return raw;
}

double DecodeTowerLongitude(TowerLongitudeParts raw) {
    double deg = (raw.whole + raw.fraction / kTwo32) * 360.0 / 65536.0;
    return deg > 180.0 ? deg - 360.0 : deg;
}

std::int32_t EncodeTowerAltitude(double altitudeFt) {
    return ClampRound<std::int32_t>(altitudeFt * kTowerAltitudeUnitsPerFt);
}

double DecodeTowerAltitudeFt(std::int32_t raw) {
    return raw / kTowerAltitudeUnitsPerFt;
}

}  // namespace corvane::sim::encoding
