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

#ifdef CORVANE_HAVE_XCB
namespace {

std::string WindowTitle(xcb_connection_t* c, xcb_window_t w) {
    xcb_get_property_reply_t* p = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 256), nullptr);
    if (!p)
        return {};
    const std::string title(static_cast<const char*>(xcb_get_property_value(p)),
                            static_cast<std::size_t>(xcb_get_property_value_length(p)));
    std::free(p);
    return title;
}

xcb_window_t FindTitled(xcb_connection_t* c, xcb_window_t parent, const std::string& prefix,
                        int depth) {
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr);
    if (!tree)
        return 0;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    xcb_window_t found = 0;
    for (int i = 0; i < count && !found; ++i) {
        if (WindowTitle(c, children[i]).rfind(prefix, 0) == 0)
            found = children[i];
    }
    for (int i = 0; i < count && !found && depth > 0; ++i)
        found = FindTitled(c, children[i], prefix, depth - 1);
    std::free(tree);
    return found;
}

}  // namespace
#endif

std::uint64_t X11FindWindowTitled(const std::string& titlePrefix) {
#ifdef CORVANE_HAVE_XCB
    if (!OnX11() || titlePrefix.empty())
        return 0;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return 0;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? FindTitled(c, screen->root, titlePrefix, 1) : 0;
#else
    (void)titlePrefix;
    return 0;
#endif
}

}  // namespace corvane::qtui
