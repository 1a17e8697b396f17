// SPDX-License-Identifier: MIT
#include "tools/harness/SetSummary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace corvane::harness {

namespace {

std::string Cell(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string StatLine(const char* label, const char* unit, const Statistic& s, int decimals) {
    if (s.count == 0)
        return Padded(label, 26) + "no values\n";
    char text[256];
    std::snprintf(text, sizeof text, "%-26smedian %.*f %s, min %.*f (%s), max %.*f (%s)  [%d]\n",
                  label, decimals, s.median, unit, decimals, s.min, s.minScenario.c_str(), decimals,
                  s.max, s.maxScenario.c_str(), s.count);
    return text;
}

}  // namespace

double WilsonLowerBound(int successes, int n, double z) {
    if (n <= 0)
        return 0.0;
    const double p = double(successes) / n;
    const double z2 = z * z;
    const double centre = p + z2 / (2.0 * n);
    const double spread = z * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * double(n) * n));
    return std::max(0.0, (centre - spread) / (1.0 + z2 / n));
}

Statistic Summarise(const std::vector<std::pair<double, std::string>>& values) {
    Statistic s;
    s.count = static_cast<int>(values.size());
    if (values.empty())
        return s;
    std::vector<std::pair<double, std::string>> sorted = values;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const std::size_t n = sorted.size();
    s.median =
        n % 2 == 1 ? sorted[n / 2].first : (sorted[n / 2 - 1].first + sorted[n / 2].first) / 2.0;
    s.min = sorted.front().first;
    s.minScenario = sorted.front().second;
    s.max = sorted.back().first;
    s.maxScenario = sorted.back().second;
    return s;
}

SetSummary SummariseSet(const std::vector<LandingReport>& reports) {
    SetSummary sum;
    sum.scenarios = static_cast<int>(reports.size());
    std::vector<std::pair<double, std::string>> td, tdCross, sink, load, remaining, stopCross, time,
        speed, ias, overRef, pitch, tdLoad, bounces, flapExcess, gateOverRef;
    for (const LandingReport& r : reports) {
        sum.good += r.good ? 1 : 0;
        sum.goodOnRunway += r.goodOnRunway ? 1 : 0;
        for (int i = 0; i < kLimitCount; ++i) {
            const Limit limit = static_cast<Limit>(i);
            if (std::find(r.failed.begin(), r.failed.end(), limit) == r.failed.end())
                ++sum.passed[std::size_t(i)];
        }
        switch (r.outcome) {
            case Outcome::LandedAndStopped:
                ++sum.landedAndStopped;
                break;
            case Outcome::Crashed:
                ++sum.crashed;
                break;
            case Outcome::TimedOut:
                ++sum.timedOut;
                break;
            case Outcome::OffRunway:
                ++sum.offRunway;
                break;
            case Outcome::Error:
                ++sum.errors;
                break;
        }
        if (r.outcome == Outcome::Error)
            continue;
        if (r.touchdown) {
            td.push_back({r.touchdown->alongFt, r.scenario});
            tdCross.push_back({std::abs(r.touchdown->crossM), r.scenario});
            sink.push_back({r.touchdown->sinkFpm, r.scenario});
            ias.push_back({r.touchdown->iasKt, r.scenario});
            if (r.aircraft.referenceKias > 0.0)
                overRef.push_back({r.touchdown->iasKt - r.aircraft.referenceKias, r.scenario});
            pitch.push_back({r.touchdown->pitchDeg, r.scenario});
            tdLoad.push_back({r.touchdown->recordedLoadG, r.scenario});
            bounces.push_back({double(r.bounces), r.scenario});
            sum.bounced += r.bounces > 0 ? 1 : 0;
        }
        if (r.flapExcess)
            flapExcess.push_back({r.flapExcess->excessKt, r.scenario});
        if (r.gate && r.aircraft.referenceKias > 0.0)
            gateOverRef.push_back({r.gate->iasKt - r.aircraft.referenceKias, r.scenario});
        load.push_back({r.peakNormalLoadG, r.scenario});
        if (r.stop) {
            remaining.push_back({r.stop->remainingFt, r.scenario});
            stopCross.push_back({std::abs(r.stop->crossM), r.scenario});
        }
        time.push_back({r.flightTimeS, r.scenario});
        speed.push_back({r.speedUp, r.scenario});
        sum.totalVirtualS += r.virtualTimeS;
        sum.totalWallS += r.wallTimeS;
    }
    sum.successRate = sum.scenarios > 0 ? double(sum.good) / sum.scenarios : 0.0;
    sum.runwaySuccessRate = sum.scenarios > 0 ? double(sum.goodOnRunway) / sum.scenarios : 0.0;
    sum.successLowerBound95 = WilsonLowerBound(sum.good, sum.scenarios);
    sum.touchdownIasKt = Summarise(ias);
    sum.touchdownOverReferenceKt = Summarise(overRef);
    sum.touchdownPitchDeg = Summarise(pitch);
    sum.touchdownLoadG = Summarise(tdLoad);
    sum.bounces = Summarise(bounces);
    sum.flapExcessKt = Summarise(flapExcess);
    sum.gateIasOverReferenceKt = Summarise(gateOverRef);
    sum.touchdownFt = Summarise(td);
    sum.touchdownCrossM = Summarise(tdCross);
    sum.sinkFpm = Summarise(sink);
    sum.peakNormalLoadG = Summarise(load);
    sum.stopRemainingFt = Summarise(remaining);
    sum.stopCrossM = Summarise(stopCross);
    sum.flightTimeS = Summarise(time);
    sum.speedUp = Summarise(speed);
    sum.overallSpeedUp = sum.totalWallS > 0 ? sum.totalVirtualS / sum.totalWallS : 0.0;
    return sum;
}

