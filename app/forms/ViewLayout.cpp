// SPDX-License-Identifier: MIT
#include "app/forms/ViewLayout.h"

#include <algorithm>
#include <cmath>

namespace corvane::forms {

int Px(double twips, int twipsPerPixel) {
    return static_cast<int>(std::nearbyint(twips / std::max(twipsPerPixel, 1)));
}

PixelRect PixelsOf(const Control& control, Scale scale) {
    return {Px(control.left, scale.x), Px(control.top, scale.y),
            std::max(Px(control.width, scale.x), 1), std::max(Px(control.height, scale.y), 1)};
}

PixelRect PixelsOf(const Form& form, Scale scale) {
    return {Px(form.left, scale.x), Px(form.top, scale.y), std::max(Px(form.width, scale.x), 1),
            std::max(Px(form.height, scale.y), 1)};
}

Control Form2Surface(const Form2Model& form) {
    Control surface = form.surface;
    surface.left = 0;
    surface.top = 0;
    surface.width = form.width;
    surface.height = form.height;
    surface.visible = form.surface.canvas != nullptr;
    return surface;
}

Label Form6Status(const Form6Model& form) {
    Label status = form.lblStatus;
    status.visible = !form.lblStatus.caption.empty();
    return status;
}

ScrollRange RangeOf(const ScrollBar& bar) {
    return {std::min(bar.min, bar.max), std::max(bar.min, bar.max)};
}

std::vector<const MenuItem*> ShownChildren(const MenuItem& parent) {
    std::vector<const MenuItem*> shown;
    for (const MenuItem* item : parent.children) {
        if (item->visible)
            shown.push_back(item);
    }
    return shown;
}

}  // namespace corvane::forms
