// SPDX-License-Identifier: MIT
//
// The canvases' pixel work on a 32-bit pixel buffer, shared by every canvas
// that keeps its picture in memory (the image canvas of Linux, the memory
// bitmap of Windows), so that a map frame has the same pixels on both. A pixel
// is 0xAARRGGBB (the alpha byte is ignored when colours are compared); rows
// run top down.
#pragma once

#include <cstdint>

#include "ports/Canvas.h"

namespace corvane::canvas {

struct PixelBuffer {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels from one row to the next

    std::uint32_t* Row(int y) const { return pixels + std::ptrdiff_t(y) * stride; }
};

constexpr std::uint32_t PackRgb(forms::Rgb c) {
    return 0xFF000000u | std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b;
}
constexpr forms::Rgb UnpackRgb(std::uint32_t p) {
    return {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)};
}

// Sets one pixel; outside the buffer nothing happens.
void SetBufferPixel(const PixelBuffer& buffer, int x, int y, std::uint32_t color);
// Bresenham from (x1, y1) to (x2, y2); the last pixel only when includeLast.
// Lines reaching far beyond the buffer are cut first, so any coordinates are safe.
void DrawPixelLine(const PixelBuffer& buffer, int x1, int y1, int x2, int y2, std::uint32_t color,
                   bool includeLast);
// Fills [left, right) x [top, bottom), clipped to the buffer.
void FillPixelRect(const PixelBuffer& buffer, int left, int top, int right, int bottom,
                   std::uint32_t color);
// Every pixel connected to (x, y) without crossing the boundary colour takes
// the fill colour.
void FloodFillPixels(const PixelBuffer& buffer, int x, int y, std::uint32_t boundary,
                     std::uint32_t fill);

}  // namespace corvane::canvas
