// SPDX-License-Identifier: MIT
#include "app/map/MapPictures.h"

#include "app/map/HoverChoice.h"
#include "app/map/MapOverlays.h"

namespace corvane::map {

void drawcircles(forms::Picture& acontrol) {
    if (acontrol.canvas)
        DrawCircles(*acontrol.canvas, acontrol.width, acontrol.height);
}

void drawcrosswires(forms::Picture& acontrol) {
    if (acontrol.canvas)
        DrawCrosswires(*acontrol.canvas, acontrol.width, acontrol.height);
}

void drawscale(double& span, forms::Picture& acontrol) {
    if (acontrol.canvas)
        DrawScale(*acontrol.canvas, acontrol.height, span);
}

int NearestDot(const MapState& state, const forms::Picture& catchBox, int tppx, int tppy,
               float xTwips, float yTwips) {
    if (tppx <= 0 || tppy <= 0)
        return 0;
    const DotChoice choice = ChooseNearestDot(state, xTwips / tppx, yTwips / tppy);
    return choice.distance < CatchDistance(catchBox.width, catchBox.height, tppx, tppy) ? choice.dot
                                                                                        : 0;
}

void copy(forms::Form1Model& form1) {
    form1.picstore.autoRedraw = true;
    if (form1.picstore.canvas && form1.Picture1.canvas) {
        form1.picstore.canvas->CopyFrom(*form1.Picture1.canvas,
                                        static_cast<int>(form1.Picture1.width),
                                        static_cast<int>(form1.Picture1.height));
    }
    form1.picstore.autoRedraw = false;
}

void restore(forms::Form1Model& form1) {
    form1.picstore.autoRedraw = true;
    if (form1.Picture2.canvas && form1.picstore.canvas) {
        form1.Picture2.canvas->CopyFrom(*form1.picstore.canvas,
                                        static_cast<int>(form1.Picture1.width),
                                        static_cast<int>(form1.Picture1.height));
    }
}

}  // namespace corvane::map
