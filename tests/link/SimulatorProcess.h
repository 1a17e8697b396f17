// SPDX-License-Identifier: MIT
//
// The stand-in simulator as a child process of a test, on a desktop directory
// of the test's own.
#pragma once

#include <string>
#include <vector>

namespace corvane::testing {

class SimulatorProcess {
  public:
    // Starts fltsim98.exe from `folder` (which holds it and, unless the test
    // removed it, modules/FS6IPC.dll) with the given options, and waits until
    // its window is published. Sets CORVANE_DESKTOP for this process too.
    SimulatorProcess(const std::string& folder, std::vector<std::string> options);
    ~SimulatorProcess();  // kills the simulator and removes the desktop directory

    bool Started() const { return windowSeen_; }
    int Pid() const { return pid_; }
    void Stop();      // SIGSTOP: the simulator hangs
    void Continue();  // SIGCONT
    void Kill();      // SIGKILL, and waits for it

    // How the simulator ended, once it has ("exited with status 1", "killed
    // by signal 9 (Killed)"); empty while it runs or is stopped, and after
    // Kill(). A process's descriptors close a moment before it counts as
    // ended, so a caller that saw its connection close gives it up to
    // `waitMs`. The ended process is left for Kill() to collect.
    std::string Ended(int waitMs = 0) const;

    // A folder holding a copy of the simulator without its modules/ folder.
    static std::string FolderWithoutModule(const std::string& simulatorExe);

  private:
    std::string desktop_;
    int pid_ = -1;
    bool windowSeen_ = false;
};

}  // namespace corvane::testing
