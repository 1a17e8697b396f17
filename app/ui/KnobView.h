// SPDX-License-Identifier: MIT
//
// The joystick knob (Image1) over the map: a round knob drawn by itself, the
// map showing around it, reporting the mouse in twips inside the knob.
#pragma once

#include <QWidget>

#include "app/ui/PictureView.h"

namespace corvane::ui {

class KnobView : public QWidget {
  public:
    KnobView(int twipsPerPixelX, int twipsPerPixelY, QWidget* parent = nullptr);

    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Report(const MouseHandler& handler, int button, QMouseEvent* event);
    int twipsPerPixelX_;
    int twipsPerPixelY_;
};

}  // namespace corvane::ui
