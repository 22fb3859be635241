#include "X11WindowLevels.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr char kLevelProperty[] = "_TRELLIN_WINDOW_LEVEL";
constexpr char kStackingProperty[] = "_NET_CLIENT_LIST_STACKING";

xcb_connection_t* toolkitConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return value;
}

// The 32-bit items of a property reply of the given type; none when the property is absent.
std::optional<std::vector<uint32_t>> items(xcb_get_property_reply_t* reply, xcb_atom_t type) {
    if (!reply || reply->type != type || reply->format != 32)
        return std::nullopt;
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
    return std::vector<uint32_t>(data, data + xcb_get_property_value_length(reply) / 4);
}

} // namespace

X11WindowLevels::X11WindowLevels(QObject* parent)
    : QObject(parent) {}

X11WindowLevels::~X11WindowLevels() {
    disconnect();
}

bool X11WindowLevels::connect() {
    if (m_connection)
        return true;
    if (!toolkitConnection())
        return false;
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        disconnect();
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    m_root = screens.data->root;
    m_levelAtom = atom(m_connection, kLevelProperty);
    m_stackingAtom = atom(m_connection, kStackingProperty);
    // The window manager's stacking list changes on the root; without one, the root's children
    // are the windows, restacked under our eyes.
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    QObject::connect(m_notifier, &QSocketNotifier::activated, this, &X11WindowLevels::readEvents);
    return true;
}

void X11WindowLevels::disconnect() {
    delete m_notifier;
    m_notifier = nullptr;
    if (m_connection)
        xcb_disconnect(m_connection);
    m_connection = nullptr;
}

void X11WindowLevels::setLevel(WindowId window, int level) {
    xcb_connection_t* toolkit = toolkitConnection();
    if (!toolkit || !connect())
        return;
    m_windows[window] = level;
    // Written through the toolkit's own connection, so that it is there before the window it
    // creates is mapped, for the other processes to see at once.
    const uint32_t value = uint32_t(level);
    xcb_change_property(toolkit, XCB_PROP_MODE_REPLACE, xcb_window_t(window), m_levelAtom, XCB_ATOM_CARDINAL, 32, 1,
                        &value);
    xcb_flush(toolkit);
    keepLevels();
}

void X11WindowLevels::forget(WindowId window) {
    if (!m_windows.erase(window))
        return;
    if (xcb_connection_t* toolkit = toolkitConnection()) {
        xcb_delete_property(toolkit, xcb_window_t(window), m_levelAtom);
        xcb_flush(toolkit);
    }
    // Nothing left to keep: no connection and no watching.
    if (m_windows.empty())
        disconnect();
}

void X11WindowLevels::readEvents() {
    if (!m_connection)
        return;
    bool restacked = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        switch (event->response_type & ~0x80) {
        case XCB_PROPERTY_NOTIFY:
            restacked |= reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == m_stackingAtom;
            break;
        case XCB_CONFIGURE_NOTIFY:
        case XCB_MAP_NOTIFY:
        case XCB_CIRCULATE_NOTIFY:
            restacked |= !m_hasStackingList;
            break;
        default: // errors about windows gone meanwhile among them
            break;
        }
        std::free(event);
    }
    if (restacked)
        keepLevels();
}

void X11WindowLevels::keepLevels() {
    if (!m_connection || m_windows.empty())
        return;
    // Bottom to top: the window manager's list of the windows it manages, else the root's children.
    std::vector<uint32_t> stack;
    xcb_get_property_reply_t* list = xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, m_root, m_stackingAtom, XCB_ATOM_WINDOW, 0, 1 << 16), nullptr);
    const std::optional<std::vector<uint32_t>> managed = items(list, XCB_ATOM_WINDOW);
    std::free(list);
    m_hasStackingList = managed.has_value();
    if (managed) {
        stack = *managed;
    } else if (xcb_query_tree_reply_t* tree =
                   xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr)) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        stack.assign(children, children + xcb_query_tree_children_length(tree));
        std::free(tree);
    }

    // The levels of every window above our lowest one, asked for all at once.
    std::size_t lowest = stack.size();
    for (std::size_t i = 0; i < stack.size() && lowest == stack.size(); ++i)
        if (m_windows.count(stack[i]))
            lowest = i;
    std::vector<xcb_get_property_cookie_t> cookies;
    for (std::size_t i = lowest + 1; i < stack.size(); ++i)
        cookies.push_back(xcb_get_property(m_connection, 0, stack[i], m_levelAtom, XCB_ATOM_CARDINAL, 0, 1));
    std::vector<std::optional<int>> levels(stack.size());
    for (std::size_t i = lowest + 1; i < stack.size(); ++i) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, cookies[i - lowest - 1], nullptr);
        if (const auto level = items(reply, XCB_ATOM_CARDINAL); level && !level->empty())
            levels[i] = int(level->front());
        std::free(reply);
    }

    for (std::size_t i = lowest; i < stack.size(); ++i) {
        const auto own = m_windows.find(stack[i]);
        if (own == m_windows.end())
            continue;
        for (std::size_t j = i + 1; j < stack.size(); ++j) {
            if (levels[j] && *levels[j] < own->second) {
                const uint32_t above = XCB_STACK_MODE_ABOVE;
                xcb_configure_window(m_connection, stack[i], XCB_CONFIG_WINDOW_STACK_MODE, &above);
                break;
            }
        }
    }
    xcb_flush(m_connection);
    // Waiting for the replies may have queued events the socket will not announce again: they
    // are read on the next turn.
    QMetaObject::invokeMethod(this, &X11WindowLevels::readEvents, Qt::QueuedConnection);
}
