// SPDX-License-Identifier: MIT
#include "tools/flightcards/FlightCards.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/physics/Units.h"
#include "sim/variables/ImageBinding.h"

namespace corvane::flightcards {

std::vector<Card> StandardCards(const sim::AircraftData& aircraft) {
    std::vector<std::pair<std::string, double>> flaps = {{"up", 0.0}};
    for (const sim::FlapSetting& f : aircraft.flaps)
        flaps.push_back({f.name, f.position});
    std::vector<Card> cards;
    for (const auto& [name, position] : flaps) {
        for (double power : {1.0, 0.75, 0.55}) {
            char text[96];
            std::snprintf(text, sizeof text, "level, flaps %s, power %.2f", name.c_str(), power);
            cards.push_back({text, power, position, 0.0});
        }
    }
    cards.push_back({"idle descent 800 ft/min, flaps up", 0.0, 0.0, -800.0});
    cards.push_back({"idle descent 1200 ft/min, flaps up", 0.0, 0.0, -1200.0});
    return cards;
}

std::vector<CardResult> FlyCards(sim::SimulatorBackend& sim, const std::vector<Card>& cards,
                                 const CardTiming& timing, const std::function<void()>& advance,
                                 const std::function<void(const CardResult&)>& progress) {
    std::vector<CardResult> results;
    // The height held: a little above the start, so that the first card
    // captures it from below as every later one does from where it is.
    const double holdAltitudeM = sim.State().altitudeM + 30.0;
    for (const Card& card : cards) {
        const double startS = sim.TimeS();
        CardResult r;
        r.card = card;
        double minIas = 1e9;
        double maxIas = -1e9;
        int samples = 0;
        const double startAltitudeM = sim.State().altitudeM;
        // The rate towards the height held, chosen once: a new rate would
        // restart the autopilot's capture.
        const std::int16_t captureFpm = startAltitudeM < holdAltitudeM ? 500 : -500;
        while (sim.TimeS() - startS < timing.settleS + timing.measureS) {
            if (!sim.Failure().empty())
                return results;
            sim::ControlInputs in = sim::ImageBinding::ReadInputs(sim.Variables());
            in.paused = false;
            in.throttle = {card.throttle, card.throttle, card.throttle, card.throttle};
            in.flapsLever = card.flapsLever;
            in.gearDown = true;
            in.autoCoordinator = true;
            // Over-speeding the flaps is part of some cards: no damage for it.
            in.crashDetection = false;
            sim::AutopilotSettings& ap = in.autopilot;
            ap.master = true;
            ap.wingLeveller = true;
            ap.headingHold = false;
            ap.altitudeHold = true;
            if (card.climbFpm == 0.0) {
                ap.altitudeTargetM = holdAltitudeM;
                ap.verticalSpeedFpm = captureFpm;
            } else {
                // A target far out of reach: the rate is flown all the way.
                ap.altitudeTargetM = startAltitudeM + std::copysign(3000.0, card.climbFpm);
                ap.verticalSpeedFpm = static_cast<std::int16_t>(card.climbFpm);
            }
            sim::ImageBinding::WriteInputs(in, sim.Variables());
            const double before = sim.TimeS();
            advance();
            if (sim.TimeS() == before || sim.TimeS() - startS < timing.settleS)
                continue;
            const sim::AircraftState& s = sim.State();
            const double iasKt = s.iasMps * sim::units::kKnotsPerMps;
            minIas = std::min(minIas, iasKt);
            maxIas = std::max(maxIas, iasKt);
            r.iasKt += iasKt;
            r.pitchDeg += s.pitchDeg;
            r.alphaDeg += s.alphaBodyDeg;
            r.climbFpm += s.velocityUpMps * sim::units::kFpmPerMps;
            ++samples;
        }
        if (samples > 0) {
            r.iasKt /= samples;
            r.pitchDeg /= samples;
            r.alphaDeg /= samples;
            r.climbFpm /= samples;
        }
        r.settled = samples > 0 && maxIas - minIas < 1.0;
        results.push_back(r);
        if (progress)
            progress(r);
    }
    return results;
}

std::string CardTable(const std::string& title, const std::vector<CardResult>& results) {
    std::string out = title + "\n";
    char line[200];
    std::snprintf(line, sizeof line, "%-40s %7s %7s %7s %8s %s\n", "card", "IAS kt", "pitch",
                  "alpha", "climb", "");
    out += line;
    for (const CardResult& r : results) {
        std::snprintf(line, sizeof line, "%-40s %7.1f %7.1f %7.1f %8.0f %s\n", r.card.name.c_str(),
                      r.iasKt, r.pitchDeg, r.alphaDeg, r.climbFpm,
                      r.settled ? "" : "(not settled)");
        out += line;
    }
    return out;
}

}  // namespace corvane::flightcards
