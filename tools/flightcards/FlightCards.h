// SPDX-License-Identifier: MIT
//
// Performance cards of an aircraft, flown the same way on any simulator
// behind the variable space: level flight at three power settings with the
// flaps up and at each flap setting, and descents at idle power with the
// flaps up. The autopilot of the variable space flies them (wings level, the
// height held, or a steady descent rate held), as the program flies; the card
// is read once the speed has settled. Two flight models that fly the same
// commands to the same speeds and attitudes are alike where a landing needs
// them to be (docs/flight-model.md has the stand-in's light single against
// FlightGear's Cessna).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sim/model/SimulatorBackend.h"
#include "sim/physics/AircraftData.h"

namespace corvane::flightcards {

struct Card {
    std::string name;  // "level, flaps 10°, power 0.75"
    double throttle = 0.0;
    double flapsLever = 0.0;
    double climbFpm = 0.0;  // 0: the height held
};

struct CardResult {
    Card card;
    double iasKt = 0.0;
    double pitchDeg = 0.0;
    double alphaDeg = 0.0;
    double climbFpm = 0.0;
    // The speed moved less than 1 kt over the measured stretch.
    bool settled = false;
};

// Level flight at throttle 1.0, 0.75 and 0.55 with the flaps up and at each of
// the aircraft's settings, then idle descents at 800 and 1200 ft/min
// with the flaps up.
std::vector<Card> StandardCards(const sim::AircraftData& aircraft);

// Seconds a card settles before it is measured, and the stretch measured.
struct CardTiming {
    double settleS = 60.0;
    double measureS = 15.0;
};

// Flies the cards one after the other from where the aircraft is. advance()
// moves the simulator on by about a step (the caller's pacing: a step of the
// stand-in, or a wait for FlightGear's next frame); failure() is empty while
// the simulator runs. progress gets each result as it is read.
std::vector<CardResult> FlyCards(sim::SimulatorBackend& sim, const std::vector<Card>& cards,
                                 const CardTiming& timing, const std::function<void()>& advance,
                                 const std::function<void(const CardResult&)>& progress);

// One line per card: the name, IAS, pitch, alpha and the climb.
std::string CardTable(const std::string& title, const std::vector<CardResult>& results);

}  // namespace corvane::flightcards
