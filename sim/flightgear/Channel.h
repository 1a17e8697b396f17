// SPDX-License-Identifier: MIT
//
// The stand-in's connection to a running FlightGear: the lines its output
// protocol sent, the lines its input protocol reads, and whether the process
// still runs. The real one (sockets and a child process) lives with the
// platform code; tests give a fake that speaks the same lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim::flightgear {

class Channel {
  public:
    virtual ~Channel() = default;
    // Appends the lines that arrived since the last call, oldest first.
    virtual void Receive(std::vector<std::string>& lines) = 0;
    // Sends one line (newline included); false when it cannot be sent.
    virtual bool Send(std::string_view line) = 0;
    // Empty while FlightGear runs; otherwise what became of it (it exited,
    // could not be started), naming its log where there is one.
    virtual std::string ProcessFailure() = 0;
};

}  // namespace corvane::sim::flightgear
