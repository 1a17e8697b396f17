// SPDX-License-Identifier: MIT
//
// What the harness found out about one flight, and the judgement of the
// landing against the limits of a good landing (docs/harness.md gives each
// limit with its source). The runway limits:
// - touchdown between 200 ft and the lesser of 2,700 ft and a third of the
//   runway past the threshold;
// - main gear within the runway's half width less 5 m of the centre line at
//   touchdown;
// - sink rate at touchdown under 600 ft/min (the structural limit);
// - no crash;
// - stopped on the runway with control handed back (autopilot off, both
//   stages 0).
// The handling limits, what a pilot signs off, judged with the figures of the
// aircraft that flew:
// - no bounce: no lift-off after the first touchdown;
// - main wheels first: the nose wheel touches after the main wheels;
// - touchdown speed: above 1.05 times the stall speed with landing flaps and
//   at most the reference speed (1.3 times it);
// - flap speeds: no flap setting flown faster than its limiting speed;
// - load: normal load factor at most 1.6 g from the touchdown to 2 s after;
// - gentle sink: at most 360 ft/min at touchdown;
// - stabilised at 500 ft above the runway: speed within -5/+15 kt of the
//   reference, landing flaps set, sink under 1,000 ft/min, within the
//   runway's half width of the centre line.
// Times are simulator seconds from the moment the landing direction was
// chosen (the flight's start), unless named otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/physics/AircraftData.h"

namespace corvane::harness {

enum class Outcome {
    LandedAndStopped,  // on the runway, standing, control handed back
    Crashed,           // the simulator detected a crash
    TimedOut,          // no hand-back within the limits
    OffRunway,         // touched down, rolled or stopped off the paved strip
    Error,             // the scenario could not be flown (see error)
};
const char* OutcomeName(Outcome outcome);

// The limits of a good landing, each judged on its own: the six runway limits
// first, then the handling limits.
enum class Limit {
    TouchdownZone,  // touchdown distance past the threshold
    CentreLine,     // touchdown within the half width less the margin
    SinkRate,       // at touchdown, the structural limit
    NoCrash,
    StoppedOnRunway,  // standing on the paved strip at the end
    HandedBack,       // autopilot off, both stages 0
    NoBounce,         // no lift-off after the first touchdown
    MainWheelsFirst,  // the nose wheel touches after the main wheels
    TouchdownSpeed,   // against the stall and reference speeds
    FlapSpeeds,       // no flap setting above its limiting speed
    TouchdownLoad,    // normal load factor at touchdown
    GentleSink,       // sink rate at touchdown, the comfortable limit
    Stabilised,       // at 500 ft above the runway
};
inline constexpr int kLimitCount = 13;
inline constexpr int kRunwayLimitCount = 6;  // the first six
bool IsRunwayLimit(Limit limit);
// "touchdownZone", "centreLine", "sinkRate", "noCrash", "stoppedOnRunway",
// "handedBack", "noBounce", "mainWheelsFirst", "touchdownSpeed", "flapSpeeds",
// "touchdownLoad", "gentleSink", "stabilised".
const char* LimitName(Limit limit);
// The limit of a name, or nullopt.
std::optional<Limit> LimitNamed(const std::string& name);

struct GoodLandingLimits {
    double minTouchdownFt = 200.0;
    double maxTouchdownFt = 2700.0;
    double maxTouchdownRunwayShare = 1.0 / 3.0;
    double lateralMarginM = 5.0;  // inside the half width
    double maxSinkFpm = 600.0;
    double maxGentleSinkFpm = 360.0;
    double maxTouchdownLoadG = 1.6;
    double minTouchdownStallFactor = 1.05;  // of the stall speed with landing flaps
    // Stabilised at the gate: speed against the reference, sink.
    double gateHeightFt = 500.0;
    double gateMinSpeedOverReferenceKt = -5.0;
    double gateMaxSpeedOverReferenceKt = 15.0;
    double gateMaxSinkFpm = 1000.0;
};

// The figures of the aircraft that flew, as the judgement uses them.
struct AircraftFigures {
    std::string id;
    std::string name;
    double stallCleanKias = 0.0;
    double stallLandingKias = 0.0;
    double referenceKias = 0.0;  // 1.3 times the stall speed with landing flaps
    double landingFlaps = 1.0;   // flap position of the landing configuration
};
AircraftFigures FiguresOf(const sim::AircraftData& data);

// One limit as judged: the value measured, the bound it is held to, and
// whether it was met.
struct LimitCheck {
    Limit limit = Limit::TouchdownZone;
    std::string value;  // "1023 ft", "none", "124.5 kt"
    std::string bound;  // "200..2700 ft", "at most 93.6 kt"
    bool met = false;
};

struct TimedText {
    double timeS = 0.0;
    std::string text;
};

struct TouchdownFacts {
    double timeS = 0.0;
    double alongFt = 0.0;  // past the threshold
    double crossM = 0.0;   // right of the centre line positive
    double sinkFpm = 0.0;
    double iasKt = 0.0;
    double groundSpeedKt = 0.0;
    double pitchDeg = 0.0;
    double bankDeg = 0.0;
    bool onRunway = false;
    // Which wheels touched first: "main wheels", "nose wheel", "together" (in
    // one step) or "belly"; and when the nose wheel followed the main wheels
    // (seconds after them; none while it has not touched).
    std::string firstContact;
    std::optional<double> noseWheelAfterS;
    // The load from the touchdown to 2 s after it: the largest single sample
    // of the simulator's normal load, and the largest of its means over an
    // eighth of a second, as a flight data recorder's accelerometer channel
    // reads it. The landing is judged on the second: a sample's peak depends
    // on how often the simulator samples, the mean does not.
    double peakLoadG = 0.0;
    double recordedLoadG = 0.0;
};

// The worst flap excess of a flight: the indicated airspeed most above the
// limiting speed of the flaps as they were, and where.
struct FlapExcess {
    double excessKt = 0.0;
    double iasKt = 0.0;
    double limitKias = 0.0;
    std::string setting;
    double flapPosition = 0.0;
    double timeS = 0.0;
    double distanceNm = 0.0;   // from the threshold
    double heightFt = 0.0;     // above the runway's elevation
    std::string stage;         // the program's stage text then
    double secondsOver = 0.0;  // time flown above a flap limit in the whole flight
};

// The aircraft as it descended through the stabilised gate (500 ft above the
// runway) for the last time before its touchdown.
struct GateFacts {
    double timeS = 0.0;
    double iasKt = 0.0;
    double flapPosition = 0.0;
    double sinkFpm = 0.0;  // downward positive
    double crossM = 0.0;
    double distanceNm = 0.0;  // from the threshold
};

struct StopFacts {
    double timeS = 0.0;
    double alongFt = 0.0;
    double crossM = 0.0;
    double remainingFt = 0.0;  // runway length left ahead of the aircraft
    bool onRunway = false;
};

// Where the aircraft crossed the threshold (in the air).
struct ThresholdCrossing {
    double heightFt = 0.0;  // of the wheels above the threshold's elevation
    double crossM = 0.0;
    double iasKt = 0.0;
    double verticalSpeedFpm = 0.0;
};

struct LandingReport {
    std::string scenario;
    std::string file;
    std::string error;  // why the scenario could not be flown (Outcome::Error)
    Outcome outcome = Outcome::Error;
    std::string outcomeDetail;  // one line saying why the outcome is what it is

