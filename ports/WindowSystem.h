// SPDX-License-Identifier: MIT
//
// Windows of other processes (found by class or caption, their rectangle, a
// close request) and the keyboard focus.
#pragma once

#include <string_view>

#include "ports/HostTypes.h"

namespace corvane::host {

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    virtual WindowId FindWindowByTitle(std::string_view title) = 0;
    virtual WindowId FindWindowByClass(std::string_view className) = 0;
    // The window's screen rectangle; false when there is no such window.
    virtual bool GetWindowRect(WindowId window, Rect* rect) = 0;
    // Sends the window-close request (both parameters 0).
    virtual bool RequestClose(WindowId window) = 0;

    virtual WindowId FocusWindow() = 0;
    virtual void SetFocus(WindowId window) = 0;
    virtual void UpdateWindow(WindowId window) = 0;  // repaint at once
};

}  // namespace corvane::host
