#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace qv {

namespace {

// What a shell expects for a usage error.
constexpr int kUsageError = 2;

const QString kProgram = QStringLiteral("quorvellearning");

// The options the toolkit itself takes out of the arguments when the
// application starts, on every platform (QCoreApplication, QGuiApplication,
// QApplication) and on X11 (the xcb platform); each also as --name. Some
// take the next argument as their value; -style, -stylesheet and
// -qmljsdebugger take it after "=" as well.
constexpr const char* kToolkitOptionsWithValue[] = {
    // every platform
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "session", "style", "stylesheet", "qmljsdebugger",
    // X11: the display, the instance name and visual, and the X11 spellings
    // of -qwindowgeometry, -qwindowtitle and -qwindowicon
    "display", "name", "visual", "geometry", "title", "icon"};
constexpr const char* kToolkitFlags[] = {
    // every platform ("qdevel" and "qdebug" are still taken, and ignored)
    "reverse", "testability", "widgetcount", "qdevel", "qdebug",
    // X11: whether the pointer and keyboard may be grabbed (menus, lists)
    "nograb", "dograb"};

QCommandLineOption hidden(QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

CommandLine usageError(const QString& why) {
    CommandLine answer;
    answer.exitStatus = kUsageError;
    answer.err =
        QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(kProgram, why);
    return answer;
}

// "a, b, c or d"
QString oneOf(const QStringList& names) {
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           names.constLast();
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    const QStringList activities = activityNames();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Quorvel Learning teaches young children (2 to 6) the names of eleven colours\n"
        "and ten shapes, with spoken names, pictures, games and music.\n"
        "Everything else is set in its Options dialog; these options change no setting."));
    // Not addHelpOption(): it adds --help-all for the toolkit's options,
    // which are passed on quietly instead.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption activity(
        QStringLiteral("activity"),
        QStringLiteral("Opens the game on one activity at once, without the selection "
                       "screen: %1.")
            .arg(oneOf(activities)),
        QStringLiteral("name"));
    parser.addOption(activity);
    const QCommandLineOption fullScreen(
        QStringLiteral("fullscreen"),
        QStringLiteral("Fills the screen, without a frame. F11 switches full screen on and "
                       "off at any time."));
    parser.addOption(fullScreen);
    const QCommandLineOption lock(
        QStringLiteral("lock"),
        QStringLiteral("Full screen, locked for a child: no menus, and no key or click "
                       "leaves the program. A parent leaves by holding Ctrl+Shift+Q for two "
                       "seconds."));
    parser.addOption(lock);
    // The toolkit's own options (-platform, -style, and -session, with which
    // a session manager starts the program again) are taken out of the
    // arguments when the application starts, so they pass here unseen.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : kToolkitOptionsWithValue)
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name), {}, "value")));
    for (const char* name : kToolkitFlags)
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name))));

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    CommandLine answer;
    if (parser.isSet(help)) {
        answer.exitStatus = 0;
        answer.out = parser.helpText();
        return answer;
    }
    if (parser.isSet(version)) {
        answer.exitStatus = 0;
        answer.out = QStringLiteral("%1 %2\n").arg(kProgram, QStringLiteral(QUORVEL_VERSION));
        return answer;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()));
    const QStringList chosen = parser.values(activity);
    if (chosen.size() > 1)
        return usageError(QStringLiteral("one --activity only, not %1").arg(chosen.join(", ")));
    if (!chosen.isEmpty() && !activities.contains(chosen.constFirst()))
        return usageError(QStringLiteral("unknown activity '%1': choose %2")
                              .arg(chosen.constFirst(), oneOf(activities)));
    answer.options.activity = chosen.value(0);
    answer.options.fullScreen = parser.isSet(fullScreen);
    answer.options.locked = parser.isSet(lock);
    return answer;
}

CommandLine answerCommandLine(int argc, char** argv) {
    // A plain core application: enough for the parser, and it needs no
    // display, so --help works in a terminal without one.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(kProgram);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    CommandLine answer = parseCommandLine(QCoreApplication::arguments());
    if (!answer.out.isEmpty())
        print(stdout, answer.out);
    if (!answer.err.isEmpty())
        print(stderr, answer.err);
    return answer;
}

}  // namespace qv
