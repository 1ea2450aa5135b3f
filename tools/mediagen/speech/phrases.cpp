#include "speech/phrases.h"

#include <QByteArrayView>

#include <utility>

namespace speechgen {

namespace {

// Colour names are also the file stems.
const char* const kColours[] = {"black", "blue",   "brown", "gray",  "green", "orange",
                                "pink",  "purple", "red",   "white", "yellow"};

// Shape file stems with the word a child hears.
const std::pair<const char*, const char*> kShapes[] = {
    {"cir", "circle"}, {"dia", "diamond"},  {"hea", "heart"},     {"oct", "octagon"},
    {"oval", "oval"},  {"pen", "pentagon"}, {"rec", "rectangle"}, {"squ", "square"},
    {"sta", "star"},   {"tri", "triangle"},
};

}  // namespace

std::vector<Phrase> allPhrases() {
    std::vector<Phrase> phrases;
    for (const char* colour : kColours)
        phrases.push_back({colour, colour});
    for (const auto& [stem, word] : kShapes)
        phrases.push_back({stem, word});
    for (const char* colour : kColours)
        phrases.push_back({QStringLiteral("sel") + colour,
                           QStringLiteral("Can you find %1?").arg(QLatin1String(colour))});
    for (const auto& [stem, word] : kShapes) {
        // The voice always says "thuh"; before a vowel a speaker says "thee",
        // and the spelling is what makes the voice do the same.
        const bool vowelFirst = QByteArrayView("aeiou").contains(word[0]);
        const QString article = vowelFirst ? QStringLiteral("thee") : QStringLiteral("the");
        phrases.push_back(
            {QStringLiteral("sel") + stem,
             QStringLiteral("Can you find %1 %2?").arg(article, QLatin1String(word))});
    }
    const std::pair<const char*, const char*> fixed[] = {
        {"letsgocolors", "Let's learn our colors!"},
        {"letsgoshapes", "Let's learn our shapes!"},
        {"letsplaycolor", "Let's play the color game!"},
        {"letsplayshape", "Let's play the shape game!"},
        {"thatis", "That is"},
        {"thisisa", "This is a"},
        {"thanks", "Thank you!"},
        {"a0", "Great job!"},
        {"a1", "Well done!"},
        {"a2", "You found it!"},
        {"a3", "Excellent!"},
        {"a4", "Super!"},
        {"a5", "Hooray, that's right!"},
    };
    for (const auto& [stem, text] : fixed)
        phrases.push_back({stem, text});
    return phrases;
}

}  // namespace speechgen
