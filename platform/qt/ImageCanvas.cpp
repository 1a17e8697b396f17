// SPDX-License-Identifier: MIT
#include "platform/qt/ImageCanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace corvane::qtui {
namespace {

QRgb ToQRgb(forms::Rgb c) { return qRgb(c.r, c.g, c.b); }

int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

ImageCanvas::ImageCanvas(int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY)
    : image_(std::max(pixelWidth, 1), std::max(pixelHeight, 1), QImage::Format_RGB32),
      twipsPerPixelX_(std::max(twipsPerPixelX, 1)),
      twipsPerPixelY_(std::max(twipsPerPixelY, 1)) {
    image_.fill(ToQRgb(backColor_));
}

bool ImageCanvas::SavePng(const std::string& path) const {
    return image_.save(QString::fromStdString(path), "PNG");
}

void ImageCanvas::Resize(int pixelWidth, int pixelHeight) {
    QImage resized(std::max(pixelWidth, 1), std::max(pixelHeight, 1), QImage::Format_RGB32);
    resized.fill(ToQRgb(backColor_));
    QPainter painter(&resized);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_ = resized;
}

void ImageCanvas::SetScaleMode(forms::ScaleMode mode) {
    // The text position keeps its place on the picture.
    if (mode == scaleMode_) return;
    const double fx = mode == forms::ScaleMode::Pixels ? 1.0 / twipsPerPixelX_ : twipsPerPixelX_;
    const double fy = mode == forms::ScaleMode::Pixels ? 1.0 / twipsPerPixelY_ : twipsPerPixelY_;
    currentX_ *= fx;
    currentY_ *= fy;
    scaleMode_ = mode;
}

double ImageCanvas::ToPixelsX(double units) const {
    return scaleMode_ == forms::ScaleMode::Twips ? units / twipsPerPixelX_ : units;
}

double ImageCanvas::ToPixelsY(double units) const {
    return scaleMode_ == forms::ScaleMode::Twips ? units / twipsPerPixelY_ : units;
}

void ImageCanvas::SetPixel(int x, int y, QRgb color) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = color;
}

