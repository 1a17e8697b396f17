// SPDX-License-Identifier: MIT
//
// The map's mouse: the pop-up menu on the right button, the airport click and
// the window drag on the left one.
#include <cmath>

#include "app/airports/AirportCommands.h"
#include "app/mainwindow/MainWindowCommands.h"
#include "app/map/MapCommands.h"
#include "app/startup/Program.h"

namespace corvane::mainwindow {

namespace {

// Pauses the simulator at once (one exchange), remembering its pause state.
void PauseSimulator(Program& p) {
    p.SavedPauseState = p.plane.paused();
    p.plane.paused(1);
    flightstate::ExchangeFlightState(p.flightState, p.link);
}

void OpenPopupMenu(Program& p) {
    PauseSimulator(p);
    p.FirstCycle = true;  // if no command is chosen, the next tick unpauses
    forms::MainMenu& menu = p.forms.Form1.menu;
    const host::Point at = p.host.CursorPosition();
    menu.popupX = at.x;
    menu.popupY = at.y;
    menu.popupRequested = true;
}

bool IsAirportDot(const map::MapDot& dot) {
    return dot.kind == map::kAirportWithoutFuel || dot.kind == map::kAirportWithFuel;
}

}  // namespace

void Picture1_MouseDown(Program& p, int button, int /*shift*/, float x, float y) {
    if (button == kRightButton) {
        OpenPopupMenu(p);
        return;
    }
    MainWindowState& w = p.mainWindow;
    w.MapMouseX = x;
    w.MapMouseY = y;
    w.DragStartX = x;
    w.DragStartY = y;
    const int nearest = map::NearestDot(p, x, y);
    if (nearest > 0 && nearest <= p.map.MapDotCount &&
        IsAirportDot(p.map.MapDots[std::size_t(nearest)])) {
        if (p.flightState.simulatorkind != flightstate::kFs98)
            return;
        const int airport = p.map.MapDots[std::size_t(nearest)].item;
        // The simulator stays paused while the airport window is open.
        p.SavedPauseState = p.plane.paused();
        p.plane.paused(1);
        flightstate::ExchangeFlightState(p.flightState, p.link);
        p.Form1Timer1->SetEnabled(false);
        p.Form1Timer3->SetEnabled(false);
        p.search.SelectedAirport = airport;
        airports::OpenAirportFromMap(p, airport);
        return;
    }
    w.WindowDragging = true;
    p.forms.Form1.mousePointer = kMovePointer;
}

void Picture1_MouseMove(Program& p, int /*button*/, int /*shift*/, float x, float y) {
    MainWindowState& w = p.mainWindow;
    w.MapMouseX = x;
    w.MapMouseY = y;
    if (w.WindowDragging)
        p.forms.Form1.mousePointer = kMovePointer;
}

void Picture1_MouseUp(Program& p, int button, int /*shift*/, float x, float y) {
    MainWindowState& w = p.mainWindow;
    if (button == kRightButton || !w.WindowDragging)
        return;
    w.WindowDragging = false;
    // The window moves once, by the mouse's way since the press.
    forms::Form1Model& f = p.forms.Form1;
    f.left += x - w.DragStartX;
    f.top += y - w.DragStartY;
    p.host.UpdateWindow(f.windowHandle);
    p.host.DoEvents();
    f.mousePointer = kArrowPointer;
}

}  // namespace corvane::mainwindow
