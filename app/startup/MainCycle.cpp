// SPDX-License-Identifier: MIT
#include "app/startup/MainCycle.h"

#include <span>

#include "app/startup/ControlsHandlers.h"
#include "app/startup/ExitStatus.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/Program.h"
#include "app/startup/SimulatorLocator.h"

namespace corvane::startup {

void MainCycle(Program& p) {
    if (p.MainCycleBusy)
        return;
    if (p.FirstCycle) {
        p.FirstCycle = false;
        p.plane.paused(static_cast<std::uint8_t>(p.SavedPauseState & 0xFF));
    }
    p.MainCycleBusy = true;
    p.host.DoEvents();  // the map cycle, menus and mouse handlers may run here
    if (p.host.Ended()) {
        p.MainCycleBusy = false;
        return;
    }
    KeepFocus(p);
    JoystickWrite(p);
    if (p.plan.RouteStage > 0 || p.plan.LandingStage > 0)
        SampleGroundTrack(p);
    if (p.plan.RouteStage > 0)
        RouteTick(p);
    if (p.plan.LandingStage > 0)
        LandingTick(p);
    flightstate::ExchangeFlightState(p.flightState, p.link);
    ThrottleDisplay(p);
    p.MainCycleBusy = false;
}

void Watchdog(Program& p) {
    p.SimulatorWindowHandle = p.host.FindWindowByTitle(kSimulatorTitle);
    if (p.SimulatorWindowHandle == 0)
        p.host.EndProgram(kExitNormal);
}

void CollectWindowedControls(Program& p) {
    const auto form1 = p.forms.Form1.ControlCollection();
    const auto form2 = p.forms.Form2.ControlCollection();
    const auto form3 = p.forms.Form3.ControlCollection();
    const std::span<forms::Control* const> collections[] = {form1, form2, form3};
    for (int form = 0; form < 3; ++form) {
        std::vector<int>& list = p.startup.WindowedControls[std::size_t(form)];
        list.clear();
        const std::span<forms::Control* const> controls = collections[form];
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i]->windowHandle != 0)
                list.push_back(static_cast<int>(i));
        }
    }
}

void KeepFocus(Program& p) {
    const host::WindowId h = p.host.FocusWindow();
    const auto form1 = p.forms.Form1.ControlCollection();
    const auto form2 = p.forms.Form2.ControlCollection();
    const auto form3 = p.forms.Form3.ControlCollection();
    const std::span<forms::Control* const> collections[] = {form1, form2, form3};
    bool ours = false;
    for (int form = 0; form < 3 && !ours; ++form) {
        const std::span<forms::Control* const> controls = collections[form];
        for (int index : p.startup.WindowedControls[std::size_t(form)]) {
            if (index >= 0 && std::size_t(index) < controls.size() &&
                controls[std::size_t(index)]->windowHandle == h) {
                ours = true;
                break;
            }
        }
    }
    if (!ours)
        p.startup.FocusWindow = h;
    p.host.SetFocus(p.startup.FocusWindow);
    p.host.UpdateWindow(p.startup.FocusWindow);
}

void Form1_Unload(Program& p) {
    p.host.EndProgram(kExitNormal);
}

void Mnuexit_Click(Program& p) {
    // Unloading Form1 ends the program; Form2 to Form4 go with it.
    Form1_Unload(p);
}

}  // namespace corvane::startup
