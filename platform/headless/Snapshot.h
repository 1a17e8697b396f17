// SPDX-License-Identifier: MIT
//
// PNG snapshots of the program's canvases, for tests and the harness (Qt's
// image classes need no display).
#pragma once

#include <string>

#include "ports/Canvas.h"

namespace corvane::headless {

// Writes the canvas's pixels to a PNG file; false when it cannot be written.
bool SaveCanvasPng(const forms::Canvas& canvas, const std::string& path);

}  // namespace corvane::headless
