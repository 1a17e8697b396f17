// SPDX-License-Identifier: MIT
//
// The mouse joystick's state.
#pragma once

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
};

}  // namespace corvane::controls
