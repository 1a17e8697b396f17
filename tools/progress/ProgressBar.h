// SPDX-License-Identifier: MIT
//
// Progress of a long run for the command-line tools: on a terminal one line redrawn in place
// with a bar, the count and the time left; otherwise (a file, a pipe, CI's log) plain lines,
// one per step or per tenth of the work, that read well in a log.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace corvane::progress {

/// "[#######.............]  7/20  0:42 left  label": a bar of barWidth characters, the count
/// and the time left, estimated from the time taken so far (elapsedS) at the same pace.
/// Before the first step is done the time left is shown as "--:--".
std::string FormatBar(long done, long total, double elapsedS, int barWidth,
                      const std::string& label);

/// "1:05" for 65 s, "1:02:05" from an hour on; negative and unknown times as "--:--".
std::string FormatDuration(double seconds);

class ProgressBar {
  public:
    /// Shows progress on out (usually stderr) for total steps; nothing at all when !enabled.
    /// The bar form is used when out is a terminal, else plain lines.
    ProgressBar(std::FILE* out, long total, bool enabled = true);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    /// done steps of total are finished; label names the work under way. On a terminal the
    /// bar is redrawn at most ten times a second (always at the end); in plain form a line is
    /// written when the work crosses a tenth of the total, when plainEveryStep, every step.
    void Update(long done, const std::string& label);
    /// Writes a line of its own (e.g. one step's result) above the bar.
    void Print(const std::string& line);
    /// Removes the bar from the terminal (the plain form needs nothing).
    void Finish();

    /// The time left after done steps, at the pace so far ("--:--" before the first).
    std::string TimeLeft(long done) const;

    bool plainEveryStep = false;
    bool IsTerminal() const { return terminal_; }

  private:
    void Clear();

    std::FILE* out_;
    long total_;
    bool enabled_;
    bool terminal_;
    bool shown_ = false;
    long lastTenth_ = -1;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace corvane::progress
