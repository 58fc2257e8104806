// Asks a window to close the way a window manager does when its close box is clicked: a
// WM_DELETE_WINDOW client message. Under a bare X server there is no window manager to send it,
// and destroying the window instead (xdotool windowclose) does not end a Qt application.
//
//   x_close WINDOW_ID
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {
xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: x_close WINDOW_ID\n", stderr);
        return 2;
    }
    char *end = nullptr;
    const unsigned long window = std::strtoul(argv[1], &end, 0);
    if (!end || *end != '\0' || window == 0) {
        std::fprintf(stderr, "x_close: not a window id: %s\n", argv[1]);
        return 2;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("x_close: cannot open the display\n", stderr);
        xcb_disconnect(connection);
        return 1;
    }
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom(connection, "WM_DELETE_WINDOW");

    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window);
    message.type = protocols;
    message.data.data32[0] = deleteWindow;
    message.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t sent = xcb_send_event_checked(connection, 0, static_cast<xcb_window_t>(window),
        XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&message));
    xcb_generic_error_t *error = xcb_request_check(connection, sent);
    const int status = error ? 1 : 0;
    if (error) {
        std::fprintf(stderr, "x_close: the server refused the message (error %d)\n", error->error_code);
        std::free(error);
    }
    xcb_disconnect(connection);
    return status;
}
