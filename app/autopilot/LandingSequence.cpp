// SPDX-License-Identifier: MIT
#include "app/autopilot/LandingSequence.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "app/autopilot/ApproachGeometry.h"
#include "app/autopilot/ApproachSpeed.h"
#include "app/autopilot/DescentProfile.h"
#include "app/autopilot/RouteGuidance.h"

namespace corvane::autopilot {
namespace {

constexpr std::int32_t kSteepestRate = -4000;      // ft/min
constexpr std::int32_t kNearThresholdRate = -150;  // ft/min
constexpr double kClimbingMarginFt = 200;          // the autopilot's altitude this far up: climbing
constexpr std::int32_t kFlareRate = -100;          // ft/min, over the last feet
constexpr std::int32_t kIdleWithinFt = 300;        // distance to the threshold
constexpr double kIdleBelowFt = 8;      // height above the runway: the flare's last feet, power off
constexpr double kFinalSinkPerFt = 12;  // ft/min of sink per ft of height, the final stage at most
constexpr std::int32_t kDescentSpoilers = 16000;
constexpr std::int32_t kFullDeflection = 16383;  // gear down, spoilers, throttle cap
constexpr std::int32_t kWheelBrakes = 8000;
constexpr std::int32_t kRolloutElevator = -8000;
constexpr std::int32_t kBrakeSet = -14136;  // brake indicator and parking brake
constexpr std::int32_t kAirbrakeSet = static_cast<std::int32_t>(0x96880000u);
constexpr double kRolloutIdleKnots = 15;
constexpr double kStandstillKnots = 3;
constexpr double kStandstillSeconds = 3;
constexpr std::int32_t kGoAroundRate = 1500;  // ft/min
constexpr std::int32_t kCruiseThrottle = 7168;

// Rounds half to even into the range of T (the laws' values are far inside it;
// the bounds only keep a degenerate reading from overflowing the conversion).
template <typename T>
T RoundInto(double x) {
    constexpr double lo = std::numeric_limits<T>::min();
    constexpr double hi = std::numeric_limits<T>::max();
    return static_cast<T>(std::clamp(std::nearbyint(x), lo, hi));
}

std::int32_t Saturate32(std::int64_t x) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        x, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// One step in the making: what it reads and what it decides.
struct Step {
    const LandingInputs& in;
    FlyTherePlan& plan;
    FlyThereStep& out;

