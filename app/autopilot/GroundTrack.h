// SPDX-License-Identifier: MIT
//
// The aircraft's motion over the ground, from successive positions of the
// flight-state record: ground speed and track, and the drift between the
// track and the heading. The link reads no ground velocity, and the true
// airspeed equals the wind at a standstill, so the landing laws judge the
// rollout and allow for drift from these values instead.
#pragma once

#include <array>
#include <cstddef>

namespace corvane::autopilot {

class GroundTrack {
  public:
    // Forgets every position (a new flight, or the readings jumped).
    void Reset();

    // One position at a time of day in seconds (it starts again at midnight).
    // A position within 50 ms of the last one is ignored, so that two calls in
    // one tick count once; a jump of more than 2,000 kt or a gap of more than
    // 10 s starts the record again.
    // The heading (degrees true) is kept with the position for the turn rate.
    void Add(double timeOfDayS, double latitudeDeg, double longitudeDeg, double headingTrueDeg);

    // True once the positions span the measuring window (at least 1 s).
    bool Valid() const { return valid_; }
    double SpeedKnots() const { return speedKnots_; }
    // Degrees true in [0, 360); 0 while standing.
    double TrackDeg() const { return trackDeg_; }

    // Drift (track minus heading, degrees, within +-45), smoothed over a fifth
    // of a second only; updated by UpdateDrift while airborne and moving.
    // Heading plus drift is then the track made good: a gust's yaw moves the
    // heading and the drift together, and the steering laws, which subtract
    // the drift, hold the track. A drift smoothed over seconds took the yaw
    // for a changed wind and steered the track off with it: in moderate
    // turbulence the light single wandered 20 m and more either side of the
    // centre line.
    void UpdateDrift(double headingTrueDeg, bool airborne);
    double DriftDeg() const { return driftDeg_; }
    // How fast the heading turns, degrees a second (right positive), over the
    // last third of a second or more; 0 until two positions span that.
    double TurnRateDegS() const { return turnRateDegS_; }

  private:
    struct Sample {
        double timeS = 0;  // seconds since the first sample, unwrapped
        double lat = 0;
        double lon = 0;
        double headingDeg = 0;
    };
    static constexpr std::size_t kSamples = 40;
    std::array<Sample, kSamples> samples_{};
    std::size_t count_ = 0;  // samples held
    std::size_t next_ = 0;   // where the next one goes
    double lastTimeOfDay_ = 0;
    double clockS_ = 0;  // unwrapped time of the newest sample
    double lastDriftTimeS_ = -1;
    bool valid_ = false;
    double speedKnots_ = 0;
    double trackDeg_ = 0;
    double driftDeg_ = 0;
    double turnRateDegS_ = 0;

    const Sample& Newest() const;
    void Measure();
};

}  // namespace corvane::autopilot
