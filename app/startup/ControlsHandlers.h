// SPDX-License-Identifier: MIT
//
// The mouse joystick's and the throttle bar's handlers.
#pragma once

namespace corvane {
struct Program;
}

namespace corvane::startup {

// Centres the knob on the map (start-up).
void CentreJoystick(Program& p);
// The main cycle's joystick write (before the guidance) and throttle display
// (after the exchange).
void JoystickWrite(Program& p);
void ThrottleDisplay(Program& p);
// The knob's mouse events; X, Y in twips inside the knob; button 1 left, 2
// right. Presses and clicks that are not drags go on to the map's own mouse
// handlers.
void Image1_MouseDown(Program& p, int button, int shift, float x, float y);
void Image1_MouseMove(Program& p, int button, int shift, float x, float y);
void Image1_MouseUp(Program& p, int button, int shift, float x, float y);
// The throttle bar moved by the user (change and scroll events).
void VScroll1_Change(Program& p);
// Menu commands.
void mnujoyshow_Click(Program& p);
void mnuRevVert_Click(Program& p);
void mnuRevHoriz_Click(Program& p);
void mnuthrottle_Click(Program& p);

}  // namespace corvane::startup
