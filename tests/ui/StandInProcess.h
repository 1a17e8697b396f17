// SPDX-License-Identifier: MIT
//
// Helpers for running the real program and the stand-in simulator as
// processes: a private desktop and registry for each test, child processes
// started and ended by their ids.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/Desktop.h"
#include "platform/posix/RegistryFile.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace corvane::testing {

// A child process, ended (by its id) when the object goes.
class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                 const std::string& outputFile = "/dev/null") {
        Start(argv, extraEnv, outputFile);
    }
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
               const std::string& outputFile = "/dev/null") {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            env.emplace_back(*e);
        for (const std::string& extra : extraEnv) {
            const std::string key = extra.substr(0, extra.find('=') + 1);
            std::erase_if(env, [&](const std::string& e) { return e.rfind(key, 0) == 0; });
            if (extra.back() != '=')
                env.push_back(extra);  // "NAME=" removes NAME
        }
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& e : env)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        const int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            pid_ = -1;
        return pid_ > 0;
    }
    // Waits up to seconds for the process to end; its exit status, or -1 when
    // it is still running (or died of a signal: 128 + the signal).
    int Wait(double seconds) {
        if (pid_ <= 0)
            return exitStatus_;
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        for (;;) {
            int status = 0;
            const pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                pid_ = -1;
                exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return exitStatus_;
            }
            if (std::chrono::steady_clock::now() >= until)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void Stop() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        if (Wait(5) == -1 && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            Wait(5);
        }
    }
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int exitStatus_ = -1;
};

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Waits up to seconds for condition; true when it came true.
template <typename Condition>
bool WaitUntil(double seconds, Condition condition) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The process that owns the simulator's window on the current desktop, 0 when none.
inline pid_t SimulatorPid() {
    const desktop::WindowHandle w = desktop::FindWindowByClass("FS98MAIN");
    if (w == 0)
        return 0;
    auto entry = desktop::DescribeWindow(w);
    return entry ? pid_t(entry->pid) : 0;
}

}  // namespace corvane::testing
