// SPDX-License-Identifier: MIT
//
// The mouse joystick: a knob over the map that the pilot drags with the left
// button. Its offset from the map's centre, shaped by a 1.5-power curve, is the
// aileron and elevator input that the main cycle sends while the knob is held.
// Presses and clicks that are not drags go on to the map's own mouse handlers.
#include <cmath>
#include <cstdint>

#include "app/controls/ControlsCommands.h"
#include "app/mainwindow/MainWindowCommands.h"
#include "app/startup/Program.h"

namespace corvane::controls {

namespace {

constexpr const char* kHideJoystickCaption = "Hide joystick";
constexpr const char* kShowJoystickCaption = "Show joystick";
constexpr const char* kRestoreCaption = "Restore";  // the window is shrunk to its spot

// Shaped position per unit of linear deflection, and simulator units per
// shaped position (full deflection is +-20000).
constexpr double kFullPosition = 1000.0;
constexpr double kUnitsPerPosition = 20.0;

// -1..1 linear deflection to -1000..1000: fine control near the centre.
float Shaped(double linear) {
    const double sign = linear > 0 ? 1.0 : (linear < 0 ? -1.0 : 0.0);
    return static_cast<float>(sign * kFullPosition * std::pow(std::abs(linear), 1.5));
}

// From the knob's centre's offset to the map's centre, as a share of half the
// map: positive above or right of the centre. A map without size gives 0.
double Deflection(double offsetTwips, double mapSizeTwips) {
    if (!(mapSizeTwips > 0))
        return 0.0;
    return offsetTwips * 2 / mapSizeTwips;
}

float MapX(const forms::Image& knob, float x) {
    return static_cast<float>(knob.left + x);
}
float MapY(const forms::Image& knob, float y) {
    return static_cast<float>(knob.top + y);
}

std::int32_t ControlUnits(float position) {
    return static_cast<std::int32_t>(std::nearbyint(double(position) * kUnitsPerPosition));
}

// Moves the knob by the mouse's way since the press, inside the map, and takes
// the new inputs from where it now lies.
void DragKnob(Program& p, float x, float y) {
    JoystickState& j = p.joystick;
    forms::Image& knob = p.forms.Form1.Image1;
    const forms::Picture& map = p.forms.Form1.Picture1;

    double left = knob.left + (x - j.PressX);
    double top = knob.top + (y - j.PressY);
    if (left < 0)
        left = 0;
    if (left > map.width - knob.width)
        left = map.width - knob.width;
    if (top < 0)
        top = 0;
    if (top > map.height - knob.height)
        top = map.height - knob.height;
    knob.left = left;
    knob.top = top;

    const double xc = knob.width / 2 + knob.left;
    const double yc = knob.height / 2 + knob.top;
    double e = Deflection(map.height / 2 - yc, map.height);
    double a = Deflection(xc - map.width / 2, map.width);
    if (j.ReverseVertical)
        e = -e;
    if (j.ReverseHorizontal)
        a = -a;
    j.ElevatorPosition = Shaped(e);
    j.AileronPosition = Shaped(a);
}

}  // namespace

void CentreJoystick(Program& p) {
    forms::Image& knob = p.forms.Form1.Image1;
    const forms::Picture& map = p.forms.Form1.Picture1;
    knob.left = (map.width - knob.width) / 2;
    knob.top = (map.height - knob.height) / 2;
}

void JoystickWrite(Program& p) {
    const JoystickState& j = p.joystick;
    const std::int32_t elevatorvalue = ControlUnits(j.ElevatorPosition);
    const std::int32_t aileronvalue = ControlUnits(j.AileronPosition);
    if (!j.JoystickDragging)
        return;
    p.plane.aileron(aileronvalue);
    p.plane.elevator(elevatorvalue);
}

void Image1_MouseDown(Program& p, int button, int shift, float x, float y) {
    forms::Image& knob = p.forms.Form1.Image1;
    if (button == mainwindow::kRightButton) {
        mainwindow::Picture1_MouseDown(p, button, shift, MapX(knob, x), MapY(knob, y));
        return;
    }
    JoystickState& j = p.joystick;
    j.JoystickDragging = true;
    j.JoystickMoved = false;
    j.PressX = x;
    j.PressY = y;
    knob.mousePointer = mainwindow::kMovePointer;
}

void Image1_MouseMove(Program& p, int button, int shift, float x, float y) {
    JoystickState& j = p.joystick;
    if (j.JoystickDragging) {
        DragKnob(p, x, y);
    } else {
        const forms::Image& knob = p.forms.Form1.Image1;
        mainwindow::Picture1_MouseMove(p, button, shift, MapX(knob, x), MapY(knob, y));
    }
    j.JoystickMoved = true;
}

void Image1_MouseUp(Program& p, int button, int shift, float x, float y) {
    JoystickState& j = p.joystick;
    forms::Image& knob = p.forms.Form1.Image1;
    // Only the release of a knob press can be a click: a right press went to
    // the map at once (and opened its menu), so its release is not a second one.
    const bool held = j.JoystickDragging;
    j.JoystickDragging = false;
    knob.mousePointer = mainwindow::kArrowPointer;
    if (held && !j.JoystickMoved) {
        mainwindow::Picture1_MouseDown(p, button, shift, MapX(knob, x), MapY(knob, y));
        mainwindow::Picture1_MouseUp(p, button, shift, MapX(knob, x), MapY(knob, y));
    }
    // The knob stays where it is and nothing is sent: the simulator keeps the
    // last inputs until the knob is held again.
}

void mnujoyshow_Click(Program& p) {
    forms::Form1Model& f = p.forms.Form1;
    forms::MenuItem& item = f.menu.mnujoyshow;
    // The caption is the joystick's switch. While the window is shrunk to its
    // spot the knob stays hidden; restoring shows it when the switch is on.
    if (item.caption == kHideJoystickCaption) {
        item.caption = kShowJoystickCaption;
        f.Image1.visible = false;
    } else {
        item.caption = kHideJoystickCaption;
        f.Image1.visible = f.menu.mnuminimize.caption != kRestoreCaption;
    }
    mainwindow::EndMenuAction(p);
}

void mnuRevVert_Click(Program& p) {
    JoystickState& j = p.joystick;
    j.ReverseVertical = !j.ReverseVertical;
    p.forms.Form1.menu.mnuRevVert.checked = j.ReverseVertical;
    mainwindow::EndMenuAction(p);
}

void mnuRevHoriz_Click(Program& p) {
    JoystickState& j = p.joystick;
    j.ReverseHorizontal = !j.ReverseHorizontal;
    p.forms.Form1.menu.mnuRevHoriz.checked = j.ReverseHorizontal;
    mainwindow::EndMenuAction(p);
}

}  // namespace corvane::controls
