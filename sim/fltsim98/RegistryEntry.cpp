// SPDX-License-Identifier: MIT
#include "sim/fltsim98/RegistryEntry.h"

#include "platform/posix/RegistryFile.h"

namespace corvane::sim {

bool WriteSimulatorRegistryEntry(const std::string& registryPath, const std::string& exePath,
                                 std::string* error) {
    return desktop::WriteRegistryString(registryPath, host::RegistryRoot::LocalMachine,
                                        kSimulatorRegistryKey, kSimulatorRegistryValue,
                                        SimulatorRegistryText(exePath), error);
}

}  // namespace corvane::sim
