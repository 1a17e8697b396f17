// SPDX-License-Identifier: MIT
#include "app/autopilot/FlyThereStatus.h"

#include "app/startup/Program.h"

namespace corvane::autopilot {

void ShowFlyThereStatus(Program& p, const std::string& destination, const std::string& stage) {
    forms::Form4Model& f = p.forms.Form4;
    // The status row lies under the row of readouts Label1..Label4: the
    // destination takes half the window's width, the stage and distance the rest.
    const double rowTop = f.Label1.top + f.Label1.height;
    const double rowWidth = f.width > 0 ? f.width : f.Label5.width;
    f.Label5.left = 0;
    f.Label5.width = rowWidth / 2;
    f.Label6.left = f.Label5.left + f.Label5.width;
    f.Label6.width = rowWidth * 3 / 10;
    f.Label7.left = f.Label6.left + f.Label6.width;
    f.Label7.width = rowWidth - f.Label7.left;
    for (forms::Label* label : {&f.Label5, &f.Label6, &f.Label7}) {
        label->top = rowTop;
        label->height = f.Label4.height;
        label->visible = true;
    }
    f.visible = true;
    f.height = f.Label1.height + f.Label4.height;
    f.Label5.caption = destination;
    f.Label6.caption = stage;
}

void EndFlyThereDisplay(Program& p) {
    p.forms.Form1.menu.mnuFlythereOff.visible = false;
    p.forms.Form1.menu.mnuFlyHeight.visible = false;
    p.plane.crashing(p.plan.SavedCrashSetting);
    forms::Form4Model& f = p.forms.Form4;
    if (p.map.ReadoutsShown) {
        f.height = f.Label1.height;
    } else {
        f.visible = false;
    }
}

}  // namespace corvane::autopilot
