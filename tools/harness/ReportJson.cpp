// SPDX-License-Identifier: MIT
#include "tools/harness/ReportJson.h"

#include <algorithm>
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

bool IsUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;
        if (c >= 0x80) {
            if ((c >> 5) == 6)
                more = 1;
            else if ((c >> 4) == 14)
                more = 2;
            else if ((c >> 3) == 30)
                more = 3;
            else
                return false;
        }
        if (i + more >= text.size() + (more == 0 ? 1 : 0))
            return false;
        for (std::size_t k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                return false;
        }
        i += more + 1;
    }
    return true;
}

// The program's texts (airport names, stage texts, message boxes) are in the
// Windows ANSI code page; JSON needs UTF-8. A text that is not UTF-8 is read
// as Latin-1, the ANSI page's letters ("Z\xfcrich" -> "Zürich").
void MakeUtf8(ordered_json& j) {
    if (j.is_string()) {
        const std::string& text = j.get_ref<const std::string&>();
        if (IsUtf8(text))
            return;
        std::string out;
        for (char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x80) {
                out += ch;
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        j = out;
    } else if (j.is_structured()) {
        for (auto& item : j)
            MakeUtf8(item);
    }
}

}  // namespace

ordered_json ReportToJson(const LandingReport& r) {
    ordered_json j;
    j["scenario"] = r.scenario;
    j["file"] = r.file;
    j["outcome"] = OutcomeName(r.outcome);
    j["outcomeDetail"] = r.outcomeDetail;
    j["good"] = r.good;
    j["goodOnRunway"] = r.goodOnRunway;
    ordered_json failed = ordered_json::array();
    for (std::size_t i = 0; i < r.failed.size(); ++i)
        failed.push_back({{"limit", LimitName(r.failed[i])}, {"why", r.failedLimits[i]}});
    j["failedLimits"] = failed;
    ordered_json checks = ordered_json::object();
    for (const LimitCheck& c : r.checks)
        checks[LimitName(c.limit)] = {{"value", c.value}, {"bound", c.bound}, {"met", c.met}};
    j["limits"] = checks;
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
    j["aircraft"] = {{"id", r.aircraft.id},
                     {"name", r.aircraft.name},
                     {"stallCleanKias", Round(r.aircraft.stallCleanKias, 1)},
                     {"stallLandingKias", Round(r.aircraft.stallLandingKias, 1)},
                     {"referenceKias", Round(r.aircraft.referenceKias, 1)},
                     {"landingFlaps", Round(r.aircraft.landingFlaps, 3)}};

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
        j["touchdown"] = {
            {"timeS", Round(t.timeS, 2)},
            {"pastThresholdFt", Round(t.alongFt, 0)},
            {"crossM", Round(t.crossM, 2)},
            {"sinkFpm", Round(t.sinkFpm, 0)},
            {"iasKt", Round(t.iasKt, 1)},
            {"groundSpeedKt", Round(t.groundSpeedKt, 1)},
            {"pitchDeg", Round(t.pitchDeg, 1)},
            {"bankDeg", Round(t.bankDeg, 1)},
            {"onRunway", t.onRunway},
            {"firstContact", t.firstContact},
            {"noseWheelAfterS", t.noseWheelAfterS ? ordered_json(Round(*t.noseWheelAfterS, 2))
                                                  : ordered_json(nullptr)},
            {"peakLoadG", Round(t.peakLoadG, 3)},
            {"recordedLoadG", Round(t.recordedLoadG, 3)}};
    } else {
        j["touchdown"] = nullptr;
    }
    if (r.gate) {
        const GateFacts& g = *r.gate;
        j["stabilisedGate"] = {
            {"timeS", Round(g.timeS, 2)},     {"distanceNm", Round(g.distanceNm, 2)},
            {"iasKt", Round(g.iasKt, 1)},     {"flaps", Round(g.flapPosition, 3)},
            {"sinkFpm", Round(g.sinkFpm, 0)}, {"crossM", Round(g.crossM, 1)}};
    } else {
        j["stabilisedGate"] = nullptr;
    }
    if (r.flapExcess) {
        const FlapExcess& e = *r.flapExcess;
        j["worstFlapExcess"] = {{"excessKt", Round(e.excessKt, 1)},
                                {"iasKt", Round(e.iasKt, 1)},
                                {"limitKias", Round(e.limitKias, 1)},
                                {"setting", e.setting},
                                {"flaps", Round(e.flapPosition, 3)},
                                {"timeS", Round(e.timeS, 2)},
                                {"distanceNm", Round(e.distanceNm, 2)},
                                {"heightFt", Round(e.heightFt, 0)},
                                {"stage", e.stage},
                                {"secondsOver", Round(e.secondsOver, 1)}};
    } else {
        j["worstFlapExcess"] = nullptr;
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
    MakeUtf8(j);
    return j;
}

