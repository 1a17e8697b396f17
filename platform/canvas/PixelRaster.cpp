// SPDX-License-Identifier: MIT
#include "platform/canvas/PixelRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace corvane::canvas {

void SetBufferPixel(const PixelBuffer& buffer, int x, int y, std::uint32_t color) {
    if (x < 0 || y < 0 || x >= buffer.width || y >= buffer.height)
        return;
    buffer.Row(y)[x] = color;
}

void DrawPixelLine(const PixelBuffer& buffer, int x1, int y1, int x2, int y2, std::uint32_t color,
                   bool includeLast) {
    // A line that reaches far beyond the picture is first cut to the part that
    // can touch it (a margin of one pixel around the picture), so the walk
    // stays short whatever the coordinates; an end that is cut off was off the
    // picture anyway, so it is drawn as it comes.
    const long long reach = 2LL * (buffer.width + buffer.height) + 16;
    if (std::llabs(static_cast<long long>(x2) - x1) + std::llabs(static_cast<long long>(y2) - y1) >
        reach) {
        double t0 = 0, t1 = 1;
        const double dx = double(x2) - x1, dy = double(y2) - y1;
        const double edges[4][2] = {{-dx, x1 - (-1.0)},
                                    {dx, double(buffer.width) - x1},
                                    {-dy, y1 - (-1.0)},
                                    {dy, double(buffer.height) - y1}};
        for (const auto& [pk, qk] : edges) {
            if (pk == 0) {
                if (qk < 0)
                    return;  // parallel to this edge and outside it
                continue;
            }
            const double t = qk / pk;
            if (pk < 0) {
                t0 = std::max(t0, t);
            } else {
                t1 = std::min(t1, t);
            }
            if (t0 > t1)
                return;  // the line misses the picture
        }
        const bool endCut = t1 < 1;
        const int cx1 = static_cast<int>(std::lround(x1 + t0 * dx));
        const int cy1 = static_cast<int>(std::lround(y1 + t0 * dy));
        const int cx2 = static_cast<int>(std::lround(x1 + t1 * dx));
        const int cy2 = static_cast<int>(std::lround(y1 + t1 * dy));
        x1 = cx1;
        y1 = cy1;
        x2 = cx2;
        y2 = cy2;
        if (endCut)
            includeLast = true;
    }
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    for (;;) {
        if (x == x2 && y == y2) {
            if (includeLast)
                SetBufferPixel(buffer, x, y, color);
            return;
        }
        SetBufferPixel(buffer, x, y, color);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void FillPixelRect(const PixelBuffer& buffer, int left, int top, int right, int bottom,
                   std::uint32_t color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, buffer.width);
    bottom = std::min(bottom, buffer.height);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = buffer.Row(y);
        for (int x = left; x < right; ++x)
            row[x] = color;
    }
}

void FloodFillPixels(const PixelBuffer& buffer, int x, int y, std::uint32_t boundary,
                     std::uint32_t fill) {
    // Scanline fill with an explicit stack. A visited map keeps the fill
    // finite whatever colours the area holds.
    const int w = buffer.width, h = buffer.height;
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    const std::uint32_t stop = boundary | 0xFF000000u;
    auto pixel = [&](int px, int py) { return buffer.Row(py)[px] | 0xFF000000u; };
    if (pixel(x, y) == stop)
        return;
    std::vector<bool> visited(static_cast<std::size_t>(w) * h, false);
    auto open = [&](int px, int py) {
        return !visited[static_cast<std::size_t>(py) * w + px] && pixel(px, py) != stop;
    };
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!open(sx, sy))
            continue;
        int left = sx;
        while (left > 0 && open(left - 1, sy))
            --left;
        int right = sx;
        while (right + 1 < w && open(right + 1, sy))
            ++right;
        std::uint32_t* row = buffer.Row(sy);
        for (int px = left; px <= right; ++px) {
            row[px] = fill;
            visited[static_cast<std::size_t>(sy) * w + px] = true;
        }
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                bool o = open(px, ny);
                if (o && !inRun)
                    stack.emplace_back(px, ny);
                inRun = o;
            }
        }
    }
}

}  // namespace corvane::canvas
