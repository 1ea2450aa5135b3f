#pragma once

#include <QString>
#include <QtGlobal>

namespace qv {

class Random;

// The game window's variables that the pickers read and change. They start at
// zero or empty and live as long as the window, across activities.
struct PickerState {
    // Next place in the colour table for nextcolor; also the hold state of
    // randomorsamecolor (0 = nothing held).
    qint16 colorcounter = 0;
    // The same for shapes.
    qint16 shapecounter = 0;
    // The learn picture now shown.
    QString currentcolor;
    QString currentshape;
    // The index of the most recent random draw.
    qint16 randomnumber = 0;
};

// The colours in table order, wrapping after "yellow".
QString nextcolor(PickerState& state);
// The shapes in table order, wrapping after "tri".
QString nextshape(PickerState& state);

// A fresh random colour, or with sameobject the held currentcolor once a colour is held.
QString randomorsamecolor(PickerState& state, Random& random, bool sameobject);
// A fresh random shape, or with sameobject the held currentshape once a shape is held.
QString randomorsameshape(PickerState& state, Random& random, bool sameobject);

qint16 randomeffect(PickerState& state, Random& random);
QString randomshape(PickerState& state, Random& random);
QString randomcolor(PickerState& state, Random& random);

}  // namespace qv
