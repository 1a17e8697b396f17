// SPDX-License-Identifier: MIT
//
// The mouse joystick: a knob over the map that the pilot drags with the left
// button. Its offset from the map's centre, shaped by a 1.5-power curve, is the
// aileron and elevator input that the main cycle sends while the knob is held.
#pragma once

#include "app/controls/ControlsState.h"
#include "app/flightstate/AircraftCommands.h"
#include "app/forms/Forms.h"

namespace corvane::controls {

// The knob in the middle of the map.
void CentreKnob(forms::Image& knob, const forms::Picture& map);

// The knob pressed at (x, y), twips inside it: a drag begins.
void PressKnob(JoystickState& joystick, forms::Image& knob, float x, float y);
// The mouse moved to (x, y) inside the knob while it is held: the knob moves
// by the mouse's way since the press, inside the map, and the inputs follow
// from where it now lies.
void DragKnob(JoystickState& joystick, forms::Image& knob, const forms::Picture& map, float x,
              float y);
// The knob let go; true when that ends a press without a move (a click, which
// goes on to the map).
bool ReleaseKnob(JoystickState& joystick, forms::Image& knob);

// The aileron and elevator inputs while the knob is held (none otherwise):
// +-1000 of position is +-20000 of control.
flightstate::AircraftCommands JoystickCommands(const JoystickState& joystick);

// "Hide joystick" / "Show joystick": the caption is the joystick's switch.
// While the window is shrunk to its spot the knob stays hidden; restoring
// shows it when the switch is on.
void SwitchJoystick(forms::Form1Model& form1);

}  // namespace corvane::controls
