// SPDX-License-Identifier: MIT
//
// corvane.exe: the program on Windows. Its main window's load handler runs the
// whole start-up; after it the program lives in its timers and windows until
// it ends (the user's Exit, or the simulator closing).
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "app/startup/Program.h"
#include "app/startup/ProgramOptions.h"
#include "app/startup/Startup.h"
#include "app/win32ui/ProgramWindows.h"
#include "app/win32ui/Screenshot.h"
#include "platform/win32/CvcomsLink.h"
#include "platform/win32/Win32Host.h"

namespace {

using corvane::startup::kDataFolderValue;
using corvane::startup::kSettingsKey;

std::string HelpText() {
    return std::string(
               "Usage: corvane.exe [--data DIR] [--remember-data] [--screenshot FILE] [--help] "
               "[--version]\n"
               "A moving map, a \"fly there and land\" autopilot and mouse flight controls inside\n"
               "the window of Flight Simulator 98.\n\n"
               "Corvane finds the simulator's folder through the registry value defaulticon of\n"
               "HKEY_LOCAL_MACHINE\\Software\\CLASSES\\flight simulator, copies its IPC module\n"
               "FS6IPC.dll into the simulator's modules folder when it is missing there, starts\n"
               "the simulator when it is not running, and places its round map window inside\n"
               "the simulator's window. The right mouse button on the map opens its menu. The\n"
               "link library CVcoms.dll, the data files (airdata.tri, COAST2.int) and the help\n"
               "file cv.html lie beside the program.\n\n"
               "  --data DIR         read airdata.tri and COAST2.int from DIR; without it the\n"
               "                     setting DataFolder (HKEY_CURRENT_USER\\") +
           kSettingsKey +
           ") is used,\n"
           "                     else the program's folder\n"
           "  --remember-data    with --data: save DIR as that setting\n"
           "  --screenshot FILE  three seconds after start-up, save the screen area of the\n"
           "                     simulator's window (with Corvane's windows in it) as a\n"
           "                     24-bit BMP file\n\n"
           "Environment: CORVANE_MESSAGE_BOXES=answer writes messages to the error output\n"
           "and answers them without showing them (for tests).\n"
           "Exit status: 0 when ended by the user or because the simulator closed, 1 when\n"
           "start-up could not finish (the reason is shown and written to the error output),\n"
           "2 for a wrong command line or data folder.\n";
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

bool WriteSetting(const std::string& value, std::string* error) {
    HKEY key = nullptr;
    LONG status = ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status =
            ::RegSetValueExA(key, kDataFolderValue, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
        ::RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        *error = "Windows error " + std::to_string(status);
    return status == ERROR_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
    corvane::startup::ProgramOptions options;
    const corvane::startup::CommandLineOutcome commandLine = corvane::startup::ReadCommandLine(
        argc, argv, FullPath, true, HelpText(), nullptr, &options);
    if (!commandLine.run) {
        std::fputs(commandLine.output.c_str(), stdout);
        std::fputs(commandLine.error.c_str(), stderr);
        return commandLine.exitStatus;
    }

    corvane::win32::Win32Host host;
    const std::string folder = ProgramFolder();
    corvane::startup::DataFolderSources sources;
    sources.setting = host.ReadRegistryValue(corvane::host::RegistryRoot::CurrentUser, kSettingsKey,
                                             kDataFolderValue);
    sources.settingOrigin =
        std::string("the setting HKEY_CURRENT_USER\\") + kSettingsKey + "\\" + kDataFolderValue;
    sources.defaultFolder = folder;
    sources.separators = "\\/";
    sources.fileExists = [&host](const std::string& path) { return host.FileExists(path); };
    std::string dataFolder;
    const corvane::startup::CommandLineOutcome settled =
        corvane::startup::SettleDataFolder(options, sources, WriteSetting, "", &dataFolder);
    std::fputs(settled.output.c_str(), stdout);
    std::fflush(stdout);
    std::fputs(settled.error.c_str(), stderr);
    if (!settled.run)
        return settled.exitStatus;

    corvane::win32::CvcomsLink link(folder);
    corvane::Program program(host, link);
    corvane::win32ui::ProgramWindows windows(program, host);

    corvane::startup::Form1_Load(program, folder, dataFolder);
    host.Sync();
    std::unique_ptr<corvane::host::Timer> screenshotTimer;
    if (!options.screenshot.empty() && !host.Ended()) {
        screenshotTimer = host.CreateTimer(3000, [&] {
            screenshotTimer->SetEnabled(false);
            RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
            corvane::host::Rect r;
            if (program.SimulatorWindowHandle != 0 &&
                host.GetWindowRect(program.SimulatorWindowHandle, &r)) {
                area = RECT{r.left, r.top, r.right, r.bottom};
            }
            std::string error;
            if (corvane::win32ui::SaveScreenArea(area, options.screenshot, &error)) {
                std::printf("corvane: screen saved to %s\n", options.screenshot.c_str());
                std::fflush(stdout);
            } else {
                std::fprintf(stderr, "corvane: cannot save the screen to %s: %s\n",
                             options.screenshot.c_str(), error.c_str());
            }
        });
        screenshotTimer->SetEnabled(true);
    }
    if (!host.Ended())
        host.RunMessageLoop();

    corvane::startup::CloseLink(program);
    return host.ExitStatus();
}
