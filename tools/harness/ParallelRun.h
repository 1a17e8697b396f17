// SPDX-License-Identifier: MIT
//
// Flies a set's flights in several processes. The program and the stand-in
// keep process-wide state (the desktop folder in the environment, the
// published windows, Qt's application object), so parallel flights run in
// child processes made with fork(), never in threads: each child takes every
// jobs-th flight, makes its own desktop folder and reports each flight as one
// line of text through a pipe. The parent alone writes files and prints.
//
// A child that dies during a flight (a crash of the program or the
// simulator) loses only that flight: it is reported as an error naming the
// signal or exit status, and a new child flies the rest of its share.
#pragma once

#include <functional>
#include <string>

namespace corvane::harness {

struct ParallelRunHooks {
    // In the child, once, before its first flight (desktop folder, Qt).
    std::function<void()> setUpChild;
    // In the child, once, after its last flight.
    std::function<void()> tearDownChild;
    // In the child: flies flight i and returns its result as one line (no '\n').
    std::function<std::string(int index)> fly;
    // In the parent: flight i's result, or, when the child flying it died,
    // an empty result with `lost` saying how the child ended.
    std::function<void(int index, const std::string& result, const std::string& lost)> done;
};

// Flies flights 0..count-1 in `jobs` child processes (jobs >= 2). Returns
// when every flight is done. Throws std::runtime_error when no process can
// be started.
void RunInProcesses(int count, int jobs, const ParallelRunHooks& hooks);

}  // namespace corvane::harness
