// SPDX-License-Identifier: MIT
//
// The Win32 test server as a child process of the test client.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace corvane::win32test {

class ServerProcess {
  public:
    ServerProcess() = default;
    ~ServerProcess();  // stops the server if it still runs
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts the program and waits until its "FS98MAIN" window exists.
    // Returns false, with Error() saying why, when it did not start or no
    // window appeared within the wait.
    bool Start(const std::string& program, DWORD waitMs);
    const std::string& Error() const { return error_; }
    HWND Window() const { return window_; }

    // Asks the window to close and waits for the process; ends it when it
    // does not go within the wait.
    void Stop(DWORD waitMs);
    // Ends the process at once, as a crashed simulator would go.
    void Kill();

  private:
    void Release();

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    std::string error_;
};

}  // namespace corvane::win32test
