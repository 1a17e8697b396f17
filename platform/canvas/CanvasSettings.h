// SPDX-License-Identifier: MIT
//
// A canvas that paints nothing: it keeps its size and its state as they are
// set (the harness's blank canvas, the tests' recording canvases derive from
// it and implement only the drawing operations they look at).
#pragma once

#include "platform/canvas/CanvasState.h"

namespace corvane::canvas {

class CanvasSettings : public CanvasState {
  public:
    CanvasSettings(int pixelWidth, int pixelHeight, int twipsPerPixelX = 15,
                   int twipsPerPixelY = 15)
        : CanvasState(twipsPerPixelX, twipsPerPixelY), width_(pixelWidth), height_(pixelHeight) {}

    int PixelWidth() const override { return width_; }
    int PixelHeight() const override { return height_; }
    void Resize(int pixelWidth, int pixelHeight) override {
        width_ = pixelWidth;
        height_ = pixelHeight;
    }

  protected:
    int width_;
    int height_;
};

}  // namespace corvane::canvas
