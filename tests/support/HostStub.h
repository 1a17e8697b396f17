// SPDX-License-Identifier: MIT
//
// Building blocks for the tests' own hosts and links: a host on which nothing
// happens (no windows, no registry, no files, a clock that stands still, the
// screen 1024 x 768 pixels at 15 twips a pixel) and a timer that only keeps
// its settings. A test's host derives from HostStub and overrides what the
// test looks at.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Host.h"

namespace corvane::testing {

class StubTimer : public host::Timer {
  public:
    explicit StubTimer(int intervalMs = 0, bool isEnabled = false)
        : enabled(isEnabled), interval(intervalMs) {}
    void SetEnabled(bool on) override { enabled = on; }
    bool Enabled() const override { return enabled; }
    void SetInterval(int ms) override { interval = ms; }
    int Interval() const override { return interval; }
    bool enabled = false;
    int interval = 0;
};

class HostStub : public host::Host {
  public:
    bool ended = false;

    double TimeOfDay() override { return 36000; }
    std::unique_ptr<host::Timer> CreateTimer(int intervalMs, std::function<void()>) override {
        return std::make_unique<StubTimer>(intervalMs);
    }
    void DoEvents() override {}
    host::WindowId FindWindowByTitle(std::string_view) override { return 0; }
    host::WindowId FindWindowByClass(std::string_view) override { return 0; }
    bool GetWindowRect(host::WindowId, host::Rect*) override { return false; }
    bool RequestClose(host::WindowId) override { return false; }
    host::WindowId FocusWindow() override { return 0; }
    void SetFocus(host::WindowId) override {}
    void UpdateWindow(host::WindowId) override {}
    int ScreenWidthTwips() override { return 1024 * 15; }
    int ScreenHeightTwips() override { return 768 * 15; }
    int TwipsPerPixelX() override { return 15; }
    int TwipsPerPixelY() override { return 15; }
    host::Point CursorPosition() override { return {}; }
    std::optional<host::RegistryValue> ReadRegistryValue(host::RegistryRoot, std::string_view,
                                                         std::string_view) override {
        return std::nullopt;
    }
    bool StartProgram(const std::string&, const std::vector<std::string>&) override {
        return false;
    }
    bool FileExists(const std::string&) override { return false; }
    bool CopyFile(const std::string&, const std::string&) override { return false; }
    char PathSeparator() override { return '/'; }
    host::MessageBoxResult ShowMessageBox(const std::string&, const std::string&,
                                          host::MessageBoxIcon, host::MessageBoxButtons) override {
        return host::MessageBoxResult::Ok;
    }
    void EndProgram(int) override { ended = true; }
    bool Ended() const override { return ended; }
};

}  // namespace corvane::testing
