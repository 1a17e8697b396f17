// SPDX-License-Identifier: MIT
#include "app/startup/MainCycle.h"

#include <span>
#include <utility>

#include "app/startup/ControlsHandlers.h"
#include "app/startup/ExitStatus.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/Program.h"
#include "app/startup/SimulatorLocator.h"

namespace corvane::startup {
namespace {

// The control collections of Form1 to Form3, by form number from 0.
class ControlCollections {
  public:
    explicit ControlCollections(Program& p)
        : form1_(p.forms.Form1.ControlCollection()),
          form2_(p.forms.Form2.ControlCollection()),
          form3_(p.forms.Form3.ControlCollection()) {}

    std::span<forms::Control* const> operator[](int form) const {
        switch (form) {
            case 0:
                return form1_;
            case 1:
                return form2_;
            default:
                return form3_;
        }
    }

  private:
    decltype(std::declval<forms::Form1Model&>().ControlCollection()) form1_;
    decltype(std::declval<forms::Form2Model&>().ControlCollection()) form2_;
    decltype(std::declval<forms::Form3Model&>().ControlCollection()) form3_;
};

}  // namespace

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
    const ControlCollections collections(p);
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
    const ControlCollections collections(p);
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
