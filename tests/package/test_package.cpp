// The Debian package as a user gets it: unpacked into a scratch root, its files
// where the install rules put them, and the program in it finding its library.
// Also the program's command line, on the build tree's program and the packaged one.
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "support/programprocess.h"

namespace fs = std::filesystem;

namespace {

const QString kAppId = QStringLiteral(QUORVEL_APP_ID);

QStringList commaList(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(','));
}

struct Finished {
    bool normalExit = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Finished runToEnd(const QString& program, const QStringList& arguments,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Finished result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.normalExit = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// Every entry below root: "path" for a file, "path -> target" for a link, as
// the link is written. Folders are implied by their entries.
QStringList entriesBelow(const QString& root) {
    QStringList list;
    const fs::path base(root.toStdString());
    for (const auto& entry : fs::recursive_directory_iterator(base)) {
        const QString relative =
            QString::fromStdString(entry.path().lexically_relative(base).generic_string());
        if (entry.is_symlink())
            list << relative + QStringLiteral(" -> ") +
                        QString::fromStdString(fs::read_symlink(entry.path()).string());
        else if (!entry.is_directory())
            list << relative;
    }
    return list;
}

QString firstFew(const QStringList& list) {
    return list.mid(0, 10).join(QStringLiteral("\n  ")) +
           (list.size() > 10 ? QStringLiteral("\n  ... %1 in all").arg(list.size()) : QString());
}

// The values of a desktop entry, group by group ("Desktop Entry",
// "Desktop Action locked"), key by key.
QMap<QString, QMap<QString, QString>> desktopEntry(const QString& file) {
    QMap<QString, QMap<QString, QString>> groups;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return groups;
    QString group;
    for (const QString& line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !line.startsWith(QLatin1Char('#')))
            groups[group].insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return groups;
}

// Package names of a Depends-style field, without versions or alternatives' bars.
QStringList packageNames(const QString& field) {
    QStringList names;
    for (const QString& clause : field.split(QRegularExpression(QStringLiteral("[,|]")))) {
        const QString name = clause.trimmed().section(QLatin1Char(' '), 0, 0);
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

// Reports the files opened in a few folders, by the folder's name and the file's.
class OpenWatch {
public:
    OpenWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~OpenWatch() {
        if (fd_ >= 0)
            close(fd_);
    }
    bool watch(const QString& folder, const QString& name) {
        const int wd = inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN);
        if (wd < 0)
            return false;
        names_[wd] = name;
        return true;
    }
    // Waits up to timeoutMs for news and returns what was opened meanwhile.
    QStringList opened(int timeoutMs) {
        QStringList files;
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, timeoutMs) <= 0)
            return files;
        alignas(inotify_event) char buffer[8192];
        ssize_t length = 0;
        while ((length = read(fd_, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0)
                    files << names_[event->wd] + QLatin1Char('/') + QString::fromUtf8(event->name);
                at += sizeof(inotify_event) + event->len;
            }
        }
        return files;
    }

private:
    int fd_;
    std::map<int, QString> names_;
};

}  // namespace

class TestPackage : public QObject {
    Q_OBJECT

    QString deb_;
    QString whyNoPackage_;
    QTemporaryDir root_;

    QString unpacked(const QString& path) const { return root_.filePath(path); }

    bool havePackage() const { return whyNoPackage_.isEmpty(); }

private slots:
    void initTestCase() {
        // Only a package named on purpose is checked: one left over in a
        // release tree may be older than the library this tree made.
        deb_ = qEnvironmentVariable("QUORVEL_DEB");
        if (deb_.isEmpty()) {
            whyNoPackage_ = QStringLiteral("no package named: QUORVEL_DEB=<path of the .deb>");
            return;
        }
        QVERIFY2(QFileInfo(deb_).isFile(), qPrintable("QUORVEL_DEB names no file: " + deb_));
        QVERIFY(root_.isValid());
        const Finished unpack = runToEnd(QStringLiteral("dpkg-deb"), {"-x", deb_, root_.path()});
        QVERIFY2(unpack.normalExit && unpack.exitCode == 0, unpack.err.constData());
    }