std::vector<SetSummary> SummariseByAircraft(const std::vector<LandingReport>& reports) {
    std::vector<std::string> ids;
    for (const LandingReport& r : reports) {
        if (std::find(ids.begin(), ids.end(), r.aircraft.id) == ids.end())
            ids.push_back(r.aircraft.id);
    }
    std::vector<SetSummary> out;
    for (const std::string& id : ids) {
        std::vector<LandingReport> theirs;
        for (const LandingReport& r : reports) {
            if (r.aircraft.id == id)
                theirs.push_back(r);
        }
        SetSummary s = SummariseSet(theirs);
        s.aircraftId = id;
        s.aircraftName = theirs.front().aircraft.name;
        s.referenceKias = theirs.front().aircraft.referenceKias;
        out.push_back(std::move(s));
    }
    return out;
}

double PassRate(const SetSummary& summary, Limit limit) {
    return summary.scenarios > 0 ? double(summary.passed[std::size_t(limit)]) / summary.scenarios
                                 : 0.0;
}

namespace {

// One letter for which wheels touched first: main, nose, together, belly.
const char* ContactLetter(const std::string& firstContact) {
    if (firstContact == "main wheels")
        return "M";
    if (firstContact == "nose wheel")
        return "N";
    if (firstContact == "together")
        return "T";
    if (firstContact == "belly")
        return "B";
    return "-";
}

bool Met(const LandingReport& r, Limit limit) {
    return std::find(r.failed.begin(), r.failed.end(), limit) == r.failed.end();
}

}  // namespace

std::string FormatTable(const std::vector<LandingReport>& reports) {
    std::size_t nameWidth = 8;
    std::size_t aircraftWidth = 4;
    for (const LandingReport& r : reports) {
        nameWidth = std::max(nameWidth, r.scenario.size());
        aircraftWidth = std::max(aircraftWidth, r.aircraft.id.size());
    }
    std::ostringstream out;
    out << Padded("scenario", nameWidth) << "  " << Padded("acft", aircraftWidth)
        << "  outcome             good rwy  td ft  td m   sink    ias  -ref pitch 1st bnc  td g"
           " flap+ stab  stop m  left ft  time s  x rt\n";
    for (const LandingReport& r : reports) {
        out << Padded(r.scenario, nameWidth) << "  " << Padded(r.aircraft.id, aircraftWidth) << "  "
            << Padded(OutcomeName(r.outcome), 18) << "  " << (r.good ? "yes " : "NO  ")
            << (r.goodOnRunway ? "yes" : "NO ");
        if (r.touchdown) {
            const TouchdownFacts& t = *r.touchdown;
            out << Cell("%7.0f", t.alongFt) << Cell("%6.1f", t.crossM) << Cell("%7.0f", t.sinkFpm)
                << Cell("%7.1f", t.iasKt)
                << (r.aircraft.referenceKias > 0.0
                        ? Cell("%6.1f", t.iasKt - r.aircraft.referenceKias)
                        : std::string("     -"))
                << Cell("%6.1f", t.pitchDeg) << "   " << ContactLetter(t.firstContact)
                << Cell("%4.0f", r.bounces) << Cell("%6.2f", t.recordedLoadG);
        } else {
            out << "      -     -      -      -     -     -   -   -     -";
        }
        out << (r.flapExcess ? Cell("%6.1f", r.flapExcess->excessKt) : std::string("     -"))
            << (r.outcome == Outcome::Error ? "    - "
                : Met(r, Limit::Stabilised) ? "  yes "
                                            : "   NO ");
        if (r.stop)
            out << Cell("%7.1f", r.stop->crossM) << Cell("%9.0f", r.stop->remainingFt);
        else
            out << "      -        -";
        out << Cell("%8.0f", r.flightTimeS) << Cell("%6.0f", r.speedUp) << "\n";
    }
    return out.str();
}

