// SPDX-License-Identifier: MIT
#include "app/startup/Startup.h"

#include <cmath>
#include <exception>
#include <memory>

#include "app/map/MapPictures.h"
#include "app/startup/ControlsHandlers.h"
#include "app/startup/ExitStatus.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/MainCycle.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/MapHandlers.h"
#include "app/startup/Program.h"
#include "app/startup/SimulatorLocator.h"
#include "app/startup/StartupPicture.h"
#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"
#include "navdata/NavDataError.h"

namespace corvane::startup {

namespace {

constexpr const char* kDatabaseFile = "airdata.tri";
constexpr const char* kCoastFile = "COAST2.int";
constexpr const char* kWaitingText = "Waiting for the simulator...";

int ToPixels(double twips, int twipsPerPixel) {
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

void ResizeCanvas(Program& p, forms::Picture& picture) {
    if (!picture.canvas)
        return;
    picture.canvas->Resize(ToPixels(picture.width, p.host.TwipsPerPixelX()),
                           ToPixels(picture.height, p.host.TwipsPerPixelY()));
}

void FailStartup(Program& p, const std::string& title, const std::string& text) {
    HideStartupStatus(p);
    p.forms.Form6.visible = false;
    p.host.ShowMessageBox(text, title, host::MessageBoxIcon::Critical, host::MessageBoxButtons::Ok);
    p.host.EndProgram(kExitStartFailed);
}

void ShowStartupPicture(Program& p) {
    forms::Form6Model& f = p.forms.Form6;
    // Centred with the window's designed size, then fitted to its picture.
    f.left = (p.host.ScreenWidthTwips() - f.width) / 2;
    f.top = (p.host.ScreenHeightTwips() - f.height) / 2;
    f.Picture1.left = 0;
    f.Picture1.top = 0;
    f.width = f.Picture1.width;
    f.height = f.Picture1.height;
    ResizeCanvas(p, f.Picture1);
    DrawStartupPicture(f.Picture1);
    f.lblStatus.caption.clear();
    f.visible = true;
    p.host.UpdateWindow(f.windowHandle);
    p.host.UpdateWindow(f.Picture1.windowHandle);
    p.host.DoEvents();
}

void LoadNavigationData(Program& p) {
    // The navigation constants, the text key table and the table of feet per
    // degree of longitude are fixed values built with the program.
    const std::string databasePath = p.DataFolder + kDatabaseFile;
    const std::string coastPath = p.DataFolder + kCoastFile;
    p.airports = p.readAirportDatabase ? p.readAirportDatabase(databasePath)
                                       : std::make_shared<const navdata::AirportDatabase>(
                                             navdata::LoadAirportDatabase(databasePath));
    p.coast =
        p.readCoastlines
            ? p.readCoastlines(coastPath)
            : std::make_shared<const navdata::CoastlineData>(navdata::LoadCoastlines(coastPath));
}

void SelectStartRange(Program& p) {
    p.map.MapRange = 50;
    p.forms.Form1.menu.Mnu50miles.checked = true;
    p.forms.Form1.menu.MnuRange.caption = "Range(50)";
}

void RunStartup(Program& p, const std::string& programFolder, const std::string& dataFolder) {
    // 1. The program's folder and the folder of its data.
    const char separator = p.host.PathSeparator();
    auto withSeparator = [separator](std::string folder) {
        if (folder.empty() || folder.back() != separator)
            folder += separator;
        return folder;
    };
    p.AppFolder = withSeparator(programFolder);
    p.DataFolder = dataFolder.empty() ? p.AppFolder : withSeparator(dataFolder);

    // 2. The start-up picture.
    ShowStartupPicture(p);

    // 3. The cycles stay off until the first position has arrived.
    CreateTimers(p);
    p.Form1Timer1->SetEnabled(false);
    p.Form1Timer3->SetEnabled(false);

    // 4 to 7. Navigation data.
    try {
        LoadNavigationData(p);
    } catch (const navdata::NavDataError& e) {
        return FailStartup(p, "Error loading Corvane's data",
                           std::string(e.what()) +
                               "\r\n\r\nCorvane cannot start without this file; please "
                               "re-install it.");
    }

    // 8. The picture goes.
    p.forms.Form6.visible = false;
    p.host.DoEvents();
    if (p.host.Ended())
        return;

    // 9. The simulator.
    LocateSimulator(p);
    if (p.host.Ended())
        return;

    // 10. The main window's layout.
    LayOutForm1(p);

    // 11. The link.
    p.flightState.simulatorkind = static_cast<std::int16_t>(p.link.fsworking());
    if (p.flightState.simulatorkind == flightstate::kFs98)
        p.link.startit();

    // 12 to 18. The map's start state and its stored background.
    p.forms.Form1.Picture1.autoRedraw = true;
    p.map.MetresPerDegreeLatitude = 111130.555555555;
    p.map.ShowAirportDots = true;
    p.map.ShowVORDots = true;
    p.map.ShowNDBDots = true;
    map::drawcircles(p.forms.Form1.Picture1);
    CentreJoystick(p);
    p.forms.Form1.left = 100;
    p.forms.Form1.top = 100;
    SelectStartRange(p);
    p.map.ReadoutsShown = true;
    map::copy(p.forms.Form1);

    // 19, 20.
    CollectWindowedControls(p);
    LayOutForm4(p);

    // 21. The first position.
    if (!WaitForFirstPosition(p))
        return;

    // 22 to 30. Running.
    p.Form1Timer1->SetEnabled(true);
    p.Form1Timer3->SetEnabled(true);
    AttachToSimulator(p);
    p.SavedPauseState = p.plane.paused();
    p.FirstCycle = true;
    mnushape_Click(p);
    p.forms.Form1.visible = true;
    p.SimulatorWindowHandle = p.host.FindWindowByTitle(kSimulatorTitle);
    host::Rect rect;
    if (p.SimulatorWindowHandle != 0 && p.host.GetWindowRect(p.SimulatorWindowHandle, &rect)) {
        p.SimulatorWindowRect = rect;
    }
    p.host.DoEvents();
    if (p.host.Ended())
        return;
    CruiseHeight_Click(p, "mnuground4000");
    p.Form5Timer1->SetEnabled(true);
}

}  // namespace

void CreateTimers(Program& p) {
    if (!p.Form1Timer1)
        p.Form1Timer1 = p.host.CreateTimer(150, [&p] { MainCycle(p); });
    if (!p.Form1Timer3)
        p.Form1Timer3 = p.host.CreateTimer(300, [&p] { MapCycle(p); });
    if (!p.Form1Timer4) {
        p.Form1Timer4 = p.host.CreateTimer(30000, [&p] { Timer4_Timer(p); });
    }
    if (!p.Form5Timer1)
        p.Form5Timer1 = p.host.CreateTimer(500, [&p] { Watchdog(p); });
}

void LayOutForm1(Program& p) {
    forms::Form1Model& f = p.forms.Form1;
    f.Picture1.left = 0;
    f.Picture1.top = 0;
    f.width = std::max(f.Picture1.left + f.Picture1.width, f.VScroll1.left + f.VScroll1.width);
    f.height = std::max(f.Picture1.top + f.Picture1.height, f.VScroll1.top + f.VScroll1.height);
    for (forms::Picture* copy : {&f.Picture2, &f.picstore}) {
        copy->width = f.Picture1.width;
        copy->height = f.Picture1.height;
    }
    ResizeCanvas(p, f.Picture1);
    ResizeCanvas(p, f.Picture2);
    ResizeCanvas(p, f.picstore);
    if (f.Picture2.canvas)
        f.Picture2.canvas->SetFontSize(8);
    f.showInTaskbar = false;
}

void LayOutForm4(Program& p) {
    forms::Form4Model& f = p.forms.Form4;
    double left = 0;
    for (forms::Label* label : {&f.Label1, &f.Label2, &f.Label3, &f.Label4}) {
        label->left = left;
        label->top = 0;
        left += label->width;
    }
    f.height = f.Label1.height;
    f.width = left;
    f.top = 0;
}

bool WaitForFirstPosition(Program& p) {
    double waitStart = p.host.TimeOfDay();
    bool statusShown = false;
    for (;;) {
        flightstate::ExchangeFlightState(p.flightState, p.link);
        const double exchanged = p.host.TimeOfDay();
        while (SecondsSince(p, exchanged) < 1.0) {
            p.host.DoEvents();
            p.forms.Form4.visible = false;
            if (p.host.Ended())
                return false;
        }
        if (p.flightState.latitudehi != 0 && p.flightState.longitudehi != 0)
            break;

        if (!statusShown) {
            ShowStartupStatus(p, kWaitingText);
            statusShown = true;
            if (p.host.Ended())
                return false;
        }
        // A simulator closed during the wait will not send a position.
        if (p.host.FindWindowByTitle(kSimulatorTitle) == 0) {
            ShowLocateError(p);
            return false;
        }
        if (SecondsSince(p, waitStart) >= p.startup.PositionWaitLimit) {
            const auto answer = p.host.ShowMessageBox(
                "Flight Simulator 98 has not sent the aircraft's position for " +
                    std::to_string(static_cast<int>(p.startup.PositionWaitLimit)) +
                    " seconds.\r\nIs its IPC module FS6IPC.dll in its modules folder?\r\n\r\n"
                    "Retry to go on waiting, Cancel to exit Corvane.",
                "Waiting for the simulator", host::MessageBoxIcon::Exclamation,
                host::MessageBoxButtons::RetryCancel);
            if (p.host.Ended())
                return false;
            if (answer != host::MessageBoxResult::Retry) {
                HideStartupStatus(p);
                p.host.EndProgram(kExitStartFailed);
                return false;
            }
            // The simulator may have come up meanwhile: look for its link again.
            if (p.flightState.simulatorkind != flightstate::kFs98) {
                p.flightState.simulatorkind = static_cast<std::int16_t>(p.link.fsworking());
                if (p.flightState.simulatorkind == flightstate::kFs98)
                    p.link.startit();
            }
            waitStart = p.host.TimeOfDay();
        }
    }
    if (statusShown)
        HideStartupStatus(p);
    return true;
}

void CloseLink(Program& p) {
    try {
        if (p.flightState.simulatorkind == flightstate::kFs98)
            p.link.stopit();
    } catch (const std::exception&) {
        // The library never loaded: nothing to close.
    }
}

void Form1_Load(Program& p, const std::string& programFolder, const std::string& dataFolder) {
    try {
        RunStartup(p, programFolder, dataFolder);
    } catch (const std::exception& e) {
        // The link library is loaded at the first call into it; a library that
        // is missing or incomplete ends start-up here, as any other failure.
        FailStartup(p, "Error starting Corvane", e.what());
    }
}

}  // namespace corvane::startup
