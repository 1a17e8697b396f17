// SPDX-License-Identifier: MIT
#include "app/startup/ControlsHandlers.h"

#include "app/controls/Joystick.h"
#include "app/controls/Throttle.h"
#include "app/forms/Mouse.h"
#include "app/mainwindow/WindowRegion.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"

namespace corvane::startup {
namespace {

bool LinkUp(const Program& p) {
    return p.flightState.simulatorkind == flightstate::kFs98;
}

float MapX(const forms::Image& knob, float x) {
    return static_cast<float>(knob.left + x);
}
float MapY(const forms::Image& knob, float y) {
    return static_cast<float>(knob.top + y);
}

}  // namespace

void CentreJoystick(Program& p) {
    controls::CentreKnob(p.forms.Form1.Image1, p.forms.Form1.Picture1);
}

void JoystickWrite(Program& p) {
    controls::JoystickCommands(p.joystick).ApplyTo(p.plane);
}

void Image1_MouseDown(Program& p, int button, int shift, float x, float y) {
    forms::Image& knob = p.forms.Form1.Image1;
    if (button == forms::kRightButton) {
        Picture1_MouseDown(p, button, shift, MapX(knob, x), MapY(knob, y));
        return;
    }
    controls::PressKnob(p.joystick, knob, x, y);
}

void Image1_MouseMove(Program& p, int button, int shift, float x, float y) {
    controls::JoystickState& j = p.joystick;
    if (j.JoystickDragging) {
        controls::DragKnob(j, p.forms.Form1.Image1, p.forms.Form1.Picture1, x, y);
    } else {
        const forms::Image& knob = p.forms.Form1.Image1;
        Picture1_MouseMove(p, button, shift, MapX(knob, x), MapY(knob, y));
    }
    j.JoystickMoved = true;
}

void Image1_MouseUp(Program& p, int button, int shift, float x, float y) {
    forms::Image& knob = p.forms.Form1.Image1;
    if (controls::ReleaseKnob(p.joystick, knob)) {
        Picture1_MouseDown(p, button, shift, MapX(knob, x), MapY(knob, y));
        Picture1_MouseUp(p, button, shift, MapX(knob, x), MapY(knob, y));
    }
    // The knob stays where it is and nothing is sent: the simulator keeps the
    // last inputs until the knob is held again.
}

void VScroll1_Change(Program& p) {
    controls::BarThrottleCommands(LinkUp(p), p.forms.Form1.VScroll1, p.joystick).ApplyTo(p.plane);
}

void ThrottleDisplay(Program& p) {
    forms::ScrollBar& bar = p.forms.Form1.VScroll1;
    const std::int32_t throttle = controls::SimulatorThrottle(
        LinkUp(p), p.flightState.readings, p.flightState.out.throttle1, p.joystick);
    int value = 0;
    if (controls::BarValueFor(throttle, bar, &value)) {
        bar.value = value;
        // As when the user moves it: all engines get the engine-1 throttle.
        VScroll1_Change(p);
    }
    controls::ThrottleDisplayed(p.joystick, p.flightState.out.throttle1);
}

void mnujoyshow_Click(Program& p) {
    controls::SwitchJoystick(p.forms.Form1);
    EndMenuAction(p);
}

void mnuRevVert_Click(Program& p) {
    controls::JoystickState& j = p.joystick;
    j.ReverseVertical = !j.ReverseVertical;
    p.forms.Form1.menu.mnuRevVert.checked = j.ReverseVertical;
    EndMenuAction(p);
}

void mnuRevHoriz_Click(Program& p) {
    controls::JoystickState& j = p.joystick;
    j.ReverseHorizontal = !j.ReverseHorizontal;
    p.forms.Form1.menu.mnuRevHoriz.checked = j.ReverseHorizontal;
    EndMenuAction(p);
}

void mnuthrottle_Click(Program& p) {
    forms::Form1Model& f = p.forms.Form1;
    bool round = false;
    bool withThrottle = false;
    if (controls::SwitchThrottle(f.menu, &round, &withThrottle))
        f.region = mainwindow::WindowRegion(f, PixelScaleOf(p), round, withThrottle);
    EndMenuAction(p);
}

}  // namespace corvane::startup
