// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvane::navdata {

/// Reads a whole file. A file that cannot be opened or read raises NavDataError naming it and
/// the system's reason.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

/// Writes a whole file by writing a temporary file beside it and renaming it over the target,
/// so that a reader never sees a half-written file. Failures raise NavDataError.
void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace corvane::navdata
