// SPDX-License-Identifier: MIT
//
// The window's outline: round or square, with the throttle beside it when the
// throttle is shown; minimised to a round spot in the middle of the map.
#include <cmath>

#include "app/mainwindow/MainWindowCommands.h"
#include "app/startup/Program.h"

namespace corvane::mainwindow {

namespace {

constexpr const char* kRoundCaption = "Round window";
constexpr const char* kSquareCaption = "Square window";
constexpr const char* kMinimizeCaption = "Minimize";
constexpr const char* kRestoreCaption = "Restore";
constexpr const char* kHideThrottleCaption = "Hide throttle";
constexpr const char* kHideJoystickCaption = "Hide joystick";

int Round(double v) {
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

int PixelsX(Program& p, double twips) {
    return Round(twips / p.host.TwipsPerPixelX());
}
int PixelsY(Program& p, double twips) {
    return Round(twips / p.host.TwipsPerPixelY());
}

void mnushape_Click(Program& p) {
    forms::Form1Model& f = p.forms.Form1;
    forms::MainMenu& menu = f.menu;
    using Shape = forms::RegionShape;
    const Shape throttle{Shape::Kind::Rectangle, PixelsX(p, f.VScroll1.left),
                         PixelsY(p, f.VScroll1.top), PixelsX(p, f.VScroll1.left + f.VScroll1.width),
                         PixelsY(p, f.VScroll1.top + f.VScroll1.height)};
    const int w = PixelsX(p, f.Picture1.width);
    const int h = PixelsY(p, f.Picture1.height);
    Shape outline{Shape::Kind::Rectangle, 0, 0, w, h};
    if (menu.mnushape.caption == kRoundCaption) {
        menu.mnushape.caption = kSquareCaption;
        outline.kind = Shape::Kind::Ellipse;
    } else {
        menu.mnushape.caption = kRoundCaption;
    }
    f.region = {outline};
    if (menu.mnuthrottle.caption == kHideThrottleCaption)
        f.region.push_back(throttle);
    EndMenuAction(p);
}

void mnuminimize_Click(Program& p) {
    forms::Form1Model& f = p.forms.Form1;
    forms::MainMenu& menu = f.menu;
    const int w = PixelsX(p, f.Picture1.width);
    const int h = PixelsY(p, f.Picture1.height);
    if (menu.mnuminimize.caption == kMinimizeCaption) {
        menu.mnuminimize.caption = kRestoreCaption;
        f.region = {{forms::RegionShape::Kind::Ellipse, Round(3.0 * w / 8), Round(3.0 * h / 8),
                     Round(5.0 * w / 8), Round(5.0 * h / 8)}};
        p.Form1Timer3->SetEnabled(false);
        f.Image1.visible = false;
        p.forms.Form4.visible = false;
    } else {
        // Twice: the outline stays what it was and is given again.
        mnushape_Click(p);
        mnushape_Click(p);
        menu.mnuminimize.caption = kMinimizeCaption;
        p.Form1Timer1->SetEnabled(true);
        p.Form1Timer3->SetEnabled(true);
        if (menu.mnujoyshow.caption == kHideJoystickCaption)
            f.Image1.visible = true;
        p.forms.Form4.visible = true;
    }
    EndMenuAction(p);
}

}  // namespace corvane::mainwindow