std::string FormatSummary(const SetSummary& s, const std::vector<SetSummary>& byAircraft) {
    std::ostringstream out;
    char line[256];
    std::snprintf(line, sizeof line,
                  "success rate: %d of %d good landings by every limit (%.1f %%; 95 %% lower "
                  "bound %.1f %%)\n",
                  s.good, s.scenarios, 100.0 * s.successRate, 100.0 * s.successLowerBound95);
    out << line;
    std::snprintf(line, sizeof line, "by the six runway limits: %d of %d (%.1f %%)\n",
                  s.goodOnRunway, s.scenarios, 100.0 * s.runwaySuccessRate);
    out << line;
    std::snprintf(line, sizeof line,
                  "outcomes: %d landed and stopped, %d crashed, %d timed out, %d off the runway, "
                  "%d errors\n",
                  s.landedAndStopped, s.crashed, s.timedOut, s.offRunway, s.errors);
    out << line;
    out << "limits met:";
    for (int i = 0; i < kLimitCount; ++i) {
        out << (i == 0 ? " " : ", ") << LimitName(static_cast<Limit>(i)) << " "
            << s.passed[std::size_t(i)] << "/" << s.scenarios;
    }
    out << "\n";
    out << StatLine("touchdown past threshold", "ft", s.touchdownFt, 0);
    out << StatLine("touchdown off centre |m|", "m", s.touchdownCrossM, 1);
    out << StatLine("sink rate at touchdown", "ft/min", s.sinkFpm, 0);
    out << StatLine("IAS at touchdown", "kt", s.touchdownIasKt, 1);
    out << StatLine("  less the reference", "kt", s.touchdownOverReferenceKt, 1);
    out << StatLine("pitch at touchdown", "deg", s.touchdownPitchDeg, 1);
    out << StatLine("load at touchdown", "g", s.touchdownLoadG, 2);
    out << StatLine("bounces", "", s.bounces, 0);
    std::snprintf(line, sizeof line, "%-26s%d of %d\n", "flights that bounced", s.bounced,
                  s.touchdownFt.count);
    out << line;
    out << StatLine("worst flap excess", "kt", s.flapExcessKt, 1);
    out << StatLine("gate IAS less reference", "kt", s.gateIasOverReferenceKt, 1);
    out << StatLine("peak normal load", "g", s.peakNormalLoadG, 2);
    out << StatLine("runway left at the stop", "ft", s.stopRemainingFt, 0);
    out << StatLine("stop off centre |m|", "m", s.stopCrossM, 1);
    out << StatLine("flight time", "s", s.flightTimeS, 0);
    out << StatLine("speed-up over real time", "x", s.speedUp, 0);
    std::snprintf(line, sizeof line,
                  "virtual time %.0f s in %.1f s of real time: %.0f times real time\n",
                  s.totalVirtualS, s.totalWallS, s.overallSpeedUp);
    out << line;
    if (byAircraft.empty())
        return out.str();

    // Each limit for each aircraft, side by side.
    out << "\nby aircraft:\n" << Padded("", 26);
    for (const SetSummary& a : byAircraft)
        out << Padded(a.aircraftId.empty() ? "?" : a.aircraftId, 14);
    out << "\n" << Padded("flights", 26);
    for (const SetSummary& a : byAircraft)
        out << Padded(std::to_string(a.scenarios), 14);
    out << "\n" << Padded("good by every limit", 26);
    for (const SetSummary& a : byAircraft)
        out << Padded(std::to_string(a.good), 14);
    out << "\n" << Padded("good by the runway limits", 26);
    for (const SetSummary& a : byAircraft)
        out << Padded(std::to_string(a.goodOnRunway), 14);
    out << "\n";
    for (int i = 0; i < kLimitCount; ++i) {
        out << Padded(LimitName(static_cast<Limit>(i)), 26);
        for (const SetSummary& a : byAircraft) {
            std::snprintf(line, sizeof line, "%d (%.0f %%)", a.passed[std::size_t(i)],
                          100.0 * PassRate(a, static_cast<Limit>(i)));
            out << Padded(line, 14);
        }
        out << "\n";
    }
    auto medianRow = [&](const char* label, const Statistic SetSummary::*stat, int decimals) {
        out << Padded(label, 26);
        for (const SetSummary& a : byAircraft) {
            const Statistic& st = a.*stat;
            out << Padded(st.count == 0 ? std::string("-")
                                        : Cell(decimals == 0   ? "%.0f"
                                               : decimals == 1 ? "%.1f"
                                                               : "%.2f",
                                               st.median),
                          14);
        }
        out << "\n";
    };
    out << Padded("reference speed kt", 26);
    for (const SetSummary& a : byAircraft)
        out << Padded(Cell("%.1f", a.referenceKias), 14);
    out << "\n";
    medianRow("median IAS at touchdown", &SetSummary::touchdownIasKt, 1);
    medianRow("median pitch at touchdown", &SetSummary::touchdownPitchDeg, 1);
    medianRow("median sink ft/min", &SetSummary::sinkFpm, 0);
    medianRow("median touchdown load g", &SetSummary::touchdownLoadG, 2);
    out << Padded("flights that bounced", 26);
    for (const SetSummary& a : byAircraft)
        out << Padded(std::to_string(a.bounced), 14);
    out << "\n";
    return out.str();
}

