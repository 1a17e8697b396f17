// SPDX-License-Identifier: MIT
#include "platform/qt/X11Windows.h"

#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#ifdef CORVANE_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace corvane::qtui {

bool OnX11() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

bool X11WindowRect(std::uint64_t nativeId, host::Rect* rect) {
#ifdef CORVANE_HAVE_XCB
    if (!OnX11() || nativeId == 0)
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return false;
    const auto window = static_cast<xcb_window_t>(nativeId);
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (!geometry)
        return false;
    const xcb_window_t root = geometry->root;
    const int width = geometry->width;
    const int height = geometry->height;
    std::free(geometry);
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr);
    if (!origin)
        return false;
    // The X server counts device pixels; the program places its windows in Qt's pixels,
    // which are larger by the device pixel ratio (QT_SCALE_FACTOR, a high-density screen).
    const double ratio = std::max(qGuiApp->devicePixelRatio(), 1.0);
    auto logical = [ratio](int devicePixels) {
        return static_cast<int>(std::lround(devicePixels / ratio));
    };
    rect->left = logical(origin->dst_x);
    rect->top = logical(origin->dst_y);
    rect->right = logical(origin->dst_x + width);
    rect->bottom = logical(origin->dst_y + height);
    std::free(origin);
    return true;
#else
    (void)nativeId;
    (void)rect;
    return false;
#endif
}

}  // namespace corvane::qtui
