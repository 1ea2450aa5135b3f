#include "speech/phrases.h"

#include <iterator>
#include <utility>

#include "catalogue/tables.h"

namespace speechgen {

std::vector<Phrase> allPhrases() {
    // The catalogue gives every shape stem its word.
    std::vector<std::pair<QString, QString>> shapes;
    for (size_t k = 0; k < qv::kShapeStems.size(); ++k)
        shapes.emplace_back(qv::kShapeStems[k], qv::kShapeWords[k]);
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
