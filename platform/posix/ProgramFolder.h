// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace corvane::desktop {

// The folder of the running executable, ending in "/".
std::string ProgramFolder();

}  // namespace corvane::desktop
