// SPDX-License-Identifier: MIT
//
// The values the host's ports pass: windows and their rectangles, screen
// points, the message box's icons, buttons and answers, registry roots and
// values.
#pragma once

#include <cstdint>
#include <string>

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

}  // namespace corvane::host
