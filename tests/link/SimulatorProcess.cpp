// SPDX-License-Identifier: MIT
#include "tests/link/SimulatorProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return;
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
    if (pid_ > 0) ::kill(pid_, SIGSTOP);
}

void SimulatorProcess::Continue() {
    if (pid_ > 0) ::kill(pid_, SIGCONT);
}

void SimulatorProcess::Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string SimulatorProcess::FolderWithoutModule(const std::string& simulatorExe) {
    char pattern[] = "/tmp/corvane-test-sim-XXXXXX";
    std::string folder = ::mkdtemp(pattern);
    std::filesystem::copy_file(simulatorExe, folder + "/fltsim98.exe");
    return folder;
}

}  // namespace corvane::testing
