#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace qv {

// The vocabulary of the activities. The names are also the stems of the media
// file names, so they are spelled as the files are.
inline const std::array<QString, 11> kColorNames = {
    QStringLiteral("black"), QStringLiteral("blue"),   QStringLiteral("brown"),
    QStringLiteral("gray"),  QStringLiteral("green"),  QStringLiteral("orange"),
    QStringLiteral("pink"),  QStringLiteral("purple"), QStringLiteral("red"),
    QStringLiteral("white"), QStringLiteral("yellow"),
};

inline const std::array<QString, 10> kShapeStems = {
    QStringLiteral("cir"),  QStringLiteral("dia"), QStringLiteral("hea"), QStringLiteral("oct"),
    QStringLiteral("oval"), QStringLiteral("pen"), QStringLiteral("rec"), QStringLiteral("squ"),
    QStringLiteral("sta"),  QStringLiteral("tri"),
};

// The word said for each shape stem, in the order of kShapeStems: what the
// voice says and what a screen reader reads.
inline const std::array<QString, 10> kShapeWords = {
    QStringLiteral("circle"),    QStringLiteral("diamond"), QStringLiteral("heart"),
    QStringLiteral("octagon"),   QStringLiteral("oval"),    QStringLiteral("pentagon"),
    QStringLiteral("rectangle"), QStringLiteral("square"),  QStringLiteral("star"),
    QStringLiteral("triangle"),
};

// The word for a shape stem ("sta" -> "star"); empty for a stem the table
// does not know.
inline QString shapeWord(const QString& stem) {
    for (size_t k = 0; k < kShapeStems.size(); ++k) {
        if (kShapeStems[k] == stem)
            return kShapeWords[k];
    }
    return {};
}

// What a shape picture shows, in words: "red star". Empty when either part is
// unknown, so that a picture is never named wrongly.
inline QString pictureWords(const QString& colour, const QString& stem) {
    const QString shape = shapeWord(stem);
    if (shape.isEmpty() || colour.isEmpty())
        return {};
    return colour + QLatin1Char(' ') + shape;
}

// The media library's reward pictures ("\backgrounds\c0.jpg" onwards) and
// background pictures ("\backgrounds\back0.jpg" onwards): a draw picks one.
inline constexpr int kRewardCount = 76;
inline constexpr int kBackgroundCount = 10;
// The effect sounds an answer picture arrives with ("\sounds\e0.wav" onwards),
// the praises of a right answer ("\sounds\a0.wav" onwards) and the tunes
// ("\sounds\0.mid" onwards).
inline constexpr int kEffectSoundCount = 11;
inline constexpr int kPraiseCount = 6;
inline constexpr int kTuneCount = 11;

// The transition effects in use. 28 stands between 77 and 78 on purpose: the
// order of this table decides which effect a draw gives.
inline constexpr std::array<qint16, 22> kEffectNumbers = {
    5, 9, 18, 21, 25, 27, 29, 33, 45, 68, 72, 74, 76, 77, 28, 78, 95, 98, 104, 107, 110, 111,
};

}  // namespace qv
