#include "gamerig.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include "ui/mainform/mainform.h"

namespace qvtest {

void whenDialogOpens(std::function<void()> fn) {
    QTimer::singleShot(0, qApp, [fn = std::move(fn)] { fn(); });
}

GameRig::GameRig(const Settings& settings, Library library)
    : fixture_(library == Library::Fixture ? std::make_unique<FixtureLibrary>() : nullptr),
      program(fixture_ ? fixture_->path() : QStringLiteral(QUORVEL_PROGRAM_DIR)) {
    program.useSettings(settings);
}

GameRig::GameRig(const Settings& settings, const QString& folder) : program(folder) {
    program.useSettings(settings);
}

GameRig::~GameRig() = default;

GameRig::Settings GameRig::withoutMusic(Settings settings) {
    settings.insert(QStringLiteral("playmusic"), QStringLiteral("False"));
    return settings;
}

qv::mainform& GameRig::game() {
    return program.forms->game();
}

qv::mainform& GameRig::open(const QString& mode) {
    program.module1.selectedmode = mode;
    qv::mainform& window = game();
    window.showAsWindow();
    return window;
}

std::array<qv::TransitionPicture*, 4> GameRig::answers() {
    qv::mainform& window = game();
    return {window.image0, window.Image1, window.image2, window.image3};
}

QStringList GameRig::heard(const QString& player) const {
    QStringList result;
    for (const auto& e : program.audio.entriesFor(player)) {
        const QString name = QFileInfo(e.path).completeBaseName();
        if (name.startsWith(QLatin1String("letsgo")) || name.startsWith(QLatin1String("letsplay")))
            continue;
        result << QStringLiteral("%1 %2%3").arg(e.timeMs).arg(name, e.ok ? "" : "!");
    }
    return result;
}

QString GameRig::file(const QString& relative) const {
    return program.platform.programFolder + '/' + relative;
}

FixtureLibrary& GameRig::fixture() {
    if (!fixture_)
        qFatal("GameRig::fixture(): this rig runs on another library");
    return *fixture_;
}

void BackgroundModel::step() {
    if (count_ == backchange_) {
        count_ = 1;
        ++seedings_;
    } else {
        ++count_;
    }
}

}  // namespace qvtest
