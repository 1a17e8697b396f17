// SPDX-License-Identifier: MIT
//
// Reading the registry (on POSIX the stand-in registry file).
#pragma once

#include <optional>
#include <string_view>

#include "ports/HostTypes.h"

namespace corvane::host {

class Registry {
  public:
    virtual ~Registry() = default;
    // nullopt when the key or value cannot be read.
    virtual std::optional<RegistryValue> ReadRegistryValue(RegistryRoot root, std::string_view key,
                                                           std::string_view valueName) = 0;
};

}  // namespace corvane::host