LandingReport ReportFromJson(const nlohmann::json& j) {
    using nlohmann::json;
    auto texts = [](const json& list) {
        std::vector<TimedText> out;
        for (const json& t : list)
            out.push_back({t.at("timeS").get<double>(), t.at("text").get<std::string>()});
        return out;
    };
    LandingReport r;
    r.scenario = j.at("scenario").get<std::string>();
    r.file = j.at("file").get<std::string>();
    const std::string outcome = j.at("outcome").get<std::string>();
    for (Outcome o : {Outcome::LandedAndStopped, Outcome::Crashed, Outcome::TimedOut,
                      Outcome::OffRunway, Outcome::Error}) {
        if (outcome == OutcomeName(o))
            r.outcome = o;
    }
    r.outcomeDetail = j.at("outcomeDetail").get<std::string>();
    r.good = j.at("good").get<bool>();
    r.goodOnRunway = j.value("goodOnRunway", r.good);
    for (const json& f : j.at("failedLimits")) {
        const std::optional<Limit> limit = LimitNamed(f.at("limit").get<std::string>());
        if (!limit)
            throw json::other_error::create(501, "unknown limit in a report", &f);
        r.failed.push_back(*limit);
        r.failedLimits.push_back(f.at("why").get<std::string>());
    }
    if (j.contains("limits")) {
        for (const auto& [name, c] : j.at("limits").items()) {
            const std::optional<Limit> limit = LimitNamed(name);
            if (!limit)
                throw json::other_error::create(501, "unknown limit in a report", &c);
            r.checks.push_back({*limit, c.at("value").get<std::string>(),
                                c.at("bound").get<std::string>(), c.at("met").get<bool>()});
        }
        // The object's keys come back in name order: put them in Limit order again.
        std::sort(r.checks.begin(), r.checks.end(),
                  [](const LimitCheck& a, const LimitCheck& b) { return a.limit < b.limit; });
    }
    r.error = j.value("error", std::string());
    if (j.contains("aircraft")) {
        const json& a = j.at("aircraft");
        r.aircraft.id = a.at("id").get<std::string>();
        r.aircraft.name = a.at("name").get<std::string>();
        r.aircraft.stallCleanKias = a.at("stallCleanKias").get<double>();
        r.aircraft.stallLandingKias = a.at("stallLandingKias").get<double>();
        r.aircraft.referenceKias = a.at("referenceKias").get<double>();
        r.aircraft.landingFlaps = a.at("landingFlaps").get<double>();
    }
    const json& d = j.at("destination");
    r.airportLine = d.at("airportLine").get<std::string>();
    r.runwayLine = d.at("runwayLine").get<std::string>();
    r.runwayDesignator = d.at("runway").get<std::string>();
    r.runwayHeadingDeg = d.at("headingTrueDeg").get<double>();
    r.runwayLengthFt = d.at("lengthFt").get<double>();
    r.runwayWidthM = d.at("widthM").get<double>();
    r.runwayElevationFt = d.at("elevationFt").get<double>();
    const json& w = j.at("wind");
    r.windFromDeg = w.at("fromDeg").get<double>();
    r.windSpeedKt = w.at("speedKt").get<double>();
    r.windGradient = w.at("gradient").get<bool>();
    r.turbulence = w.at("turbulence").get<std::string>();
    r.turbulenceSeed = w.at("seed").get<std::uint64_t>();
    r.startDistanceNm = j.at("startDistanceNm").get<double>();
    if (const json& c = j.at("thresholdCrossing"); !c.is_null()) {
        r.thresholdCrossing =
            ThresholdCrossing{c.at("heightFt").get<double>(), c.at("crossM").get<double>(),
                              c.at("iasKt").get<double>(), c.at("verticalSpeedFpm").get<double>()};
    }
    if (const json& t = j.at("touchdown"); !t.is_null()) {
        TouchdownFacts td;
        td.timeS = t.at("timeS").get<double>();
        td.alongFt = t.at("pastThresholdFt").get<double>();
        td.crossM = t.at("crossM").get<double>();
        td.sinkFpm = t.at("sinkFpm").get<double>();
        td.iasKt = t.at("iasKt").get<double>();
        td.groundSpeedKt = t.at("groundSpeedKt").get<double>();
        td.pitchDeg = t.at("pitchDeg").get<double>();
        td.bankDeg = t.at("bankDeg").get<double>();
        td.onRunway = t.at("onRunway").get<bool>();
        r.touchdown = td;
        r.touchdown->firstContact = t.value("firstContact", std::string());
        if (t.contains("noseWheelAfterS") && !t.at("noseWheelAfterS").is_null())
            r.touchdown->noseWheelAfterS = t.at("noseWheelAfterS").get<double>();
        r.touchdown->peakLoadG = t.value("peakLoadG", 0.0);
        // Reports written before the recorder's reading judged the sample peak.
        r.touchdown->recordedLoadG = t.value("recordedLoadG", r.touchdown->peakLoadG);
    }
    if (j.contains("stabilisedGate") && !j.at("stabilisedGate").is_null()) {
        const json& g = j.at("stabilisedGate");
        r.gate = GateFacts{g.at("timeS").get<double>(),  g.at("iasKt").get<double>(),
                           g.at("flaps").get<double>(),  g.at("sinkFpm").get<double>(),
                           g.at("crossM").get<double>(), g.at("distanceNm").get<double>()};
    }
    if (j.contains("worstFlapExcess") && !j.at("worstFlapExcess").is_null()) {
        const json& e = j.at("worstFlapExcess");
        FlapExcess x;
        x.excessKt = e.at("excessKt").get<double>();
        x.iasKt = e.at("iasKt").get<double>();
        x.limitKias = e.at("limitKias").get<double>();
        x.setting = e.at("setting").get<std::string>();
        x.flapPosition = e.at("flaps").get<double>();
        x.timeS = e.at("timeS").get<double>();
        x.distanceNm = e.at("distanceNm").get<double>();
        x.heightFt = e.at("heightFt").get<double>();
        x.stage = e.at("stage").get<std::string>();
        x.secondsOver = e.at("secondsOver").get<double>();
        r.flapExcess = x;
    }
    r.bounces = j.at("bounces").get<int>();
    if (const json& s = j.at("stop"); !s.is_null()) {
        r.stop = StopFacts{s.at("timeS").get<double>(), s.at("pastThresholdFt").get<double>(),
                           s.at("crossM").get<double>(), s.at("runwayRemainingFt").get<double>(),
                           s.at("onRunway").get<bool>()};
    }
    r.maxRolloutCrossM = j.at("maxRolloutCrossM").get<double>();
    r.peakNormalLoadG = j.at("peakNormalLoadG").get<double>();
    r.peakNormalLoadTimeS = j.at("peakNormalLoadTimeS").get<double>();
    r.minNormalLoadG = j.at("minNormalLoadG").get<double>();
    r.crashed = j.at("crashed").get<bool>();
    r.crashReason = j.value("crashReason", std::string());
    r.handedBack = j.at("handedBack").get<bool>();
    if (const json& h = j.at("handBackTimeS"); !h.is_null())
        r.handBackTimeS = h.get<double>();
    r.stages = texts(j.at("stages"));
    r.stageTexts = texts(j.at("stageTexts"));
    r.messageBoxes = j.at("messageBoxes").get<std::vector<std::string>>();
    r.flightTimeS = j.at("flightTimeS").get<double>();
    r.virtualTimeS = j.at("virtualTimeS").get<double>();
    r.wallTimeS = j.at("wallTimeS").get<double>();
    r.speedUp = j.at("speedUp").get<double>();
    return r;
}

