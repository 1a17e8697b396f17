// SPDX-License-Identifier: MIT
#include "app/startup/SimulatorLocator.h"

#include <algorithm>
#include <cctype>

#include "app/startup/ExitStatus.h"
#include "app/startup/Program.h"
#include "app/startup/StartupPicture.h"

namespace corvane::startup {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// How often the module may be copied and the simulator restarted before
// start-up gives up (each round normally finds the module in place).
constexpr int kMaxRestarts = 3;

std::size_t FindWithoutCase(std::string_view text, std::string_view word) {
    auto it = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
    return it == text.end() ? std::string::npos : std::size_t(it - text.begin());
}

void ShowModuleError(Program& p, const std::string& why) {
    HideStartupStatus(p);
    p.host.ShowMessageBox(why, std::string(kLocateErrorTitle), host::MessageBoxIcon::Critical,
                          host::MessageBoxButtons::Ok);
    p.host.EndProgram(kExitStartFailed);
}

// Lets events run until the condition holds, the limit has passed (false) or
// the program has ended (false).
template <typename Condition>
bool WaitFor(Program& p, double since, double limitSeconds, Condition condition) {
    while (!condition()) {
        if (p.host.Ended() || SecondsSince(p, since) >= limitSeconds)
            return false;
        p.host.DoEvents();
    }
    return true;
}

}  // namespace

double SecondsSince(Program& p, double since) {
    double elapsed = p.host.TimeOfDay() - since;
    if (elapsed < 0)
        elapsed += kSecondsPerDay;
    return elapsed;
}

std::string ReadRegistryString(host::Host& host, host::RegistryRoot root, std::string_view key,
                               std::string_view valueName) {
    auto value = host.ReadRegistryValue(root, key, valueName);
    if (!value)
        return {};
    if (!value->isString)
        return std::string(kNotString);
    return value->text;
}

std::string FindSimulatorFolder(Program& p) {
    p.startup.SimulatorFolder.clear();
    p.startup.SimulatorExePath.clear();
    const std::string v = ReadRegistryString(p.host, host::RegistryRoot::LocalMachine,
                                             kSimulatorKey, kSimulatorValue);
    if (v.empty())
        return {};
    // Any case of the program's name counts, but the folder is kept as written:
    // on a file system that tells cases apart, a lower-cased path names nothing.
    const std::size_t at = FindWithoutCase(v, kSimulatorProgram);
    if (at == std::string::npos || at == 0)
        return {};
    p.startup.SimulatorFolder = v.substr(0, at);
    p.startup.SimulatorExePath = v.substr(0, at + kSimulatorProgram.size());
    return p.startup.SimulatorFolder;
}

bool EnsureIpcModule(Program& p, const std::string& folder, std::string* copyError) {
    if (copyError)
        copyError->clear();
    const std::string modules = folder + std::string(kModulesFolder) + p.host.PathSeparator();
    const std::string target = modules + std::string(kModuleFile);
    if (p.host.FileExists(target))
        return true;
    const std::string source = p.AppFolder + std::string(kModuleFile);
    if (!p.host.CopyFile(source, target) && copyError) {
        if (!p.host.FileExists(source)) {
            *copyError = "Can't install the simulator's IPC module: Corvane's copy of it,\r\n" +
                         source + ", is missing. Please re-install Corvane.";
        } else {
            *copyError = "Can't copy the simulator's IPC module\r\n" + source + "\r\nto\r\n" +
                         target + ", please\r\ncopy it there and then re-start Corvane";
        }
    }
    return false;
}

void ShowLocateError(Program& p) {
    HideStartupStatus(p);
    p.host.ShowMessageBox(std::string(kLocateErrorText), std::string(kLocateErrorTitle),
                          host::MessageBoxIcon::Critical, host::MessageBoxButtons::Ok);
    p.host.EndProgram(kExitStartFailed);
}

void LocateSimulator(Program& p) {
    for (int restarts = 0;; ++restarts) {
        p.SimulatorWindowHandle = p.host.FindWindowByTitle(kSimulatorTitle);
        const std::string folder = FindSimulatorFolder(p);
        std::string copyError;

        if (p.SimulatorWindowHandle != 0) {
            // Without the folder the module cannot be checked; the running
            // simulator is used as it is (rather than closed for nothing).
            if (folder.empty())
                return;
            if (EnsureIpcModule(p, folder, &copyError))
                return;
            if (!copyError.empty())
                return ShowModuleError(p, copyError);
            if (restarts >= kMaxRestarts)
                return ShowLocateError(p);
            // The module has just been copied: the running simulator has not
            // loaded it. Ask it to close, wait, and look again.
            ShowStartupStatus(p, "Restarting the simulator to load its IPC module...");
            p.host.RequestClose(p.SimulatorWindowHandle);
            const double sent = p.host.TimeOfDay();
            WaitFor(p, sent, p.startup.CloseWait, [] { return false; });
            if (p.host.Ended())
                return;
            continue;
        }

        // A registry entry naming a program that is not there: no simulator.
        if (folder.empty() || !p.host.FileExists(p.startup.SimulatorExePath))
            return ShowLocateError(p);
        EnsureIpcModule(p, folder, &copyError);
        if (!copyError.empty())
            return ShowModuleError(p, copyError);
        if (!p.host.StartProgram(p.startup.SimulatorExePath, {}))
            return ShowLocateError(p);

        ShowStartupStatus(p, "Starting the simulator...");
        const double launched = p.host.TimeOfDay();
        const double limit = p.startup.LaunchWaitLimit;
        const bool windowFound = WaitFor(p, launched, limit, [&] {
            p.SimulatorWindowHandle = p.host.FindWindowByTitle(kSimulatorTitle);
            return p.SimulatorWindowHandle != 0;
        });
        if (p.host.Ended())
            return;
        if (!windowFound)
            return ShowLocateError(p);
        const bool linkFound =
            WaitFor(p, launched, limit, [&] { return p.link.fsworking() == flightstate::kFs98; });
        if (p.host.Ended())
            return;
        if (!linkFound)
            return ShowLocateError(p);
        HideStartupStatus(p);
        return;
    }
}

void AttachToSimulator(Program& p) {
    p.SimulatorWindowHandle = p.host.FindWindowByTitle(kSimulatorTitle);
    if (p.SimulatorWindowHandle == 0)
        return;
    forms::Form* windows[] = {&p.forms.Form1, &p.forms.Form2, &p.forms.Form3, &p.forms.Form4};
    for (forms::Form* f : windows)
        f->childStyle = true;
    for (forms::Form* f : windows)
        f->parentWindow = p.SimulatorWindowHandle;
}

}  // namespace corvane::startup
