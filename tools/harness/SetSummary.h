// SPDX-License-Identifier: MIT
//
// The summary of a scenario set: how many landings were good by the limits of
// a good landing (the success rate), how the outcomes spread, and the median
// and extreme values of each measure with the scenario that gave the extreme.
// Also the table the harness prints, one row per scenario.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tools/harness/LandingReport.h"

namespace corvane::harness {

struct Statistic {
    int count = 0;  // scenarios that have the value
    double median = 0.0;
    double min = 0.0;
    double max = 0.0;
    std::string minScenario;
    std::string maxScenario;
};

// Median (mean of the two middle values for an even count), min and max.
Statistic Summarise(const std::vector<std::pair<double, std::string>>& values);

struct SetSummary {
    // The aircraft the summary is of; empty: every flight of the set.
    std::string aircraftId;
    std::string aircraftName;
    double referenceKias = 0.0;  // of that aircraft
    int scenarios = 0;
    int good = 0;                    // by every limit
    int goodOnRunway = 0;            // by the six runway limits
    double successRate = 0.0;        // good / scenarios (0 for an empty set)
    double runwaySuccessRate = 0.0;  // goodOnRunway / scenarios
    // The 95 % lower confidence bound of the rate of good landings the flights
    // are a sample of (Wilson score interval; 0 for an empty set).
    double successLowerBound95 = 0.0;
    // Scenarios that met each limit (indexed by Limit).
    std::array<int, kLimitCount> passed{};
    int landedAndStopped = 0;
    int crashed = 0;
    int timedOut = 0;
    int offRunway = 0;
    int errors = 0;

    Statistic touchdownFt;      // past the threshold
    Statistic touchdownCrossM;  // |distance from the centre line|
    Statistic sinkFpm;
    Statistic peakNormalLoadG;
    Statistic touchdownIasKt;
    Statistic touchdownOverReferenceKt;  // IAS at touchdown less the aircraft's reference
    Statistic touchdownPitchDeg;
    Statistic touchdownLoadG;
    Statistic bounces;
    int bounced = 0;         // flights with a lift-off after the touchdown
    Statistic flapExcessKt;  // the worst of each flight that exceeded a limit
    Statistic gateIasOverReferenceKt;
    Statistic stopRemainingFt;
    Statistic stopCrossM;  // |distance from the centre line|
    Statistic flightTimeS;
    Statistic speedUp;
    double totalVirtualS = 0.0;
    double totalWallS = 0.0;
    double overallSpeedUp = 0.0;  // total virtual / total wall
};

// Lower end of the two-sided Wilson score interval for `successes` of `n`
// trials, at the normal quantile z (1.959964 for 95 %); 0 when n is 0.
double WilsonLowerBound(int successes, int n, double z = 1.959963984540054);

SetSummary SummariseSet(const std::vector<LandingReport>& reports);
// One summary per aircraft, in the order the aircraft first fly in the set.
std::vector<SetSummary> SummariseByAircraft(const std::vector<LandingReport>& reports);
// The share of the set's scenarios that met a limit (0 for an empty set).
double PassRate(const SetSummary& summary, Limit limit);

// The table of the set: one row per scenario (outcome, good, touchdown,
// lateral offsets, sink, load, runway left at the stop, time, speed-up).
std::string FormatTable(const std::vector<LandingReport>& reports);
// The summary lines under the table; with more than one aircraft, each
// aircraft's limits and handling figures beside the others'.
std::string FormatSummary(const SetSummary& summary,
                          const std::vector<SetSummary>& byAircraft = {});
// Why each landing that is not good failed, one line per scenario.
std::string FormatFailures(const std::vector<LandingReport>& reports);
// The landings that are not good, worst first (a crash, then no touchdown,
// off the runway, then by the number of limits not met and the distance from
// the centre line at touchdown): at most `count`, one line each.
std::vector<const LandingReport*> WorstCases(const std::vector<LandingReport>& reports,
                                             std::size_t count);
std::string FormatWorstCases(const std::vector<LandingReport>& reports, std::size_t count);

}  // namespace corvane::harness
