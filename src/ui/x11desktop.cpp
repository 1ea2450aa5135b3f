#include "x11desktop.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace qv {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* x11Connection() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const ReplyPointer<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The values of a property of 32-bit items (atoms, windows) of a window.
std::vector<uint32_t> property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                               xcb_atom_t type) {
    const ReplyPointer<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

xcb_window_t rootWindow(xcb_connection_t* connection) {
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

}  // namespace

void showInTaskbar(QWindow& window, bool shown) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || window.isVisible())
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    if (state == XCB_ATOM_NONE)
        return;
    // The other states already asked for stay.
    std::vector<uint32_t> states = property(connection, id, state, XCB_ATOM_ATOM);
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t skip = atom(connection, name);
        states.erase(std::remove(states.begin(), states.end(), skip), states.end());
        if (!shown && skip != XCB_ATOM_NONE)
            states.push_back(skip);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}

bool windowManagerFillsScreen() {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return true;
    const xcb_window_t root = rootWindow(connection);
    // A window manager that follows the desktop conventions names a window
    // of its own on the root window, and the same window on itself; a name
    // left behind by one that has ended names a window that is gone.
    const xcb_atom_t check = atom(connection, "_NET_SUPPORTING_WM_CHECK");
    const std::vector<uint32_t> named = property(connection, root, check, XCB_ATOM_WINDOW);
    if (named.empty() || property(connection, named.front(), check, XCB_ATOM_WINDOW) != named)
        return false;
    const std::vector<uint32_t> supported =
        property(connection, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    const xcb_atom_t fullScreen = atom(connection, "_NET_WM_STATE_FULLSCREEN");
    return std::find(supported.begin(), supported.end(), fullScreen) != supported.end();
}

}  // namespace qv
