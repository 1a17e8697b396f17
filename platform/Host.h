// SPDX-License-Identifier: MIT
//
// The host: everything the program needs of the platform, behind one small
// interface. The Qt host serves the real program; the headless host (virtual
// clock, scripted input) serves the tests and the harness. The program's logic
// never reads the wall clock, sleeps or calls the operating system itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::host {

// A window of another process (or of ours) as the window system knows it; 0 is none.
using WindowId = std::uint64_t;

// A screen rectangle in pixels (right and bottom exclusive, as the window system gives it).
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// A window timer. Ticks are delivered on the program's one thread, in order;
// a timer that is switched off delivers nothing.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetInterval(int intervalMs) = 0;
    virtual int Interval() const = 0;
};

enum class MessageBoxIcon { None, Critical, Question, Exclamation, Information };
enum class MessageBoxButtons { Ok, OkCancel, RetryCancel, YesNo };
enum class MessageBoxResult { Ok, Cancel, Retry, Yes, No };

// Registry roots the program reads.
enum class RegistryRoot { LocalMachine, CurrentUser };

// A registry value as read: its text when it is a plain string.
struct RegistryValue {
    bool isString = false;
    std::string text;  // the value's bytes as stored, including a terminating zero when stored
};

class Host {
public:
    virtual ~Host() = default;

    // ---- Time -------------------------------------------------------------
    // Seconds since midnight (what the program calls the time of day).
    virtual double TimeOfDay() = 0;
    // A new timer, switched off, calling onTick on each tick while on.
    virtual std::unique_ptr<Timer> CreateTimer(int intervalMs, std::function<void()> onTick) = 0;
    // Lets pending window events and due timer ticks run (may re-enter handlers).
    virtual void DoEvents() = 0;

    // ---- Windows of other processes ------------------------------------------
    virtual WindowId FindWindowByTitle(std::string_view title) = 0;
    virtual WindowId FindWindowByClass(std::string_view className) = 0;
    // The window's screen rectangle; false when there is no such window.
    virtual bool GetWindowRect(WindowId window, Rect* rect) = 0;
    // Sends the window-close request (both parameters 0).
    virtual bool RequestClose(WindowId window) = 0;

    // ---- Keyboard focus ----------------------------------------------------------
    virtual WindowId FocusWindow() = 0;
    virtual void SetFocus(WindowId window) = 0;
    virtual void UpdateWindow(WindowId window) = 0;  // repaint at once

    // ---- Screen and mouse ---------------------------------------------------
    virtual int ScreenWidthTwips() = 0;
    virtual int ScreenHeightTwips() = 0;
    virtual int TwipsPerPixelX() = 0;
    virtual int TwipsPerPixelY() = 0;
    virtual Point CursorPosition() = 0;  // screen pixels

    // ---- Registry, programs, files -------------------------------------------
    // nullopt when the key or value cannot be read.
    virtual std::optional<RegistryValue> ReadRegistryValue(RegistryRoot root, std::string_view key,
                                                           std::string_view valueName) = 0;
    // Starts a program with a normal window that gets the focus.
    virtual bool StartProgram(const std::string& path, const std::vector<std::string>& arguments) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
    // The platform's folder separator ("/" on POSIX, "\" on Windows).
    virtual char PathSeparator() = 0;

    // ---- Messages and the end of the program -----------------------------------
    virtual MessageBoxResult ShowMessageBox(const std::string& text, const std::string& title,
                                            MessageBoxIcon icon, MessageBoxButtons buttons) = 0;
    // Ends the program with the exit status (the Qt host quits its event loop;
    // the headless host records it and stops delivering events).
    virtual void EndProgram(int exitStatus) = 0;
    virtual bool Ended() const = 0;
};

}  // namespace corvane::host
