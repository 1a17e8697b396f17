// SPDX-License-Identifier: MIT
#include "app/map/MapOverlays.h"

#include <algorithm>
#include <cmath>

namespace corvane::map {

void DrawCircles(forms::Canvas& canvas, double W, double H) {
    canvas.Circle(W / 2, H / 2, H / 8);
    canvas.Circle(W / 2, H / 2, H / 4);
    canvas.Circle(W / 2, H / 2, 3 * H / 8);
}

void DrawCrosswires(forms::Canvas& canvas, double W, double H) {
    canvas.Line(0, H / 2, W, H / 2);
    canvas.Line(W / 2, 0, W / 2, H);
    for (double x : {W / 2 + W / 4, W / 2 - W / 4}) {
        canvas.Line(x, H / 2 - W / 40, x, H / 2 + W / 40);
    }
    for (double y : {H / 2 + H / 4, H / 2 - H / 4}) {
        canvas.Line(W / 2 - H / 40, y, W / 2 + H / 40, y);
    }
}

double ScaleBarLength(double H, double spanMetres) {
    return 3000 * (0.85 * H / 2) / (spanMetres * 3.2808);
}

void DrawScale(forms::Canvas& canvas, double H, double spanMetres) {
    if (!(spanMetres > 0) || !std::isfinite(H))
        return;
    const double L = std::min(ScaleBarLength(H, spanMetres), kMaxScaleBarLength);
    if (!std::isfinite(L))
        return;
    const double x0 = 100;
    const double y0 = H - 500;
    canvas.Line(x0, y0 - 100, x0, y0 + 100);
    canvas.Line(x0 + L / 3, y0 - 50, x0 + L / 3, y0 + 50);
    canvas.Line(x0 + 2 * L / 3, y0 - 50, x0 + 2 * L / 3, y0 + 50);
    canvas.Line(x0 + L, y0 - 100, x0 + L, y0 + 100);
    canvas.Line(x0, y0, x0 + L, y0);
    const char* text = "3000 ft";
    canvas.SetCurrentX(x0 + L / 2 - canvas.TextWidth(text) / 2);
    canvas.SetCurrentY(y0 + 100);
    canvas.Print(text);
}

}  // namespace corvane::map
