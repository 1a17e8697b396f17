// SPDX-License-Identifier: MIT
#include "tools/harness/LandingReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/physics/AircraftData.h"

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
        case Limit::NoBounce:
            return "noBounce";
        case Limit::MainWheelsFirst:
            return "mainWheelsFirst";
        case Limit::TouchdownSpeed:
            return "touchdownSpeed";
        case Limit::FlapSpeeds:
            return "flapSpeeds";
        case Limit::TouchdownLoad:
            return "touchdownLoad";
        case Limit::GentleSink:
            return "gentleSink";
        case Limit::Stabilised:
            return "stabilised";
    }
    return "unknown";
}

AircraftFigures FiguresOf(const sim::AircraftData& data) {
    AircraftFigures f;
    f.id = data.id;
    f.name = data.name;
    f.stallCleanKias = data.stallCleanKias.value;
    f.stallLandingKias = data.stallLandingKias.value;
    f.referenceKias = data.ReferenceKias();
    f.landingFlaps = data.landingFlapsPosition;
    return f;
}

bool IsRunwayLimit(Limit limit) {
    return static_cast<int>(limit) < kRunwayLimitCount;
}

std::optional<Limit> LimitNamed(const std::string& name) {
    for (int i = 0; i < kLimitCount; ++i) {
        if (name == LimitName(static_cast<Limit>(i)))
            return static_cast<Limit>(i);
    }
    return std::nullopt;
}

