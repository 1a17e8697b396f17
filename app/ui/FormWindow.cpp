// SPDX-License-Identifier: MIT
#include "app/ui/FormWindow.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QWindow>

#include "app/ui/ControlSync.h"
#include "platform/qt/QtHost.h"

namespace corvane::ui {

namespace {
// How long the place of the window we live in is taken as known.
constexpr qint64 kParentPlaceMs = 500;
}  // namespace

FormWindow::FormWindow(forms::Form& model, qtui::QtHost& host, Qt::WindowFlags flags)
    : QWidget(nullptr, flags), model_(model), host_(host) {
    setObjectName(QString::fromStdString(model.name));
    model_.windowHandle = host_.RegisterWidget(this);
}

QWidget* FormWindow::Control(const std::string& name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (onClose)
        onClose();
}

QPoint FormWindow::Origin() {
    // Positions are relative to the window we live in: inside it when we are
    // its child, else from its top left corner on the screen.
    if (model_.parentWindow == 0 || embedded_)
        return {0, 0};
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (parentOriginAt_ < 0 || now - parentOriginAt_ > kParentPlaceMs) {
        host::Rect r;
        parentOrigin_ =
            host_.GetWindowRect(model_.parentWindow, &r) ? QPoint(r.left, r.top) : QPoint(0, 0);
        parentOriginAt_ = now;
    }
    return parentOrigin_;
}

void FormWindow::SyncWindow(Scale scale) {
    if (model_.parentWindow != parentTried_) {
        parentTried_ = model_.parentWindow;
        embedded_ = parentTried_ != 0 && host_.Embed(this, parentTried_);
        parentOriginAt_ = -1;
    }
    const QString title = Latin1Text(model_.caption);
    if (windowTitle() != title)
        setWindowTitle(title);

    const QPoint origin = Origin();
    const forms::PixelRect px = forms::PixelsOf(model_, scale);
    const QRect geometry(origin.x() + px.left, origin.y() + px.top, px.width, px.height);
    if (this->geometry() != geometry)
        setGeometry(geometry);

    if (!regionShown_ || shownRegion_ != model_.region) {
        if (model_.region.empty()) {
            clearMask();
        } else {
            setMask(RegionOf(model_.region));
        }
        shownRegion_ = model_.region;
        regionShown_ = true;
    }

    if (isVisible() != model_.visible)
        setVisible(model_.visible);

    if (!model_.focusControl.empty()) {
        if (QWidget* target = Control(model_.focusControl); target && model_.visible) {
            // Inside another process's window the keyboard goes to our window
            // only when the X server is asked to give it the focus.
            if (embedded_ && windowHandle()) {
                windowHandle()->requestActivate();
            } else {
                activateWindow();
            }
            target->setFocus(Qt::OtherFocusReason);
        }
        model_.focusControl.clear();
    }
}

}  // namespace corvane::ui
