// SPDX-License-Identifier: MIT
#include "sim/physics/Wind.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sim/physics/Units.h"

namespace corvane::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerFoot = 0.3048;
// Wind speed at 20 ft that sets the low-altitude Dryden intensities.
constexpr double kLightW20Kt = 15.0;
constexpr double kModerateW20Kt = 30.0;
// The lowest height the Dryden scales are taken at (they vanish at the ground).
constexpr double kMinScaleHeightFt = 10.0;
constexpr double kLowAltitudeTopFt = 1000.0;
constexpr double kMediumAltitudeFt = 2000.0;
constexpr double kMediumAltitudeLengthFt = 1750.0;
// Gusts move on with the distance flown through the air; a standing aircraft
// still sees the air go by.
constexpr double kMinGustAirspeedMps = 1.0;

std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

bool ParseTurbulenceLevel(const char* text, TurbulenceLevel& out) {
    if (std::strcmp(text, "none") == 0) {
        out = TurbulenceLevel::None;
    } else if (std::strcmp(text, "light") == 0) {
        out = TurbulenceLevel::Light;
    } else if (std::strcmp(text, "moderate") == 0) {
        out = TurbulenceLevel::Moderate;
    } else {
        return false;
    }
    return true;
}

const char* TurbulenceLevelName(TurbulenceLevel level) {
    switch (level) {
        case TurbulenceLevel::Light:
            return "light";
        case TurbulenceLevel::Moderate:
            return "moderate";
        case TurbulenceLevel::None:
            break;
    }
    return "none";
}

WindField::WindField(const WindSettings& settings) : settings_(settings) {
    const double speed = std::isfinite(settings.speedKt)
                             ? std::max(settings.speedKt, 0.0) * units::kMpsPerKnot
                             : 0.0;
    const double from = std::isfinite(settings.fromDeg) ? settings.fromDeg * units::kDegToRad : 0.0;
    settings_.speedKt = speed * units::kKnotsPerMps;
    // The air moves towards the opposite of where the wind comes from.
    eastPerKt_ = -std::sin(from);
    northPerKt_ = -std::cos(from);
    Restart();
}

double WindField::ProfileFactor(double heightAboveGroundM) const {
    if (!settings_.gradient) {
        return 1.0;
    }
    const double top = kReferenceHeightFt * kMetresPerFoot;
    const double h = std::clamp(std::isfinite(heightAboveGroundM) ? heightAboveGroundM : 0.0,
                                kSurfaceHeightM, top);
    // Above the top of the gradient (most of a flight) every step asks for
    // the same clamped height: the power is worked out once for it.
    return profileMemo_.Get(
        h, [](double height) { return std::pow(height / kSurfaceHeightM, kProfileExponent); });
}

WindVector WindField::MeanAt(double heightAboveGroundM) const {
    const double speed = settings_.speedKt * units::kMpsPerKnot * ProfileFactor(heightAboveGroundM);
    return WindVector{speed * eastPerKt_, speed * northPerKt_, 0.0};
}

void WindField::GustScales(TurbulenceLevel level, double heightAboveGroundM, GustScale out[3]) {
    ShapeMemo memo;
    GustScales(level, heightAboveGroundM, out, memo);
}

