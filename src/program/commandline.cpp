#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace qv {

namespace {

// What a shell expects for a usage error.
constexpr int kUsageError = 2;

// The options every Qt program takes (see qt6options(7)) on this platform.
constexpr const char* kToolkitOptionsWithValue[] = {
    "style",         "stylesheet", "qmljsdebugger",   "platform",    "platformpluginpath",
    "platformtheme", "plugin",     "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session",       "display",    "geometry"};
constexpr const char* kToolkitFlags[] = {"widgetcount", "reverse"};

QCommandLineOption hidden(QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

}  // namespace

std::optional<int> answerCommandLine(int argc, char** argv) {
    // A plain core application: enough for the parser, and it needs no
    // display, so --help works in a terminal without one.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvellearning"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Quorvel Learning teaches young children (2 to 6) the names of eleven colours\n"
        "and ten shapes, with spoken names, pictures, games and music.\n"
        "It takes no other options: everything is set in its Options dialog."));
    // Not addHelpOption(): it adds --help-all for the toolkit's options,
    // which are passed on quietly instead.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    // The toolkit's own options (-platform, -style, and -session, with which
    // a session manager starts the program again) are taken out of the
    // arguments when the application starts, so they pass here unseen.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : kToolkitOptionsWithValue)
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name), {}, "value")));
    for (const char* name : kToolkitFlags)
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name))));

    const QString program = QStringLiteral("quorvellearning");
    if (!parser.parse(QCoreApplication::arguments())) {
        print(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                          .arg(program, parser.errorText()));
        return kUsageError;
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout,
              QStringLiteral("%1 %2\n").arg(program, QCoreApplication::applicationVersion()));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("%1: unexpected argument '%2'\nTry '%1 --help' for more "
                                     "information.\n")
                          .arg(program, parser.positionalArguments().constFirst()));
        return kUsageError;
    }
    return std::nullopt;
}

}  // namespace qv
