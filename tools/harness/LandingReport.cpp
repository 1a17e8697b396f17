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

void JudgeLanding(LandingReport& report, const GoodLandingLimits& limits) {
    std::vector<std::string>& failed = report.failedLimits;
    failed.clear();
    if (report.outcome == Outcome::Error) {
        failed.push_back("not flown: " + report.error);
        report.good = false;
        return;
    }
    if (report.crashed)
        failed.push_back("crash" +
                         (report.crashReason.empty() ? "" : " (" + report.crashReason + ")"));
    if (!report.touchdown) {
        failed.push_back("no touchdown");
    } else {
        const TouchdownFacts& td = *report.touchdown;
        const double farthest =
            std::min(limits.maxTouchdownFt, report.runwayLengthFt * limits.maxTouchdownRunwayShare);
        if (td.alongFt < limits.minTouchdownFt || td.alongFt > farthest) {
            failed.push_back(Format("touchdown %.0f ft past the threshold, outside %.0f",
                                    td.alongFt, limits.minTouchdownFt) +
                             Format("..%.0f ft", farthest));
        }
        const double lateralLimit = report.runwayWidthM / 2.0 - limits.lateralMarginM;
        if (!(std::abs(td.crossM) <= lateralLimit)) {
            failed.push_back(Format("touchdown %.1f m from the centre line, limit %.1f m",
                                    std::abs(td.crossM), lateralLimit));
        }
        if (!(td.sinkFpm < limits.maxSinkFpm)) {
            failed.push_back(Format("sink rate %.0f ft/min at touchdown, limit %.0f", td.sinkFpm,
                                    limits.maxSinkFpm));
        }
    }
    if (!report.stop) {
        failed.push_back("did not come to a stop");
    } else if (!report.stop->onRunway) {
        failed.push_back(Format("stopped off the runway (%.0f ft along, %.1f m beside)",
                                report.stop->alongFt, report.stop->crossM));
    }
    if (!report.handedBack)
        failed.push_back("control not handed back");
    report.good = failed.empty();
}

}  // namespace corvane::harness