void WindField::GustScales(TurbulenceLevel level, double heightAboveGroundM, GustScale out[3],
                           ShapeMemo& memo) {
    if (level == TurbulenceLevel::None) {
        for (int i = 0; i < 3; ++i) {
            out[i] = GustScale{0.0, 1.0};
        }
        return;
    }
    const double w20 =
        (level == TurbulenceLevel::Light ? kLightW20Kt : kModerateW20Kt) * units::kMpsPerKnot;
    const double sigmaW = 0.1 * w20;
    double hFt = heightAboveGroundM / kMetresPerFoot;
    hFt = std::max(std::isfinite(hFt) ? hFt : 0.0, kMinScaleHeightFt);
    // Low-altitude Dryden form, evaluated at most at 1,000 ft.
    const double hLow = std::min(hFt, kLowAltitudeTopFt);
    const double shape = 0.177 + 0.000823 * hLow;
    // From 1,000 ft up the shape is the same at every height: its powers are
    // kept from the last call.
    const ShapePowers& powers = memo.Get(hLow, [shape](double) {
        return ShapePowers{std::pow(shape, 1.2), std::pow(shape, 0.4)};
    });
    double lengthHorizontalFt = hLow / powers.length;
    double lengthVerticalFt = hLow;
    const double sigmaHorizontal = sigmaW / powers.sigma;
    if (hFt > kLowAltitudeTopFt) {
        // Towards the isotropic 1,750 ft scale at 2,000 ft and above.
        const double t =
            std::min((hFt - kLowAltitudeTopFt) / (kMediumAltitudeFt - kLowAltitudeTopFt), 1.0);
        lengthHorizontalFt += t * (kMediumAltitudeLengthFt - lengthHorizontalFt);
        lengthVerticalFt += t * (kMediumAltitudeLengthFt - lengthVerticalFt);
    }
    out[0] = GustScale{sigmaHorizontal, lengthHorizontalFt * kMetresPerFoot};
    out[1] = out[0];
    out[2] = GustScale{sigmaW, lengthVerticalFt * kMetresPerFoot};
}

void WindField::Restart() {
    rng_ = settings_.seed;
    hasSpare_ = false;
    // Each component starts in its stationary state (unit variance).
    for (double& g : gust_) {
        g = settings_.turbulence == TurbulenceLevel::None ? 0.0 : NextNormal();
    }
}

double WindField::NextUniform() {
    // 53 random bits, shifted off zero.
    return (static_cast<double>(SplitMix64(rng_) >> 11) + 0.5) * (1.0 / 9007199254740992.0);
}

double WindField::NextNormal() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spareNormal_;
    }
    // Box-Muller: two independent standard normal deviates from two uniforms.
    const double r = std::sqrt(-2.0 * std::log(NextUniform()));
    const double a = 2.0 * kPi * NextUniform();
    spareNormal_ = r * std::sin(a);
    hasSpare_ = true;
    return r * std::cos(a);
}

WindVector WindField::Advance(double heightAboveGroundM, double airspeedMps, double dtS) {
    if (settings_.turbulence != TurbulenceLevel::None && dtS > 0.0 && std::isfinite(dtS)) {
        GustScale scales[3];
        GustScales(settings_.turbulence, heightAboveGroundM, scales, shapeMemo_);
        const double v =
            std::max(std::isfinite(airspeedMps) ? airspeedMps : 0.0, kMinGustAirspeedMps);
        // Exact discrete form of the first-order process: the variance stays
        // 1. The two horizontal components share their scale, so their factors.
        double a = 0.0;
        double spread = 0.0;
        for (int i = 0; i < 3; ++i) {
            if (i == 0 || scales[i].lengthM != scales[i - 1].lengthM) {
                a = std::exp(-v * dtS / scales[i].lengthM);
                spread = std::sqrt(1.0 - a * a);
            }
            gust_[i] = a * gust_[i] + spread * NextNormal();
        }
        // The scales at the same height are the ones just worked out.
        return CurrentWith(heightAboveGroundM, scales);
    }
    return Current(heightAboveGroundM);
}

WindVector WindField::Current(double heightAboveGroundM) const {
    if (settings_.turbulence == TurbulenceLevel::None) {
        return MeanAt(heightAboveGroundM);
    }
    GustScale scales[3];
    GustScales(settings_.turbulence, heightAboveGroundM, scales, shapeMemo_);
    return CurrentWith(heightAboveGroundM, scales);
}

WindVector WindField::CurrentWith(double heightAboveGroundM, const GustScale scales[3]) const {
    WindVector w = MeanAt(heightAboveGroundM);
    // Along the mean wind (north when there is none), across it to the right.
    double alongE = eastPerKt_;
    double alongN = northPerKt_;
    if (settings_.speedKt <= 0.0) {
        alongE = 0.0;
        alongN = 1.0;
    }
    const double along = scales[0].sigmaMps * gust_[0];
    const double across = scales[1].sigmaMps * gust_[1];
    w.eastMps += along * alongE + across * alongN;
    w.northMps += along * alongN - across * alongE;
    w.upMps += scales[2].sigmaMps * gust_[2];
    return w;
}

}  // namespace corvane::sim
