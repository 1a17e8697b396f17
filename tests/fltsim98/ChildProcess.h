// SPDX-License-Identifier: MIT
//
// A program started by a test, its standard output and error going to a file
// of the test's own; killed when the object goes.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace corvane::sim::test {

class ChildProcess {
  public:
    ChildProcess(const std::string& exe, std::vector<std::string> args,
                 const std::string& outputFile)
        : output_(outputFile) {
        args.insert(args.begin(), exe);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = -1;
        if (::posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
            pid_ = pid;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }

    // The exit status once the program has ended within the time; nullopt if
    // it still runs (or was killed by a signal: -signal).
    std::optional<int> WaitForExit(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!status_ && pid_ > 0) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return status_;
    }

    void Signal(int signal) {
        if (pid_ > 0 && !status_)
            ::kill(pid_, signal);
    }

    std::string Output() const {
        std::ifstream in(output_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    std::string output_;
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Polls the condition every 10 ms until it holds or the time is up.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace corvane::sim::test
