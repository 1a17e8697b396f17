// SPDX-License-Identifier: MIT
#include "platform/headless/Snapshot.h"

#include <QImage>

#include "platform/qt/ImageCanvas.h"

namespace corvane::headless {

bool SaveCanvasPng(const forms::Canvas& canvas, const std::string& path) {
    if (const auto* image = dynamic_cast<const qtui::ImageCanvas*>(&canvas)) {
        return image->SavePng(path);
    }
    const int width = canvas.PixelWidth();
    const int height = canvas.PixelHeight();
    if (width <= 0 || height <= 0)
        return false;
    QImage out(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const forms::Rgb c = canvas.PixelAt(x, y);
            out.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    }
    return out.save(QString::fromStdString(path), "PNG");
}

}  // namespace corvane::headless
