#include "speech/phrases.h"

#include <cstdio>
#include <iterator>
#include <utility>

#include "catalogue/tables.h"

namespace speechgen {

namespace {

// The word a child hears for each shape stem of the catalogue.
const std::pair<const char*, const char*> kShapeWords[] = {
    {"cir", "circle"}, {"dia", "diamond"},  {"hea", "heart"},     {"oct", "octagon"},
    {"oval", "oval"},  {"pen", "pentagon"}, {"rec", "rectangle"}, {"squ", "square"},
    {"sta", "star"},   {"tri", "triangle"},
};

QString shapeWord(const QString& stem) {
    for (const auto& [known, word] : kShapeWords) {
        if (stem == QLatin1String(known))
            return QString::fromLatin1(word);
    }
    return {};
}

}  // namespace

std::vector<Phrase> allPhrases() {
    std::vector<std::pair<QString, QString>> shapes;
    for (const QString& stem : qv::kShapeStems) {
        const QString word = shapeWord(stem);
        if (word.isEmpty()) {
            std::fprintf(stderr, "quorvel-speechgen: no word for the shape %s\n", qPrintable(stem));
            return {};
        }
        shapes.emplace_back(stem, word);
    }
    std::vector<Phrase> phrases;
    // Colour names are also the file stems.
    for (const QString& colour : qv::kColorNames)
        phrases.push_back({colour, colour});
    for (const auto& [stem, word] : shapes)
        phrases.push_back({stem, word});
    for (const QString& colour : qv::kColorNames)
        phrases.push_back(
            {QStringLiteral("sel") + colour, QStringLiteral("Can you find %1?").arg(colour)});
    for (const auto& [stem, word] : shapes) {
        // The voice always says "thuh"; before a vowel a speaker says "thee",
        // and the spelling is what makes the voice do the same.
        const bool vowelFirst = QStringLiteral("aeiou").contains(word[0]);
        const QString article = vowelFirst ? QStringLiteral("thee") : QStringLiteral("the");
        phrases.push_back({QStringLiteral("sel") + stem,
                           QStringLiteral("Can you find %1 %2?").arg(article, word)});
    }
    const std::pair<const char*, const char*> fixed[] = {
        {"letsgocolors", "Let's learn our colors!"},
        {"letsgoshapes", "Let's learn our shapes!"},
        {"letsplaycolor", "Let's play the color game!"},
        {"letsplayshape", "Let's play the shape game!"},
        {"thatis", "That is"},
        {"thisisa", "This is a"},
        {"thanks", "Thank you!"},
    };
    for (const auto& [stem, text] : fixed)
        phrases.push_back({stem, text});
    // a0.wav onwards: the game draws a praise from as many as the catalogue says.
    constexpr const char* kPraises[] = {
        "Great job!", "Well done!", "You found it!",
        "Excellent!", "Super!",     "Hooray, that's right!",
    };
    static_assert(std::size(kPraises) == size_t(qv::kPraiseCount));
    for (size_t n = 0; n < std::size(kPraises); ++n)
        phrases.push_back({QStringLiteral("a%1").arg(n), QString::fromUtf8(kPraises[n])});
    return phrases;
}

}  // namespace speechgen