    const flightstate::Readings& aircraft() const { return in.aircraft; }
    flightstate::AircraftCommands& plane() { return out.commands; }
};

// Sets the commanded vertical speed unless the time to go is undefined, in
// which case the previous command stays. Returns the command.
DescentCommand FlyDescent(Step& st, double slopePercent, double heightFt, double toGoFt,
                          bool limitClimb) {
    const DescentCommand command =
        DescentRate(slopePercent, st.plan.ProfileSpeed, heightFt, toGoFt, limitClimb);
    if (command.computed)
        st.plane().apvertspeed(command.commandedRate);
    return command;
}

// Before the final stage: the distance to the threshold and on along the
// runway to the aim point.
double ThresholdFt(const Step& st) {
    return ThresholdDistance(st.plan, st.aircraft()) + st.plan.AimPointFt;
}

RunwayOffsets Offsets(const Step& st) {
    return OffsetsFromRunway(st.plan, st.aircraft().latitudeDeg, st.aircraft().longitudeDeg);
}

double AltitudeFt(const Step& st) {
    return st.aircraft().altitudeM * kFeetPerMetre;
}

double HeightAboveRunwayFt(const Step& st) {
    return AltitudeFt(st) - st.plan.RunwayElevation;
}

SpeedSense SenseSpeed(const Step& st) {
    const flightstate::Readings& r = st.aircraft();
    SpeedSense sense;
    sense.timeOfDayS = st.in.timeOfDayS;
    sense.iasKt = r.indicatedAirspeedKnots;
    sense.stallFactor = r.stallFactor;
    sense.airborne = r.onGround != 1 && r.paused == 0;
    sense.throttle = r.throttle1;
    const auto stage = st.plan.LandingStage;
    sense.descending = stage == kInitialDescent || stage == kMidDescent || stage == kFinalDescent;
    sense.climbing = r.apAltHold != 0 && r.apAltitudeFt > AltitudeFt(st) + kClimbingMarginFt;
    return sense;
}

// The headwind component, knots: the true airspeed less the speed over the
// ground (0 until the ground speed is measured).
double HeadwindKt(const Step& st) {
    return st.plan.Track.Valid() ? st.aircraft().trueAirspeedKnots - st.plan.Track.SpeedKnots()
                                 : 0.0;
}

// The speed laws of a tick in the air: the stall speed learned, the flaps
// scheduled (the lever returned) and the throttle and spoilers decided for a
// target speed.
struct SpeedDecision {
    std::int32_t flaps = 0;
    std::int32_t throttle = 0;
    bool spoilers = false;
};

// Which speed the throttle aims at: the descents' (TargetSpeedKt), the
// flare's, or over the flare's last feet the least speed to touch down at.
enum class SpeedAim { Descent, Final, Flare, LastFeet };

SpeedDecision FlySpeed(Step& st, SpeedAim aim) {
    ApproachSpeeds& speeds = st.plan.Speeds;
    const SpeedSense sense = SenseSpeed(st);
    const double tickS = TickSeconds(speeds, sense.timeOfDayS);
    LearnStallSpeed(speeds, sense, tickS);
    WatchGusts(speeds, sense.iasKt, tickS);
    SpeedDecision d;
    d.flaps = ScheduleFlaps(speeds, sense);
    const double target = aim == SpeedAim::LastFeet ? LastFeetSpeedKt(speeds)
                          : aim == SpeedAim::Flare
                              ? FlareSpeedKt(speeds)
                              : TargetSpeedKt(speeds, aim == SpeedAim::Final, HeadwindKt(st));
    // Until a speed is known the throttle stays where it is, but while a new
    // flap step is learned in a descent it keeps the speed above the
    // approach speed of the step before: the flaps' drag slows the aircraft
    // meanwhile, and with the throttle closed it would be near the stall by
    // the time the step is known.
    double aimKt = target;
    if (aim == SpeedAim::Descent && !(target > 0)) {
        const double leastKt = UnlearnedStepLeastKt(speeds);
        if (leastKt > 0 && sense.iasKt < leastKt)
            aimKt = leastKt;
    }
    d.throttle = SpeedThrottle(speeds, sense, aimKt, tickS);
    d.spoilers = SpoilersWanted(speeds, sense, target);
    return d;
}

// No descent takes the aircraft below the terrain floor before the final
// stage: the commanded rate is limited so that it levels off there (and
// climbs back when below it). Returns the rate that was sent.
std::int32_t KeepClearOfGround(Step& st, std::int32_t rate, double toAimFt) {
    const flightstate::Readings& r = st.aircraft();
    const double aglFt = (double(r.altitudeM) - r.groundAltitudeM) * kFeetPerMetre;
    const double floorFt = TerrainFloorFt(st.plan, toAimFt);
    const auto limit =
        static_cast<std::int32_t>(std::nearbyint(TerrainLimitedRate(aglFt, floorFt)));
    if (rate < limit) {
        st.plane().apvertspeed(limit);
        return limit;
    }
    return rate;
}

void StartGoAround(Step& st, const char* why);

// The steepest descent the final stage commands at a height above the
// runway: kFinalSinkPerFt ft/min for each foot (the height would halve in
// about 3.5 s), never less than the flare's rate.
std::int32_t LowestFinalRate(double heightAboveRunwayFt) {
    const double sinkFpm = std::max(double(-kFlareRate), kFinalSinkPerFt * heightAboveRunwayFt);
    return -RoundInto<std::int32_t>(std::min(sinkFpm, double(-kSteepestRate)));
}

// The 500 ft gate: an approach that is not stabilised there goes around.
// Returns true when it did.
bool CheckStabilisedGate(Step& st) {
    FlyTherePlan& plan = st.plan;
    if (plan.GateChecked || st.aircraft().onGround == 1)
        return false;
    const double heightFt = HeightAboveRunwayFt(st);
    if (heightFt > kStabilisedGateFt)
        return false;
    plan.GateChecked = true;
    const char* why =
        UnstableReason(plan, Offsets(st), heightFt, plan.Track.Valid(), plan.Track.TrackDeg());
    if (*why == '\0')
        why = UnstableSpeedReason(plan.Speeds, st.aircraft().indicatedAirspeedKnots,
                                  st.aircraft().verticalSpeedFpm);
    if (*why == '\0')
        return false;
    StartGoAround(st, why);
    return true;
}

void WaitForDescentPoint(Step& st) {
    FlyTherePlan& plan = st.plan;
    const SpeedDecision speed = FlySpeed(st, SpeedAim::Descent);
    st.plane().flaps(speed.flaps);
    st.plane().throttles(speed.throttle);
    FinalProfile(plan, st.aircraft(), kFinalSlopePercent);
    MidProfile(plan, kMidSlopePercent);
    InitialProfile(plan, st.aircraft(), kInitialSlopePercent);
    if (ThresholdFt(st) < plan.DescentStart) {
        // From now on the altitude target stays 0: the descent is flown by
        // vertical speed alone.
        st.plane().apaltitude(0);
        plan.ApproachStartAltitudeFt = AltitudeFt(st);
        plan.GateChecked = false;
        plan.LandingStage = kInitialDescent;
        st.out.report.stage = "Initial descent";
    }
}

void InitialDescent(Step& st) {
    FlyTherePlan& plan = st.plan;
    const flightstate::Readings& r = st.aircraft();
    if (r.gearHandle != kFullDeflection)
        st.plane().gearhandle(kFullDeflection);
    FinalProfile(plan, r, kFinalSlopePercent);
    MidProfile(plan, kMidSlopePercent);
    plan.ProfileSpeed = r.trueAirspeedKnots;

    double heightFt = AltitudeFt(st) - plan.MidStart;
    // High ground under the aircraft counts against the height to lose.
    const double groundFt = r.groundAltitudeM * kFeetPerMetre;
    if (groundFt > plan.RunwayElevation)
        heightFt -= groundFt - plan.RunwayElevation;
    const double toGoFt = ThresholdFt(st) - plan.ApproachLength;

    const SpeedDecision speed = FlySpeed(st, SpeedAim::Descent);
    st.plane().flaps(speed.flaps);
    st.plane().armspoilers(1);
    st.plane().spoilers(speed.spoilers ? kDescentSpoilers : 0);
    const DescentCommand command = FlyDescent(st, kInitialSlopePercent, heightFt, toGoFt, true);
    st.plane().throttles(speed.throttle);
    if (CheckStabilisedGate(st))
        return;
    const std::int32_t rate = KeepClearOfGround(st, command.commandedRate, ThresholdFt(st));
    if (command.computed && DescentStageEnds(rate, heightFt)) {
        plan.LandingStage = kMidDescent;
        st.out.report.stage = "Mid-stage descent";
    }
}

void MidDescent(Step& st) {
    FlyTherePlan& plan = st.plan;
    const flightstate::Readings& r = st.aircraft();
    FinalProfile(plan, r, kFinalSlopePercent);
    plan.ProfileSpeed = r.trueAirspeedKnots;
    const double heightFt = AltitudeFt(st) - plan.FinalStart;
    const double toGoFt = ThresholdFt(st) - plan.FinalLength;

    const SpeedDecision speed = FlySpeed(st, SpeedAim::Descent);
    st.plane().flaps(speed.flaps);
    st.plane().spoilers(speed.spoilers ? kDescentSpoilers : 0);
    const DescentCommand command = FlyDescent(st, kMidSlopePercent, heightFt, toGoFt, true);
    st.plane().throttles(speed.throttle);
    if (CheckStabilisedGate(st))
        return;
    const std::int32_t rate = KeepClearOfGround(st, command.commandedRate, ThresholdFt(st));
    if (command.computed && DescentStageEnds(rate, heightFt)) {
        plan.LandingStage = kFinalDescent;
        st.out.report.stage = "Final descent";
        // Crash detection is back on for the touchdown.
        st.plane().crashing(plan.SavedCrashSetting);
    }
}

void FinalDescent(Step& st) {
    FlyTherePlan& plan = st.plan;
    const flightstate::Readings& r = st.aircraft();
    plan.ProfileSpeed = r.trueAirspeedKnots;
    const double heightFt = AltitudeFt(st) - plan.RunwayElevation - kTouchdownAimFt;
    // Along the extended centre line, signed: past the aim point the distance
    // is negative, so a float never gets power and a computed climb again.
    const double toAimFt = ToAimPointFt(plan, Offsets(st));
    if (plan.ProfileSpeed * kFeetPerMinutePerKnot == 0)
        return;
    if (CheckStabilisedGate(st))
        return;

    // The flare holds its speed with power down to the last feet; there the
    // throttle closes for the touchdown and opens only to keep the speed off
    // the stall's edge in a gust's trough (idle over the whole flare while the
    // aircraft's speeds are not known).
    const bool flare = toAimFt < kIdleWithinFt;
    const bool speedsKnown = FlareSpeedKt(plan.Speeds) > 0;
    const bool lastFeet = flare && speedsKnown && HeightAboveRunwayFt(st) < kIdleBelowFt;
    const SpeedDecision speed = FlySpeed(st, lastFeet ? SpeedAim::LastFeet
                                             : flare  ? SpeedAim::Flare
                                                      : SpeedAim::Final);
    st.plane().flaps(speed.flaps);
    const bool idle = flare && !speedsKnown;
    const std::int32_t throttle = idle ? 0 : speed.throttle;
    if (flare) {
        st.plane().apvertspeed(kFlareRate);
    } else {
        // Near the runway the sink is held to what the height allows: an
        // updraft that leaves the aircraft high over the threshold must not
        // turn into a dive at the runway that no flare can take out.
        const DescentCommand command =
            DescentRate(kFinalSlopePercent, plan.ProfileSpeed, heightFt, toAimFt, false);
        if (command.computed)
            st.plane().apvertspeed(
                std::max(command.commandedRate, LowestFinalRate(HeightAboveRunwayFt(st))));
    }
    st.plane().throttles(throttle);
    if (r.onGround == 1) {
        plan.LandingStage = kTouchdown;
        st.out.report.stage = "Touchdown";
        st.out.report.distance = "";
        plan.GuidanceOn = false;
        plan.RouteStage = 0;  // the rollout steers on the ground from here
        st.plane().apvertspeed(kNearThresholdRate);
        // On the wheels the pitch is the elevator's: an altitude hold would
        // keep asking the wing for the weight and fly the aircraft off again.
        st.plane().apalthold(0);
    }
}

// Ground speed, knots, from successive positions; the true airspeed while
// the positions do not yet span the measuring window.
double GroundSpeedKnots(const Step& st) {
    return st.plan.Track.Valid() ? st.plan.Track.SpeedKnots() : st.aircraft().trueAirspeedKnots;
}

// Steers the nose wheel towards the centre line on the ground. After a
// bounce the rudder is centred and the autopilot steers the track back along
// the centre line, the heading moving at most 2 degrees at a time, so that
// the wings stay level until the wheels are down again.
void SteerOnGround(Step& st) {
    const flightstate::Readings& r = st.aircraft();
    if (r.onGround != 1) {
        st.plane().rudder(0);
        const double variation = r.magneticVariationDeg;
        const double drift = st.plan.Track.Valid() ? st.plan.Track.DriftDeg() : 0.0;
        const double wanted =
            CentreLineTrack(st.plan, Offsets(st), GroundSpeedKnots(st)) - drift - variation;
        st.plane().apheading(
            AutopilotHeadingUnits(NearGroundHeading(wanted, r.headingTrueDeg - variation)));
        return;
    }
    const double turnRate = st.plan.Track.Valid() ? st.plan.Track.TurnRateDegS() : 0.0;
    const double steer = RolloutSteering(st.plan, Offsets(st), r.headingTrueDeg, turnRate);
    st.plane().rudder(RoundInto<std::int32_t>(steer * kFullDeflection));
}

void TouchdownBraking(Step& st) {
    flightstate::AircraftCommands& plane = st.plane();
    // Lifted off again (a gust under the wing), the aircraft flies: the
    // flare's speed and sink until the wheels are down again.
    const bool onWheels = st.aircraft().onGround == 1 || st.aircraft().paused != 0;
    plane.leftbrake(kWheelBrakes);
    plane.rightbrake(kWheelBrakes);
    plane.spoilers(onWheels ? kFullDeflection : 0);
    plane.brakeindicator(kBrakeSet);
    plane.airbrake(kAirbrakeSet);
    plane.elevator(
        RolloutElevator(st.plan.Speeds, st.aircraft().indicatedAirspeedKnots, kRolloutElevator));
    plane.throttles(onWheels ? RoundInto<std::int32_t>(st.aircraft().engineType / 2.0)
                             : FlySpeed(st, SpeedAim::Flare).throttle);
    if (st.aircraft().paused != 0)
        return;
    // On the wheels the pitch is the elevator's; in the air the altitude hold
    // flies the flare's sink back down.
    if (onWheels != (st.aircraft().apAltHold == 0)) {
        plane.apalthold(onWheels ? 0 : 1);
        plane.apvertspeed(kNearThresholdRate);
    }
    SteerOnGround(st);
    if (GroundSpeedKnots(st) < kRolloutIdleKnots) {
        plane.throttles(0);
        st.plan.LandingStage = kRollout;
        // The standstill is timed from here at the latest, so that the three
        // seconds are always waited even when no rollout tick sees 3 knots.
        st.plan.StopTime = static_cast<float>(st.in.timeOfDayS);
    }
}

void Rollout(Step& st) {
    FlyTherePlan& plan = st.plan;
    const double now = st.in.timeOfDayS;
    // Judged on the ground speed: the airspeed of an aircraft standing in
    // wind is the wind. A paused simulator does not stand still.
    if (st.aircraft().paused != 0 || GroundSpeedKnots(st) >= kStandstillKnots) {
        if (st.aircraft().paused == 0)
            SteerOnGround(st);
        plan.StopTime = static_cast<float>(now);
        return;
    }
    if (!(std::fabs(now - plan.StopTime) > kStandstillSeconds))
        return;
    flightstate::AircraftCommands& plane = st.plane();
    plane.spoilers(0);
    plane.armspoilers(0);
    plane.flaps(0);
    plane.brakeindicator(0);
    plane.airbrake(0);
    plane.apwinglevel(0);
    plane.apheading(0);
    plane.apaltitude(0);
    plane.leftbrake(0);
    plane.rightbrake(0);
    plane.elevator(0);
    plane.rudder(0);
    plane.aileron(0);
    plane.parkingbrake(kBrakeSet);
    plan.LandingStage = kResettingControls;
    st.out.report.stage = "Resetting controls";
}

void ResettingControls(Step& st) {
    // Wait until the exchange has sent the last autopilot values.
    if (st.in.autopilotTargetsSent) {
        st.plane().apheadinghold(0);
        st.plane().apalthold(0);
        st.plan.LandingStage = kAutopilotOff;
    }
}

void AutopilotOff(Step& st) {
    // The master switch goes off only after the hold switches have been sent.
    if (st.in.holdSwitchesSent) {
        st.plane().apmaster(0);
        st.plan.GuidanceOn = false;
        st.plan.LandingStage = kNotLanding;
        st.plane().autocoordinator(1);
    }
    EndFlightDisplay(st.plan, st.out);
}

void HandBackInLevelFlight(Step& st) {
    FlyTherePlan& plan = st.plan;
    plan.LandingStage = kNotLanding;
    plan.RouteStage = 0;
    plan.GuidanceOn = false;
    st.plane().apaltitude(RoundInto<std::int32_t>(AltitudeFt(st)));
    st.plane().apvertspeed(0);
    st.plane().throttles(kCruiseThrottle);
    st.plane().flaps(0);
    st.out.report.stage = "Landing abandoned";
    EndFlightDisplay(plan, st.out);
    st.out.report.alert = "The approach to runway " + plan.RunwayDesignator +
                          " could not be flown to a landing after " +
                          std::to_string(kMaxGoArounds) +
                          " go-arounds. The autopilot holds level flight: please take over.";
}

void StartGoAround(Step& st, const char* why) {
    FlyTherePlan& plan = st.plan;
    ++plan.GoArounds;
    flightstate::AircraftCommands& plane = st.plane();
    // Crash detection stays off during the flight, as before the final stage.
    plane.crashing(0);
    plane.spoilers(0);
    plane.armspoilers(0);
    // The go-around flies on the first flap step; the throttle law starts
    // again from full power on the next approach.
    plan.Speeds.flapStep = std::min(plan.Speeds.flapStep, 1);
    plan.Speeds.flapStepSinceS = st.in.timeOfDayS;
    plan.Speeds.throttle = -1;
    plan.Speeds.spoilersOut = false;
    plane.flaps(kFlapStepLever[std::size_t(plan.Speeds.flapStep)]);
    plane.throttles(kFullDeflection);
    if (plan.GoArounds > kMaxGoArounds) {
        HandBackInLevelFlight(st);
        return;
    }
    plan.RouteStage = 0;  // the go-around steers the runway heading itself
    plan.LandingStage = kGoAround;
    st.out.report.stage = std::string("Go-around: ") + why;
    plane.apaltitude(RoundInto<std::int32_t>(plan.ApproachStartAltitudeFt));
    plane.apvertspeed(kGoAroundRate);
}

void GoAround(Step& st) {
    FlyTherePlan& plan = st.plan;
    const flightstate::Readings& r = st.aircraft();
    flightstate::AircraftCommands& plane = st.plane();
    plane.throttles(kFullDeflection);
    plane.apaltitude(RoundInto<std::int32_t>(plan.ApproachStartAltitudeFt));
    plane.apvertspeed(RoundInto<std::int32_t>(
        GoAroundClimbFpm(plan.Speeds, r.indicatedAirspeedKnots, kGoAroundRate)));
    const double drift = plan.Track.Valid() ? plan.Track.DriftDeg() : 0.0;
    plane.apheading(AutopilotHeadingUnits(plan.RunwayHeading - drift - r.magneticVariationDeg));
    const double altitudeFt = AltitudeFt(st);
    if (altitudeFt > plan.RunwayElevation + 300 && r.gearHandle != 0)
        plane.gearhandle(0);
    // Flaps up once the climb has gathered speed, before it passes what the
    // flaps may be flown at.
    if (plan.Speeds.flapStep > 0 &&
        RetractFlapsInClimb(plan.Speeds, r.indicatedAirspeedKnots, st.in.timeOfDayS))
        plane.flaps(kFlapStepLever[0]);
    if (altitudeFt >= plan.ApproachStartAltitudeFt - 100) {
        // Up again: the approach is flown again from the turning point.
        plan.LandingStage = kNotLanding;
        plan.RouteStage = 1;
        plan.GateChecked = false;
    }
}

}  // namespace

FlyThereStep LandingStep(const LandingInputs& in, FlyTherePlan& plan) {
    FlyThereStep out;
    Step st{in, plan, out};
    switch (plan.LandingStage) {
        case kWaitForDescent:
            WaitForDescentPoint(st);
            break;
        case kInitialDescent:
            InitialDescent(st);
            break;
        case kMidDescent:
            MidDescent(st);
            break;
        case kFinalDescent:
            FinalDescent(st);
            break;
        case kTouchdown:
            TouchdownBraking(st);
            break;
        case kRollout:
            Rollout(st);
            break;
        case kResettingControls:
            ResettingControls(st);
            break;
        case kAutopilotOff:
            AutopilotOff(st);
            break;
        case kGoAround:
            GoAround(st);
            break;
        default:
            break;
    }
    return out;
}

void EndFlightDisplay(const FlyTherePlan& plan, FlyThereStep& step) {
    step.commands.crashing(plan.SavedCrashSetting);
    step.report.displayEnded = true;
}

DescentCommand DescentRate(double slopePercent, double profileSpeedKnots, double heightFt,
                           double toGoFt, bool limitClimb) {
    DescentCommand command;
    const double feetPerMinute = profileSpeedKnots * kFeetPerMinutePerKnot;
    command.profileRate = RoundInto<std::int16_t>(-(slopePercent * feetPerMinute / 100));
    if (feetPerMinute == 0 || toGoFt == 0)
        return command;  // no time to go can be computed
    const double minutesToGo = toGoFt / feetPerMinute;
    const double required = -(heightFt / minutesToGo);
    if (std::isnan(required))
        return command;
    std::int32_t q = RoundInto<std::int32_t>(required);
    if (q < kSteepestRate || (limitClimb && q > 0))
        q = kSteepestRate;
    command.requiredRate = q;
    command.commandedRate = Saturate32(2 * std::int64_t{q} - command.profileRate);
    command.computed = true;
    return command;
}

bool DescentStageEnds(std::int32_t commandedRate, double heightFt) {
    return -commandedRate / 6.0 > heightFt;
}

}  // namespace corvane::autopilot
