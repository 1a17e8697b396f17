// SPDX-License-Identifier: MIT
//
// The small test runner of the Win32 test programs (no GoogleTest in the
// cross-compiled build): a Check collects one test's failed expectations, a
// Tally prints "PASS name" or "FAIL name" with the failures under it, and at
// the end "N passed, M failed", the line tests/win32/run.sh reads.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace corvane::win32test {

// Collects the failed expectations of one test.
class Check {
  public:
    void That(bool ok, const std::string& what) {
        if (!ok)
            failures.push_back(what);
    }
    std::vector<std::string> failures;
};

class Tally {
  public:
    Tally() { std::setvbuf(stdout, nullptr, _IONBF, 0); }
    // Prints the test's outcome and counts it.
    void Record(const char* name, const Check& check) {
        if (check.failures.empty()) {
            ++passed_;
            std::printf("PASS %s\n", name);
            return;
        }
        ++failed_;
        std::printf("FAIL %s\n", name);
        for (const std::string& failure : check.failures)
            std::printf("  %s\n", failure.c_str());
    }
    // Prints the summary line; the exit status of the test program.
    int Finish() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        return failed_ == 0 ? 0 : 1;
    }

  private:
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace corvane::win32test
