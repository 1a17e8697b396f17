// SPDX-License-Identifier: MIT
//
// A picture box on screen: shows its canvas's image and reports the mouse in
// twips inside the picture, with the program's button and shift numbers.
#pragma once

#include <QWidget>
#include <functional>

#include "app/forms/Controls.h"

namespace corvane::ui {

// A mouse event as the program's handlers take it.
using MouseHandler = std::function<void(int button, int shift, float xTwips, float yTwips)>;

// The program's button (1 left, 2 right, 4 middle) and shift (1 Shift, 2 Ctrl,
// 4 Alt) numbers of a Qt mouse event.
int ButtonNumber(Qt::MouseButton button);
int ButtonsNumber(Qt::MouseButtons buttons);
int ShiftNumber(Qt::KeyboardModifiers modifiers);

class PictureView : public QWidget {
  public:
    PictureView(forms::Picture& picture, int twipsPerPixelX, int twipsPerPixelY,
                QWidget* parent = nullptr);

    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;

    forms::Picture& picture() { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Report(const MouseHandler& handler, int button, QMouseEvent* event);

    forms::Picture& picture_;
    int twipsPerPixelX_;
    int twipsPerPixelY_;
};

}  // namespace corvane::ui
