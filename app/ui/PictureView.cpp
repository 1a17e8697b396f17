// SPDX-License-Identifier: MIT
#include "app/ui/PictureView.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/ImageCanvas.h"

namespace corvane::ui {

int ButtonNumber(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int ButtonsNumber(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int ShiftNumber(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

PictureView::PictureView(forms::Picture& picture, int twipsPerPixelX, int twipsPerPixelY,
                         QWidget* parent)
    : QWidget(parent),
      picture_(picture),
      twipsPerPixelX_(twipsPerPixelX),
      twipsPerPixelY_(twipsPerPixelY) {
    setObjectName(QString::fromStdString(picture.name));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (const auto* canvas = dynamic_cast<const qtui::ImageCanvas*>(picture_.canvas.get())) {
        painter.drawImage(0, 0, canvas->Image());
        const QImage& image = canvas->Image();
        if (image.width() < width()) {
            painter.fillRect(image.width(), 0, width() - image.width(), height(), Qt::black);
        }
        if (image.height() < height()) {
            painter.fillRect(0, image.height(), width(), height() - image.height(), Qt::black);
        }
    } else {
        painter.fillRect(rect(), Qt::black);
    }
}

void PictureView::Report(const MouseHandler& handler, int button, QMouseEvent* event) {
    if (!handler)
        return;
    const QPointF at = event->position();
    handler(button, ShiftNumber(event->modifiers()), float(at.x() * twipsPerPixelX_),
            float(at.y() * twipsPerPixelY_));
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    Report(onMouseDown, ButtonNumber(event->button()), event);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    Report(onMouseMove, ButtonsNumber(event->buttons()), event);
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    Report(onMouseUp, ButtonNumber(event->button()), event);
}

}  // namespace corvane::ui
