// SPDX-License-Identifier: MIT
#include "tools/harness/ParallelRun.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace corvane::harness {

namespace {

struct Worker {
    pid_t pid = -1;
    int fd = -1;
    std::vector<int> share;
    std::vector<bool> reported;
    int inFlight = -1;
    std::string buffer;
};

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void ChildMain(int fd, const std::vector<int>& share, const ParallelRunHooks& hooks) {
    int status = 0;
    try {
        if (hooks.setUpChild)
            hooks.setUpChild();
        for (int index : share) {
            if (!WriteAll(fd, "S " + std::to_string(index) + "\n"))
                break;
            const std::string result = hooks.fly(index);
            if (!WriteAll(fd, "R " + std::to_string(index) + " " + result + "\n"))
                break;
        }
        if (hooks.tearDownChild)
            hooks.tearDownChild();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "corvane-harness: flight process: %s\n", e.what());
        status = 1;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    ::close(fd);
    ::_exit(status);
}

Worker Start(std::vector<int> share, std::vector<Worker>& running, const ParallelRunHooks& hooks) {
    int fds[2];
    if (::pipe(fds) != 0)
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw std::runtime_error(std::string("cannot start a flight process: ") +
                                 std::strerror(errno));
    }
    if (pid == 0) {
        ::close(fds[0]);
        for (const Worker& w : running)
            ::close(w.fd);
        ChildMain(fds[1], share, hooks);
    }
    ::close(fds[1]);
    Worker w;
    w.pid = pid;
    w.fd = fds[0];
    w.reported.assign(share.size(), false);
    w.share = std::move(share);
    return w;
}

std::string HowItEnded(int status) {
    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        const char* name = ::strsignal(sig);
        return "the flight's process was killed by signal " + std::to_string(sig) + " (" +
               (name ? name : "?") + ")";
    }
    if (WIFEXITED(status))
        return "the flight's process ended with status " + std::to_string(WEXITSTATUS(status)) +
               " before reporting it";
    return "the flight's process ended before reporting it";
}

// Handles the complete lines of a worker's buffer.
void TakeLines(Worker& w, const ParallelRunHooks& hooks) {
    std::size_t start = 0;
    for (std::size_t end; (end = w.buffer.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const std::string line = w.buffer.substr(start, end - start);
        if (line.size() < 3)
            continue;
        const std::size_t space = line.find(' ', 2);
        const int index = std::atoi(line.c_str() + 2);
        if (line[0] == 'S') {
            w.inFlight = index;
        } else if (line[0] == 'R') {
            for (std::size_t k = 0; k < w.share.size(); ++k) {
                if (w.share[k] == index)
                    w.reported[k] = true;
            }
            w.inFlight = -1;
            hooks.done(index, space == std::string::npos ? std::string() : line.substr(space + 1),
                       std::string());
        }
    }
    w.buffer.erase(0, start);
}

}  // namespace

void RunInProcesses(int count, int jobs, const ParallelRunHooks& hooks) {
    std::vector<Worker> running;
    for (int k = 0; k < jobs && k < count; ++k) {
        std::vector<int> share;
        for (int i = k; i < count; i += jobs)
            share.push_back(i);
        running.push_back(Start(std::move(share), running, hooks));
    }
    std::vector<char> chunk(1 << 16);
    while (!running.empty()) {
        std::vector<pollfd> fds;
        for (const Worker& w : running)
            fds.push_back({w.fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error(std::string("poll: ") + std::strerror(errno));
        }
        for (std::size_t k = 0; k < running.size(); ++k) {
            if (fds[k].revents == 0)
                continue;
            Worker& w = running[k];
            const ssize_t n = ::read(w.fd, chunk.data(), chunk.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n > 0) {
                w.buffer.append(chunk.data(), static_cast<std::size_t>(n));
                TakeLines(w, hooks);
                continue;
            }
            // The child has closed its end: it finished or died.
            ::close(w.fd);
            int status = 0;
            while (::waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
            }
            // The flight in progress is lost; the rest of the share goes to a
            // new child, unless this one flew nothing at all (then it would
            // only fail again).
            bool anyReported = false;
            for (bool r : w.reported)
                anyReported = anyReported || r;
            std::vector<int> rest;
            for (std::size_t i = 0; i < w.share.size(); ++i) {
                if (w.reported[i])
                    continue;
                if (w.share[i] == w.inFlight || (w.inFlight < 0 && !anyReported))
                    hooks.done(w.share[i], std::string(), HowItEnded(status));
                else
                    rest.push_back(w.share[i]);
            }
            running.erase(running.begin() + static_cast<std::ptrdiff_t>(k));
            if (!rest.empty())
                running.push_back(Start(std::move(rest), running, hooks));
            break;  // the poll list no longer matches
        }
    }
}

}  // namespace corvane::harness
