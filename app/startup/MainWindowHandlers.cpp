// SPDX-License-Identifier: MIT
#include "app/startup/MainWindowHandlers.h"

#include <functional>
#include <map>
#include <vector>

#include "app/forms/Mouse.h"
#include "app/map/MapPictures.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/ControlsHandlers.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/MainCycle.h"
#include "app/startup/MapHandlers.h"
#include "app/startup/Program.h"

namespace corvane::startup {

namespace {

// Pauses the simulator at once (one exchange), remembering its pause state.
void PauseSimulator(Program& p) {
    p.SavedPauseState = p.flightState.readings.paused;
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

// Commands that do not end with EndMenuAction: the search keeps the simulator
// paused until the airport window closes, help leaves it to the next main
// cycle, and Exit ends the program.
enum class Ending { MenuAction, OwnWay };

struct Command {
    std::function<void(Program&)> run;
    Ending ending = Ending::MenuAction;
};

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands = [] {
        std::map<std::string, Command> c;
        for (int miles : {5, 10, 25, 50, 100, 250}) {
            c["Mnu" + std::to_string(miles) + "miles"] = {
                [miles](Program& p) { RangeMenu_Click(p, miles); }};
        }
        c["mnuhide"] = {mnuhide_Click};
        c["mnuairportdots"] = {mnuairportdots_Click};
        c["mnundbdots"] = {mnundbdots_Click};
        c["mnuvordots"] = {mnuvordots_Click};
        c["mnucrosswire"] = {mnucrosswire_Click};
        c["mnushowplace"] = {mnushowplace_Click, Ending::OwnWay};
        c["mnuthrottle"] = {mnuthrottle_Click};
        c["mnujoyshow"] = {mnujoyshow_Click};
        c["mnuRevVert"] = {mnuRevVert_Click};
        c["mnuRevHoriz"] = {mnuRevHoriz_Click};
        c["mnuminimize"] = {mnuminimize_Click};
        c["mnushape"] = {mnushape_Click};
        c["mnuFlyPast"] = {mnuFlyPast_Click};
        c["mnuFlythereOff"] = {mnuFlythereOff_Click};
        for (const char* height :
             {"mnuAbs3000", "mnuAbs6000", "mnuAbs15000", "mnuAbs30000", "mnuground2000",
              "mnuground4000", "mnuground8000", "mnuground16000"}) {
            const std::string name = height;
            c[name] = {[name](Program& p) { CruiseHeight_Click(p, name); }};
        }
        c["mnuHelp"] = {mnuHelp_Click, Ending::OwnWay};
        c["Mnuexit"] = {Mnuexit_Click, Ending::OwnWay};
        return c;
    }();
    return commands;
}

}  // namespace

mainwindow::PixelScale PixelScaleOf(Program& p) {
    return {p.host.TwipsPerPixelX(), p.host.TwipsPerPixelY()};
}

void Picture1_MouseDown(Program& p, int button, int /*shift*/, float x, float y) {
    if (button == forms::kRightButton) {
        OpenPopupMenu(p);
        return;
    }
    mainwindow::MainWindowState& w = p.mainWindow;
    w.MapMouseX = x;
    w.MapMouseY = y;
    w.DragStartX = x;
    w.DragStartY = y;
    const int nearest = map::NearestDot(p.map, p.forms.Form1.Picyellow, p.host.TwipsPerPixelX(),
                                        p.host.TwipsPerPixelY(), x, y);
    if (nearest > 0 && nearest <= p.map.MapDotCount &&
        IsAirportDot(p.map.MapDots[std::size_t(nearest)])) {
        if (p.flightState.simulatorkind != flightstate::kFs98)
            return;
        const int airport = p.map.MapDots[std::size_t(nearest)].item;
        // The simulator stays paused while the airport window is open.
        p.SavedPauseState = p.flightState.readings.paused;
        p.plane.paused(1);
        flightstate::ExchangeFlightState(p.flightState, p.link);
        p.Form1Timer1->SetEnabled(false);
        p.Form1Timer3->SetEnabled(false);
        p.search.SelectedAirport = airport;
        OpenAirportFromMap(p, airport);
        return;
    }
    w.WindowDragging = true;
    p.forms.Form1.mousePointer = forms::kMovePointer;
}

void Picture1_MouseMove(Program& p, int /*button*/, int /*shift*/, float x, float y) {
    mainwindow::MainWindowState& w = p.mainWindow;
    w.MapMouseX = x;
    w.MapMouseY = y;
    if (w.WindowDragging)
        p.forms.Form1.mousePointer = forms::kMovePointer;
}

void Picture1_MouseUp(Program& p, int button, int /*shift*/, float x, float y) {
    mainwindow::MainWindowState& w = p.mainWindow;
    if (button == forms::kRightButton || !w.WindowDragging)
        return;
    w.WindowDragging = false;
    // The window moves once, by the mouse's way since the press.
    forms::Form1Model& f = p.forms.Form1;
    f.left += x - w.DragStartX;
    f.top += y - w.DragStartY;
    p.host.UpdateWindow(f.windowHandle);
    p.host.DoEvents();
    f.mousePointer = forms::kArrowPointer;
}

void EndMenuAction(Program& p) {
    p.forms.Form1.menu.mnuview.visible = false;
    p.plane.paused(static_cast<std::uint8_t>(p.SavedPauseState & 0xFF));
    p.mainWindow.MenuActionEnded = true;
}

bool MenuClick(Program& p, const std::string& itemName) {
    const auto& commands = Commands();
    auto it = commands.find(itemName);
    if (it == commands.end())
        return false;
    p.forms.Form1.menu.popupRequested = false;
    p.mainWindow.MenuActionEnded = false;
    it->second.run(p);
    if (it->second.ending == Ending::MenuAction && !p.mainWindow.MenuActionEnded &&
        !p.host.Ended()) {
        EndMenuAction(p);
    }
    return true;
}

void mnushape_Click(Program& p) {
    mainwindow::SwitchShape(p.forms.Form1, PixelScaleOf(p));
    EndMenuAction(p);
}

void mnuminimize_Click(Program& p) {
    if (mainwindow::SwitchMinimized(p.forms.Form1, p.forms.Form4, PixelScaleOf(p))) {
        p.Form1Timer3->SetEnabled(false);
    } else {
        p.Form1Timer1->SetEnabled(true);
        p.Form1Timer3->SetEnabled(true);
    }
    EndMenuAction(p);
}

void mnuHelp_Click(Program& p) {
    const std::string helpFile = p.DataFolder + "cv.html";
#ifdef _WIN32
    // Windows opens the help file with the program its shell has for it.
    const std::string viewer = helpFile;
    const std::vector<std::string> arguments;
#else
    const std::string viewer = "xdg-open";
    const std::vector<std::string> arguments{helpFile};
#endif
    if (!p.host.FileExists(helpFile)) {
        p.host.ShowMessageBox("The help file " + helpFile + " is missing.", "Corvane help",
                              host::MessageBoxIcon::Exclamation, host::MessageBoxButtons::Ok);
        return;
    }
    if (!p.host.StartProgram(viewer, arguments)) {
        p.host.ShowMessageBox(
            viewer == helpFile
                ? "Can't open the help file " + helpFile + "."
                : "Can't start " + viewer + " to show the help file " + helpFile + ".",
            "Corvane help", host::MessageBoxIcon::Exclamation, host::MessageBoxButtons::Ok);
    }
}

}  // namespace corvane::startup
