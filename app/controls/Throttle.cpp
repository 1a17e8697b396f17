// SPDX-License-Identifier: MIT
#include "app/controls/Throttle.h"

#include <algorithm>

namespace corvane::controls {

namespace {

constexpr const char* kShowThrottleCaption = "Show throttle";
constexpr const char* kHideThrottleCaption = "Hide throttle";
constexpr const char* kSquareWindowCaption = "Square window";  // the window is round
constexpr const char* kRestoreCaption = "Restore";             // the window is shrunk to its spot

}  // namespace

flightstate::AircraftCommands BarThrottleCommands(bool linked, const forms::ScrollBar& bar,
                                                  JoystickState& joystick) {
    flightstate::AircraftCommands plane;
    if (!linked)
        return plane;
    const int value = std::clamp(bar.value, bar.min, bar.max);
    plane.throttles(static_cast<std::int16_t>(bar.max - value));
    joystick.ThrottleWrittenByBar = true;
    return plane;
}

std::int32_t SimulatorThrottle(bool linked, const flightstate::Readings& aircraft,
                               std::int32_t outgoingThrottle1, const JoystickState& j) {
    // Showing the reading instead would move the bar back and write the old
    // throttle again.
    const bool writtenSinceReading =
        j.ThrottleWrittenByBar || outgoingThrottle1 != j.ThrottleOutAtDisplay;
    if (linked && writtenSinceReading)
        return static_cast<std::uint16_t>(outgoingThrottle1);
    return aircraft.throttle1;
}

bool BarValueFor(std::int32_t throttle, const forms::ScrollBar& bar, int* value) {
    if (throttle >= bar.max)
        return false;
    *value = bar.max - throttle;
    return *value != bar.value;
}

void ThrottleDisplayed(JoystickState& j, std::int32_t outgoingThrottle1) {
    j.ThrottleOutAtDisplay = outgoingThrottle1;
    j.ThrottleWrittenByBar = false;
}

bool SwitchThrottle(forms::MainMenu& menu, bool* round, bool* withThrottle) {
    menu.mnuthrottle.caption = menu.mnuthrottle.caption == kShowThrottleCaption
                                   ? kHideThrottleCaption
                                   : kShowThrottleCaption;
    // While the window is shrunk to its spot it keeps the spot; restoring gives
    // the outline with or without the bar as the caption now says.
    if (menu.mnuminimize.caption == kRestoreCaption)
        return false;
    *round = menu.mnushape.caption == kSquareWindowCaption;
    *withThrottle = menu.mnuthrottle.caption == kHideThrottleCaption;
    return true;
}

}  // namespace corvane::controls
