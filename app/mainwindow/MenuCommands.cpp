// SPDX-License-Identifier: MIT
//
// The pop-up menu's commands: the dispatcher by item name, the common ending,
// and help.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/airports/AirportCommands.h"
#include "app/autopilot/FlyThereCommands.h"
#include "app/controls/ControlsCommands.h"
#include "app/mainwindow/MainWindowCommands.h"
#include "app/map/MapCommands.h"
#include "app/startup/MainCycle.h"
#include "app/startup/Program.h"

namespace corvane::mainwindow {

namespace {

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
                [miles](Program& p) { map::RangeMenu_Click(p, miles); }};
        }
        c["mnuhide"] = {map::mnuhide_Click};
        c["mnuairportdots"] = {map::mnuairportdots_Click};
        c["mnundbdots"] = {map::mnundbdots_Click};
        c["mnuvordots"] = {map::mnuvordots_Click};
        c["mnucrosswire"] = {map::mnucrosswire_Click};
        c["mnushowplace"] = {airports::mnushowplace_Click, Ending::OwnWay};
        c["mnuthrottle"] = {controls::mnuthrottle_Click};
        c["mnujoyshow"] = {controls::mnujoyshow_Click};
        c["mnuRevVert"] = {controls::mnuRevVert_Click};
        c["mnuRevHoriz"] = {controls::mnuRevHoriz_Click};
        c["mnuminimize"] = {mnuminimize_Click};
        c["mnushape"] = {mnushape_Click};
        c["mnuFlyPast"] = {autopilot::mnuFlyPast_Click};
        c["mnuFlythereOff"] = {autopilot::mnuFlythereOff_Click};
        for (const char* height :
             {"mnuAbs3000", "mnuAbs6000", "mnuAbs15000", "mnuAbs30000", "mnuground2000",
              "mnuground4000", "mnuground8000", "mnuground16000"}) {
            const std::string name = height;
            c[name] = {[name](Program& p) { autopilot::CruiseHeight_Click(p, name); }};
        }
        c["mnuHelp"] = {mnuHelp_Click, Ending::OwnWay};
        c["Mnuexit"] = {startup::Mnuexit_Click, Ending::OwnWay};
        return c;
    }();
    return commands;
}

}  // namespace

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

}  // namespace corvane::mainwindow
