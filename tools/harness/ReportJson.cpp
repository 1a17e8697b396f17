// SPDX-License-Identifier: MIT
#include "tools/harness/ReportJson.h"

#include <cmath>
#include <fstream>

namespace corvane::harness {

namespace {

using nlohmann::ordered_json;

// Rounded for reading; the measures mean nothing below these steps.
double Round(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(x * scale) / scale;
}

ordered_json TimedTexts(const std::vector<TimedText>& list) {
    ordered_json out = ordered_json::array();
    for (const TimedText& t : list)
        out.push_back({{"timeS", Round(t.timeS, 2)}, {"text", t.text}});
    return out;
}

ordered_json StatJson(const Statistic& s, int decimals) {
    if (s.count == 0)
        return {{"count", 0}};
    return {{"count", s.count},
            {"median", Round(s.median, decimals)},
            {"min", Round(s.min, decimals)},
            {"minScenario", s.minScenario},
            {"max", Round(s.max, decimals)},
            {"maxScenario", s.maxScenario}};
}

}  // namespace

ordered_json ReportToJson(const LandingReport& r) {
    ordered_json j;
    j["scenario"] = r.scenario;
    j["file"] = r.file;
    j["outcome"] = OutcomeName(r.outcome);
    j["outcomeDetail"] = r.outcomeDetail;
    j["good"] = r.good;
    ordered_json failed = ordered_json::array();
    for (std::size_t i = 0; i < r.failed.size(); ++i)
        failed.push_back({{"limit", LimitName(r.failed[i])}, {"why", r.failedLimits[i]}});
    j["failedLimits"] = failed;
    if (!r.error.empty())
        j["error"] = r.error;

    j["destination"] = {{"airportLine", r.airportLine},
                        {"runwayLine", r.runwayLine},
                        {"runway", r.runwayDesignator},
                        {"headingTrueDeg", Round(r.runwayHeadingDeg, 1)},
                        {"lengthFt", Round(r.runwayLengthFt, 0)},
                        {"widthM", Round(r.runwayWidthM, 1)},
                        {"elevationFt", Round(r.runwayElevationFt, 0)}};
    j["wind"] = {{"fromDeg", r.windFromDeg},
                 {"speedKt", r.windSpeedKt},
                 {"gradient", r.windGradient},
                 {"turbulence", r.turbulence},
                 {"seed", r.turbulenceSeed}};
    j["startDistanceNm"] = Round(r.startDistanceNm, 1);

    if (r.thresholdCrossing) {
        const ThresholdCrossing& c = *r.thresholdCrossing;
        j["thresholdCrossing"] = {{"heightFt", Round(c.heightFt, 1)},
                                  {"crossM", Round(c.crossM, 1)},
                                  {"iasKt", Round(c.iasKt, 1)},
                                  {"verticalSpeedFpm", Round(c.verticalSpeedFpm, 0)}};
    } else {
        j["thresholdCrossing"] = nullptr;
    }
    if (r.touchdown) {
        const TouchdownFacts& t = *r.touchdown;
        j["touchdown"] = {{"timeS", Round(t.timeS, 2)},
                          {"pastThresholdFt", Round(t.alongFt, 0)},
                          {"crossM", Round(t.crossM, 2)},
                          {"sinkFpm", Round(t.sinkFpm, 0)},
                          {"iasKt", Round(t.iasKt, 1)},
                          {"groundSpeedKt", Round(t.groundSpeedKt, 1)},
                          {"pitchDeg", Round(t.pitchDeg, 1)},
                          {"bankDeg", Round(t.bankDeg, 1)},
                          {"onRunway", t.onRunway}};
    } else {
        j["touchdown"] = nullptr;
    }
    j["bounces"] = r.bounces;
    if (r.stop) {
        const StopFacts& s = *r.stop;
        j["stop"] = {{"timeS", Round(s.timeS, 2)},
                     {"pastThresholdFt", Round(s.alongFt, 0)},
                     {"crossM", Round(s.crossM, 2)},
                     {"runwayRemainingFt", Round(s.remainingFt, 0)},
                     {"onRunway", s.onRunway}};
    } else {
        j["stop"] = nullptr;
    }
    j["maxRolloutCrossM"] = Round(r.maxRolloutCrossM, 2);
    j["peakNormalLoadG"] = Round(r.peakNormalLoadG, 3);
    j["peakNormalLoadTimeS"] = Round(r.peakNormalLoadTimeS, 2);
    j["minNormalLoadG"] = Round(r.minNormalLoadG, 3);
    j["crashed"] = r.crashed;
    if (r.crashed)
        j["crashReason"] = r.crashReason;
    j["handedBack"] = r.handedBack;
    j["handBackTimeS"] = r.handBackTimeS ? ordered_json(Round(*r.handBackTimeS, 2)) : nullptr;
    j["stages"] = TimedTexts(r.stages);
    j["stageTexts"] = TimedTexts(r.stageTexts);
    j["messageBoxes"] = r.messageBoxes;
    j["flightTimeS"] = Round(r.flightTimeS, 2);
    j["virtualTimeS"] = Round(r.virtualTimeS, 2);
    j["wallTimeS"] = Round(r.wallTimeS, 3);
    j["speedUp"] = Round(r.speedUp, 0);
    return j;
}

ordered_json SummaryToJson(const SetSummary& s) {
    ordered_json j;
    j["scenarios"] = s.scenarios;
    j["good"] = s.good;
    j["successRate"] = Round(s.successRate, 4);
    ordered_json passed;
    for (int i = 0; i < kLimitCount; ++i)
        passed[LimitName(static_cast<Limit>(i))] = s.passed[std::size_t(i)];
    j["limitsMet"] = passed;
    j["outcomes"] = {{"landed and stopped", s.landedAndStopped},
                     {"crashed", s.crashed},
                     {"timed out", s.timedOut},
                     {"off the runway", s.offRunway},
                     {"error", s.errors}};
    j["touchdownPastThresholdFt"] = StatJson(s.touchdownFt, 0);
    j["touchdownCrossAbsM"] = StatJson(s.touchdownCrossM, 2);
    j["sinkFpm"] = StatJson(s.sinkFpm, 0);
    j["peakNormalLoadG"] = StatJson(s.peakNormalLoadG, 3);
    j["stopRunwayRemainingFt"] = StatJson(s.stopRemainingFt, 0);
    j["stopCrossAbsM"] = StatJson(s.stopCrossM, 2);
    j["flightTimeS"] = StatJson(s.flightTimeS, 1);
    j["speedUp"] = StatJson(s.speedUp, 0);
    j["totalVirtualS"] = Round(s.totalVirtualS, 1);
    j["totalWallS"] = Round(s.totalWallS, 2);
    j["overallSpeedUp"] = Round(s.overallSpeedUp, 0);
    return j;
}

bool WriteJsonFile(const ordered_json& json, const std::string& path, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out << json.dump(2) << "\n";
    out.close();
    if (!out) {
        if (error)
            *error = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace corvane::harness
