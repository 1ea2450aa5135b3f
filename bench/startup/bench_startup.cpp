// Starts the real program and a bare Qt Widgets window alternately under a
// private Xvfb, and measures for each start the time until its first window
// is mapped, the time until that window shows painted pixels, and the
// resident memory once it has settled. Prints the medians and the ratios.
//
//   bench_startup [runs [program]]
//
// runs defaults to 5; program to the one built beside the media library (any
// other build of it must sit beside the media folders too).
//
// The program starts as on any day after the first: its store in a fresh
// HOME holds the twelve defaults with runonce True. The sound device is
// whatever SDL finds here, as for a user.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

#include "app/module1.h"
#include "app/settingsstore.h"

extern char** environ;

namespace {

constexpr int kDisplay = 87;
constexpr int kTimeoutMs = 20'000;
// Memory is read once the window has been painted and this much time has passed.
constexpr int kSettleMs = 1500;

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

pid_t spawn(const QStringList& command, const QStringList& environment) {
    std::vector<QByteArray> storage;
    for (const QString& s : command + environment)
        storage.push_back(s.toLocal8Bit());
    std::vector<char*> argv, envp;
    for (int i = 0; i < command.size(); ++i)
        argv.push_back(storage[size_t(i)].data());
    argv.push_back(nullptr);
    for (size_t i = size_t(command.size()); i < storage.size(); ++i)
        envp.push_back(storage[i].data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    return pid;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return;
        usleep(10'000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

long residentKb(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

struct Start {
    double mappedMs = -1;
    double paintedMs = -1;
    long memoryKb = -1;
};

// Most of the window's pixels differ from the black of the root window.
bool painted(xcb_connection_t* x, xcb_window_t window, int width, int height) {
    xcb_get_image_reply_t* image =
        xcb_get_image_reply(x,
                            xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          uint16_t(width), uint16_t(height), ~0u),
                            nullptr);
    if (image == nullptr)
        return false;
    const auto* pixels = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
    const int count = xcb_get_image_data_length(image) / 4;
    int lit = 0;
    for (int i = 0; i < count; ++i)
        lit += (pixels[i] & 0xffffff) != 0;
    free(image);
    return count > 0 && lit * 2 > count;
}

std::optional<Start> measure(xcb_connection_t* x, const QStringList& command,
                             const QStringList& environment) {
    Start start;
    const double t0 = nowMs();
    const pid_t pid = spawn(command, environment);
    if (pid < 0)
        return std::nullopt;
    xcb_window_t window = XCB_NONE;
    int width = 0, height = 0;
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (nowMs() - t0 < kTimeoutMs && start.paintedMs < 0) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && window == XCB_NONE) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect) {
                    start.mappedMs = nowMs() - t0;
                    window = map->window;
                    xcb_get_geometry_reply_t* geometry =
                        xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr);
                    if (geometry) {
                        width = geometry->width;
                        height = geometry->height;
                        free(geometry);
                    }
                }
            }
            free(event);
        }
        if (window != XCB_NONE && painted(x, window, width, height)) {
            start.paintedMs = nowMs() - t0;
            break;
        }
        poll(&fd, 1, window == XCB_NONE ? 50 : 1);
    }
    if (start.paintedMs >= 0) {
        usleep(kSettleMs * 1000);
        start.memoryKb = residentKb(pid);
    }
    stop(pid);
    // Let the server forget the window before the next start.
    usleep(200'000);
    while (xcb_generic_event_t* event = xcb_poll_for_event(x))
        free(event);
    if (start.paintedMs < 0)
        return std::nullopt;
    return start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir home;
    // A store that has run once.
    qv::SettingsStore store(home.filePath(QStringLiteral(".config")));
    for (const qv::SettingKey& key : qv::kSettingKeys)
        store.writesetting(qv::kApplicationName, qv::kSettingsSection, QString::fromLatin1(key.key),
                           QString::fromLatin1(key.defaultText));

    const QString display = QStringLiteral(":%1").arg(kDisplay);
    const pid_t server =
        spawn({QStringLiteral("/usr/bin/Xvfb"), display, QStringLiteral("-screen"),
               QStringLiteral("0"), QStringLiteral("1920x1080x24"), QStringLiteral("-br"),
               QStringLiteral("-nolisten"), QStringLiteral("tcp")},
              {});
    xcb_connection_t* x = nullptr;
    for (int i = 0; i < 100 && server > 0; ++i) {
        usleep(50'000);
        x = xcb_connect(display.toLatin1().constData(), nullptr);
        if (!xcb_connection_has_error(x))
            break;
        xcb_disconnect(x);
        x = nullptr;
    }
    if (x == nullptr) {
        std::fprintf(stderr, "bench_startup: cannot start Xvfb on %s\n", qPrintable(display));
        if (server > 0)
            stop(server);
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    QStringList environment;
    for (char** e = environ; *e != nullptr; ++e) {
        const QString entry = QString::fromLocal8Bit(*e);
        if (!entry.startsWith(QLatin1String("DISPLAY=")) &&
            !entry.startsWith(QLatin1String("HOME=")) &&
            !entry.startsWith(QLatin1String("XDG_CONFIG_HOME=")) &&
            !entry.startsWith(QLatin1String("QT_QPA_PLATFORM=")) &&
            !entry.startsWith(QLatin1String("SDL_AUDIODRIVER=")))
            environment << entry;
    }
    environment << QStringLiteral("DISPLAY=") + display << QStringLiteral("HOME=") + home.path();

    const QStringList program{argc > 2 ? QString::fromLocal8Bit(argv[2])
                                       : QStringLiteral(QUORVEL_PROGRAM)};
    const QStringList bare{QStringLiteral(QUORVEL_BARE_WINDOW)};
    std::vector<double> mapped[2], paintedAt[2], memory[2];
    bool failed = false;
    // One start of each first, untimed, so that neither pays for a cold disk cache.
    for (int run = -1; run < runs && !failed; ++run) {
        for (int which = 0; which < 2; ++which) {
            const auto start = measure(x, which == 0 ? bare : program, environment);
            if (!start) {
                std::fprintf(stderr, "bench_startup: %s showed no painted window\n",
                             which == 0 ? "the bare window" : "the program");
                failed = true;
                break;
            }
            if (run < 0)
                continue;
            mapped[which].push_back(start->mappedMs);
            paintedAt[which].push_back(start->paintedMs);
            memory[which].push_back(double(start->memoryKb));
            std::printf("run %d %-12s mapped %6.1f ms  painted %6.1f ms  memory %6ld KiB\n",
                        run + 1, which == 0 ? "bare window" : "program", start->mappedMs,
                        start->paintedMs, start->memoryKb);
            std::fflush(stdout);
        }
    }
    xcb_disconnect(x);
    stop(server);
    if (failed)
        return 1;

    std::printf("\nmedians of %d          bare window    program    ratio\n", runs);
    const auto row = [&](const char* name, std::vector<double>* values, const char* unit) {
        const double b = median(values[0]), p = median(values[1]);
        std::printf("%-22s %9.1f %-3s %7.1f %-3s %6.2fx\n", name, b, unit, p, unit, p / b);
    };
    row("time to mapped", mapped, "ms");
    row("time to painted", paintedAt, "ms");
    row("resident memory", memory, "KiB");
    return 0;
}