    // The destination as chosen in the program's windows.
    std::string airportLine;
    std::string runwayLine;
    std::string runwayDesignator;
    double runwayHeadingDeg = 0.0;
    double runwayLengthFt = 0.0;  // threshold to far end
    double runwayWidthM = 0.0;
    double runwayElevationFt = 0.0;
    double windFromDeg = 0.0;
    double windSpeedKt = 0.0;
    bool windGradient = false;
    std::string turbulence = "none";
    std::uint64_t turbulenceSeed = 1;
    double startDistanceNm = 0.0;  // from the threshold at the flight's start
    AircraftFigures aircraft;

    std::optional<TouchdownFacts> touchdown;
    int bounces = 0;  // lift-offs after the first touchdown
    std::optional<ThresholdCrossing> thresholdCrossing;
    std::optional<GateFacts> gate;         // none: never descended through it
    std::optional<FlapExcess> flapExcess;  // none: every flap limit kept
    std::optional<StopFacts> stop;
    double maxRolloutCrossM = 0.0;  // largest distance from the centre line on the ground
    double peakNormalLoadG = 0.0;   // from the flight's start, the flight model's own
    double minNormalLoadG = 0.0;
    double peakNormalLoadTimeS = 0.0;
    bool handedBack = false;
    std::optional<double> handBackTimeS;
    bool crashed = false;
    std::string crashReason;

    std::vector<TimedText> stages;      // "route 2", "landing 4", ... as they were entered
    std::vector<TimedText> stageTexts;  // the texts Form4's Label6 showed, in order
    std::vector<std::string> messageBoxes;

    // Judgement against the limits.
    bool good = false;                      // every limit met
    bool goodOnRunway = false;              // the six runway limits met
    std::vector<Limit> failed;              // the limits not met
    std::vector<std::string> failedLimits;  // why, one text per limit not met
    // Each limit's measured value beside its bound, in Limit order.
    std::vector<LimitCheck> checks;

    // Run statistics.
    double flightTimeS = 0.0;   // simulator seconds from the flight's start to the end of the run
    double virtualTimeS = 0.0;  // virtual seconds of the whole run, start-up included
    double wallTimeS = 0.0;     // real seconds the run took
    double speedUp = 0.0;       // virtual / wall
};

// The outcome from the facts of the report: a crash; a touchdown off the
// runway, or leaving it in the roll-out (leftRunway); standing with control
// handed back; else timed out, endDetail saying why (as a crash's detail
// too).
void DecideOutcome(LandingReport& report, bool leftRunway, const std::string& endDetail);

// Fills good, failed and failedLimits from the facts of the report.
void JudgeLanding(LandingReport& report, const GoodLandingLimits& limits = GoodLandingLimits{});

}  // namespace corvane::harness
