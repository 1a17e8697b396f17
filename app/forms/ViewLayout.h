// SPDX-License-Identifier: MIT
//
// What every set of window views computes from the form models in the same
// way: twips to whole pixels, a control's pixel rectangle, the controls the
// views show in a form's place (the airport window's own surface, the status
// line over the start-up picture), a scroll bar's range in order, and the menu
// entries shown. The Qt views and the Win32 views both take them from here.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/forms/Forms.h"
#include "ports/Canvas.h"

namespace corvane::forms {

// Twips per pixel on each axis.
struct Scale {
    int x = 15;
    int y = 15;
};

// Twips to whole pixels, rounded half to even.
int Px(double twips, int twipsPerPixel);

// A rectangle in pixels relative to the form; never narrower or lower than one pixel.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    bool operator==(const PixelRect&) const = default;
};
PixelRect PixelsOf(const Control& control, Scale scale);
// A form's place on its screen or inside the window it lives in.
PixelRect PixelsOf(const Form& form, Scale scale);

// The airport window's own surface (where the airport's text block is
// written): the whole form, shown when it has a canvas.
Control Form2Surface(const Form2Model& form);
// The status line over the start-up picture: shown while it has a text.
Label Form6Status(const Form6Model& form);

// A scroll bar's range with its minimum first (the model's minimum may lie
// above its maximum; the window systems want them in order).
struct ScrollRange {
    int low = 0;
    int high = 0;
};
ScrollRange RangeOf(const ScrollBar& bar);

// Gives each picture that draws a canvas of the view's kind, made by make(width,
// height) in pixels: the three map pictures (cleared to the map's green), the
// airport plan, the airport window's surface (as large as the window when it has
// no size of its own) and the start-up picture.
using CanvasMaker = std::function<std::unique_ptr<Canvas>(int widthPx, int heightPx)>;
void MakeCanvases(Forms& forms, Scale scale, const CanvasMaker& make);

// The entries shown under a menu entry, in order (hidden ones left out).
std::vector<const MenuItem*> ShownChildren(const MenuItem& parent);

}  // namespace corvane::forms
