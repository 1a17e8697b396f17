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

// The window's rectangle on the screen in Qt's pixels (the X server's divided by the
// device pixel ratio, as the program's own windows are placed); false when the
// window does not exist or the program does not run on X11.
bool X11WindowRect(std::uint64_t nativeId, host::Rect* rect);

}  // namespace corvane::qtui
