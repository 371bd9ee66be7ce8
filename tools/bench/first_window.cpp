// SPDX-License-Identifier: GPL-3.0-or-later
// Wall time from launching a program to its first top-level window being
// mapped on the X display: median, 90th percentile and maximum of several
// launches. Each launch is stopped (SIGTERM) once its window is up. With
// --vs, a second program is launched in turn with the first (each run
// starting with the other one than the run before), and the two are compared.
//
//   tessel-bench-first-window [--runs N] [--title TEXT] -- PROGRAM [ARGS...]
//                             [--vs OTHER [ARGS...]]
//
// Needs an X display without a window manager in the way, e.g. under
// xvfb-run -a; TEXT (default "Tessel Zizerev") must occur in the titles.
#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::string title(xcb_connection_t* c, xcb_window_t w)
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    std::string text;
    if (reply) {
        text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    size_t(xcb_get_property_value_length(reply)));
        free(reply);
    }
    return text;
}

// Milliseconds until a window whose title holds `want` is mapped; -1 if the
// program ended first or showed no such window within a minute.
double launch(xcb_connection_t* c, char** argv, const std::string& want)
{
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    double mapped = -1;
    while (mapped < 0) {
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                return -1;
            if (nowMs() - start > 60000) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return -1;
            }
            usleep(200);
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (title(c, map->window).find(want) != std::string::npos)
                mapped = nowMs() - start;
        }
        free(event);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return mapped;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Nearest rank.
double percentile90(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t rank = (values.size() * 9 + 9) / 10;
    return values[std::max<size_t>(rank, 1) - 1];
}

double maximum(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char* argv[])
{
    int runs = 10;
    std::string want = "Tessel Zizerev";
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--title") && i + 1 < argc)
            want = argv[++i];
    }
    if (i + 1 >= argc) {
        std::fprintf(
            stderr,
            "usage: tessel-bench-first-window [--runs N] [--title TEXT] -- PROGRAM [ARGS...] "
            "[--vs OTHER [ARGS...]]\n");
        return 2;
    }
    char** program = argv + i + 1;
    char** other = nullptr;
    for (int j = i + 1; j < argc; ++j) {
        if (!std::strcmp(argv[j], "--vs") && j + 1 < argc) {
            argv[j] = nullptr; // ends the first program's arguments
            other = argv + j + 1;
            break;
        }
    }

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "first-window: no X display\n");
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int s = 0; s < screenNumber; ++s)
        xcb_screen_next(&it);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, it.data->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    std::vector<double> times;
    std::vector<double> otherTimes;
    for (int run = 0; run < runs; ++run) {
        char** const order[2] = {run % 2 ? other : program, run % 2 ? program : other};
        for (char** launched : order) {
            if (!launched)
                continue;
            const double ms = launch(c, launched, want);
            if (ms < 0) {
                std::fprintf(stderr, "first-window: run %d: %s ended without a window\n", run + 1,
                             launched[0]);
                return 1;
            }
            (launched == program ? times : otherTimes).push_back(ms);
            std::printf("run %2d: %s: first window mapped after %7.1f ms\n", run + 1,
                        launched == program ? "program" : "other  ", ms);
        }
    }
    std::printf("%d runs, median / 90th percentile / maximum, launch to first window:\n", runs);
    std::printf("  program %7.1f / %7.1f / %7.1f ms\n", median(times), percentile90(times),
                maximum(times));
    if (other) {
        std::printf("  other   %7.1f / %7.1f / %7.1f ms\n", median(otherTimes),
                    percentile90(otherTimes), maximum(otherTimes));
        std::printf("  ratio   %7.2f / %7.2f / %7.2f\n", median(times) / median(otherTimes),
                    percentile90(times) / percentile90(otherTimes),
                    maximum(times) / maximum(otherTimes));
    }
    xcb_disconnect(c);
    return 0;
}
