// SPDX-License-Identifier: MIT
#include "app/autopilot/ApproachSpeed.h"

#include <algorithm>
#include <cmath>

namespace corvane::autopilot {
namespace {

constexpr double kStallMarginFull = 32767.0;
constexpr double kFlapSettleS = 8;     // a step's flaps have moved and the speed settled
constexpr double kSpoilerSettleS = 5;  // after the spoilers are in
constexpr double kLearnTimeS = 5;      // the stall speed's filter
constexpr double kExtendRatio = 1.6;   // a step extends at 1.6 times its stall speed
constexpr double kExtendMarginKt = 6;
constexpr double kRetractRatio = 1.5;  // flaps up in a climb at 1.5 times the clean stall speed //
                                       // the throttle aims this far below that
constexpr double kReferenceRatio = 1.3;  // the reference speed to the stall speed
constexpr double kStepStallRatio = 0.9;  // a flap step takes a tenth off the stall speed
constexpr double kApproachAddKt = 5;     // the approach speed over the reference
constexpr double kFinalUnderKt = 3;      // the final stage under the reference
constexpr double kFinalStallMargin =
    1.15;                                  // ... but this far above the stall in the gusts' troughs
constexpr double kFlareStallMargin = 1.1;  // the flare's speed over the stall
constexpr double kLastFeetStallMargin = 1.08;  // ... and the least over its last feet
constexpr double kGustTimeS = 10;              // the gusts' filter
constexpr double kMostAllowanceKt = 7;         // the wind allowance at most
constexpr double kThrottlePerKt = 600;
constexpr double kThrottlePerKtS = 120;
constexpr double kThrottleFull = 16383;
constexpr double kHoldBackStallRatio = 0.7;  // the elevator back under this share of Vs

// The last flap step below `below` whose stall speed is learned; -1 when none.
int LastLearnedStepBelow(const ApproachSpeeds& s, int below) {
    for (int step = below - 1; step >= 0; --step) {
        if (s.stallKt[std::size_t(step)] > 0)
            return step;
    }
    return -1;
}

}  // namespace

double StallSpeedFromMargin(double iasKt, std::int32_t stallFactor) {
    const double liftShare = 1.0 - std::clamp(stallFactor / kStallMarginFull, 0.0, 1.0);
    if (!(iasKt > 0) || !(liftShare > 0))
        return 0;
    return iasKt * std::sqrt(liftShare);
}

double TickSeconds(ApproachSpeeds& s, double timeOfDayS) {
    double tickS = timeOfDayS - s.lastTickS;
    if (s.lastTickS < 0 || !(tickS > 0) || tickS > 2)
        tickS = 0.15;
    s.lastTickS = timeOfDayS;
    return tickS;
}

void LearnStallSpeed(ApproachSpeeds& s, const SpeedSense& in, double tickS) {
    if (!in.airborne || s.spoilersOut || s.flapStepSinceS < 0 ||
        in.timeOfDayS - s.flapStepSinceS < kFlapSettleS ||
        (s.quietSinceS >= 0 && in.timeOfDayS - s.quietSinceS < kSpoilerSettleS))
        return;
    const double sample = StallSpeedFromMargin(in.iasKt, in.stallFactor);
    if (sample <= 0)
        return;
    double& learned = s.stallKt[std::size_t(s.flapStep)];
    if (learned <= 0)
        learned = sample;
    else
        learned += std::min(1.0, tickS / kLearnTimeS) * (sample - learned);
}

std::int32_t ScheduleFlaps(ApproachSpeeds& s, const SpeedSense& in) {
    if (s.flapStepSinceS < 0)
        s.flapStepSinceS = in.timeOfDayS;  // the clean wing settles from the first tick
    const double stall = s.stallKt[std::size_t(s.flapStep)];
    // No stall speed, and the margin says nothing to learn one from: the
    // descent's steps are timed alone.
    const bool slowEnough =
        stall > 0 ? in.iasKt <= kExtendRatio * stall
                  : in.descending && StallSpeedFromMargin(in.iasKt, in.stallFactor) <= 0;
    // No step while the autopilot climbs: flaps cost the climb its power
    // margin, and a light aircraft slowed by them climbs on until it is
    // near the stall.
    if (s.flapStep < kLandingFlapStep && slowEnough && !in.climbing &&
        in.timeOfDayS - s.flapStepSinceS >= kFlapSettleS) {
        ++s.flapStep;
        s.flapStepSinceS = in.timeOfDayS;
    }
    return kFlapStepLever[std::size_t(s.flapStep)];
}

double GoAroundClimbFpm(const ApproachSpeeds& s, double iasKt, double fullRateFpm) {
    const double stall = s.stallKt[std::size_t(s.flapStep)];
    if (!(stall > 0))
        return fullRateFpm;
    return fullRateFpm * std::clamp((iasKt / stall - 1.2) / 0.2, 0.0, 1.0);
}

bool RetractFlapsInClimb(ApproachSpeeds& s, double iasKt, double timeOfDayS) {
    const double clean = s.stallKt[0];
    if (s.flapStep == 0 || !(clean > 0) || iasKt <= kRetractRatio * clean)
        return false;
    s.flapStep = 0;
    s.flapStepSinceS = timeOfDayS;
    return true;
}

double LandingStallSpeedKt(const ApproachSpeeds& s) {
    const double landing = s.stallKt[kLandingFlapStep];
    if (landing > 0)
        return landing;
    const int step = LastLearnedStepBelow(s, kLandingFlapStep);
    return step < 0
               ? 0
               : s.stallKt[std::size_t(step)] * std::pow(kStepStallRatio, kLandingFlapStep - step);
}

double UnlearnedStepLeastKt(const ApproachSpeeds& s) {
    if (s.stallKt[std::size_t(s.flapStep)] > 0)
        return 0;
    const int step = LastLearnedStepBelow(s, s.flapStep);
    return step < 0 ? 0 : kReferenceRatio * s.stallKt[std::size_t(step)];
}

double ReferenceSpeedKt(const ApproachSpeeds& s) {
    return kReferenceRatio * LandingStallSpeedKt(s);
}

void WatchGusts(ApproachSpeeds& s, double iasKt, double tickS) {
    if (s.meanIasKt <= 0) {
        s.meanIasKt = iasKt;
        return;
    }
    const double share = std::min(1.0, tickS / kGustTimeS);
    s.meanIasKt += share * (iasKt - s.meanIasKt);
    s.iasDeviationKt += share * (std::fabs(iasKt - s.meanIasKt) - s.iasDeviationKt);
}

double GustAllowanceKt(const ApproachSpeeds& s) {
    return std::min(2 * s.iasDeviationKt, kMostAllowanceKt);
}

double WindAllowanceKt(const ApproachSpeeds& s, double headwindKt) {
    return std::clamp(std::max(headwindKt / 2, GustAllowanceKt(s)), 0.0, kMostAllowanceKt);
}

double FlareSpeedKt(const ApproachSpeeds& s) {
    const double stallKt = LandingStallSpeedKt(s);
    return stallKt > 0 ? kFlareStallMargin * stallKt + 2 * s.iasDeviationKt : 0;
}

double LastFeetSpeedKt(const ApproachSpeeds& s) {
    return kLastFeetStallMargin * LandingStallSpeedKt(s);
}

double TargetSpeedKt(const ApproachSpeeds& s, bool finalStage, double headwindKt) {
    const double reference = ReferenceSpeedKt(s);
    if (reference <= 0)
        return 0;
    if (finalStage)
        return std::max(reference - kFinalUnderKt,
                        kFinalStallMargin * LandingStallSpeedKt(s) + 2 * s.iasDeviationKt);
    const double approach = reference + kApproachAddKt + WindAllowanceKt(s, headwindKt);
    if (s.flapStep >= kLandingFlapStep)
        return approach;
    const double stall = s.stallKt[std::size_t(s.flapStep)];
    if (stall <= 0)
        return 0;
    return std::max(approach, kExtendRatio * stall - kExtendMarginKt);
}

std::int32_t SpeedThrottle(ApproachSpeeds& s, const SpeedSense& in, double targetKt, double tickS) {
    const bool known = targetKt > 0;
    const double errorKt = known ? targetKt - in.iasKt : 0.0;
    if (s.throttle < 0) {
        s.throttle = std::clamp<std::int32_t>(in.throttle, 0, std::int32_t(kThrottleFull));
        s.lastSpeedErrorKt = errorKt;
    }
    // No target: the throttle stays exactly where it is, and the error kept
    // is the last one measured against a target, so that neither losing the
    // target nor finding one again moves the throttle by the error's jump.
    if (!known)
        return s.throttle;
    const double next = s.throttle + kThrottlePerKt * (errorKt - s.lastSpeedErrorKt) +
                        kThrottlePerKtS * errorKt * tickS;
    s.lastSpeedErrorKt = errorKt;
    s.throttle = std::int32_t(std::lround(std::clamp(next, 0.0, kThrottleFull)));
    return s.throttle;
}

bool SpoilersWanted(ApproachSpeeds& s, const SpeedSense& in, double targetKt) {
    if (targetKt <= 0) {
        s.spoilersOut = false;
    } else if (!s.spoilersOut && in.iasKt > targetKt + 10 && s.throttle == 0) {
        s.spoilersOut = true;
    } else if (s.spoilersOut && in.iasKt < targetKt + 3) {
        s.spoilersOut = false;
        s.quietSinceS = in.timeOfDayS;
    }
    return s.spoilersOut;
}

const char* UnstableSpeedReason(const ApproachSpeeds& s, double iasKt, double verticalSpeedFpm) {
    if (s.flapStep < kLandingFlapStep)
        return "flaps not set";
    const double reference = ReferenceSpeedKt(s);
    if (reference > 0 && iasKt < reference - 5)
        return "too slow";
    if (reference > 0 && iasKt > reference + 15)
        return "too fast";
    if (verticalSpeedFpm < -1000)
        return "sinking too fast";
    return "";
}

std::int32_t RolloutElevator(const ApproachSpeeds& s, double iasKt, std::int32_t heldBackElevator) {
    const double landingStallKt = LandingStallSpeedKt(s);
    return landingStallKt > 0 && iasKt < kHoldBackStallRatio * landingStallKt ? heldBackElevator
                                                                              : 0;
}

}  // namespace corvane::autopilot
