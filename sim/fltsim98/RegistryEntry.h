// SPDX-License-Identifier: MIT
//
// The install step (--install): the registry entry through which the program
// finds the simulator's folder. Its value is the executable's full path
// followed by an icon index, as the simulator's own set-up writes it.
#pragma once

#include <string>

namespace corvane::sim {

constexpr const char* kSimulatorRegistryKey = "Software\\CLASSES\\flight simulator";
constexpr const char* kSimulatorRegistryValue = "defaulticon";

// "<exePath>,1".
inline std::string SimulatorRegistryText(const std::string& exePath) {
    return exePath + ",1";
}

// Writes the entry (HKEY_LOCAL_MACHINE) into the registry file at
// registryPath. False with the reason in *error when it cannot.
bool WriteSimulatorRegistryEntry(const std::string& registryPath, const std::string& exePath,
                                 std::string* error);

}  // namespace corvane::sim
