// SPDX-License-Identifier: MIT
#include "tests/link/SimulatorProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/posix/Desktop.h"

extern char** environ;

namespace corvane::testing {

SimulatorProcess::SimulatorProcess(const std::string& folder, std::vector<std::string> options) {
    char pattern[] = "/tmp/corvane-test-desktop-XXXXXX";
    desktop_ = ::mkdtemp(pattern);
    ::setenv("CORVANE_DESKTOP", desktop_.c_str(), 1);
    std::string exe = folder + "/fltsim98.exe";
    std::vector<std::string> args{exe, "--headless"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return;
    pid_ = pid;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (desktop::FindWindowByClass("FS98MAIN") != 0) {
            windowSeen_ = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

SimulatorProcess::~SimulatorProcess() {
    Kill();
    std::error_code ignored;
    std::filesystem::remove_all(desktop_, ignored);
}

void SimulatorProcess::Stop() {
    if (pid_ > 0)
        ::kill(pid_, SIGSTOP);
}

void SimulatorProcess::Continue() {
    if (pid_ > 0)
        ::kill(pid_, SIGCONT);
}

void SimulatorProcess::Kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string SimulatorProcess::Ended(int waitMs) const {
    if (pid_ <= 0)
        return {};
    siginfo_t info{};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // WNOWAIT: the process stays a zombie, so that its number is not taken
        // by another process before Kill() collects it.
        info = {};
        if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
            return {};
        if (info.si_pid != 0)
            break;
        if (std::chrono::steady_clock::now() >= deadline)
            return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (info.si_code == CLD_EXITED)
        return "exited with status " + std::to_string(info.si_status);
    return "killed by signal " + std::to_string(info.si_status) + " (" +
           ::strsignal(info.si_status) + ")";
}

std::string SimulatorProcess::FolderWithoutModule(const std::string& simulatorExe) {
    char pattern[] = "/tmp/corvane-test-sim-XXXXXX";
    std::string folder = ::mkdtemp(pattern);
    std::filesystem::copy_file(simulatorExe, folder + "/fltsim98.exe");
    return folder;
}

}  // namespace corvane::testing
