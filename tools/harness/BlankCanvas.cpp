// SPDX-License-Identifier: MIT
#include "tools/harness/BlankCanvas.h"

namespace corvane::harness {

namespace {

// Pixels of one character and one line at a font size in points (about what
// a proportional screen font measures on average at 96 dots per inch).
double CharWidthPx(double points) {
    return points * 0.75;
}
double LineHeightPx(double points) {
    return points * 1.6;
}

}  // namespace

double BlankCanvas::TextWidth(std::string_view text) const {
    const double px = CharWidthPx(fontSize_) * static_cast<double>(text.size());
    return scaleMode_ == forms::ScaleMode::Twips ? px * twipsPerPixelX_ : px;
}

double BlankCanvas::TextHeight(std::string_view) const {
    const double px = LineHeightPx(fontSize_);
    return scaleMode_ == forms::ScaleMode::Twips ? px * twipsPerPixelY_ : px;
}

}  // namespace corvane::harness