namespace {

// One limit's judgement: met, or why not; the value and the bound for the report.
struct Verdict {
    bool met = false;
    std::string value;
    std::string bound;
    std::string why;  // when not met
};

Verdict Judge(Limit limit, const LandingReport& r, const GoodLandingLimits& limits) {
    Verdict v;
    const std::optional<TouchdownFacts>& td = r.touchdown;
    const AircraftFigures& a = r.aircraft;
    auto noTouchdown = [&](Verdict& out) {
        out.value = "no touchdown";
        out.why = "no touchdown";
        return out;
    };
    switch (limit) {
        case Limit::TouchdownZone: {
            const double farthest =
                std::min(limits.maxTouchdownFt, r.runwayLengthFt * limits.maxTouchdownRunwayShare);
            v.bound = Format("%.0f..", limits.minTouchdownFt) + Format("%.0f ft", farthest);
            if (!td)
                return noTouchdown(v);
            v.value = Format("%.0f ft", td->alongFt);
            v.met = td->alongFt >= limits.minTouchdownFt && td->alongFt <= farthest;
            v.why = Format("touchdown %.0f ft past the threshold, outside %.0f", td->alongFt,
                           limits.minTouchdownFt) +
                    Format("..%.0f ft", farthest);
            return v;
        }
        case Limit::CentreLine: {
            const double lateralLimit = r.runwayWidthM / 2.0 - limits.lateralMarginM;
            v.bound = Format("at most %.1f m", lateralLimit);
            if (!td)
                return noTouchdown(v);
            v.value = Format("%.1f m", std::abs(td->crossM));
            v.met = std::abs(td->crossM) <= lateralLimit;
            v.why = Format("touchdown %.1f m from the centre line, limit %.1f m",
                           std::abs(td->crossM), lateralLimit);
            return v;
        }
        case Limit::SinkRate:
            v.bound = Format("under %.0f ft/min", limits.maxSinkFpm);
            if (!td)
                return noTouchdown(v);
            v.value = Format("%.0f ft/min", td->sinkFpm);
            v.met = td->sinkFpm < limits.maxSinkFpm;
            v.why = Format("sink rate %.0f ft/min at touchdown, limit %.0f", td->sinkFpm,
                           limits.maxSinkFpm);
            return v;
        case Limit::NoCrash:
            v.bound = "no crash";
            v.value = r.crashed ? "crash" : "none";
            v.met = !r.crashed;
            v.why = "crash" + (r.crashReason.empty() ? "" : " (" + r.crashReason + ")");
            return v;
        case Limit::StoppedOnRunway:
            v.bound = "standing on the runway";
            if (!r.stop) {
                v.value = "not standing";
                v.why = "did not come to a stop";
                return v;
            }
            v.value = Format("%.0f ft along, ", r.stop->alongFt) +
                      Format("%.1f m beside", r.stop->crossM);
            v.met = r.stop->onRunway;
            v.why = Format("stopped off the runway (%.0f ft along, %.1f m beside)", r.stop->alongFt,
                           r.stop->crossM);
            return v;
        case Limit::HandedBack:
            v.bound = "handed back";
            v.value = r.handedBack ? "handed back" : "not handed back";
            v.met = r.handedBack;
            v.why = "control not handed back";
            return v;
        case Limit::NoBounce:
            v.bound = "no lift-off after the touchdown";
            if (!td)
                return noTouchdown(v);
            v.value = Format(r.bounces == 1 ? "%.0f bounce" : "%.0f bounces", r.bounces);
            v.met = r.bounces == 0;
            v.why = Format(r.bounces == 1 ? "%.0f lift-off after the first touchdown"
                                          : "%.0f lift-offs after the first touchdown",
                           r.bounces);
            return v;
        case Limit::MainWheelsFirst:
            v.bound = "main wheels, then the nose wheel";
            if (!td)
                return noTouchdown(v);
            v.value = td->firstContact.empty() ? "not measured" : td->firstContact;
            // The gap between the two contacts, named by the one that came second.
            if (td->noseWheelAfterS && *td->noseWheelAfterS >= 0.0)
                v.value += Format(", nose wheel %.2f s after", *td->noseWheelAfterS);
            else if (td->noseWheelAfterS)
                v.value += Format(", main wheels %.2f s after", -*td->noseWheelAfterS);
            v.value += Format(", pitch %.1f°", td->pitchDeg);
            v.met = td->firstContact == "main wheels";
            v.why = "first contact: " + v.value;
            return v;
        case Limit::TouchdownSpeed: {
            const double lowest = limits.minTouchdownStallFactor * a.stallLandingKias;
            v.bound = Format("over %.1f, ", lowest) + Format("at most %.1f kt", a.referenceKias);
            if (!td)
                return noTouchdown(v);
            v.value = Format("%.1f kt", td->iasKt);
            if (!(a.referenceKias > 0.0)) {
                v.why = "the aircraft's speeds are not known";
                return v;
            }
            v.met = td->iasKt > lowest && td->iasKt <= a.referenceKias;
            v.why = Format("touchdown at %.1f kt, ", td->iasKt) +
                    (td->iasKt > a.referenceKias
                         ? Format("above the reference speed %.1f kt", a.referenceKias)
                         : Format("not above 1.05 times the stall speed, %.1f kt", lowest));
            return v;
        }
        case Limit::FlapSpeeds:
            v.bound = "each setting at most its limiting speed";
            if (!r.flapExcess) {
                v.value = "none over";
                v.met = true;
                return v;
            }
            {
                const FlapExcess& e = *r.flapExcess;
                v.value = Format("%.1f kt over", e.excessKt) + " with flaps " + e.setting;
                v.why = "flaps " + e.setting + Format(" at %.1f kt, ", e.iasKt) +
                        Format("limit %.0f kt", e.limitKias) +
                        Format(", %.1f nm out", e.distanceNm) + Format(" at %.0f ft", e.heightFt) +
                        (e.stage.empty() ? "" : " (" + e.stage + ")") +
                        Format("; %.0f s over a limit in all", e.secondsOver);
            }
            return v;
        case Limit::TouchdownLoad:
            v.bound = Format("at most %.1f g", limits.maxTouchdownLoadG);
            if (!td)
                return noTouchdown(v);
            v.value = Format("%.2f g", td->recordedLoadG);
            v.met = td->recordedLoadG <= limits.maxTouchdownLoadG;
            v.why = Format("normal load %.2f g at touchdown (%.2f g at its peak sample), ",
                           td->recordedLoadG, td->peakLoadG) +
                    Format("limit %.1f g", limits.maxTouchdownLoadG);
            return v;
        case Limit::GentleSink:
            v.bound = Format("at most %.0f ft/min", limits.maxGentleSinkFpm);
            if (!td)
                return noTouchdown(v);
            v.value = Format("%.0f ft/min", td->sinkFpm);
            v.met = td->sinkFpm <= limits.maxGentleSinkFpm;
            v.why = Format("sink rate %.0f ft/min at touchdown, ", td->sinkFpm) +
                    Format("limit %.0f", limits.maxGentleSinkFpm);
            return v;
        case Limit::Stabilised: {
            const double low = a.referenceKias + limits.gateMinSpeedOverReferenceKt;
            const double high = a.referenceKias + limits.gateMaxSpeedOverReferenceKt;
            const double lateral = r.runwayWidthM / 2.0;
            v.bound = Format("%.1f..", low) + Format("%.1f kt, landing flaps, ", high) +
                      Format("sink under %.0f ft/min, ", limits.gateMaxSinkFpm) +
                      Format("within %.1f m", lateral);
            if (!r.gate) {
                v.value = "not flown through";
                v.why = Format(
                    "never descended through %.0f ft above the runway before the "
                    "touchdown",
                    limits.gateHeightFt);
                return v;
            }
            const GateFacts& g = *r.gate;
            const bool flapsSet = g.flapPosition >= a.landingFlaps - sim::kFlapPositionTolerance;
            v.value = Format("%.1f kt, ", g.iasKt) + Format("flaps %.2f, ", g.flapPosition) +
                      Format("%.0f ft/min, ", g.sinkFpm) + Format("%.1f m", g.crossM);
            std::string why;
            auto add = [&](const std::string& text) { why += (why.empty() ? "" : ", ") + text; };
            if (!(a.referenceKias > 0.0))
                add("the aircraft's speeds are not known");
            else if (!(g.iasKt >= low && g.iasKt <= high))
                add(Format("%.1f kt against ", g.iasKt) + Format("%.1f..", low) +
                    Format("%.1f kt", high));
            if (!flapsSet)
                add(Format("flaps at %.2f, not the landing setting", g.flapPosition));
            if (!(g.sinkFpm < limits.gateMaxSinkFpm))
                add(Format("sinking %.0f ft/min", g.sinkFpm));
            if (!(std::abs(g.crossM) <= lateral))
                add(Format("%.1f m off the centre line", std::abs(g.crossM)));
            v.met = why.empty();
            v.why = Format("not stabilised at %.0f ft: ", limits.gateHeightFt) + why;
            return v;
        }
    }
    return v;
}

}  // namespace

