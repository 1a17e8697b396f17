// SPDX-License-Identifier: MIT
//
// The throttle bar beside the map: its value runs opposite to the throttle
// (value 0, the bar at the top, is full throttle). Moving it sets all four
// engines; every main-cycle tick it follows the engine-1 throttle, so that it
// shows what the autopilot or the simulator's own controls set. The menu
// command shows or hides it by joining its rectangle to the window's outline.
#include <algorithm>
#include <cstdint>

#include "app/controls/ControlsCommands.h"
#include "app/mainwindow/MainWindowCommands.h"
#include "app/mainwindow/WindowRegion.h"
#include "app/startup/Program.h"

namespace corvane::controls {

namespace {

constexpr const char* kShowThrottleCaption = "Show throttle";
constexpr const char* kHideThrottleCaption = "Hide throttle";
constexpr const char* kSquareWindowCaption = "Square window";  // the window is round
constexpr const char* kRestoreCaption = "Restore";             // the window is shrunk to its spot

bool LinkUp(const Program& p) {
    return p.flightState.simulatorkind == flightstate::kFs98;
}

// The throttle as the simulator holds it after the last exchange, as the
// simulator's unsigned 16-bit value.
std::int32_t SimulatorThrottle(const Program& p) {
    const flightstate::FlightState& s = p.flightState;
    const JoystickState& j = p.joystick;
    // A throttle write sent by the last exchange is not in its reading yet
    // (the reads go first): the written value is the current one. Showing the
    // reading instead would move the bar back and write the old throttle again.
    const bool writtenSinceReading =
        j.ThrottleWrittenByBar || s.out.throttle1 != j.ThrottleOutAtDisplay;
    if (LinkUp(p) && writtenSinceReading)
        return static_cast<std::uint16_t>(s.out.throttle1);
    return s.throttle1;
}

}  // namespace

void VScroll1_Change(Program& p) {
    if (!LinkUp(p))
        return;
    const forms::ScrollBar& bar = p.forms.Form1.VScroll1;
    const int value = std::clamp(bar.value, bar.min, bar.max);
    p.plane.throttles(static_cast<std::int16_t>(bar.max - value));
    p.joystick.ThrottleWrittenByBar = true;
}

void ThrottleDisplay(Program& p) {
    forms::ScrollBar& bar = p.forms.Form1.VScroll1;
    const std::int32_t throttle = SimulatorThrottle(p);
    // At or above the maximum (full throttle, or reverse thrust read as a large
    // unsigned value) the bar stays where it is.
    if (throttle < bar.max) {
        const int value = bar.max - throttle;
        if (value != bar.value) {
            bar.value = value;
            // As when the user moves it: all engines get the engine-1 throttle.
            VScroll1_Change(p);
        }
    }
    p.joystick.ThrottleOutAtDisplay = p.flightState.out.throttle1;
    p.joystick.ThrottleWrittenByBar = false;
}

void mnuthrottle_Click(Program& p) {
    forms::Form1Model& f = p.forms.Form1;
    forms::MainMenu& menu = f.menu;
    menu.mnuthrottle.caption = menu.mnuthrottle.caption == kShowThrottleCaption
                                   ? kHideThrottleCaption
                                   : kShowThrottleCaption;
    // While the window is shrunk to its spot it keeps the spot; restoring gives
    // the outline with or without the bar as the caption now says.
    if (menu.mnuminimize.caption != kRestoreCaption) {
        const bool round = menu.mnushape.caption == kSquareWindowCaption;
        const bool withThrottle = menu.mnuthrottle.caption == kHideThrottleCaption;
        f.region = mainwindow::WindowRegion(p, round, withThrottle);
    }
    mainwindow::EndMenuAction(p);
}

}  // namespace corvane::controls
