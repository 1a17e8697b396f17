// SPDX-License-Identifier: MIT
//
// What the Qt host needs of the X server directly: the screen rectangle of
// another process's window by its native id.
#pragma once

#include <cstdint>

#include "platform/Host.h"

namespace corvane::qtui {

// True when the program runs on X11 (Qt's xcb platform).
bool OnX11();

// The window's rectangle in root-window (screen) pixels; false when the
// window does not exist or the program does not run on X11.
bool X11WindowRect(std::uint64_t nativeId, host::Rect* rect);

}  // namespace corvane::qtui
