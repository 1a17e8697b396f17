// SPDX-License-Identifier: MIT
#include "platform/qt/ImageCanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/canvas/PixelRaster.h"

namespace corvane::qtui {
namespace {

QRgb ToQRgb(forms::Rgb c) {
    return qRgb(c.r, c.g, c.b);
}

int Round(double v) {
    return static_cast<int>(std::nearbyint(v));
}

canvas::PixelBuffer BufferOf(QImage& image) {
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
            int(image.bytesPerLine() / sizeof(QRgb))};
}

}  // namespace

ImageCanvas::ImageCanvas(int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY)
    : CanvasState(twipsPerPixelX, twipsPerPixelY),
      image_(std::max(pixelWidth, 1), std::max(pixelHeight, 1), QImage::Format_RGB32) {
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

void ImageCanvas::SetPixel(int x, int y, QRgb color) {
    canvas::SetBufferPixel(BufferOf(image_), x, y, color);
}

void ImageCanvas::DrawPixelLine(int x1, int y1, int x2, int y2, QRgb color, bool includeLast) {
    canvas::DrawPixelLine(BufferOf(image_), x1, y1, x2, y2, color, includeLast);
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
    if (fillSolid_)
        FillRect(left, top, right + 1, bottom + 1, fillColor_);
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
    return FromPixelsX(pixels);
}

double ImageCanvas::TextHeight(std::string_view) const {
    QFontMetricsF metrics(Font(), &image_);
    return FromPixelsY(metrics.height());
}

void ImageCanvas::LineTo(int x, int y) {
    DrawPixelLine(penX_, penY_, x, y, ToQRgb(foreColor_), false);
    penX_ = x;
    penY_ = y;
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom, forms::Rgb color) {
    canvas::FillPixelRect(BufferOf(image_), left, top, right, bottom, ToQRgb(color));
}

void ImageCanvas::FloodFill(int x, int y, forms::Rgb boundary) {
    canvas::FloodFillPixels(BufferOf(image_), x, y, ToQRgb(boundary), ToQRgb(fillColor_));
}

void ImageCanvas::CopyFrom(const forms::Canvas& source, int width, int height) {
    width = std::min({width, image_.width(), source.PixelWidth()});
    height = std::min({height, image_.height(), source.PixelHeight()});
    if (width <= 0 || height <= 0)
        return;
    if (auto* other = dynamic_cast<const ImageCanvas*>(&source)) {
        for (int y = 0; y < height; ++y) {
            std::memcpy(image_.scanLine(y), other->image_.constScanLine(y),
                        static_cast<std::size_t>(width) * sizeof(QRgb));
        }
        return;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            SetPixel(x, y, ToQRgb(source.PixelAt(x, y)));
    }
}

forms::Rgb ImageCanvas::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return {};
    QRgb c = reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
    return {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
            static_cast<std::uint8_t>(qBlue(c))};
}

}  // namespace corvane::qtui
