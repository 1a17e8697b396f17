// SPDX-License-Identifier: MIT
//
// The mouse as the forms' handlers take it: button and shift numbers, and the
// mouse pointers of the models.
#pragma once

namespace corvane::forms {

// Mouse buttons as the handlers receive them (shift: 1 Shift, 2 Ctrl, 4 Alt).
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Mouse pointers of the models.
inline constexpr int kArrowPointer = 0;
inline constexpr int kMovePointer = 5;

}  // namespace corvane::forms
