// SPDX-License-Identifier: MIT
#include "app/mainwindow/WindowRegion.h"

#include <cmath>

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

int PixelsX(PixelScale scale, double twips) {
    return Round(twips / scale.x);
}
int PixelsY(PixelScale scale, double twips) {
    return Round(twips / scale.y);
}

forms::RegionShape MapOutline(const forms::Form1Model& f, PixelScale scale, bool round) {
    return {round ? forms::RegionShape::Kind::Ellipse : forms::RegionShape::Kind::Rectangle, 0, 0,
            PixelsX(scale, f.Picture1.width), PixelsY(scale, f.Picture1.height)};
}

forms::RegionShape ThrottleRectangle(const forms::Form1Model& f, PixelScale scale) {
    const forms::ScrollBar& bar = f.VScroll1;
    return {forms::RegionShape::Kind::Rectangle, PixelsX(scale, bar.left), PixelsY(scale, bar.top),
            PixelsX(scale, bar.left + bar.width), PixelsY(scale, bar.top + bar.height)};
}

std::vector<forms::RegionShape> WindowRegion(const forms::Form1Model& f, PixelScale scale,
                                             bool round, bool withThrottle) {
    std::vector<forms::RegionShape> region{MapOutline(f, scale, round)};
    if (withThrottle)
        region.push_back(ThrottleRectangle(f, scale));
    return region;
}

void SwitchShape(forms::Form1Model& f, PixelScale scale) {
    forms::MainMenu& menu = f.menu;
    const bool round = menu.mnushape.caption == kRoundCaption;
    menu.mnushape.caption = round ? kSquareCaption : kRoundCaption;
    f.region = WindowRegion(f, scale, round, menu.mnuthrottle.caption == kHideThrottleCaption);
}

bool SwitchMinimized(forms::Form1Model& f, forms::Form4Model& form4, PixelScale scale) {
    forms::MainMenu& menu = f.menu;
    const int w = PixelsX(scale, f.Picture1.width);
    const int h = PixelsY(scale, f.Picture1.height);
    if (menu.mnuminimize.caption == kMinimizeCaption) {
        menu.mnuminimize.caption = kRestoreCaption;
        f.region = {{forms::RegionShape::Kind::Ellipse, Round(3.0 * w / 8), Round(3.0 * h / 8),
                     Round(5.0 * w / 8), Round(5.0 * h / 8)}};
        f.Image1.visible = false;
        form4.visible = false;
        return true;
    }
    // Twice: the outline stays what it was and is given again.
    SwitchShape(f, scale);
    SwitchShape(f, scale);
    menu.mnuminimize.caption = kMinimizeCaption;
    if (menu.mnujoyshow.caption == kHideJoystickCaption)
        f.Image1.visible = true;
    form4.visible = true;
    return false;
}

}  // namespace corvane::mainwindow
