// SPDX-License-Identifier: MIT
#include "app/startup/MapHandlers.h"

#include "app/map/HoverChoice.h"
#include "app/map/MapFrame.h"
#include "app/map/MapMenus.h"
#include "app/map/MapPictures.h"
#include "app/presenters/MapPresenter.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"

namespace corvane::startup {
namespace {

constexpr double kSecondsPerDay = 86400;

// Clears the busy flag however the cycle is left.
class BusyGuard {
  public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    bool& flag_;
};

// Steps 6 to 15 of the cycle: the frame on Picture2, the readouts, the copy
// to Picture1 and the frame line.
void FrameCycle(Program& p, double lat, double lon, double heading, float t0) {
    map::MapState& m = p.map;
    forms::Form1Model& form1 = p.forms.Form1;
    const int tppx = p.host.TwipsPerPixelX();
    const int tppy = p.host.TwipsPerPixelY();
    const map::MapScreen screen = map::MapScreenOf(form1, tppx, tppy);
    const map::MapView view =
        map::MakeMapView(lat, lon, heading, m.MapRange, m.MetresPerDegreeLatitude, screen);
    const map::LetEventsRun letEventsRun = [&p] { p.host.DoEvents(); };
    map::DrawMapFrame(m, form1, *p.airports, *p.coast, view, screen,
                      form1.menu.mnuFlythereOff.visible, p.plan.DestAirport, letEventsRun);

    const bool mouseOverMap = map::PointInRectInclusive(
        p.host.CursorPosition(),
        map::Picture1ScreenRect(form1, p.host.TwipsPerPixelX(), p.host.TwipsPerPixelY()));
    const float mx = static_cast<float>(p.mainWindow.MapMouseX / screen.twipsPerPixelX);
    const float my = static_cast<float>(p.mainWindow.MapMouseY / screen.twipsPerPixelY);
    const float catchDistance = map::CatchDistance(form1.Picyellow.width, form1.Picyellow.height,
                                                   screen.twipsPerPixelX, screen.twipsPerPixelY);
    const int hover =
        map::ChooseHoverDot(m, mouseOverMap, p.joystick.JoystickDragging, mx, my, catchDistance);
    presenters::ShowReadouts(
        p.forms.Form4, map::FrameReadouts(m, *p.airports, hover, lat, lon, p.flightState.readings));

    if (form1.Picture1.canvas && form1.Picture2.canvas) {
        form1.Picture1.canvas->CopyFrom(*form1.Picture2.canvas,
                                        static_cast<int>(form1.Picture1.width),
                                        static_cast<int>(form1.Picture1.height));
    }
    if (form1.Picture1.windowHandle != 0)
        p.host.UpdateWindow(form1.Picture1.windowHandle);

    // The time of day starts again at midnight.
    double frameSeconds = p.host.TimeOfDay() - t0;
    if (frameSeconds < 0)
        frameSeconds += kSecondsPerDay;
    presenters::ShowFrameLine(form1, map::FrameText(frameSeconds, m.MapDotCount));
}

}  // namespace

void PlaceMapWindows(Program& p) {
    p.SimulatorWindowHandle = p.host.FindWindowByTitle(map::kSimulatorWindowTitle);
    host::Rect rect;
    if (p.SimulatorWindowHandle != 0 && p.host.GetWindowRect(p.SimulatorWindowHandle, &rect)) {
        p.SimulatorWindowRect = rect;
    }
    map::PlaceMapWindows(p.forms.Form1, p.forms.Form4, p.SimulatorWindowRect,
                         p.host.TwipsPerPixelX(), p.host.TwipsPerPixelY());
}

void RunMapCycle(Program& p, bool placeWindows) {
    map::MapState& m = p.map;
    if (m.MapCycleBusy)
        return;
    BusyGuard busy(m.MapCycleBusy);
    const float t0 = static_cast<float>(p.host.TimeOfDay());

    const flightstate::Readings& aircraft = p.flightState.readings;
    const double lat = aircraft.mapLatitudeDeg;
    const double lon = aircraft.mapLongitudeDeg;
    m.MapPositionText = map::MapPositionText(lat, lon);
    const double heading = aircraft.headingTrueDeg;

    if (placeWindows)
        PlaceMapWindows(p);
    if (p.mainWindow.WindowDragging)
        return;
    FrameCycle(p, lat, lon, heading, t0);
}

void MapCycle(Program& p) {
    RunMapCycle(p, true);
}

void RangeMenu_Click(Program& p, int rangeMiles) {
    map::SelectRange(p.forms.Form1.menu, p.map, rangeMiles);
    EndMenuAction(p);
}

void mnuairportdots_Click(Program& p) {
    map::ToggleAirportDots(p.forms.Form1.menu, p.map);
    EndMenuAction(p);
}

void mnundbdots_Click(Program& p) {
    map::ToggleNdbDots(p.forms.Form1.menu, p.map);
    EndMenuAction(p);
}

void mnuvordots_Click(Program& p) {
    map::ToggleVorDots(p.forms.Form1.menu, p.map);
    EndMenuAction(p);
}

void mnucrosswire_Click(Program& p) {
    forms::Picture& picture1 = p.forms.Form1.Picture1;
    const map::MapOverlay overlay = map::SwitchOverlay(p.forms.Form1.menu.mnucrosswire);
    if (picture1.canvas)
        picture1.canvas->Cls();
    if (overlay == map::MapOverlay::Crosswires) {
        map::drawcrosswires(picture1);
    } else {
        map::drawcircles(picture1);
    }
    map::copy(p.forms.Form1);
    EndMenuAction(p);
}

void mnuhide_Click(Program& p) {
    map::ToggleReadouts(p.forms.Form1.menu.mnuhide, p.map);
    EndMenuAction(p);
}

}  // namespace corvane::startup
