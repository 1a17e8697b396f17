// SPDX-License-Identifier: MIT
//
// The screen: its size in twips, twips per pixel on each axis, and where the
// mouse pointer is.
#pragma once

#include "ports/HostTypes.h"

namespace corvane::host {

class Screen {
  public:
    virtual ~Screen() = default;
    virtual int ScreenWidthTwips() = 0;
    virtual int ScreenHeightTwips() = 0;
    virtual int TwipsPerPixelX() = 0;
    virtual int TwipsPerPixelY() = 0;
    virtual Point CursorPosition() = 0;  // screen pixels
};

}  // namespace corvane::host
