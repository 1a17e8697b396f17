// SPDX-License-Identifier: MIT
//
// What the Qt host needs of the X server directly: the screen rectangle of
// another process's window by its native id, and finding another program's
// top-level window by its title.
#pragma once

#include <cstdint>
#include <string>

#include "ports/Host.h"

namespace corvane::qtui {

// True when the program runs on X11 (Qt's xcb platform).
bool OnX11();

// The window's rectangle on the screen in Qt's pixels (the X server's divided by the
// device pixel ratio, as the program's own windows are placed); false when the
// window does not exist or the program does not run on X11.
bool X11WindowRect(std::uint64_t nativeId, host::Rect* rect);

// The first window whose title (WM_NAME) starts with the prefix among the
// root window's children and their children (a window manager's frames hold
// the program's windows); 0 when there is none or not on X11.
std::uint64_t X11FindWindowTitled(const std::string& titlePrefix);

}  // namespace corvane::qtui
