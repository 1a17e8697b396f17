// SPDX-License-Identifier: MIT
//
// Finding the simulator: its folder from the registry, its IPC module in its
// modules folder (copied there from the program's folder when missing), the
// simulator started when it is not running and restarted when the module had
// to be copied while it ran; and, once start-up has the first position, the
// program's windows made child windows of the simulator's main window.
#pragma once

#include <string>
#include <string_view>

#include "ports/Host.h"

namespace corvane {
struct Program;
}

namespace corvane::startup {

inline constexpr std::string_view kSimulatorTitle = "Microsoft Flight Simulator 98";
inline constexpr std::string_view kSimulatorClass = "FS98MAIN";
inline constexpr std::string_view kSimulatorKey = "Software\\CLASSES\\flight simulator";
inline constexpr std::string_view kSimulatorValue = "defaulticon";
inline constexpr std::string_view kSimulatorProgram = "fltsim98.exe";
inline constexpr std::string_view kModulesFolder = "modules";
inline constexpr std::string_view kModuleFile = "FS6IPC.dll";
// What ReadRegistryString gives for a value that is not a plain string.
inline constexpr std::string_view kNotString = "--Not String--";

inline constexpr std::string_view kLocateErrorTitle = "Error loading Flight Simulator";
inline constexpr std::string_view kLocateErrorText =
    "Can't locate Flight Simulator 98, please\r\nload FS98 and then re-start Corvane";

// A registry value as text: empty when the key or value cannot be read,
// kNotString when it is not a plain string, else the stored text (with its
// terminating zero when it was stored with one).
std::string ReadRegistryString(host::Host& host, host::RegistryRoot root, std::string_view key,
                               std::string_view valueName);

// The simulator's folder named by the registry (everything before the program's
// name, which is looked for without regard to case; the folder keeps its real
// case), or empty when the registry does not name the program. Also stores the
// folder and the program's path in the program's state.
// Example: "/opt/FS98/FLTSIM98.EXE,1" gives "/opt/FS98/".
std::string FindSimulatorFolder(Program& p);

// True when the simulator's modules folder holds the IPC module; otherwise
// copies the program's own copy there and returns false. When the copy fails,
// *copyError says what went wrong (it is left empty otherwise).
bool EnsureIpcModule(Program& p, const std::string& folder, std::string* copyError = nullptr);

// Returns with the simulator running (its main window found and its link
// class answering), or ends the program after a message saying why.
void LocateSimulator(Program& p);

// Makes Form1 to Form4 child windows of the simulator's main window; does
// nothing when there is no such window.
void AttachToSimulator(Program& p);

// The message that the simulator cannot be found; then the program ends.
void ShowLocateError(Program& p);

// Seconds from `since` to now on the time of day, across midnight.
double SecondsSince(Program& p, double since);

}  // namespace corvane::startup
