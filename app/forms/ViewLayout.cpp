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

void MakeCanvases(Forms& forms, Scale scale, const CanvasMaker& make) {
    constexpr Rgb kMapBackground{0, 128, 0};
    auto give = [&](Picture& picture, double widthTwips, double heightTwips) {
        picture.canvas = make(Px(widthTwips, scale.x), Px(heightTwips, scale.y));
    };
    Form1Model& f1 = forms.Form1;
    for (Picture* map : {&f1.Picture1, &f1.Picture2, &f1.picstore}) {
        give(*map, map->width, map->height);
        map->canvas->SetBackColor(kMapBackground);
        map->canvas->Cls();
    }
    Form2Model& f2 = forms.Form2;
    give(f2.picmap, f2.picmap.width, f2.picmap.height);
    give(f2.surface, f2.surface.width > 0 ? f2.surface.width : f2.width,
         f2.surface.height > 0 ? f2.surface.height : f2.height);
    Form6Model& f6 = forms.Form6;
    give(f6.Picture1, f6.Picture1.width, f6.Picture1.height);
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
