// SPDX-License-Identifier: MIT
#include "app/mainwindow/WindowRegion.h"

#include "app/mainwindow/MainWindowCommands.h"
#include "app/startup/Program.h"

namespace corvane::mainwindow {

forms::RegionShape MapOutline(Program& p, bool round) {
    const forms::Form1Model& f = p.forms.Form1;
    return {round ? forms::RegionShape::Kind::Ellipse : forms::RegionShape::Kind::Rectangle, 0, 0,
            PixelsX(p, f.Picture1.width), PixelsY(p, f.Picture1.height)};
}

forms::RegionShape ThrottleRectangle(Program& p) {
    const forms::ScrollBar& bar = p.forms.Form1.VScroll1;
    return {forms::RegionShape::Kind::Rectangle, PixelsX(p, bar.left), PixelsY(p, bar.top),
            PixelsX(p, bar.left + bar.width), PixelsY(p, bar.top + bar.height)};
}

std::vector<forms::RegionShape> WindowRegion(Program& p, bool round, bool withThrottle) {
    std::vector<forms::RegionShape> region{MapOutline(p, round)};
    if (withThrottle) region.push_back(ThrottleRectangle(p));
    return region;
}

}  // namespace corvane::mainwindow
