// Times a dock's click on a folder's tile to the popup's first painted frame, as the X server sees
// it: the click's command starts (a launch of the folder's entry, or xdotool clicking the tile),
// a window of the folder's class is mapped, and its first pixels arrive (a damage event). The
// popup makes a new window at every opening, so every new top-level window is watched from its
// creation. The first opening is not timed; each timed one is followed by a closing click.
// Prints "figure <key>_ms <median>" and "figure <key>_max_ms <slowest>".
// Usage: bench-dock-click <key> <window class> <openings> <command> [arguments...]
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void start(char** command) {
    pid_t pid = 0;
    if (posix_spawnp(&pid, command[0], nullptr, nullptr, command, environ) != 0)
        std::fprintf(stderr, "bench-dock-click: cannot start %s\n", command[0]);
}

// Reaps the click's process whenever it ends: a handover ends it at once, a launch keeps it.
void reap() {
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

bool hasClass(xcb_connection_t* connection, xcb_window_t window, const std::string& windowClass) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr);
    bool found = false;
    if (reply) {
        const char* value = static_cast<const char*>(xcb_get_property_value(reply));
        const int length = xcb_get_property_value_length(reply);
        found = length > 0 && std::string(value, strnlen(value, size_t(length))) == windowClass;
    }
    std::free(reply);
    return found;
}

class Watcher {
public:
    Watcher(xcb_connection_t* connection, uint8_t damageEvent, std::string windowClass)
        : m_connection(connection)
        , m_damageEvent(damageEvent)
        , m_class(std::move(windowClass)) {
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, root(), XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection);
    }

    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root; }

    // Until the folder's window shows its first pixels (true), or is gone (`closing`); false
    // after 5 s.
    bool waitFor(bool closing) {
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
        while (Clock::now() < deadline) {
            reap();
            xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
            if (!event) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                continue;
            }
            const bool done = handle(event, closing);
            std::free(event);
            if (done)
                return true;
        }
        return false;
    }

private:
    bool handle(xcb_generic_event_t* event, bool closing) {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // Watched from its creation, so that its first pixels are not missed.
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (created->parent == root()) {
                const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
                xcb_change_window_attributes(m_connection, created->window, XCB_CW_EVENT_MASK, &mask);
                xcb_damage_create(m_connection, xcb_generate_id(m_connection), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
                xcb_flush(m_connection);
            }
        } else if (type == XCB_MAP_NOTIFY) {
            const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            if (hasClass(m_connection, window, m_class))
                m_shown = window;
        } else if (type == XCB_UNMAP_NOTIFY || type == XCB_DESTROY_NOTIFY) {
            const xcb_window_t window = reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window;
            if (window == m_shown) {
                m_shown = XCB_WINDOW_NONE;
                return closing;
            }
        } else if (type == m_damageEvent) {
            const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            return !closing && m_shown != XCB_WINDOW_NONE && damage->drawable == m_shown;
        }
        return false;
    }

public:
    bool isShown() const { return m_shown != XCB_WINDOW_NONE; }

private:
    xcb_connection_t* m_connection;
    uint8_t m_damageEvent;
    std::string m_class;
    xcb_window_t m_shown = XCB_WINDOW_NONE;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <key> <window class> <openings> <command> [arguments...]\n", argv[0]);
        return 2;
    }
    const std::string key = argv[1];
    const int openings = std::max(1, std::atoi(argv[3]));
    char** command = argv + 4;

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present)
        return 1;
    xcb_discard_reply(connection, xcb_damage_query_version(connection, 1, 1).sequence);
    Watcher watcher(connection, damage->first_event + XCB_DAMAGE_NOTIFY, argv[2]);

    std::vector<double> times;
    for (int i = 0; i <= openings; ++i) {
        const Clock::time_point clicked = Clock::now();
        start(command);
        if (!watcher.waitFor(false)) {
            std::fprintf(stderr, "bench-dock-click: no window of class %s opened\n", argv[2]);
            return 1;
        }
        if (i > 0)
            times.push_back(millisecondsSince(clicked));
        // Shown a while, closed by the next click, and past the popup's guard against a reopen by
        // the click that closed it.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        start(command);
        if (!watcher.waitFor(true)) {
            std::fprintf(stderr, "bench-dock-click: the window did not close\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    std::sort(times.begin(), times.end());
    std::printf("figure %s_ms %.1f\nfigure %s_max_ms %.1f\n", key.c_str(), times[times.size() / 2], key.c_str(),
                times.back());
    xcb_disconnect(connection);
    return 0;
}
