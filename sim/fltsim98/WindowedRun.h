// SPDX-License-Identifier: MIT
//
// fltsim98.exe with its window on the screen (Qt). The simulator's steps run
// from a timer, the link's messages are handled when the published window's
// descriptor becomes readable, and the view is redrawn 20 times a second.
// This header is free of Qt so that the process's main file stays so.
#pragma once

#include <csignal>

#include "platform/posix/Desktop.h"
#include "sim/fltsim98/CommandLine.h"
#include "sim/fltsim98/RealTimeRunner.h"
#include "sim/model/SimulatorBackend.h"

namespace corvane::sim {

// Shows the window, publishes its native id and runs until the simulator ends
// (close request, the window's close box, or *stop set by a signal). Returns
// the exit status.
int RunWithWindow(int argc, char** argv, const CommandLine& command, SimulatorBackend& simulator,
                  RealTimeRunner& runner, desktop::PublishedWindow& published,
                  volatile std::sig_atomic_t* stop);

// A close request of the published window while RunWithWindow runs: ends the
// simulator, keeps it, or asks the user first (after the message has been
// answered, never inside it).
void OnWindowCloseRequest(RealTimeRunner& runner);

}  // namespace corvane::sim
