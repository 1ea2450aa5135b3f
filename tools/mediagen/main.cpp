// quorvel-mediagen: draws and synthesises the program's media library.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>

#include "help/helppage.h"
#include "pictures/art.h"
#include "pictures/library.h"
#include "sounds/library.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: quorvel-mediagen art DIR FILE...\n"
                 "       quorvel-mediagen pictures|backgrounds|sounds DIR\n"
                 "       quorvel-mediagen help DIR [WEBSITE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing text needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3)
        return usage();
    const QString kind = QString::fromLocal8Bit(argv[1]);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    // The built-in art comes with the names of the files the build compiles in.
    if (kind == QLatin1String("art")) {
        QStringList files;
        for (int i = 3; i < argc; ++i)
            files << QString::fromLocal8Bit(argv[i]);
        return mediagen::writeArt(dir, files) ? 0 : 1;
    }
    // The help page names the web site's menu items only when there is one.
    if (kind == QLatin1String("help") && argc <= 4)
        return mediagen::writeHelpPage(dir, argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString())
                   ? 0
                   : 1;
    if (argc != 3)
        return usage();

    const std::map<QString, std::function<bool(const QString&)>> kinds = {
        {"pictures", mediagen::writePictureLibrary},
        {"backgrounds", mediagen::writeBackgrounds},
        {"sounds", mediagen::writeSoundLibrary},
    };
    const auto writer = kinds.find(kind);
    if (writer == kinds.end())
        return usage();
    return writer->second(dir) ? 0 : 1;
}
