// quorvel-mediagen: draws and synthesises the program's media library.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <functional>
#include <map>

#include "help/helppage.h"
#include "pictures/art.h"
#include "pictures/library.h"
#include "sounds/library.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: quorvel-mediagen art|pictures|sounds|help DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing text needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return usage();

    const std::map<QString, std::function<bool(const QString&)>> kinds = {
        {"art", mediagen::writeArt},
        {"pictures", mediagen::writePictureLibrary},
        {"sounds", mediagen::writeSoundLibrary},
        {"help", mediagen::writeHelpPage},
    };
    const auto kind = kinds.find(QString::fromLocal8Bit(argv[1]));
    if (kind == kinds.end())
        return usage();
    return kind->second(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