    // --help and --version answer without a display or a sound device: the
    // toolkit is told to use X11 and given no display, so a program that
    // opened its windows first would fail instead of answering. Anything else
    // is a usage error (status 2) that names the culprit.
    void commandLine_data() {
        QTest::addColumn<bool>("packaged");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString version = QStringLiteral("quorvellearning " QUORVEL_VERSION "\n");
        const QString tryHelp = QStringLiteral("Try 'quorvellearning --help'");
        for (bool packaged : {false, true}) {
            const char* where = packaged ? "package" : "build tree";
            QTest::addRow("%s: --version", where)
                << packaged << QStringList{"--version"} << 0 << version << QString();
            QTest::addRow("%s: -v", where)
                << packaged << QStringList{"-v"} << 0 << version << QString();
            QTest::addRow("%s: --help", where) << packaged << QStringList{"--help"} << 0
                                               << "the names of eleven colours" << QString();
            QTest::addRow("%s: -h", where)
                << packaged << QStringList{"-h"} << 0 << "-v, --version" << QString();
            QTest::addRow("%s: unknown long option", where)
                << packaged << QStringList{"--kiosk"} << 2 << QString()
                << "quorvellearning: Unknown option 'kiosk'.\n" + tryHelp;
            QTest::addRow("%s: unknown short option", where)
                << packaged << QStringList{"-x"} << 2 << QString()
                << "quorvellearning: Unknown option 'x'.\n" + tryHelp;
            QTest::addRow("%s: unknown option after a known one", where)
                << packaged << QStringList{"--version", "--kiosk"} << 2 << QString()
                << "Unknown option 'kiosk'";
            QTest::addRow("%s: --help names the ways to start", where)
                << packaged << QStringList{"--help"} << 0 << "--activity <name>" << QString();
            QTest::addRow("%s: --help tells the way out of the lock", where)
                << packaged << QStringList{"--help"} << 0 << "Ctrl+Shift+Q" << QString();
            // Refused before any window: without a display, a program that
            // opened one first would fail otherwise.
            QTest::addRow("%s: unknown activity", where)
                << packaged << QStringList{"--lock", "--activity", "bogus"} << 2 << QString()
                << "quorvellearning: unknown activity 'bogus': choose learncolors, learnshapes, "
                   "playcolors or playshapes\n" +
                       tryHelp;
            QTest::addRow("%s: activity without its name", where)
                << packaged << QStringList{"--activity"} << 2 << QString()
                << "Missing value after '--activity'";
            QTest::addRow("%s: the toolkit's help", where)
                << packaged << QStringList{"--help-all"} << 2 << QString()
                << "Unknown option 'help-all'";
            QTest::addRow("%s: the toolkit's options pass", where)
                << packaged << QStringList{"-style", "fusion", "--reverse", "-session=1a2b", "-v"}
                << 0 << version << QString();
            QTest::addRow("%s: an argument", where)
                << packaged << QStringList{"colors.txt"} << 2 << QString()
                << "quorvellearning: unexpected argument 'colors.txt'\n" + tryHelp;
        }
    }
    void commandLine() {
        QFETCH(bool, packaged);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        if (packaged && !havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        const QString program = packaged ? unpacked(QStringLiteral("usr/bin/quorvellearning"))
                                         : QStringLiteral(QUORVEL_PROGRAM_DIR "/quorvellearning");
        QTemporaryDir home;
        QProcessEnvironment env = qvtest::programEnvironment(home.path());
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

        const Finished run = runToEnd(program, arguments, env);
        QVERIFY2(run.normalExit, run.err.constData());
        QCOMPARE(run.exitCode, status);
        if (status == 0) {
            QVERIFY2(run.out.contains(out.toUtf8()), run.out.constData());
            QCOMPARE(run.err, QByteArray());
        } else {
            QCOMPARE(run.out, QByteArray());
            QVERIFY2(run.err.contains(err.toUtf8()), run.err.constData());
        }
        // Nothing written: the settings store is made only by the program's first OK.
        QVERIFY(QDir(home.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    // Exactly the files the install rules name, the library as the generator
    // makes it, and nothing else (no build or test leftovers).
    void fileListFollowsTheInstallRules() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        QStringList expected = {
            "usr/bin/quorvellearning -> ../lib/quorvellearning/quorvellearning",
            "usr/lib/quorvellearning/quorvellearning",
            "usr/share/applications/" + kAppId + ".desktop",
            "usr/share/metainfo/" + kAppId + ".metainfo.xml",
            "usr/share/man/man1/quorvellearning.1.gz",
            "usr/share/doc/quorvellearning/changelog.gz",
            "usr/share/doc/quorvellearning/copyright",
        };
        for (const QString& size : commaList(QUORVEL_ICON_SIZES))
            expected << QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/quorvellearning.png")
                            .arg(size);
        int libraryFiles = 0;
        for (const QString& folder : commaList(QUORVEL_MEDIA_FOLDERS)) {
            expected << QStringLiteral(
                            "usr/lib/quorvellearning/%1 -> ../../share/quorvellearning/%1")
                            .arg(folder);
            const QStringList built =
                entriesBelow(QStringLiteral(QUORVEL_PROGRAM_DIR "/") + folder);
            QVERIFY2(!built.isEmpty(), qPrintable("the build tree has no " + folder));
            for (const QString& file : built)
                expected << QStringLiteral("usr/share/quorvellearning/%1/%2").arg(folder, file);
            libraryFiles += built.size();
        }

        const QStringList actual = entriesBelow(root_.path());
        const QSet<QString> want(expected.cbegin(), expected.cend());
        const QSet<QString> have(actual.cbegin(), actual.cend());
        QStringList missing = (want - have).values();
        QStringList extra = (have - want).values();
        missing.sort();
        extra.sort();
        QVERIFY2(missing.isEmpty(),
                 qPrintable("missing from the package:\n  " + firstFew(missing)));
        QVERIFY2(extra.isEmpty(),
                 qPrintable("not named by the install rules:\n  " + firstFew(extra)));
        QVERIFY(libraryFiles > 0);

        QVERIFY(QFileInfo(unpacked("usr/lib/quorvellearning/quorvellearning")).isExecutable());
        for (const QString& size : commaList(QUORVEL_ICON_SIZES)) {
            QImageReader icon(
                unpacked(QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/quorvellearning.png")
                             .arg(size)));
            QCOMPARE(icon.size(), QSize(size.toInt(), size.toInt()));
        }
    }

    // The copyright file is filled in by the build: it names the voice's package.
    void copyrightNamesTheVoice() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        QFile file(unpacked("usr/share/doc/quorvellearning/copyright"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains(QUORVEL_VOICE_PACKAGE " voice"), text.constData());
        QVERIFY2(!text.contains("@QUORVEL_"), "a setting left unfilled");
    }

    // Every link is relative and lands on something inside the root, so the
    // unpacked copy works where it lies, as the installed one does under /.
    void linksStayInsideTheRoot() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        const fs::path root = fs::canonical(root_.path().toStdString());
        int links = 0;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_symlink())
                continue;
            ++links;
            const fs::path target = fs::read_symlink(entry.path());
            const QString name = QString::fromStdString(entry.path().string());
            QVERIFY2(target.is_relative(), qPrintable(name + " is an absolute link"));
            std::error_code error;
            const fs::path resolved = fs::canonical(entry.path(), error);
            QVERIFY2(!error, qPrintable(name + " leads nowhere"));
            const auto [rootEnd, unused] =
                std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end());
            QVERIFY2(rootEnd == root.end(), qPrintable(name + " leads out of the root"));
        }
        QVERIFY(links > 0);
    }

    // One version, the program's, on the package, its changelog, its manual
    // page and its metadata; the web site only where the build names one.
    void oneVersionAndTheWebSite() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        const QString version = QStringLiteral(QUORVEL_VERSION);
        const Finished control = runToEnd(QStringLiteral("dpkg-deb"), {"-f", deb_, "Version"});
        QCOMPARE(QString::fromUtf8(control.out).trimmed(), version);
        const Finished changelog = runToEnd(
            QStringLiteral("zcat"), {unpacked("usr/share/doc/quorvellearning/changelog.gz")});
        QVERIFY2(changelog.out.startsWith("quorvellearning (" + version.toUtf8() + ")"),
                 changelog.out.left(80).constData());
        const Finished manual =
            runToEnd(QStringLiteral("zcat"), {unpacked("usr/share/man/man1/quorvellearning.1.gz")});
        QVERIFY2(manual.out.startsWith(".TH QUORVELLEARNING 1 ") &&
                     manual.out.left(100).contains("\"quorvellearning " + version.toUtf8() + "\""),
                 manual.out.left(100).constData());
        QFile meta(unpacked("usr/share/metainfo/" + kAppId + ".metainfo.xml"));
        QVERIFY(meta.open(QIODevice::ReadOnly));
        const QByteArray metaText = meta.readAll();
        QVERIFY(metaText.contains("<release version=\"" + version.toUtf8() + "\""));
        QVERIFY(metaText.contains("<project_license>GPL-3.0-or-later</project_license>"));

        const QByteArray website = QUORVEL_WEBSITE;
        const Finished homepage = runToEnd(QStringLiteral("dpkg-deb"), {"-f", deb_, "Homepage"});
        QCOMPARE(homepage.out.trimmed(), website);
        QCOMPARE(metaText.contains("<url type=\"homepage\">"), !website.isEmpty());
        QCOMPARE(metaText.contains("<url type=\"donation\">"), !website.isEmpty());
        QFile copyright(unpacked("usr/share/doc/quorvellearning/copyright"));
        QVERIFY(copyright.open(QIODevice::ReadOnly));
        QVERIFY(copyright.readAll().contains("License: GPL-3+"));
    }

    // The menu entry starts the program on the PATH with an icon that is
    // installed, the metadata points at that entry, and both pass their
    // validators (a hint counts as a fault in the menu entry).
    void desktopEntryAndMetadata() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        const QString desktop = unpacked("usr/share/applications/" + kAppId + ".desktop");
        const QString metainfo = unpacked("usr/share/metainfo/" + kAppId + ".metainfo.xml");
        const QMap<QString, QString> entry = desktopEntry(desktop).value("Desktop Entry");
        QVERIFY(QFileInfo::exists(unpacked("usr/bin/" + entry.value("Exec").section(' ', 0, 0))));
        QVERIFY(QFileInfo::exists(
            unpacked("usr/share/icons/hicolor/256x256/apps/" + entry.value("Icon") + ".png")));
        QVERIFY(entry.value("Categories").split(';').contains("Education"));

        QFile meta(metainfo);
        QVERIFY(meta.open(QIODevice::ReadOnly));
        const QByteArray metaText = meta.readAll();
        QVERIFY(metaText.contains("<launchable type=\"desktop-id\">" + kAppId.toUtf8() +
                                  ".desktop</launchable>"));
        QVERIFY(metaText.contains("<content_rating type=\"oars-1.1\""));

        const Finished entryCheck = runToEnd(QStringLiteral("desktop-file-validate"), {desktop});
        QVERIFY2(entryCheck.normalExit && entryCheck.exitCode == 0 && entryCheck.out.isEmpty(),
                 entryCheck.out + entryCheck.err);
        const Finished metaCheck =
            runToEnd(QStringLiteral("appstreamcli"), {"validate", "--no-net", metainfo});
        QVERIFY2(metaCheck.normalExit && metaCheck.exitCode == 0, metaCheck.out + metaCheck.err);
    }

    // The menu entry's actions: starting locked, and each activity at once.
    // Each starts the program on the PATH with options it takes: started so
    // (off screen), it keeps running and leaves the settings alone.
    void desktopEntryActions() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        const auto groups = desktopEntry(unpacked("usr/share/applications/" + kAppId + ".desktop"));
        const QStringList actions =
            groups.value("Desktop Entry").value("Actions").split(';', Qt::SkipEmptyParts);
        QMap<QString, QString> execByName;
        for (const QString& action : actions) {
            const QMap<QString, QString> group = groups.value("Desktop Action " + action);
            execByName.insert(group.value("Name"), group.value("Exec"));
        }
        const QMap<QString, QString> expected = {
            {"Start locked (full screen)", "quorvellearning --lock"},
            {"Learn Colors", "quorvellearning --activity learncolors"},
            {"Learn Shapes", "quorvellearning --activity learnshapes"},
            {"Play Colors", "quorvellearning --activity playcolors"},
            {"Play Shapes", "quorvellearning --activity playshapes"},
        };
        QCOMPARE(execByName, expected);
        for (const QString& exec : expected) {
            QTemporaryDir home;
            QVERIFY(qvtest::writeStoreIn(home.path(), qvtest::kStoredDefaults));
            QProcess program;
            program.setProcessEnvironment(qvtest::programEnvironment(home.path()));
            program.start(unpacked("usr/bin/" + exec.section(' ', 0, 0)),
                          exec.section(' ', 1).split(' '));
            QVERIFY(program.waitForStarted());
            const bool ended = program.waitForFinished(2000);
            program.kill();
            program.waitForFinished();
            QVERIFY2(!ended, qPrintable(exec + ": " + program.readAllStandardError()));
            QFile store(qvtest::storeFileIn(home.path()));
            QVERIFY(store.open(QIODevice::ReadOnly));
            QCOMPARE(store.readAll(), qvtest::kStoredDefaults);
        }
    }

    // What the program needs at run time, and nothing that only builds or tests it.
    void dependencies() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        const Finished fields = runToEnd(QStringLiteral("dpkg-deb"), {"-f", deb_, "Depends"});
        QVERIFY2(fields.normalExit && fields.exitCode == 0, fields.err.constData());
        const QStringList depends = packageNames(QString::fromUtf8(fields.out));
        for (const char* needed :
             {"libqt6widgets6", "libqt6gui6", "libqt6core6", "libsdl2-mixer-2.0-0",
              "libfluidsynth3", "timgm6mb-soundfont", "fonts-dejavu-core"})
            QVERIFY2(
                depends.contains(QLatin1String(needed)),
                qPrintable(
                    QStringLiteral("%1 missing from Depends: %2").arg(needed, depends.join(", "))));
        for (const QString& name : depends) {
            QVERIFY2(!name.endsWith("-dev"), qPrintable(name));
            for (const char* buildOnly : {"festival", QUORVEL_VOICE_PACKAGE, "sox", "cmake",
                                          "ninja-build", "g++", "xvfb", "imagemagick"})
                QVERIFY2(name != QLatin1String(buildOnly), qPrintable(name));
        }
    }

    // What makes the program whole on a desktop without being needed to run:
    // the browser opener, and the toolkit's Wayland platform, without which
    // a Wayland-only session cannot show it.
    void recommendations() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        const Finished fields = runToEnd(QStringLiteral("dpkg-deb"), {"-f", deb_, "Recommends"});
        QVERIFY2(fields.normalExit && fields.exitCode == 0, fields.err.constData());
        const QStringList recommends = packageNames(QString::fromUtf8(fields.out));
        for (const char* recommended : {"xdg-utils", "qt6-wayland"})
            QVERIFY2(recommends.contains(QLatin1String(recommended)),
                     qPrintable(QStringLiteral("%1 missing from Recommends: %2")
                                    .arg(recommended, recommends.join(", "))));
    }

    // Started from the unpacked root through the link on the PATH, with stored
    // settings, the program opens the selection screen, which lights its first
    // button with a picture from the library and plays the selection sound.
    // Seeing those files opened in the unpacked library proves the program
    // composes its media paths from its private folder and that the links
    // from there reach the library.
    void unpackedProgramFindsItsLibrary() {
        if (!havePackage())
            QSKIP(qPrintable(whyNoPackage_));
        OpenWatch watch;
        for (const QString& folder : commaList(QUORVEL_MEDIA_FOLDERS))
            QVERIFY(watch.watch(unpacked("usr/share/quorvellearning/" + folder), folder));

        QTemporaryDir home;
        QVERIFY(qvtest::writeStoreIn(home.path(), qvtest::kStoredDefaults));
        QProcess program;
        program.setProcessEnvironment(qvtest::programEnvironment(home.path()));
        program.start(unpacked("usr/bin/quorvellearning"), {});
        QVERIFY(program.waitForStarted());

        const QString sound = QStringLiteral("backgrounds/select.wav");
        QStringList opened;
        for (int i = 0; i < 300 && !opened.contains(sound); ++i) {
            opened << watch.opened(100);
            if (program.state() == QProcess::NotRunning)
                break;
        }
        const bool running = program.state() == QProcess::Running;
        program.kill();
        program.waitForFinished();
        QVERIFY2(running, program.readAllStandardError().constData());
        QVERIFY2(opened.contains(sound), qPrintable("opened: " + opened.join(", ")));
        QVERIFY2(std::any_of(opened.cbegin(), opened.cend(),
                             [](const QString& f) { return f.endsWith(".jpg"); }),
                 qPrintable("opened: " + opened.join(", ")));
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "test_package.moc"
