// SPDX-License-Identifier: MIT
//
// The wind the aircraft flies in: a mean wind, steady or growing with the
// height above the ground, and seeded turbulence on top of it.
//
// The mean wind is given as the surface wind (the wind reported for the
// runway, at 10 m above the ground). Steady: the same at every height. With
// the gradient: a power law with exponent 1/7 (open, level country) from 10 m
// up to 2,000 ft above the ground, constant above; the wind aloft is
// 1/kSurfaceFraction (about 1.8) times the surface wind, and below 10 m the
// surface wind holds. The direction does not change with height.
//
// Turbulence is of the Dryden type (the low-altitude form used for flying
// qualities): three gust components along the mean wind, across it and
// vertical, each a first-order Gauss-Markov process whose correlation falls
// off with the distance flown through the air as exp(-distance / L), with the
// Dryden intensities sigma and length scales L for the height. The series is
// fully determined by the seed: the generator and the normal deviates are
// computed here, not by the standard library's implementation-defined
// distributions.
//
// The field keeps the powers it last worked out (they repeat at every step
// above the gradient's top): one field serves one thread.
#pragma once

#include <cstdint>

#include "sim/physics/LastValueMemo.h"

namespace corvane::sim {

enum class TurbulenceLevel { None, Light, Moderate };

// "none", "light", "moderate"; false for anything else.
bool ParseTurbulenceLevel(const char* text, TurbulenceLevel& out);
const char* TurbulenceLevelName(TurbulenceLevel level);

struct WindSettings {
    double fromDeg = 0.0;   // true direction the wind blows from
    double speedKt = 0.0;   // at the surface (10 m above the ground)
    bool gradient = false;  // false: the same wind at every height
    TurbulenceLevel turbulence = TurbulenceLevel::None;
    std::uint64_t seed = 1;  // of the turbulence
};

// The air's velocity at the aircraft, where the air moves to (m/s).
struct WindVector {
    double eastMps = 0.0;
    double northMps = 0.0;
    double upMps = 0.0;
};

// Dryden intensity and length scale of one gust component.
struct GustScale {
    double sigmaMps = 0.0;
    double lengthM = 0.0;
};

class WindField {
  public:
    static constexpr double kReferenceHeightFt = 2000.0;
    static constexpr double kSurfaceHeightM = 10.0;
    static constexpr double kProfileExponent = 1.0 / 7.0;

    explicit WindField(const WindSettings& settings = WindSettings{});

    const WindSettings& Settings() const { return settings_; }

    // Mean wind speed at a height above the ground over the surface wind
    // (1 for a steady wind).
    double ProfileFactor(double heightAboveGroundM) const;
    // The mean wind at a height above the ground (no gusts).
    WindVector MeanAt(double heightAboveGroundM) const;

    // Dryden scales at a height above the ground for the turbulence level:
    // [0] along the mean wind, [1] across it, [2] vertical.
    static void GustScales(TurbulenceLevel level, double heightAboveGroundM, GustScale out[3]);

    // Moves the gusts on by one step flown at an airspeed, and returns the
    // mean wind plus the gusts at the new point.
    WindVector Advance(double heightAboveGroundM, double airspeedMps, double dtS);
    // The mean wind plus the gusts as they are now.
    WindVector Current(double heightAboveGroundM) const;

    // Back to the seed's first gust (a new flight gives the same series).
    void Restart();

  private:
    // The powers of the Dryden shape that the length and the horizontal
    // intensity divide by, kept for the height they were worked out at.
    struct ShapePowers {
        double length = 0.0;
        double sigma = 0.0;
    };
    using ShapeMemo = LastValueMemo<ShapePowers>;

    static void GustScales(TurbulenceLevel level, double heightAboveGroundM, GustScale out[3],
                           ShapeMemo& memo);
    // The mean wind plus the gusts as they are now, with the scales already
    // worked out for the height.
    WindVector CurrentWith(double heightAboveGroundM, const GustScale scales[3]) const;

    double NextUniform();  // (0, 1)
    double NextNormal();

    WindSettings settings_;
    double eastPerKt_ = 0.0;  // unit vector the air moves to
    double northPerKt_ = 0.0;
    std::uint64_t rng_ = 0;
    double spareNormal_ = 0.0;
    bool hasSpare_ = false;
    double gust_[3] = {0.0, 0.0, 0.0};  // along, across, vertical (m/s)
    mutable ShapeMemo shapeMemo_;
    mutable LastValueMemo<double> profileMemo_;  // the profile factor, by clamped height
};

}  // namespace corvane::sim
