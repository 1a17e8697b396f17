// SPDX-License-Identifier: MIT
#include "app/presenters/FlyTherePresenter.h"

namespace corvane::presenters {
namespace {

void EndDisplay(forms::Form4Model& f, forms::MainMenu& menu, bool readoutsShown) {
    menu.mnuFlythereOff.visible = false;
    menu.mnuFlyHeight.visible = false;
    if (readoutsShown) {
        f.height = f.Label1.height;
    } else {
        f.visible = false;
    }
}

}  // namespace

void ShowFlightStart(forms::Form4Model& f, forms::MainMenu& menu, FlyThereStatus& status,
                     const std::string& destination, const std::string& stage) {
    menu.mnuFlythereOff.visible = true;
    menu.mnuFlyHeight.visible = true;
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
    status.destination = destination;
    status.stage = stage;
    f.Label5.caption = status.destination;
    f.Label6.caption = status.stage;
}

void ShowFlyThereReport(forms::Form4Model& f, forms::MainMenu& menu, bool readoutsShown,
                        FlyThereStatus& status, const autopilot::FlyThereReport& report) {
    if (report.stage) {
        status.stage = *report.stage;
        f.Label6.caption = status.stage;
    }
    if (report.distance) {
        status.distance = *report.distance;
        f.Label7.caption = status.distance;
    }
    if (report.displayEnded)
        EndDisplay(f, menu, readoutsShown);
}

}  // namespace corvane::presenters