void DecideOutcome(LandingReport& r, bool leftRunway, const std::string& endDetail) {
    if (r.crashed) {
        r.outcome = Outcome::Crashed;
        r.outcomeDetail = endDetail;
    } else if (r.touchdown &&
               (!r.touchdown->onRunway || leftRunway || (r.stop && !r.stop->onRunway))) {
        r.outcome = Outcome::OffRunway;
        r.outcomeDetail =
            !r.touchdown->onRunway
                ? Format("touched down off the runway (%.0f ft along, ", r.touchdown->alongFt) +
                      Format("%.1f m beside)", r.touchdown->crossM)
                : "left the runway during the roll-out";
    } else if (r.handedBack && r.stop) {
        r.outcome = Outcome::LandedAndStopped;
        r.outcomeDetail = Format("control handed back %.0f s after the start",
                                 r.handBackTimeS ? *r.handBackTimeS : 0.0);
    } else {
        r.outcome = Outcome::TimedOut;
        r.outcomeDetail =
            endDetail.empty() ? "handed back, but the aircraft kept rolling" : endDetail;
    }
}

void JudgeLanding(LandingReport& report, const GoodLandingLimits& limits) {
    report.failed.clear();
    report.failedLimits.clear();
    report.checks.clear();
    const bool flown = report.outcome != Outcome::Error;
    for (int i = 0; i < kLimitCount; ++i) {
        const Limit limit = static_cast<Limit>(i);
        LimitCheck check;
        check.limit = limit;
        if (!flown) {
            check.value = "not flown";
            report.failed.push_back(limit);
            report.failedLimits.push_back("not flown: " + report.error);
        } else {
            const Verdict v = Judge(limit, report, limits);
            check.value = v.value;
            check.bound = v.bound;
            check.met = v.met;
            if (!v.met) {
                report.failed.push_back(limit);
                report.failedLimits.push_back(v.why);
            }
        }
        report.checks.push_back(check);
    }
    report.good = report.failed.empty();
    report.goodOnRunway = std::none_of(report.failed.begin(), report.failed.end(), IsRunwayLimit);
}

}  // namespace corvane::harness
