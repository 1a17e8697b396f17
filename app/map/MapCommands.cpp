// SPDX-License-Identifier: MIT
#include "app/map/MapCommands.h"

#include "app/mainwindow/MainWindowCommands.h"
#include "app/map/HoverChoice.h"
#include "app/map/MapCycle.h"
#include "app/map/MapMenus.h"
#include "app/map/MapOverlays.h"
#include "app/startup/Program.h"

namespace corvane::map {

void drawcircles(Program&, forms::Picture& acontrol) {
    if (acontrol.canvas)
        DrawCircles(*acontrol.canvas, acontrol.width, acontrol.height);
}

void drawcrosswires(Program&, forms::Picture& acontrol) {
    if (acontrol.canvas)
        DrawCrosswires(*acontrol.canvas, acontrol.width, acontrol.height);
}

void drawscale(Program&, double& span, forms::Picture& acontrol) {
    if (acontrol.canvas)
        DrawScale(*acontrol.canvas, acontrol.height, span);
}

int NearestDot(const Program& p, float xTwips, float yTwips) {
    const int tppx = p.host.TwipsPerPixelX();
    const int tppy = p.host.TwipsPerPixelY();
    if (tppx <= 0 || tppy <= 0)
        return 0;
    const DotChoice choice = ChooseNearestDot(p.map, xTwips / tppx, yTwips / tppy);
    const forms::Picture& catchBox = p.forms.Form1.Picyellow;
    return choice.distance < CatchDistance(catchBox.width, catchBox.height, tppx, tppy) ? choice.dot
                                                                                        : 0;
}

void RangeMenu_Click(Program& p, int rangeMiles) {
    SelectRange(p.forms.Form1.menu, p.map, rangeMiles);
    mainwindow::EndMenuAction(p);
}

void mnuairportdots_Click(Program& p) {
    ToggleAirportDots(p.forms.Form1.menu, p.map);
    mainwindow::EndMenuAction(p);
}

void mnundbdots_Click(Program& p) {
    ToggleNdbDots(p.forms.Form1.menu, p.map);
    mainwindow::EndMenuAction(p);
}

void mnuvordots_Click(Program& p) {
    ToggleVorDots(p.forms.Form1.menu, p.map);
    mainwindow::EndMenuAction(p);
}

void mnucrosswire_Click(Program& p) {
    forms::Picture& picture1 = p.forms.Form1.Picture1;
    const MapOverlay overlay = SwitchOverlay(p.forms.Form1.menu.mnucrosswire);
    if (picture1.canvas)
        picture1.canvas->Cls();
    if (overlay == MapOverlay::Crosswires) {
        drawcrosswires(p, picture1);
    } else {
        drawcircles(p, picture1);
    }
    copy(p);
    mainwindow::EndMenuAction(p);
}

void mnuhide_Click(Program& p) {
    ToggleReadouts(p.forms.Form1.menu.mnuhide, p.map);
    mainwindow::EndMenuAction(p);
}

}  // namespace corvane::map
