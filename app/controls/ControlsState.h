// SPDX-License-Identifier: MIT
//
// The mouse joystick's state, and what the throttle bar remembers between two
// main-cycle ticks.
#pragma once

#include <cstdint>

namespace corvane::controls {

struct JoystickState {
    bool JoystickDragging = false;
    bool JoystickMoved = false;
    float PressX = 0;  // twips inside the knob
    float PressY = 0;
    float AileronPosition = 0;   // -1000..1000, positive right of centre
    float ElevatorPosition = 0;  // -1000..1000, positive above centre
    bool ReverseHorizontal = false;
    bool ReverseVertical = false;

    // The throttle bar. An exchange lays its reads before its writes, so the
    // engine-1 reading taken by the exchange that sent a throttle write still
    // shows the throttle from before that write. The display uses these two to
    // notice such a write: the outgoing engine-1 throttle as the last display
    // left it, and whether the bar itself wrote the throttles since.
    std::int32_t ThrottleOutAtDisplay = 0;
    bool ThrottleWrittenByBar = false;
};

}  // namespace corvane::controls
