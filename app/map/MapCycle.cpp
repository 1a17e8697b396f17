// SPDX-License-Identifier: MIT
#include "app/map/MapCycle.h"

#include <cmath>

#include "app/map/CoastlineLayer.h"
#include "app/map/DotLayer.h"
#include "app/map/HoverChoice.h"
#include "app/map/MapCommands.h"
#include "app/startup/Program.h"

namespace corvane::map {
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

int ScreenPixels(double twips, int twipsPerPixel) {
    return twipsPerPixel > 0 ? static_cast<int>(std::nearbyint(twips / twipsPerPixel)) : 0;
}

// Steps 6 to 15 of the cycle: the frame on Picture2, the readouts, the copy
// to Picture1 and the frame line.
void DrawMapFrame(Program& p, double lat, double lon, double heading, float t0) {
    MapState& m = p.map;
    forms::Form1Model& form1 = p.forms.Form1;
    const MapScreen screen = MapScreenOf(p);
    const MapView view =
        MakeMapView(lat, lon, heading, m.MapRange, m.MetresPerDegreeLatitude, screen);
    const LetEventsRun letEventsRun = [&p] { p.host.DoEvents(); };

    CollectMapDots(m, p.airports, view, screen, letEventsRun);
    restore(p);
    if (forms::Canvas* work = form1.Picture2.canvas.get()) {
        DrawCoastlines(*work, p.coast, view.latmin, view.lonmin, view.latmax, view.lonmax,
                       static_cast<float>(view.heading), view.halflat, view.halflon, view.width,
                       view.height, screen, letEventsRun);
        DrawMapDots(*work, m, form1.menu.mnuFlythereOff.visible, p.plan.DestAirport, letEventsRun);
    }

    const bool mouseOverMap = PointInRectInclusive(p.host.CursorPosition(), Picture1ScreenRect(p));
    const float mx = static_cast<float>(p.mainWindow.MapMouseX / screen.twipsPerPixelX);
    const float my = static_cast<float>(p.mainWindow.MapMouseY / screen.twipsPerPixelY);
    const float catchDistance = CatchDistance(form1.Picyellow.width, form1.Picyellow.height,
                                              screen.twipsPerPixelX, screen.twipsPerPixelY);
    const int hover =
        ChooseHoverDot(m, mouseOverMap, p.joystick.JoystickDragging, mx, my, catchDistance);
    if (hover != 0) {
        ShowReadouts(p, HoverReadout(p.airports, m.MapDots[static_cast<std::size_t>(hover)], lat,
                                     lon, p.flightState.trueairspeed));
    } else if (m.ReadoutsShown) {
        ShowReadouts(p,
                     AircraftReadout(m.MapPositionText, MapHeading(p.flightState), p.flightState));
    } else {
        ShowReadouts(p, ReadoutLines{});
    }

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
    form1.Text1.text = FrameText(frameSeconds, m.MapDotCount);
}

}  // namespace

MapScreen MapScreenOf(const Program& p) {
    MapScreen screen;
    screen.pictureWidthTwips = p.forms.Form1.Picture1.width;
    screen.pictureHeightTwips = p.forms.Form1.Picture1.height;
    screen.twipsPerPixelX = p.host.TwipsPerPixelX();
    screen.twipsPerPixelY = p.host.TwipsPerPixelY();
    return screen;
}

host::Rect Picture1ScreenRect(const Program& p) {
    const forms::Form1Model& form1 = p.forms.Form1;
    const int tppx = p.host.TwipsPerPixelX();
    const int tppy = p.host.TwipsPerPixelY();
    host::Rect rect;
    rect.left = ScreenPixels(form1.left + form1.Picture1.left, tppx);
    rect.top = ScreenPixels(form1.top + form1.Picture1.top, tppy);
    rect.right = rect.left + ScreenPixels(form1.Picture1.width, tppx);
    rect.bottom = rect.top + ScreenPixels(form1.Picture1.height, tppy);
    return rect;
}

void ShowReadouts(Program& p, const ReadoutLines& lines) {
    forms::Form4Model& form4 = p.forms.Form4;
    if (!lines.shown) {
        form4.visible = false;
        return;
    }
    form4.Label1.caption = lines.lines[0];
    form4.Label2.caption = lines.lines[1];
    form4.Label3.caption = lines.lines[2];
    form4.Label4.caption = lines.lines[3];
    form4.visible = true;
}

void PlaceMapWindows(Program& p) {
    forms::Form1Model& form1 = p.forms.Form1;
    forms::Form4Model& form4 = p.forms.Form4;
    if (form1.left < 100)
        form1.left = 100;
    if (form1.top < 100)
        form1.top = 100;

    p.SimulatorWindowHandle = p.host.FindWindowByTitle(kSimulatorWindowTitle);
    host::Rect rect;
    if (p.SimulatorWindowHandle != 0 && p.host.GetWindowRect(p.SimulatorWindowHandle, &rect)) {
        p.SimulatorWindowRect = rect;
    }
    const host::Rect& sim = p.SimulatorWindowRect;
    const double W = static_cast<double>(p.host.TwipsPerPixelX()) * (sim.right - sim.left);
    const double H = static_cast<double>(p.host.TwipsPerPixelY()) * (sim.bottom - sim.top);

    if (form1.left > W - form1.width - 400)
        form1.left = W - form1.width - 200;
    if (form1.top > H - form1.height - 800)
        form1.top = H - form1.height - 800;
    if (form4.left != W - form4.width - 100)
        form4.left = W - form4.width - 100;
}

void RunMapCycle(Program& p, bool placeWindows) {
    MapState& m = p.map;
    if (m.MapCycleBusy)
        return;
    BusyGuard busy(m.MapCycleBusy);
    const float t0 = static_cast<float>(p.host.TimeOfDay());

    const double lat = MapLatitude(p.flightState);
    const double lon = MapLongitude(p.flightState);
    m.MapPositionText = MapPositionText(lat, lon);
    const double heading = MapHeading(p.flightState);

    if (placeWindows)
        PlaceMapWindows(p);
    if (p.mainWindow.WindowDragging)
        return;
    DrawMapFrame(p, lat, lon, heading, t0);
}

void MapCycle(Program& p) {
    RunMapCycle(p, true);
}

void copy(Program& p) {
    forms::Form1Model& form1 = p.forms.Form1;
    form1.picstore.autoRedraw = true;
    if (form1.picstore.canvas && form1.Picture1.canvas) {
        form1.picstore.canvas->CopyFrom(*form1.Picture1.canvas,
                                        static_cast<int>(form1.Picture1.width),
                                        static_cast<int>(form1.Picture1.height));
    }
    form1.picstore.autoRedraw = false;
}

void restore(Program& p) {
    forms::Form1Model& form1 = p.forms.Form1;
    form1.picstore.autoRedraw = true;
    if (form1.Picture2.canvas && form1.picstore.canvas) {
        form1.Picture2.canvas->CopyFrom(*form1.picstore.canvas,
                                        static_cast<int>(form1.Picture1.width),
                                        static_cast<int>(form1.Picture1.height));
    }
}

}  // namespace corvane::map