std::string FormatFailures(const std::vector<LandingReport>& reports) {
    std::ostringstream out;
    for (const LandingReport& r : reports) {
        if (r.good)
            continue;
        out << r.scenario << ": " << OutcomeName(r.outcome);
        if (!r.outcomeDetail.empty())
            out << " - " << r.outcomeDetail;
        out << "\n";
        // (No touchdown fails three limits for one reason: said once.)
        for (std::size_t i = 0; i < r.failedLimits.size(); ++i) {
            if (i == 0 || r.failedLimits[i] != r.failedLimits[i - 1])
                out << "    " << r.failedLimits[i] << "\n";
        }
    }
    return out.str();
}

std::vector<const LandingReport*> WorstCases(const std::vector<LandingReport>& reports,
                                             std::size_t count) {
    auto rank = [](const LandingReport& r) {
        if (r.crashed)
            return 0;
        if (!r.touchdown)
            return 1;
        return r.outcome == Outcome::OffRunway ? 2 : 3;
    };
    std::vector<const LandingReport*> bad;
    for (const LandingReport& r : reports) {
        if (!r.good)
            bad.push_back(&r);
    }
    std::stable_sort(bad.begin(), bad.end(), [&](const LandingReport* a, const LandingReport* b) {
        if (rank(*a) != rank(*b))
            return rank(*a) < rank(*b);
        const auto runwayFailed = [](const LandingReport* r) {
            return std::count_if(r->failed.begin(), r->failed.end(), IsRunwayLimit);
        };
        if (runwayFailed(a) != runwayFailed(b))
            return runwayFailed(a) > runwayFailed(b);
        if (a->failed.size() != b->failed.size())
            return a->failed.size() > b->failed.size();
        const double ca = a->touchdown ? std::abs(a->touchdown->crossM) : 0.0;
        const double cb = b->touchdown ? std::abs(b->touchdown->crossM) : 0.0;
        return ca > cb;
    });
    if (bad.size() > count)
        bad.resize(count);
    return bad;
}

std::string FormatWorstCases(const std::vector<LandingReport>& reports, std::size_t count) {
    std::ostringstream out;
    for (const LandingReport* r : WorstCases(reports, count)) {
        char line[512];
        std::string limits;
        for (Limit l : r->failed)
            limits += std::string(limits.empty() ? "" : ", ") + LimitName(l);
        if (r->touchdown) {
            std::snprintf(line, sizeof line,
                          "%s: %s, touchdown %.0f ft %.1f m %.0f ft/min, wind %.0f/%.1f kt %s; "
                          "not met: %s\n",
                          r->scenario.c_str(), OutcomeName(r->outcome), r->touchdown->alongFt,
                          r->touchdown->crossM, r->touchdown->sinkFpm, r->windFromDeg,
                          r->windSpeedKt, r->turbulence.c_str(), limits.c_str());
        } else {
            std::snprintf(line, sizeof line, "%s: %s, %s; wind %.0f/%.1f kt %s; not met: %s\n",
                          r->scenario.c_str(), OutcomeName(r->outcome), r->outcomeDetail.c_str(),
                          r->windFromDeg, r->windSpeedKt, r->turbulence.c_str(), limits.c_str());
        }
        out << line;
    }
    return out.str();
}

}  // namespace corvane::harness
