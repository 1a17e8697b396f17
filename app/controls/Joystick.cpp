// SPDX-License-Identifier: MIT
#include "app/controls/Joystick.h"

#include <cmath>
#include <cstdint>

#include "app/forms/Mouse.h"

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

std::int32_t ControlUnits(float position) {
    return static_cast<std::int32_t>(std::nearbyint(double(position) * kUnitsPerPosition));
}

}  // namespace

void CentreKnob(forms::Image& knob, const forms::Picture& map) {
    knob.left = (map.width - knob.width) / 2;
    knob.top = (map.height - knob.height) / 2;
}

void PressKnob(JoystickState& j, forms::Image& knob, float x, float y) {
    j.JoystickDragging = true;
    j.JoystickMoved = false;
    j.PressX = x;
    j.PressY = y;
    knob.mousePointer = forms::kMovePointer;
}

void DragKnob(JoystickState& j, forms::Image& knob, const forms::Picture& map, float x, float y) {
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

bool ReleaseKnob(JoystickState& j, forms::Image& knob) {
    // Only the release of a knob press can be a click: a right press went to
    // the map at once (and opened its menu), so its release is not a second one.
    const bool held = j.JoystickDragging;
    j.JoystickDragging = false;
    knob.mousePointer = forms::kArrowPointer;
    return held && !j.JoystickMoved;
}

flightstate::AircraftCommands JoystickCommands(const JoystickState& j) {
    flightstate::AircraftCommands plane;
    const std::int32_t elevatorvalue = ControlUnits(j.ElevatorPosition);
    const std::int32_t aileronvalue = ControlUnits(j.AileronPosition);
    if (!j.JoystickDragging)
        return plane;
    plane.aileron(aileronvalue);
    plane.elevator(elevatorvalue);
    return plane;
}

void SwitchJoystick(forms::Form1Model& f) {
    forms::MenuItem& item = f.menu.mnujoyshow;
    if (item.caption == kHideJoystickCaption) {
        item.caption = kShowJoystickCaption;
        f.Image1.visible = false;
    } else {
        item.caption = kHideJoystickCaption;
        f.Image1.visible = f.menu.mnuminimize.caption != kRestoreCaption;
    }
}

}  // namespace corvane::controls
