#include "pickers.h"

#include <algorithm>

#include "random.h"
#include "tables.h"

namespace qv {

namespace {

qint16 drawInto(PickerState& state, Random& random, int n) {
    state.randomnumber = static_cast<qint16>(random.draw(n));
    return state.randomnumber;
}

}  // namespace

QString nextcolor(PickerState& state) {
    if (state.colorcounter == 11)
        state.colorcounter = 0;
    const QString result =
        kColorNames[static_cast<size_t>(std::clamp<int>(state.colorcounter, 0, 10))];
    ++state.colorcounter;
    return result;
}

QString nextshape(PickerState& state) {
    if (state.shapecounter == 10)
        state.shapecounter = 0;
    const QString result =
        kShapeStems[static_cast<size_t>(std::clamp<int>(state.shapecounter, 0, 9))];
    ++state.shapecounter;
    return result;
}

QString randomorsamecolor(PickerState& state, Random& random, bool sameobject) {
    if (state.colorcounter == 11)
        state.colorcounter = 0;
    const qint16 drawn = drawInto(state, random, 11);
    // The draw is taken even when the held colour is returned. A counter set
    // by learn colours before it showed anything holds no colour yet.
    if (sameobject && state.colorcounter != 0 && !state.currentcolor.isEmpty())
        return state.currentcolor;
    state.colorcounter = 1;
    return kColorNames[static_cast<size_t>(drawn)];
}

QString randomorsameshape(PickerState& state, Random& random, bool sameobject) {
    // Unlike colours there is no wrap here: a counter of 10 keeps holding.
    const qint16 drawn = drawInto(state, random, 10);
    if (sameobject && state.shapecounter != 0 && !state.currentshape.isEmpty())
        return state.currentshape;
    state.shapecounter = 1;
    return kShapeStems[static_cast<size_t>(drawn)];
}

qint16 randomeffect(PickerState& state, Random& random) {
    return kEffectNumbers[static_cast<size_t>(drawInto(state, random, 22))];
}

QString randomshape(PickerState& state, Random& random) {
    return kShapeStems[static_cast<size_t>(drawInto(state, random, 10))];
}

QString randomcolor(PickerState& state, Random& random) {
    return kColorNames[static_cast<size_t>(drawInto(state, random, 11))];
}

}  // namespace qv
