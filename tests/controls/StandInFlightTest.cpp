// SPDX-License-Identifier: MIT
//
// Flying the stand-in simulator with the mouse: the program's knob and bar
// handlers, its main-cycle writes and its exchange, against the stand-in's
// flight model through its variable space, autopilot off.
#include <gtest/gtest.h>

#include "app/forms/Mouse.h"
#include "app/startup/ControlsHandlers.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"
#include "platform/headless/HeadlessHost.h"
#include "sim/model/Simulator.h"
#include "tests/controls/VariableSpaceLink.h"

namespace corvane::testing {
namespace {

using forms::kLeftButton;

// The program and the stand-in in the same virtual time, 150 ms a tick.
struct MouseFlight {
    MouseFlight() {
        sim::AirStart air;
        air.latitudeDeg = 40;
        air.longitudeDeg = -100;
        air.altitudeFt = 5000;
        air.iasKt = 200;
        simulator.StartInAir(air);
        p.flightState.simulatorkind = flightstate::kFs98;
        startup::CentreJoystick(p);
        flightstate::ExchangeFlightState(p.flightState, p.link);
    }
    // The main cycle's share: the joystick's write, the exchange, the display.
    void Fly(double seconds) {
        for (double t = 0; t < seconds; t += 0.15) {
            startup::JoystickWrite(p);
            flightstate::ExchangeFlightState(p.flightState, p.link);
            startup::ThrottleDisplay(p);
            simulator.Advance(0.15);
        }
    }
    // The knob grabbed in its middle and dragged by (dx, dy) twips on the
    // 2500-twip map, then held.
    void Hold(float dx, float dy) {
        startup::Image1_MouseDown(p, kLeftButton, 0, 150, 150);
        startup::Image1_MouseMove(p, kLeftButton, 0, 150 + dx, 150 + dy);
    }
    const sim::AircraftState& Aircraft() const { return simulator.State(); }

    sim::Simulator simulator;
    VariableSpaceLink link{simulator.Variables()};
    headless::HeadlessHost host;
    Program p{host, link};
};

TEST(StandInFlight, TheKnobBanksAndPitchesTheAircraft) {
    MouseFlight neutral;
    neutral.Fly(2);
    const double pitchNeutral = neutral.Aircraft().pitchDeg;
    EXPECT_NEAR(neutral.Aircraft().bankDeg, 0, 0.5);

    struct Case {
        const char* what;
        float dx, dy;
        int bankSign, pitchSign;  // against the neutral flight
    };
    // Up is forward on a stick: nose down.
    const Case cases[] = {
        {"right", 600, 0, 1, 0},
        {"left", -600, 0, -1, 0},
        {"up", 0, -600, 0, -1},
        {"down", 0, 600, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MouseFlight flight;
        flight.Hold(c.dx, c.dy);
        flight.Fly(2);
        const double bank = flight.Aircraft().bankDeg;
        const double pitchChange = flight.Aircraft().pitchDeg - pitchNeutral;
        const double speedChange = flight.Aircraft().iasMps - neutral.Aircraft().iasMps;
        if (c.bankSign != 0) {
            EXPECT_GT(bank * c.bankSign, 10);
        } else {
            EXPECT_NEAR(bank, 0, 0.5);
        }
        if (c.pitchSign != 0) {
            EXPECT_GT(pitchChange * c.pitchSign, 1);
            EXPECT_LT(speedChange * c.pitchSign, -1);  // nose down gains speed
        }
        EXPECT_FALSE(flight.Aircraft().crashed);
    }
}

TEST(StandInFlight, ReversedVerticalPitchesTheOtherWay) {
    MouseFlight flight;
    flight.p.joystick.ReverseVertical = true;
    const double pitchBefore = flight.Aircraft().pitchDeg;
    flight.Hold(0, -600);
    flight.Fly(2);
    EXPECT_GT(flight.Aircraft().pitchDeg - pitchBefore, 1);
}

TEST(StandInFlight, InputsReachTheStandInInProportionUpToItsFullDeflection) {
    // The program's full deflection is +-20000; the stand-in's is +-16383, so
    // the knob's outer part saturates (beyond 0.875 of the way to the edge).
    struct Case {
        float dx;
        double applied;
    };
    const Case cases[] = {{625, 0.4316}, {-625, -0.4316}, {1100, 1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx);
        MouseFlight flight;
        flight.Hold(c.dx, 0);
        flight.Fly(0.3);
        EXPECT_NEAR(flight.Aircraft().aileronApplied, c.applied, 0.001);
    }
}

// The elevator holds the angle of attack, so at a fixed knob the power shows
// in the climb rate rather than in the airspeed.
TEST(StandInFlight, TheBarSetsThePower) {
    auto altitudeAfter = [](int barValue) {
        MouseFlight flight;
        flight.p.forms.Form1.VScroll1.value = barValue;
        startup::VScroll1_Change(flight.p);
        flight.Fly(30);
        EXPECT_EQ(flight.p.forms.Form1.VScroll1.value, barValue);
        return flight.Aircraft().altitudeM;
    };
    const double full = altitudeAfter(0);
    const double half = altitudeAfter(8192);
    const double idle = altitudeAfter(16383);
    EXPECT_GT(full, half + 100);
    EXPECT_GT(half, idle + 100);
}

}  // namespace
}  // namespace corvane::testing
