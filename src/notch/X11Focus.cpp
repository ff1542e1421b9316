#include "notch/X11Focus.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cstring>
#include <optional>
#include <xcb/xcb.h>

namespace {

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_atom_t activeWindowAtom(xcb_connection_t *c)
{
    const char name[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return atom;
}

// The window manager's active window; nullopt without a window manager that says.
std::optional<xcb_window_t> managedActive(xcb_connection_t *c)
{
    const xcb_atom_t atom = activeWindowAtom(c);
    if (atom == XCB_ATOM_NONE)
        return std::nullopt;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootOf(c), atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    std::optional<xcb_window_t> window;
    if (reply && reply->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(reply) == 4)
        window = *static_cast<xcb_window_t *>(xcb_get_property_value(reply));
    free(reply);
    return window;
}

}

std::uint32_t X11Focus::current()
{
    xcb_connection_t *c = connection();
    if (!c)
        return 0;
    if (const auto active = managedActive(c))
        return *active;
    xcb_get_input_focus_reply_t *reply =
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    const xcb_window_t window = reply ? reply->focus : XCB_NONE;
    free(reply);
    return window == XCB_INPUT_FOCUS_POINTER_ROOT ? XCB_NONE : window;
}

void X11Focus::giveTo(std::uint32_t window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    if (managedActive(c)) {
        if (!window)
            return; // the window manager decides
        xcb_client_message_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = activeWindowAtom(c);
        event.data.data32[0] = 2; // asked for by a pager-like tool, not an application
        xcb_send_event(c, 0, rootOf(c),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(c);
        return;
    }
    // The window may have closed meanwhile: then the pointer decides, as by default.
    xcb_generic_error_t *error = window
        ? xcb_request_check(
            c,
            xcb_set_input_focus_checked(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME))
        : nullptr;
    if (!window || error)
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT,
                            XCB_CURRENT_TIME);
    free(error);
    xcb_flush(c);
}
