// SPDX-License-Identifier: MIT
#include "app/autopilot/LandingSequence.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "app/autopilot/AircraftReadings.h"
#include "app/autopilot/ApproachGeometry.h"
#include "app/autopilot/DescentProfile.h"
#include "app/autopilot/FlyThereCommands.h"
#include "app/autopilot/FlyThereStatus.h"
#include "app/autopilot/RouteGuidance.h"
#include "app/startup/Program.h"

namespace corvane::autopilot {
namespace {

constexpr std::int32_t kSteepestRate = -4000;      // ft/min
constexpr std::int32_t kNearThresholdRate = -150;  // ft/min
constexpr std::int32_t kIdleWithinFt = 300;        // distance to the threshold
constexpr std::int32_t kWaitingFlaps = 3000;
constexpr std::int32_t kDescentFlaps = 16000;    // also the descent spoilers
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

// Sets the commanded vertical speed unless the time to go is undefined, in
// which case the previous command stays. Returns the command.
DescentCommand FlyDescent(Program& p, double slopePercent, double heightFt, double toGoFt,
                          bool limitClimb) {
    const DescentCommand command =
        DescentRate(slopePercent, p.plan.ProfileSpeed, heightFt, toGoFt, limitClimb);
    if (command.computed)
        p.plane.apvertspeed(command.commandedRate);
    return command;
}

// Before the final stage: the distance to the threshold and on along the
// runway to the aim point.
double ThresholdFt(const Program& p) {
    return ThresholdDistance(p.plan, p.flightState) + p.plan.AimPointFt;
}

RunwayOffsets Offsets(const Program& p) {
    return OffsetsFromRunway(p.plan, AircraftLatitude(p.flightState),
                             AircraftLongitude(p.flightState));
}

double HeightAboveRunwayFt(const Program& p) {
    return AltitudeMetres(p.flightState) * kFeetPerMetre - p.plan.RunwayElevation;
}

// No descent takes the aircraft below the terrain floor before the final
// stage: the commanded rate is limited so that it levels off there (and
// climbs back when below it). Returns the rate that was sent.
std::int32_t KeepClearOfGround(Program& p, std::int32_t rate, double toAimFt) {
    const flightstate::FlightState& s = p.flightState;
    const double aglFt = (AltitudeMetres(s) - s.groundaltitude) * kFeetPerMetre;
    const double floorFt = TerrainFloorFt(p.plan, toAimFt);
    const auto limit =
        static_cast<std::int32_t>(std::nearbyint(TerrainLimitedRate(aglFt, floorFt)));
    if (rate < limit) {
        p.plane.apvertspeed(limit);
        return limit;
    }
    return rate;
}

void StartGoAround(Program& p, const char* why);

// The 500 ft gate: an approach that is not stabilised there goes around.
// Returns true when it did.
bool CheckStabilisedGate(Program& p) {
    FlyTherePlan& plan = p.plan;
    if (plan.GateChecked || p.flightState.onground == 1)
        return false;
    const double heightFt = HeightAboveRunwayFt(p);
    if (heightFt > kStabilisedGateFt)
        return false;
    plan.GateChecked = true;
    const char* why =
        UnstableReason(plan, Offsets(p), heightFt, plan.Track.Valid(), plan.Track.TrackDeg());
    if (*why == '\0')
        return false;
    StartGoAround(p, why);
    return true;
}

void WaitForDescentPoint(Program& p) {
    FlyTherePlan& plan = p.plan;
    p.plane.flaps(kWaitingFlaps);
    FinalProfile(plan, p.flightState, kFinalSlopePercent);
    MidProfile(plan, kMidSlopePercent);
    InitialProfile(plan, p.flightState, kInitialSlopePercent);
    if (ThresholdFt(p) < plan.DescentStart) {
        // From now on the altitude target stays 0: the descent is flown by
        // vertical speed alone.
        p.plane.apaltitude(0);
        plan.ApproachStartAltitudeFt = AltitudeMetres(p.flightState) * kFeetPerMetre;
        plan.GateChecked = false;
        plan.LandingStage = kInitialDescent;
        p.forms.Form4.Label6.caption = "Initial descent";
    }
}

void InitialDescent(Program& p) {
    FlyTherePlan& plan = p.plan;
    const flightstate::FlightState& s = p.flightState;
    if (p.plane.gearhandle() != kFullDeflection)
        p.plane.gearhandle(kFullDeflection);
    FinalProfile(plan, s, kFinalSlopePercent);
    MidProfile(plan, kMidSlopePercent);
    plan.ProfileSpeed = TrueAirspeedKnots(s);

    double heightFt = AltitudeMetres(s) * kFeetPerMetre - plan.MidStart;
    // High ground under the aircraft counts against the height to lose.
    const double groundFt = s.groundaltitude * kFeetPerMetre;
    if (groundFt > plan.RunwayElevation)
        heightFt -= groundFt - plan.RunwayElevation;
    const double toGoFt = ThresholdFt(p) - plan.ApproachLength;

    p.plane.flaps(kDescentFlaps);
    p.plane.armspoilers(1);
    p.plane.spoilers(kDescentFlaps);
    const DescentCommand command = FlyDescent(p, kInitialSlopePercent, heightFt, toGoFt, true);
    p.plane.throttles(DescentThrottle(p.plane.stallfactor(), kInitialDescent));
    if (CheckStabilisedGate(p))
        return;
    const std::int32_t rate = KeepClearOfGround(p, command.commandedRate, ThresholdFt(p));
    if (command.computed && DescentStageEnds(rate, heightFt)) {
        plan.LandingStage = kMidDescent;
        p.forms.Form4.Label6.caption = "Mid-stage descent";
    }
}

void MidDescent(Program& p) {
    FlyTherePlan& plan = p.plan;
    const flightstate::FlightState& s = p.flightState;
    FinalProfile(plan, s, kFinalSlopePercent);
    plan.ProfileSpeed = TrueAirspeedKnots(s);
    const double heightFt = AltitudeMetres(s) * kFeetPerMetre - plan.FinalStart;
    const double toGoFt = ThresholdFt(p) - plan.FinalLength;

    p.plane.flaps(kDescentFlaps);
    p.plane.spoilers(kDescentFlaps);
    const DescentCommand command = FlyDescent(p, kMidSlopePercent, heightFt, toGoFt, true);
    p.plane.throttles(DescentThrottle(p.plane.stallfactor(), kMidDescent));
    if (CheckStabilisedGate(p))
        return;
    const std::int32_t rate = KeepClearOfGround(p, command.commandedRate, ThresholdFt(p));
    if (command.computed && DescentStageEnds(rate, heightFt)) {
        plan.LandingStage = kFinalDescent;
        p.forms.Form4.Label6.caption = "Final descent";
        // Crash detection is back on for the touchdown.
        p.plane.crashing(plan.SavedCrashSetting);
    }
}

void FinalDescent(Program& p) {
    FlyTherePlan& plan = p.plan;
    const flightstate::FlightState& s = p.flightState;
    plan.ProfileSpeed = TrueAirspeedKnots(s);
    const double heightFt =
        AltitudeMetres(s) * kFeetPerMetre - plan.RunwayElevation - kTouchdownAimFt;
    // Along the extended centre line, signed: past the aim point the distance
    // is negative, so a float never gets power and a computed climb again.
    const double toAimFt = ToAimPointFt(plan, Offsets(p));
    if (plan.ProfileSpeed * kFeetPerMinutePerKnot == 0)
        return;
    if (CheckStabilisedGate(p))
        return;

    p.plane.flaps(kDescentFlaps);
    std::int32_t throttle = FinalDescentThrottle(p.plane.stallfactor());
    if (toAimFt < kIdleWithinFt) {
        throttle = 0;
        p.plane.apvertspeed(kNearThresholdRate);
    } else {
        FlyDescent(p, kFinalSlopePercent, heightFt, toAimFt, false);
    }
    p.plane.throttles(throttle);
    if (s.onground == 1) {
        plan.LandingStage = kTouchdown;
        p.forms.Form4.Label6.caption = "Touchdown";
        p.forms.Form4.Label7.caption = "";
        plan.GuidanceOn = false;
        plan.RouteStage = 0;  // the rollout steers on the ground from here
        p.plane.apvertspeed(kNearThresholdRate);
    }
}

// Steers the nose wheel towards the centre line on the ground. After a
// bounce the rudder is centred and the autopilot steers the track back along
// the centre line, the heading moving at most 2 degrees at a time, so that
// the wings stay level until the wheels are down again.
void SteerOnGround(Program& p) {
    const flightstate::FlightState& s = p.flightState;
    if (s.onground != 1) {
        p.plane.rudder(0);
        const double variation = MagneticVariation(s);
        const double drift = p.plan.Track.Valid() ? p.plan.Track.DriftDeg() : 0.0;
        const double wanted = CentreLineTrack(p.plan, Offsets(p)) - drift - variation;
        p.plane.apheading(
            AutopilotHeadingUnits(NearGroundHeading(wanted, TrueHeading(s) - variation)));
        return;
    }
    const double steer = RolloutSteering(p.plan, Offsets(p), TrueHeading(s));
    p.plane.rudder(RoundInto<std::int32_t>(steer * kFullDeflection));
}

// Ground speed, knots, from successive positions; the true airspeed while
// the positions do not yet span the measuring window.
double GroundSpeedKnots(const Program& p) {
    return p.plan.Track.Valid() ? p.plan.Track.SpeedKnots() : TrueAirspeedKnots(p.flightState);
}

void TouchdownBraking(Program& p) {
    p.plane.leftbrake(kWheelBrakes);
    p.plane.rightbrake(kWheelBrakes);
    p.plane.spoilers(kFullDeflection);
    p.plane.brakeindicator(kBrakeSet);
    p.plane.airbrake(kAirbrakeSet);
    p.plane.elevator(kRolloutElevator);
    p.plane.throttles(RoundInto<std::int32_t>(p.plane.enginetype() / 2.0));
    if (p.flightState.paused != 0)
        return;
    SteerOnGround(p);
    if (GroundSpeedKnots(p) < kRolloutIdleKnots) {
        p.plane.throttles(0);
        p.plan.LandingStage = kRollout;
        // The standstill is timed from here at the latest, so that the three
        // seconds are always waited even when no rollout tick sees 3 knots.
        p.plan.StopTime = static_cast<float>(p.host.TimeOfDay());
    }
}

void Rollout(Program& p) {
    FlyTherePlan& plan = p.plan;
    const double now = p.host.TimeOfDay();
    // Judged on the ground speed: the airspeed of an aircraft standing in
    // wind is the wind. A paused simulator does not stand still.
    if (p.flightState.paused != 0 || GroundSpeedKnots(p) >= kStandstillKnots) {
        if (p.flightState.paused == 0)
            SteerOnGround(p);
        plan.StopTime = static_cast<float>(now);
        return;
    }
    if (!(std::fabs(now - plan.StopTime) > kStandstillSeconds))
        return;
    p.plane.spoilers(0);
    p.plane.armspoilers(0);
    p.plane.flaps(0);
    p.plane.brakeindicator(0);
    p.plane.airbrake(0);
    p.plane.apwinglevel(0);
    p.plane.apheading(0);
    p.plane.apaltitude(0);
    p.plane.leftbrake(0);
    p.plane.rightbrake(0);
    p.plane.elevator(0);
    p.plane.rudder(0);
    p.plane.aileron(0);
    p.plane.parkingbrake(kBrakeSet);
    plan.LandingStage = kResettingControls;
    p.forms.Form4.Label6.caption = "Resetting controls";
}

void ResettingControls(Program& p) {
    const flightstate::FlightState& s = p.flightState;
    // Wait until the exchange has sent the last autopilot values.
    if (s.apheadingpending == flightstate::kRequestClear &&
        s.apaltitudepending == flightstate::kRequestClear &&
        s.apvertspeedpending == flightstate::kRequestClear) {
        p.plane.apheadinghold(0);
        p.plane.apalthold(0);
        p.plan.LandingStage = kAutopilotOff;
    }
}

void AutopilotOff(Program& p) {
    const flightstate::FlightState& s = p.flightState;
    // The master switch goes off only after the hold switches have been sent.
    if (s.apheadingholdpending == flightstate::kRequestClear &&
        s.apaltholdpending == flightstate::kRequestClear) {
        p.plane.apmaster(0);
        p.plan.GuidanceOn = false;
        p.plan.LandingStage = kNotLanding;
        p.plane.autocoordinator(1);
    }
    EndFlyThereDisplay(p);
}

void HandBackInLevelFlight(Program& p) {
    FlyTherePlan& plan = p.plan;
    plan.LandingStage = kNotLanding;
    plan.RouteStage = 0;
    plan.GuidanceOn = false;
    p.plane.apaltitude(RoundInto<std::int32_t>(AltitudeMetres(p.flightState) * kFeetPerMetre));
    p.plane.apvertspeed(0);
    p.plane.throttles(kCruiseThrottle);
    p.plane.flaps(0);
    p.forms.Form4.Label6.caption = "Landing abandoned";
    EndFlyThereDisplay(p);
    p.host.ShowMessageBox(
        "The approach to runway " + plan.RunwayDesignator +
            " could not be flown to a landing after " + std::to_string(kMaxGoArounds) +
            " go-arounds. The autopilot holds level flight: please take over.",
        "Fly there", host::MessageBoxIcon::Exclamation, host::MessageBoxButtons::Ok);
}

void StartGoAround(Program& p, const char* why) {
    FlyTherePlan& plan = p.plan;
    ++plan.GoArounds;
    // Crash detection stays off during the flight, as before the final stage.
    p.plane.crashing(0);
    p.plane.spoilers(0);
    p.plane.armspoilers(0);
    p.plane.flaps(kWaitingFlaps);
    p.plane.throttles(kFullDeflection);
    if (plan.GoArounds > kMaxGoArounds) {
        HandBackInLevelFlight(p);
        return;
    }
    plan.RouteStage = 0;  // the go-around steers the runway heading itself
    plan.LandingStage = kGoAround;
    p.forms.Form4.Label6.caption = std::string("Go-around: ") + why;
    p.plane.apaltitude(RoundInto<std::int32_t>(plan.ApproachStartAltitudeFt));
    p.plane.apvertspeed(kGoAroundRate);
}

void GoAround(Program& p) {
    FlyTherePlan& plan = p.plan;
    const flightstate::FlightState& s = p.flightState;
    p.plane.throttles(kFullDeflection);
    p.plane.apaltitude(RoundInto<std::int32_t>(plan.ApproachStartAltitudeFt));
    p.plane.apvertspeed(kGoAroundRate);
    const double drift = plan.Track.Valid() ? plan.Track.DriftDeg() : 0.0;
    p.plane.apheading(AutopilotHeadingUnits(plan.RunwayHeading - drift - MagneticVariation(s)));
    const double altitudeFt = AltitudeMetres(s) * kFeetPerMetre;
    if (altitudeFt > plan.RunwayElevation + 300 && p.plane.gearhandle() != 0)
        p.plane.gearhandle(0);
    if (altitudeFt >= plan.ApproachStartAltitudeFt - 100) {
        // Up again: the approach is flown again from the turning point.
        plan.LandingStage = kNotLanding;
        plan.RouteStage = 1;
        plan.GateChecked = false;
    }
}

}  // namespace

void LandingTick(Program& p) {
    switch (p.plan.LandingStage) {
        case kWaitForDescent:
            WaitForDescentPoint(p);
            break;
        case kInitialDescent:
            InitialDescent(p);
            break;
        case kMidDescent:
            MidDescent(p);
            break;
        case kFinalDescent:
            FinalDescent(p);
            break;
        case kTouchdown:
            TouchdownBraking(p);
            break;
        case kRollout:
            Rollout(p);
            break;
        case kResettingControls:
            ResettingControls(p);
            break;
        case kAutopilotOff:
            AutopilotOff(p);
            break;
        case kGoAround:
            GoAround(p);
            break;
        default:
            break;
    }
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

std::int32_t DescentThrottle(std::int32_t stallfactor, int stage) {
    auto x = RoundInto<std::int32_t>(0.75 * (32767 - stallfactor) + 8192);
    if (x > 16384)
        x = kFullDeflection;
    if (stage == kInitialDescent && x < 0)
        x = kFullDeflection;
    return x;
}

std::int32_t FinalDescentThrottle(std::int32_t stallfactor) {
    std::int32_t x = (32767 - stallfactor) + 8192;
    if (x > 16384)
        x = kFullDeflection;
    return x;
}

}  // namespace corvane::autopilot
