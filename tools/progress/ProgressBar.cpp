// SPDX-License-Identifier: MIT
#include "tools/progress/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace corvane::progress {

std::string FormatDuration(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0)
        return "--:--";
    const long s = std::lround(seconds);
    char text[32];
    if (s >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    }
    return text;
}

std::string FormatBar(long done, long total, double elapsedS, int barWidth,
                      const std::string& label) {
    total = std::max(total, 1L);
    done = std::clamp(done, 0L, total);
    const int filled = static_cast<int>(barWidth * done / total);
    std::string text = "[" + std::string(std::size_t(filled), '#') +
                       std::string(std::size_t(barWidth - filled), '.') + "]";
    const std::string count = std::to_string(done) + "/" + std::to_string(total);
    const double left = done > 0 ? elapsedS / double(done) * double(total - done) : -1.0;
    text += " " + count + "  " + FormatDuration(left) + " left";
    if (!label.empty())
        text += "  " + label;
    return text;
}

ProgressBar::ProgressBar(std::FILE* out, long total, bool enabled)
    : out_(out),
      total_(std::max(total, 1L)),
      enabled_(enabled && out != nullptr),
      terminal_(enabled_ && ::isatty(::fileno(out)) == 1),
      start_(std::chrono::steady_clock::now()),
      lastDraw_(start_ - std::chrono::seconds(1)) {}

ProgressBar::~ProgressBar() {
    Finish();
}

void ProgressBar::Clear() {
    if (terminal_ && shown_) {
        std::fputs("\r\033[K", out_);
        shown_ = false;
    }
}

void ProgressBar::Update(long done, const std::string& label) {
    if (!enabled_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (terminal_) {
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        if (done < total_ && now - lastDraw_ < std::chrono::milliseconds(100))
            return;
        lastDraw_ = now;
        // Keep the line within an ordinary terminal's width.
        std::string line = FormatBar(done, total_, elapsed, 24, label);
        if (line.size() > 79)
            line.resize(79);
        std::fprintf(out_, "\r\033[K%s", line.c_str());
        std::fflush(out_);
        shown_ = true;
        return;
    }
    const long tenth = done * 10 / total_;
    if (!plainEveryStep && tenth == lastTenth_)
        return;
    lastTenth_ = tenth;
    const long percent = done * 100 / total_;
    std::fprintf(out_, "%s: %ld/%ld (%ld %%), %s left\n", label.c_str(), done, total_, percent,
                 TimeLeft(done).c_str());
    std::fflush(out_);
}

std::string ProgressBar::TimeLeft(long done) const {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    return done > 0 ? FormatDuration(elapsed / double(done) * double(total_ - done)) : "--:--";
}

void ProgressBar::Print(const std::string& line) {
    if (!enabled_)
        return;
    Clear();
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
}

void ProgressBar::Finish() {
    if (!enabled_)
        return;
    Clear();
    std::fflush(out_);
}

}  // namespace corvane::progress
