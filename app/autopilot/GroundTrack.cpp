// SPDX-License-Identifier: MIT
#include "app/autopilot/GroundTrack.h"

#include <algorithm>
#include <cmath>

#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"

namespace corvane::autopilot {
namespace {

constexpr double kSecondsPerDay = 86400;
constexpr double kMinSpacingS = 0.05;
constexpr double kWindowS = 1.0;     // shortest span a measure is taken over
constexpr double kMaxWindowS = 3.0;  // older samples are not used
constexpr double kMaxGapS = 10.0;
constexpr double kMaxSpeedKnots = 2000;
constexpr double kDriftTimeConstantS = 0.2;  // the track measure's noise only
constexpr double kMaxDriftDeg = 45;
constexpr double kTurnRateSpanS = 0.3;
constexpr double kMinDriftSpeedKnots = 30;
constexpr double kKnotsPerMetrePerSecond = 3600 * navdata::NauticalMilesPerMetre;

double Wrap180(double deg) {
    deg = std::fmod(deg, 360.0);
    if (deg > 180)
        deg -= 360;
    if (deg <= -180)
        deg += 360;
    return deg;
}

}  // namespace

void GroundTrack::Reset() {
    count_ = 0;
    next_ = 0;
    valid_ = false;
    speedKnots_ = 0;
    trackDeg_ = 0;
    driftDeg_ = 0;
    turnRateDegS_ = 0;
    lastDriftTimeS_ = -1;
}

const GroundTrack::Sample& GroundTrack::Newest() const {
    return samples_[(next_ + kSamples - 1) % kSamples];
}

void GroundTrack::Add(double timeOfDayS, double latitudeDeg, double longitudeDeg,
                      double headingTrueDeg) {
    if (!std::isfinite(timeOfDayS) || !std::isfinite(latitudeDeg) || !std::isfinite(longitudeDeg) ||
        !std::isfinite(headingTrueDeg))
        return;
    if (count_ > 0) {
        double dt = timeOfDayS - lastTimeOfDay_;
        if (dt < -kSecondsPerDay / 2)
            dt += kSecondsPerDay;  // across midnight
        if (dt < kMinSpacingS && dt > -kMinSpacingS)
            return;
        if (dt < 0 || dt > kMaxGapS) {
            Reset();
        } else {
            clockS_ += dt;
        }
    }
    if (count_ == 0)
        clockS_ = 0;
    lastTimeOfDay_ = timeOfDayS;
    samples_[next_] = {clockS_, latitudeDeg, longitudeDeg, headingTrueDeg};
    next_ = (next_ + 1) % kSamples;
    count_ = std::min(count_ + 1, kSamples);
    Measure();
}

void GroundTrack::Measure() {
    const Sample& newest = Newest();
    // The turn rate from the most recent sample at least its span old, and
    // the motion from the most recent one at least one window old, both
    // within the longest window.
    turnRateDegS_ = 0;
    bool turnMeasured = false;
    const Sample* base = nullptr;
    for (std::size_t i = 1; i < count_; ++i) {
        const Sample& s = samples_[(next_ + kSamples - 1 - i) % kSamples];
        const double age = newest.timeS - s.timeS;
        if (age > kMaxWindowS)
            break;
        if (!turnMeasured && age >= kTurnRateSpanS) {
            turnRateDegS_ = Wrap180(newest.headingDeg - s.headingDeg) / age;
            turnMeasured = true;
        }
        if (age >= kWindowS) {
            base = &s;
            break;
        }
    }
    if (base == nullptr) {
        valid_ = false;
        return;
    }
    const double dt = newest.timeS - base->timeS;
    const double metres =
        navdata::GreatCircleDistance(base->lat, base->lon, newest.lat, newest.lon);
    const double knots = metres / dt * kKnotsPerMetrePerSecond;
    if (!std::isfinite(knots) || knots > kMaxSpeedKnots) {
        // The readings jumped (the link came back, the aircraft was moved):
        // measure again from this position.
        const Sample keep = newest;
        Reset();
        samples_[0] = {0, keep.lat, keep.lon, keep.headingDeg};
        clockS_ = 0;
        next_ = 1;
        count_ = 1;
        return;
    }
    speedKnots_ = knots;
    trackDeg_ =
        metres > 0 ? navdata::InitialBearing(base->lat, base->lon, newest.lat, newest.lon) : 0.0;
    valid_ = true;
}

void GroundTrack::UpdateDrift(double headingTrueDeg, bool airborne) {
    if (!valid_ || count_ == 0)
        return;
    const double now = Newest().timeS;
    if (!airborne || speedKnots_ < kMinDriftSpeedKnots) {
        lastDriftTimeS_ = now;
        return;
    }
    const double measured =
        std::clamp(Wrap180(trackDeg_ - headingTrueDeg), -kMaxDriftDeg, kMaxDriftDeg);
    if (lastDriftTimeS_ < 0 || now - lastDriftTimeS_ > kMaxGapS) {
        driftDeg_ = measured;
    } else {
        const double dt = std::max(0.0, now - lastDriftTimeS_);
        driftDeg_ += (measured - driftDeg_) * (1 - std::exp(-dt / kDriftTimeConstantS));
    }
    lastDriftTimeS_ = now;
}

}  // namespace corvane::autopilot