void ImageCanvas::DrawPixelLine(int x1, int y1, int x2, int y2, QRgb color, bool includeLast) {
    // A line that reaches far beyond the picture is first cut to the part that
    // can touch it (a margin of one pixel around the picture), so the walk
    // stays short whatever the coordinates; an end that is cut off was off the
    // picture anyway, so it is drawn as it comes.
    const long long reach = 2LL * (image_.width() + image_.height()) + 16;
    if (std::llabs(static_cast<long long>(x2) - x1) + std::llabs(static_cast<long long>(y2) - y1) >
        reach) {
        double t0 = 0, t1 = 1;
        const double dx = double(x2) - x1, dy = double(y2) - y1;
        const double edges[4][2] = {{-dx, x1 - (-1.0)},
                                    {dx, double(image_.width()) - x1},
                                    {-dy, y1 - (-1.0)},
                                    {dy, double(image_.height()) - y1}};
        for (const auto& [pk, qk] : edges) {
            if (pk == 0) {
                if (qk < 0) return;  // parallel to this edge and outside it
                continue;
            }
            const double t = qk / pk;
            if (pk < 0) {
                t0 = std::max(t0, t);
            } else {
                t1 = std::min(t1, t);
            }
            if (t0 > t1) return;  // the line misses the picture
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
        if (endCut) includeLast = true;
    }
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    for (;;) {
        if (x == x2 && y == y2) {
            if (includeLast) SetPixel(x, y, color);
            return;
        }
        SetPixel(x, y, color);
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

void ImageCanvas::Cls() {
    image_.fill(ToQRgb(backColor_));
    currentX_ = 0;
    currentY_ = 0;
}

void ImageCanvas::Line(double x1, double y1, double x2, double y2) {
    DrawPixelLine(Round(ToPixelsX(x1)), Round(ToPixelsY(y1)), Round(ToPixelsX(x2)),
                  Round(ToPixelsY(y2)), ToQRgb(foreColor_), true);
    currentX_ = x2;
    currentY_ = y2;
}

void ImageCanvas::Box(double x1, double y1, double x2, double y2) {
    int left = Round(ToPixelsX(std::min(x1, x2)));
    int right = Round(ToPixelsX(std::max(x1, x2)));
    int top = Round(ToPixelsY(std::min(y1, y2)));
    int bottom = Round(ToPixelsY(std::max(y1, y2)));
    if (fillSolid_) FillRect(left, top, right + 1, bottom + 1, fillColor_);
    const QRgb pen = ToQRgb(foreColor_);
    DrawPixelLine(left, top, right, top, pen, true);
    DrawPixelLine(right, top, right, bottom, pen, true);
    DrawPixelLine(right, bottom, left, bottom, pen, true);
    DrawPixelLine(left, bottom, left, top, pen, true);
    currentX_ = x2;
    currentY_ = y2;
}

void ImageCanvas::Circle(double x, double y, double radius) {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(ToQRgb(foreColor_)));
    if (fillSolid_) {
        painter.setBrush(QColor(ToQRgb(fillColor_)));
    } else {
        painter.setBrush(Qt::NoBrush);
    }
    const double cx = ToPixelsX(x), cy = ToPixelsY(y);
    const double rx = ToPixelsX(radius);
    painter.drawEllipse(QPointF(cx, cy), rx, rx);
    currentX_ = x;
    currentY_ = y;
}

QFont ImageCanvas::Font() const {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(fontSize_ > 0 ? fontSize_ : 8.25);
    font.setBold(fontBold_);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void ImageCanvas::Print(std::string_view text) {
    const QString qtext = QString::fromLatin1(text.data(), static_cast<int>(text.size()));
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(Font());
    painter.setPen(QColor(ToQRgb(foreColor_)));
    QFontMetricsF metrics(painter.font(), &image_);
    painter.drawText(QPointF(ToPixelsX(currentX_), ToPixelsY(currentY_) + metrics.ascent()), qtext);
    painter.end();
    currentX_ += TextWidth(text);
}

void ImageCanvas::NewLine() {
    currentX_ = 0;
    currentY_ += TextHeight("Ag");
}

double ImageCanvas::TextWidth(std::string_view text) const {
    QFontMetricsF metrics(Font(), &image_);
    const double pixels =
        metrics.horizontalAdvance(QString::fromLatin1(text.data(), static_cast<int>(text.size())));
    return scaleMode_ == forms::ScaleMode::Twips ? pixels * twipsPerPixelX_ : pixels;
}

double ImageCanvas::TextHeight(std::string_view) const {
    QFontMetricsF metrics(Font(), &image_);
    return scaleMode_ == forms::ScaleMode::Twips ? metrics.height() * twipsPerPixelY_
                                                 : metrics.height();
}

void ImageCanvas::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void ImageCanvas::LineTo(int x, int y) {
    DrawPixelLine(penX_, penY_, x, y, ToQRgb(foreColor_), false);
    penX_ = x;
    penY_ = y;
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom, forms::Rgb color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image_.width());
    bottom = std::min(bottom, image_.height());
    const QRgb c = ToQRgb(color);
    for (int y = top; y < bottom; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = left; x < right; ++x) row[x] = c;
    }
}

void ImageCanvas::FloodFill(int x, int y, forms::Rgb boundary) {
    // Scanline fill with an explicit stack: every pixel that is connected to
    // (x, y) without crossing the boundary colour takes the fill colour. A
    // visited map keeps the fill finite whatever colours the area holds.
    const int w = image_.width(), h = image_.height();
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    const QRgb stop = ToQRgb(boundary) | 0xFF000000u;
    const QRgb fill = ToQRgb(fillColor_);
    auto pixel = [&](int px, int py) {
        return reinterpret_cast<const QRgb*>(image_.constScanLine(py))[px] | 0xFF000000u;
    };
    if (pixel(x, y) == stop) return;
    std::vector<bool> visited(static_cast<std::size_t>(w) * h, false);
    auto open = [&](int px, int py) {
        return !visited[static_cast<std::size_t>(py) * w + px] && pixel(px, py) != stop;
    };
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!open(sx, sy)) continue;
        int left = sx;
        while (left > 0 && open(left - 1, sy)) --left;
        int right = sx;
        while (right + 1 < w && open(right + 1, sy)) ++right;
        QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(sy));
        for (int px = left; px <= right; ++px) {
            row[px] = fill;
            visited[static_cast<std::size_t>(sy) * w + px] = true;
        }
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h) continue;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                bool o = open(px, ny);
                if (o && !inRun) stack.emplace_back(px, ny);
                inRun = o;
            }
        }
    }
}

void ImageCanvas::CopyFrom(const forms::Canvas& source, int width, int height) {
    width = std::min({width, image_.width(), source.PixelWidth()});
    height = std::min({height, image_.height(), source.PixelHeight()});
    if (width <= 0 || height <= 0) return;
    if (auto* other = dynamic_cast<const ImageCanvas*>(&source)) {
        for (int y = 0; y < height; ++y) {
            std::memcpy(image_.scanLine(y), other->image_.constScanLine(y),
                        static_cast<std::size_t>(width) * sizeof(QRgb));
        }
        return;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) SetPixel(x, y, ToQRgb(source.PixelAt(x, y)));
    }
}

forms::Rgb ImageCanvas::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return {};
    QRgb c = reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
    return {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
            static_cast<std::uint8_t>(qBlue(c))};
}

}  // namespace corvane::qtui
