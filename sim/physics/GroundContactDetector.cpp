// SPDX-License-Identifier: MIT
#include "sim/physics/GroundContactDetector.h"

#include <algorithm>
#include <cmath>

namespace corvane::sim {

namespace {

constexpr double kStopSpeedMps = 0.25;
constexpr double kMovingSpeedMps = 1.5;

}  // namespace

GroundContactDetector::GroundContactDetector(const Limits& limits) : limits_(limits) {}

void GroundContactDetector::Reset(bool onGround, double timeS) {
    onGround_ = onGround;
    airborne_ = !onGround;
    lastContactS_ = timeS;
    sinkBeforeFpm_ = 0.0;
    rolledSinceStop_ = false;
}

GroundContactDetector::Events GroundContactDetector::Update(const Sense& s) {
    Events e;
    bool onGround = s.onGround;
    if (onGround)
        lastContactS_ = s.timeS;
    else if (onGround_ && s.timeS - lastContactS_ < limits_.liftoffAfterS)
        onGround = true;

    if (!onGround) {
        e.liftoff = onGround_ && !s.paused;
        onGround_ = false;
        airborne_ = true;
        sinkBeforeFpm_ = s.sinkFpm;
        return e;
    }
    onGround_ = true;
    if (airborne_) {
        airborne_ = false;
        e.touchdown = true;
        e.sinkFpm = std::max(sinkBeforeFpm_, s.sinkFpm);
        if (s.crashDetection) {
            if (!s.gearDownAndLocked)
                e.crashReason = CrashReason::GearUp;
            else if (e.sinkFpm > limits_.crashSinkFpm)
                e.crashReason = CrashReason::HardTouchdown;
            else if (std::fabs(s.bankDeg) > limits_.wingStrikeBankDeg)
                e.crashReason = CrashReason::WingStrike;
            e.crash = e.crashReason != CrashReason::None;
        }
    }
    if (s.groundSpeedMps > kMovingSpeedMps) {
        rolledSinceStop_ = true;
    } else if (rolledSinceStop_ && s.groundSpeedMps < kStopSpeedMps) {
        rolledSinceStop_ = false;
        e.stopped = true;
    }
    return e;
}

}  // namespace corvane::sim
