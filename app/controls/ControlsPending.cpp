// SPDX-License-Identifier: MIT
// Placeholders until the mouse controls are built: they do nothing.
#include "app/controls/ControlsCommands.h"

namespace corvane::controls {
void CentreJoystick(Program&) {}
void JoystickWrite(Program&) {}
void ThrottleDisplay(Program&) {}
void Image1_MouseDown(Program&, int, int, float, float) {}
void Image1_MouseMove(Program&, int, int, float, float) {}
void Image1_MouseUp(Program&, int, int, float, float) {}
void VScroll1_Change(Program&) {}
void mnujoyshow_Click(Program&) {}
void mnuRevVert_Click(Program&) {}
void mnuRevHoriz_Click(Program&) {}
void mnuthrottle_Click(Program&) {}
}  // namespace corvane::controls
