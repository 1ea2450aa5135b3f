#include "waylandplugin.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace qv {

namespace {

// The platform named on the command line (-platform NAME, --platform NAME,
// -platform=NAME), else an empty string.
QString platformArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (argument.startsWith(QLatin1String("--")))
            argument.remove(0, 1);
        if (argument == QLatin1String("-platform") && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (argument.startsWith(QLatin1String("-platform=")))
            return argument.section(QLatin1Char('='), 1);
    }
    return {};
}

// The platforms the toolkit will try, in its order.
QStringList platformsTried(const QStringList& arguments, const QProcessEnvironment& environment) {
    QString chosen = platformArgument(arguments);
    if (chosen.isEmpty())
        chosen = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (!chosen.isEmpty())
        return chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QStringList tried;
    if (environment.contains(QStringLiteral("WAYLAND_DISPLAY")) ||
        environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland"))
        tried << QStringLiteral("wayland");
    // Debian's Qt falls back on X11 where there is a display, or where
    // nothing else is named.
    if (environment.contains(QStringLiteral("DISPLAY")) || tried.isEmpty())
        tried << QStringLiteral("xcb");
    return tried;
}

bool haveWaylandPlugin(const QStringList& platformFolders) {
    for (const QString& folder : platformFolders)
        if (!QDir(folder).entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty())
            return true;
    return false;
}

}  // namespace

QString missingWaylandPlugin(const QStringList& arguments, const QProcessEnvironment& environment,
                             const QStringList& platformFolders) {
    const QStringList tried = platformsTried(arguments, environment);
    for (const QString& platform : tried)
        if (!platform.startsWith(QLatin1String("wayland")))
            return {};
    if (haveWaylandPlugin(platformFolders))
        return {};
    return QStringLiteral(
        "quorvellearning: this is a Wayland session without an X11 display, and the "
        "toolkit's Wayland support is not installed.\n"
        "Install the package qt6-wayland (sudo apt install qt6-wayland), or start the "
        "program in an X11 session.\n");
}

int refuseWaylandWithoutPlugin(int argc, char** argv) {
    // A plain core application for the toolkit's plugin folders (qt.conf
    // beside the program and QT_PLUGIN_PATH included); it needs no display.
    QCoreApplication core(argc, argv);
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QStringList folders;
    for (const QString& folder : QCoreApplication::libraryPaths())
        folders << folder + QStringLiteral("/platforms");
    const QString platformFolder = environment.value(QStringLiteral("QT_QPA_PLATFORM_PLUGIN_PATH"));
    if (!platformFolder.isEmpty())
        folders << platformFolder;
    const QString message =
        missingWaylandPlugin(QCoreApplication::arguments(), environment, folders);
    if (message.isEmpty())
        return 0;
    std::fputs(qPrintable(message), stderr);
    std::fflush(stderr);
    return 1;
}

}  // namespace qv
