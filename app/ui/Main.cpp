// SPDX-License-Identifier: MIT
//
// corvane: the program. Its main window's load handler runs the whole start-up;
// after it the program lives in its timers and windows until it ends.
#include <unistd.h>
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "app/startup/Program.h"
#include "app/startup/ProgramOptions.h"
#include "app/startup/Startup.h"
#include "app/ui/ProgramWindows.h"
#include "platform/posix/CVcomsLibrary.h"
#include "platform/posix/DesktopTrust.h"
#include "platform/posix/ProgramFolder.h"
#include "platform/posix/RegistryFile.h"
#include "platform/qt/QtHost.h"

namespace {

using corvane::startup::kDataFolderValue;
using corvane::startup::kSettingsKey;

std::string HelpText() {
    return std::string(
               "Usage: corvane [--data DIR] [--remember-data] [--screenshot FILE] [--help] "
               "[--version]\n"
               "       corvane --flightgear [OPTIONS]\n"
               "A moving map, a \"fly there and land\" autopilot and mouse flight controls inside\n"
               "the window of Flight Simulator 98 (on Linux: the stand-in fltsim98.exe).\n\n"
               "Corvane finds the simulator's folder through the registry (on Linux the file\n") +
           corvane::desktop::RegistryFilePath() +
           ", see docs/registry.md), starts the simulator when it is not running, and\n"
           "places its round map window inside the simulator's window. The right mouse\n"
           "button on the map opens its menu. Its link library lies beside the program;\n"
           "its data files (airdata.tri, COAST2.int) and help file beside it too, or\n"
           "in /usr/share/corvane when installed.\n\n"
           "  --data DIR         read airdata.tri and COAST2.int from DIR (e.g. the files\n"
           "                     corvane-navdata built from your own simulator's data);\n"
           "                     without it the setting DataFolder (key\n"
           "                     HKEY_CURRENT_USER\\" +
           kSettingsKey +
           " of the registry file) is used\n"
           "  --remember-data    with --data: save DIR as that setting\n"
           "  --screenshot FILE  three seconds after start-up, save the screen area of the\n"
           "                     simulator's window (with Corvane's windows in it) as PNG\n"
           "  --flightgear       fly with FlightGear: the same as corvane-flightgear (the\n"
           "                     OPTIONS are its own, see corvane-flightgear --help), which\n"
           "                     builds the airport data from FlightGear's on first use,\n"
           "                     starts the stand-in simulator with FlightGear behind it and\n"
           "                     then Corvane, its map in FlightGear's window\n\n"
           "Environment: CORVANE_REGISTRY (the registry file), CORVANE_DESKTOP (where the\n"
           "programs find each other's windows), QT_QPA_PLATFORM (e.g. offscreen).\n"
           "Exit status: 0 when ended by the user or because the simulator closed, 1 when\n"
           "start-up could not finish (the reason is shown and written to the error output).\n";
}

QtMessageHandler standardMessages = nullptr;

// Qt's offscreen platform says for every window that it cannot shape or raise
// it; that is expected there and says nothing about the program.
void QuietOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("This plugin does not support")))
        return;
    if (standardMessages) {
        standardMessages(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

// Saves the screen area of the simulator's window (or the whole screen when it
// has no place on the screen) as a PNG file.
void SaveScreenshot(corvane::Program& p, corvane::qtui::QtHost& host, const std::string& path) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    corvane::host::Rect r;
    QRect area = screen->geometry();
    if (p.SimulatorWindowHandle != 0 && host.GetWindowRect(p.SimulatorWindowHandle, &r)) {
        area = QRect(r.left, r.top, r.right - r.left, r.bottom - r.top).intersected(area);
    }
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (shot.save(QString::fromStdString(path), "PNG")) {
        std::printf("corvane: screen saved to %s\n", path.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "corvane: cannot save the screen to %s\n", path.c_str());
    }
}

// corvane --flightgear: the launcher beside the program takes over.
int RunWithFlightGear(int argc, char** argv) {
    const std::string launcher = corvane::desktop::ProgramFolder() + "corvane-flightgear";
    std::vector<char*> args = {const_cast<char*>(launcher.c_str())};
    for (int i = 2; i < argc; ++i)
        args.push_back(argv[i]);
    args.push_back(nullptr);
    ::execv(launcher.c_str(), args.data());
    std::fprintf(stderr, "corvane: cannot start %s: %s\n", launcher.c_str(), std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--flightgear") == 0)
        return RunWithFlightGear(argc, argv);
    corvane::startup::ProgramOptions options;
    const corvane::startup::CommandLineOutcome commandLine = corvane::startup::ReadCommandLine(
        argc, argv,
        [](const std::string& path) {
            return std::filesystem::absolute(path).lexically_normal().string();
        },
        false, HelpText(),
        // A simulator window published where others can write may be anyone's.
        corvane::desktop::DesktopDirectoryProblem, &options);
    if (!commandLine.run) {
        std::fputs(commandLine.output.c_str(), stdout);
        std::fputs(commandLine.error.c_str(), stderr);
        return commandLine.exitStatus;
    }
    const std::string folder = corvane::desktop::ProgramFolder();
    corvane::startup::DataFolderSources sources;
    sources.setting = corvane::desktop::ReadRegistryValue(corvane::desktop::RegistryFilePath(),
                                                          corvane::host::RegistryRoot::CurrentUser,
                                                          kSettingsKey, kDataFolderValue);
    sources.settingOrigin = std::string("the setting ") + kDataFolderValue + " in " +
                            corvane::desktop::RegistryFilePath();
    sources.defaultFolder = corvane::desktop::DataFolder(folder);
    sources.separators = "/";
    sources.fileExists = [](const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    };
    sources.suggestConverter = true;
    std::string dataFolder;
    const corvane::startup::CommandLineOutcome settled = corvane::startup::SettleDataFolder(
        options, sources,
        [](const std::string& chosen, std::string* error) {
            return corvane::desktop::WriteRegistryString(corvane::host::RegistryRoot::CurrentUser,
                                                         kSettingsKey, kDataFolderValue, chosen,
                                                         error);
        },
        " in " + corvane::desktop::RegistryFilePath(), &dataFolder);
    std::fputs(settled.output.c_str(), stdout);
    std::fflush(stdout);
    std::fputs(settled.error.c_str(), stderr);
    if (!settled.run)
        return settled.exitStatus;
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "corvane: there is no display to show the windows on.\n"
                     "Run it under a virtual X server:   xvfb-run -a scripts/run.sh\n"
                     "or without windows at all:         QT_QPA_PLATFORM=offscreen corvane\n");
        return 2;
    }

    standardMessages = qInstallMessageHandler(QuietOffscreenNotices);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    corvane::qtui::QtHost host;
    host.InstallSignalHandlers();
    corvane::desktop::CVcomsLibrary link(folder);
    corvane::Program program(host, link);
    corvane::ui::ProgramWindows windows(program, host);

    corvane::startup::Form1_Load(program, folder, dataFolder);
    host.Sync();
    if (!options.screenshot.empty() && !host.Ended()) {
        QTimer::singleShot(3000, [&] { SaveScreenshot(program, host, options.screenshot); });
    }
    if (!host.Ended())
        QApplication::exec();

    corvane::startup::CloseLink(program);
    return host.ExitStatus();
}
