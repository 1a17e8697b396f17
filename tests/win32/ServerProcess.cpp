// SPDX-License-Identifier: MIT
#include "tests/win32/ServerProcess.h"

#include <vector>

namespace corvane::win32test {

ServerProcess::~ServerProcess() {
    Stop(3000);
}

bool ServerProcess::Start(const std::string& program, DWORD waitMs) {
    std::string commandLine = "\"" + program + "\" --lifetime-seconds 300";
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process_)) {
        error_ = "cannot start " + program + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    for (DWORD waited = 0; waited < waitMs; waited += 20) {
        window_ = ::FindWindowExA(nullptr, nullptr, "FS98MAIN", nullptr);
        if (window_ != nullptr)
            return true;
        if (::WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process_.hProcess, &code);
            error_ = program + " ended with status " + std::to_string(code) +
                     " before its window appeared";
            Release();
            return false;
        }
    }
    error_ = "no FS98MAIN window appeared within " + std::to_string(waitMs) + " ms of starting " +
             program;
    Kill();
    return false;
}

void ServerProcess::Stop(DWORD waitMs) {
    if (process_.hProcess == nullptr)
        return;
    if (window_ != nullptr)
        ::PostMessageA(window_, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process_.hProcess, waitMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.hProcess, 1);
        ::WaitForSingleObject(process_.hProcess, waitMs);
    }
    Release();
}

void ServerProcess::Kill() {
    if (process_.hProcess == nullptr)
        return;
    ::TerminateProcess(process_.hProcess, 1);
    ::WaitForSingleObject(process_.hProcess, 5000);
    Release();
}

void ServerProcess::Release() {
    if (process_.hThread != nullptr)
        ::CloseHandle(process_.hThread);
    if (process_.hProcess != nullptr)
        ::CloseHandle(process_.hProcess);
    process_ = PROCESS_INFORMATION{};
    window_ = nullptr;
}

}  // namespace corvane::win32test
