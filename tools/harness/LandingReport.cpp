// SPDX-License-Identifier: MIT
#include "tools/harness/LandingReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvane::harness {

namespace {

std::string Format(const char* format, double a, double b = 0.0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::LandedAndStopped:
            return "landed and stopped";
        case Outcome::Crashed:
            return "crashed";
        case Outcome::TimedOut:
            return "timed out";
        case Outcome::OffRunway:
            return "off the runway";
        case Outcome::Error:
            return "error";
    }
    return "error";
}

const char* LimitName(Limit limit) {
    switch (limit) {
        case Limit::TouchdownZone:
            return "touchdownZone";
        case Limit::CentreLine:
            return "centreLine";
        case Limit::SinkRate:
            return "sinkRate";
        case Limit::NoCrash:
            return "noCrash";
        case Limit::StoppedOnRunway:
            return "stoppedOnRunway";
        case Limit::HandedBack:
            return "handedBack";
    }
    return "unknown";
}

std::optional<Limit> LimitNamed(const std::string& name) {
    for (int i = 0; i < kLimitCount; ++i) {
        if (name == LimitName(static_cast<Limit>(i)))
            return static_cast<Limit>(i);
    }
    return std::nullopt;
}

void JudgeLanding(LandingReport& report, const GoodLandingLimits& limits) {
    report.failed.clear();
    report.failedLimits.clear();
    auto fail = [&](Limit limit, std::string why) {
        report.failed.push_back(limit);
        report.failedLimits.push_back(std::move(why));
    };
    if (report.outcome == Outcome::Error) {
        for (int i = 0; i < kLimitCount; ++i)
            fail(static_cast<Limit>(i), "not flown: " + report.error);
        report.good = false;
        return;
    }
    if (!report.touchdown) {
        fail(Limit::TouchdownZone, "no touchdown");
        fail(Limit::CentreLine, "no touchdown");
        fail(Limit::SinkRate, "no touchdown");
    } else {
        const TouchdownFacts& td = *report.touchdown;
        const double farthest =
            std::min(limits.maxTouchdownFt, report.runwayLengthFt * limits.maxTouchdownRunwayShare);
        if (!(td.alongFt >= limits.minTouchdownFt && td.alongFt <= farthest)) {
            fail(Limit::TouchdownZone, Format("touchdown %.0f ft past the threshold, outside %.0f",
                                              td.alongFt, limits.minTouchdownFt) +
                                           Format("..%.0f ft", farthest));
        }
        const double lateralLimit = report.runwayWidthM / 2.0 - limits.lateralMarginM;
        if (!(std::abs(td.crossM) <= lateralLimit)) {
            fail(Limit::CentreLine, Format("touchdown %.1f m from the centre line, limit %.1f m",
                                           std::abs(td.crossM), lateralLimit));
        }
        if (!(td.sinkFpm < limits.maxSinkFpm)) {
            fail(Limit::SinkRate, Format("sink rate %.0f ft/min at touchdown, limit %.0f",
                                         td.sinkFpm, limits.maxSinkFpm));
        }
    }
    if (report.crashed) {
        fail(Limit::NoCrash,
             "crash" + (report.crashReason.empty() ? "" : " (" + report.crashReason + ")"));
    }
    if (!report.stop) {
        fail(Limit::StoppedOnRunway, "did not come to a stop");
    } else if (!report.stop->onRunway) {
        fail(Limit::StoppedOnRunway, Format("stopped off the runway (%.0f ft along, %.1f m beside)",
                                            report.stop->alongFt, report.stop->crossM));
    }
    if (!report.handedBack)
        fail(Limit::HandedBack, "control not handed back");
    report.good = report.failed.empty();
}

}  // namespace corvane::harness
