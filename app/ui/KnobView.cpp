// SPDX-License-Identifier: MIT
#include "app/ui/KnobView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>

namespace corvane::ui {

KnobView::KnobView(int twipsPerPixelX, int twipsPerPixelY, QWidget* parent)
    : QWidget(parent), twipsPerPixelX_(twipsPerPixelX), twipsPerPixelY_(twipsPerPixelY) {
    setObjectName(QStringLiteral("Image1"));
    setFocusPolicy(Qt::NoFocus);
}

void KnobView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    QRadialGradient shade(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() / 1.4);
    shade.setColorAt(0, QColor(235, 235, 235));
    shade.setColorAt(1, QColor(70, 70, 70));
    painter.setBrush(shade);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawEllipse(r);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    const QPointF c = r.center();
    painter.drawLine(QPointF(c.x() - r.width() / 5, c.y()), QPointF(c.x() + r.width() / 5, c.y()));
    painter.drawLine(QPointF(c.x(), c.y() - r.height() / 5),
                     QPointF(c.x(), c.y() + r.height() / 5));
}

void KnobView::Report(const MouseHandler& handler, int button, QMouseEvent* event) {
    if (!handler)
        return;
    const QPointF at = event->position();
    handler(button, ShiftNumber(event->modifiers()), float(at.x() * twipsPerPixelX_),
            float(at.y() * twipsPerPixelY_));
}

void KnobView::mousePressEvent(QMouseEvent* event) {
    Report(onMouseDown, ButtonNumber(event->button()), event);
}

void KnobView::mouseMoveEvent(QMouseEvent* event) {
    Report(onMouseMove, ButtonsNumber(event->buttons()), event);
}

void KnobView::mouseReleaseEvent(QMouseEvent* event) {
    Report(onMouseUp, ButtonNumber(event->button()), event);
}

}  // namespace corvane::ui