ordered_json SummaryToJson(const SetSummary& s, const std::vector<SetSummary>& byAircraft) {
    ordered_json j;
    if (!s.aircraftId.empty()) {
        j["aircraft"] = s.aircraftId;
        j["aircraftName"] = s.aircraftName;
        j["referenceKias"] = Round(s.referenceKias, 1);
    }
    j["scenarios"] = s.scenarios;
    j["good"] = s.good;
    j["goodOnRunway"] = s.goodOnRunway;
    j["successRate"] = Round(s.successRate, 4);
    j["runwaySuccessRate"] = Round(s.runwaySuccessRate, 4);
    j["successLowerBound95"] = Round(s.successLowerBound95, 4);
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
    j["touchdownIasKt"] = StatJson(s.touchdownIasKt, 1);
    j["touchdownIasOverReferenceKt"] = StatJson(s.touchdownOverReferenceKt, 1);
    j["touchdownPitchDeg"] = StatJson(s.touchdownPitchDeg, 1);
    j["touchdownLoadG"] = StatJson(s.touchdownLoadG, 3);
    j["bounces"] = StatJson(s.bounces, 0);
    j["flightsThatBounced"] = s.bounced;
    j["worstFlapExcessKt"] = StatJson(s.flapExcessKt, 1);
    j["gateIasOverReferenceKt"] = StatJson(s.gateIasOverReferenceKt, 1);
    j["peakNormalLoadG"] = StatJson(s.peakNormalLoadG, 3);
    j["stopRunwayRemainingFt"] = StatJson(s.stopRemainingFt, 0);
    j["stopCrossAbsM"] = StatJson(s.stopCrossM, 2);
    j["flightTimeS"] = StatJson(s.flightTimeS, 1);
    j["speedUp"] = StatJson(s.speedUp, 0);
    j["totalVirtualS"] = Round(s.totalVirtualS, 1);
    j["totalWallS"] = Round(s.totalWallS, 2);
    j["overallSpeedUp"] = Round(s.overallSpeedUp, 0);
    if (!byAircraft.empty()) {
        ordered_json each = ordered_json::array();
        for (const SetSummary& a : byAircraft)
            each.push_back(SummaryToJson(a));
        j["byAircraft"] = each;
    }
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
