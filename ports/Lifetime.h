// SPDX-License-Identifier: MIT
//
// The end of the program.
#pragma once

namespace corvane::host {

class Lifetime {
  public:
    virtual ~Lifetime() = default;
    // Ends the program with the exit status (the Qt host quits its event loop;
    // the headless host records it and stops delivering events).
    virtual void EndProgram(int exitStatus) = 0;
    virtual bool Ended() const = 0;
};

}  // namespace corvane::host
