// SPDX-License-Identifier: MIT
//
// The program's exit statuses.
#pragma once

namespace corvane::startup {

// Ended by the user (Exit, the close box) or because the simulator closed.
inline constexpr int kExitNormal = 0;
// Start-up could not finish: no simulator, no link library, a missing or
// damaged data file, or the user gave up waiting for the simulator.
inline constexpr int kExitStartFailed = 1;

}  // namespace corvane::startup
