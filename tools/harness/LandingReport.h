// SPDX-License-Identifier: MIT
//
// What the harness found out about one flight, and the judgement of the
// landing against the limits of a good landing:
// - touchdown between 200 ft and the lesser of 2,700 ft and a third of the
//   runway past the threshold;
// - main gear within the runway's half width less 5 m of the centre line at
//   touchdown;
// - sink rate at touchdown under 600 ft/min;
// - no crash;
// - stopped on the runway with control handed back (autopilot off, both
//   stages 0).
// Times are simulator seconds from the moment the landing direction was
// chosen (the flight's start), unless named otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane::harness {

enum class Outcome {
    LandedAndStopped,  // on the runway, standing, control handed back
    Crashed,           // the simulator detected a crash
    TimedOut,          // no hand-back within the limits
    OffRunway,         // touched down, rolled or stopped off the paved strip
    Error,             // the scenario could not be flown (see error)
};
const char* OutcomeName(Outcome outcome);

// The limits of a good landing, each judged on its own.
enum class Limit {
    TouchdownZone,  // touchdown distance past the threshold
    CentreLine,     // touchdown within the half width less the margin
    SinkRate,       // at touchdown
    NoCrash,
    StoppedOnRunway,  // standing on the paved strip at the end
    HandedBack,       // autopilot off, both stages 0
};
inline constexpr int kLimitCount = 6;
// "touchdownZone", "centreLine", "sinkRate", "noCrash", "stoppedOnRunway", "handedBack".
const char* LimitName(Limit limit);
// The limit of a name, or nullopt.
std::optional<Limit> LimitNamed(const std::string& name);

struct GoodLandingLimits {
    double minTouchdownFt = 200.0;
    double maxTouchdownFt = 2700.0;
    double maxTouchdownRunwayShare = 1.0 / 3.0;
    double lateralMarginM = 5.0;  // inside the half width
    double maxSinkFpm = 600.0;
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

    std::optional<TouchdownFacts> touchdown;
    int bounces = 0;  // lift-offs after the first touchdown
    std::optional<ThresholdCrossing> thresholdCrossing;
    std::optional<StopFacts> stop;
    double maxRolloutCrossM = 0.0;  // largest distance from the centre line on the ground
    double peakNormalLoadG = 0.0;   // from the flight's start; see docs/harness.md
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
    bool good = false;
    std::vector<Limit> failed;              // the limits not met
    std::vector<std::string> failedLimits;  // why, one text per limit not met

    // Run statistics.
    double flightTimeS = 0.0;   // simulator seconds from the flight's start to the end of the run
    double virtualTimeS = 0.0;  // virtual seconds of the whole run, start-up included
    double wallTimeS = 0.0;     // real seconds the run took
    double speedUp = 0.0;       // virtual / wall
};

// Fills good, failed and failedLimits from the facts of the report.
void JudgeLanding(LandingReport& report, const GoodLandingLimits& limits = GoodLandingLimits{});

}  // namespace corvane::harness
