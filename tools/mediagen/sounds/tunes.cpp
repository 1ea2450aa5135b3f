#include "sounds/tunes.h"

namespace mediagen {

// Traditional melodies, all long out of copyright, written down from memory.
// A bar per group of tokens in the melody; chords follow the bars.
const std::vector<Tune>& backgroundTunes() {
    static const std::vector<Tune> tunes = {
        {"Twinkle Twinkle Little Star", 100, false, 2.0, 12,
         "C4 C4 G4 G4  A4 A4 G4:2  F4 F4 E4 E4  D4 D4 C4:2 "
         "G4 G4 F4 F4  E4 E4 D4:2  G4 G4 F4 F4  E4 E4 D4:2 "
         "C4 C4 G4 G4  A4 A4 G4:2  F4 F4 E4 E4  D4 D4 C4:2",
         "C C  F C  F C  G C  C F  C G  C F  C G  C C  F C  F C  G C"},
        {"Mary Had a Little Lamb", 112, false, 2.0, 12,
         "E4 D4 C4 D4  E4 E4 E4:2  D4 D4 D4:2  E4 G4 G4:2 "
         "E4 D4 C4 D4  E4 E4 E4 E4  D4 D4 E4 D4  C4:4",
         "C C  C C  G G  C C  C C  C C  G G  C C"},
        {"Old MacDonald Had a Farm", 120, false, 2.0, 0,
         "G4 G4 G4 D4  E4 E4 D4:2  B4 B4 A4 A4  G4:3 D4:.5 D4:.5 "
         "G4 G4 G4 D4  E4 E4 D4:2  B4 B4 A4 A4  G4:3 D4:.5 D4:.5 "
         "G4 G4 G4 D4:.5 D4:.5  G4 G4 G4:2 "
         "G4:.5 G4:.5 G4 G4:.5 G4:.5 G4  G4:.5 G4:.5 G4:.5 G4:.5 G4 G4 "
         "G4 G4 G4 D4  E4 E4 D4:2  B4 B4 A4 A4  G4:4",
         "G G  C G  G D  G G  G G  C G  G D  G G  G G  G G  G G  G G  G G  C G  G D  G G"},
        {"Row Row Row Your Boat", 120, true, 1.5, 12,
         "C4:1.5 C4:1.5  C4 D4:.5 E4:1.5  E4 D4:.5 E4 F4:.5  G4:3 "
         "C5:.5 C5:.5 C5:.5 G4:.5 G4:.5 G4:.5  E4:.5 E4:.5 E4:.5 C4:.5 C4:.5 C4:.5 "
         "G4 F4:.5 E4 D4:.5  C4:3",
         "C C  C C  C C  C C  C C  C C  G7 G7  C C"},
        {"London Bridge", 116, false, 2.0, 12,
         "G4:1.5 A4:.5 G4 F4  E4 F4 G4:2  D4 E4 F4:2  E4 F4 G4:2 "
         "G4:1.5 A4:.5 G4 F4  E4 F4 G4:2  D4:2 G4:2  E4 C4:3",
         "C C  C C  G G  C C  C C  C C  G G  C C"},
        {"Frere Jacques", 104, false, 2.0, 12,
         "C4 D4 E4 C4  C4 D4 E4 C4  E4 F4 G4:2  E4 F4 G4:2 "
         "G4:.5 A4:.5 G4:.5 F4:.5 E4 C4  G4:.5 A4:.5 G4:.5 F4:.5 E4 C4 "
         "C4 G3 C4:2  C4 G3 C4:2",
         "C C  C C  C C  C C  C C  C C  C C  C C"},
        {"Yankee Doodle", 120, false, 2.0, 12,
         "C4 C4 D4 E4  C4 E4 D4 G3  C4 C4 D4 E4  C4:2 B3:2 "
         "C4 C4 D4 E4  F4 E4 D4 C4  B3 G3 A3 B3  C4:2 C4:2 "
         "A3 B3 A3 G3  A3 B3 C4:2  G3 A3 G3 F3  E3:2 G3:2 "
         "A3 B3 A3 G3  A3 B3 C4 A3  G3 C4 B3 D4  C4:2 C4:2",
         "C C  C G  C C  C G  C C  F G  G G  C C "
         "F F  F C  C G7  C C  F F  F F  C G  C C"},
        {"Pop Goes the Weasel", 150, true, 1.5, 12,
         "C4 C4:.5 D4 D4:.5  E4:.5 G4:.5 E4:.5 C4 G3:.5 "
         "C4 C4:.5 D4 D4:.5  E4:1.5 C4 G3:.5 "
         "C4 C4:.5 D4 D4:.5  E4:.5 G4:.5 E4:.5 C4:1.5 "
         "A4:1.5 D4 F4:.5  E4:1.5 C4:1.5",
         "C G  C C  C G  C C  C G  C C  F G7  C C"},
        {"This Old Man", 116, false, 2.0, 12,
         "G4 E4 G4:2  G4 E4 G4:2  A4 G4 F4 E4  D4 E4 F4:2 "
         "E4:.5 F4:.5 G4 C4 C4:.5 C4:.5  C4 C4:.5 D4:.5 E4:.5 F4:.5 G4 "
         "G4 D4 D4 F4  E4 D4 C4:2",
         "C C  C C  F C  G7 G7  C C  C C  G7 G7  C C"},
        {"Hickory Dickory Dock", 132, true, 1.5, 0,
         "E4:.5 F4:.5 G4:.5 G4:.5 A4:.5 B4:.5  C5:3 "
         "G4 G4:.5 A4 B4:.5  C5:3 "
         "E5:.5 E5:.5 E5:.5 C5:1.5  D5:.5 C5:.5 B4:.5 G4:1.5 "
         "E4:.5 F4:.5 G4:.5 G4:.5 A4:.5 B4:.5  C5:3",
         "C G  C C  G G  C C  C C  G G  C G  C C"},
        {"Skip to My Lou", 126, false, 2.0, 12,
         "E4:2 C4:2  E4:.5 E4:.5 E4 G4:2  D4:2 B3:2  D4:.5 D4:.5 D4 F4:2 "
         "E4:2 C4:2  E4:.5 E4:.5 E4 G4:2  D4 E4 F4 D4  C4:2 C4:2",
         "C C  C C  G7 G7  G7 G7  C C  C C  G7 G7  C C"},
    };
    return tunes;
}

}  // namespace mediagen
