// The colour, shape and effect tables, the seven pickers and media paths.
#include <QtTest>

#include "catalogue/mediapaths.h"
#include "catalogue/pickers.h"
#include "catalogue/random.h"
#include "catalogue/tables.h"
#include "support/scriptedrandom.h"

using namespace qv;
using qvtest::ScriptedRandom;

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    // What a picture shows, in the words the voice says: the colour name and
    // the shape's word; nothing for a stem or colour the catalogue lacks.
    void pictureWords_data() {
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("words");
        QTest::newRow("red star") << "red"
                                  << "sta"
                                  << "red star";
        QTest::newRow("blue oval") << "blue"
                                   << "oval"
                                   << "blue oval";
        QTest::newRow("gray rectangle") << "gray"
                                        << "rec"
                                        << "gray rectangle";
        QTest::newRow("first stem") << "black"
                                    << "cir"
                                    << "black circle";
        QTest::newRow("last stem") << "white"
                                   << "tri"
                                   << "white triangle";
        QTest::newRow("unknown stem") << "red"
                                      << "hex"
                                      << "";
        QTest::newRow("no colour") << ""
                                   << "sta"
                                   << "";
        QTest::newRow("no stem") << "red"
                                 << ""
                                 << "";
    }
    void pictureWords() {
        QFETCH(QString, colour);
        QFETCH(QString, stem);
        QFETCH(QString, words);
        QCOMPARE(qv::pictureWords(colour, stem), words);
    }

    void everyShapeHasAWordOfItsOwn() {
        QSet<QString> words;
        for (const QString& stem : qv::kShapeStems) {
            const QString word = qv::shapeWord(stem);
            QVERIFY2(!word.isEmpty(), qPrintable(stem));
            // A stem is the start of its word ("oct" of "octagon", "sta" of "star").
            QVERIFY2(word.startsWith(stem), qPrintable(word));
            words << word;
        }
        QCOMPARE(words.size(), int(qv::kShapeStems.size()));
    }

    void nextcolorWalksTheTableAndWraps() {
        PickerState state;
        QStringList seen;
        for (int i = 0; i < 12; ++i)
            seen << nextcolor(state);
        QCOMPARE(seen, QStringList({"black", "blue", "brown", "gray", "green", "orange", "pink",
                                    "purple", "red", "white", "yellow", "black"}));
        state.colorcounter = 11;
        QCOMPARE(nextcolor(state), QStringLiteral("black"));
        QCOMPARE(state.colorcounter, qint16(1));
    }

    void nextshapeWalksTheTableAndWraps() {
        PickerState state;
        QStringList seen;
        for (int i = 0; i < 11; ++i)
            seen << nextshape(state);
        QCOMPARE(seen, QStringList({"cir", "dia", "hea", "oct", "oval", "pen", "rec", "squ", "sta",
                                    "tri", "cir"}));
        QCOMPARE(state.shapecounter, qint16(1));
    }

    // (picker, sameobject, counter before, held value, draw) -> (result, counter after)
    void randomOrSame_data() {
        QTest::addColumn<bool>("colour");
        QTest::addColumn<bool>("sameobject");
        QTest::addColumn<int>("counterBefore");
        QTest::addColumn<int>("drawIndex");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("counterAfter");
        QTest::addColumn<QString>("held");
        QTest::newRow("colour fresh, not same") << true << false << 5 << 8 << "red" << 1 << "held";
        QTest::newRow("colour fresh from 0") << true << true << 0 << 4 << "green" << 1 << "held";
        QTest::newRow("colour held") << true << true << 3 << 8 << "held" << 3 << "held";
        QTest::newRow("colour at 11 wraps and draws")
            << true << true << 11 << 1 << "blue" << 1 << "held";
        QTest::newRow("shape fresh, not same") << false << false << 7 << 9 << "tri" << 1 << "held";
        QTest::newRow("shape fresh from 0") << false << true << 0 << 2 << "hea" << 1 << "held";
        QTest::newRow("shape held") << false << true << 4 << 0 << "held" << 4 << "held";
        QTest::newRow("shape at 10 keeps holding")
            << false << true << 10 << 3 << "held" << 10 << "held";
        // Learn colours sets its counter before it has shown a colour: nothing is held yet.
        QTest::newRow("colour counter set, nothing shown")
            << true << true << 6 << 8 << "red" << 1 << "";
        QTest::newRow("shape counter set, nothing shown")
            << false << true << 4 << 9 << "tri" << 1 << "";
    }
    void randomOrSame() {
        QFETCH(bool, colour);
        QFETCH(bool, sameobject);
        QFETCH(int, counterBefore);
        QFETCH(int, drawIndex);
        QFETCH(QString, expected);
        QFETCH(int, counterAfter);
        QFETCH(QString, held);
        PickerState state;
        state.currentcolor = state.currentshape = held;
        state.randomnumber = -1;
        ScriptedRandom random;
        random.scriptDraw(drawIndex, colour ? 11 : 10);
        qint16& counter = colour ? state.colorcounter : state.shapecounter;
        counter = static_cast<qint16>(counterBefore);
        const QString result = colour ? randomorsamecolor(state, random, sameobject)
                                      : randomorsameshape(state, random, sameobject);
        QCOMPARE(result, expected);
        QCOMPARE(int(counter), counterAfter);
        // The draw is taken and remembered even when the held value comes back.
        QCOMPARE(random.taken, 1);
        QCOMPARE(int(state.randomnumber), drawIndex);
    }

    void holdLastsUntilTheCounterReturnsToZero() {
        PickerState state;
        ScriptedRandom random;
        random.script({0.99, 0.0, 0.5, 0.3});
        state.currentshape = randomorsameshape(state, random, true);
        QCOMPARE(state.currentshape, QStringLiteral("tri"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(randomorsameshape(state, random, true), QStringLiteral("tri"));
        state.shapecounter = 0;
        random.scriptDraw(1, 10);
        QCOMPARE(randomorsameshape(state, random, true), QStringLiteral("dia"));
    }

    void randomPickersUseTheirTables_data() {
        QTest::addColumn<int>("drawIndex");
        QTest::addColumn<int>("effect");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("colour");
        QTest::newRow("first") << 0 << 5 << "cir"
                               << "black";
        QTest::newRow("index 9") << 9 << 68 << "tri"
                                 << "white";
        QTest::newRow("index 10") << 10 << 72 << ""
                                  << "yellow";
        QTest::newRow("index 14 is 28") << 14 << 28 << ""
                                        << "";
        QTest::newRow("index 15") << 15 << 78 << ""
                                  << "";
        QTest::newRow("last") << 21 << 111 << ""
                              << "";
    }
    void randomPickersUseTheirTables() {
        QFETCH(int, drawIndex);
        QFETCH(int, effect);
        QFETCH(QString, shape);
        QFETCH(QString, colour);
        PickerState state;
        ScriptedRandom random;
        random.scriptDraw(drawIndex, 22);
        QCOMPARE(int(randomeffect(state, random)), effect);
        QCOMPARE(int(state.randomnumber), drawIndex);
        if (!shape.isEmpty()) {
            random.scriptDraw(drawIndex, 10);
            QCOMPARE(randomshape(state, random), shape);
        }
        if (!colour.isEmpty()) {
            random.scriptDraw(drawIndex, 11);
            QCOMPARE(randomcolor(state, random), colour);
            QCOMPARE(int(state.randomnumber), drawIndex);
        }
    }

    void drawsStayInRangeAtTheEdges() {
        ScriptedRandom random;
        random.script({0.0, 0.999999999999, 0.5});
        QCOMPARE(random.draw(22), 0);
        QCOMPARE(random.draw(22), 21);
        QCOMPARE(random.draw(1), 0);
    }

    void clockSeededDrawsAreUniformEnough() {
        qint64 fakeClock = 1234;
        ClockSeededRandom random([&fakeClock]() { return fakeClock; });
        int counts[11] = {};
        for (int i = 0; i < 110000; ++i)
            ++counts[random.draw(11)];
        for (int c : counts)
            QVERIFY2(c > 9000 && c < 11000, qPrintable(QString::number(c)));
        // Seeding twice at the same clock reading still starts a new sequence.
        random.seedFromClock();
        const double a = random.next();
        random.seedFromClock();
        QVERIFY(random.next() != a);
    }

    void mediaPaths_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("expected");
        QTest::newRow("shape in the plastic set") << "/opt/quorvel"
                                                  << "\\shapes1\\ovalyellow.jpg"
                                                  << "/opt/quorvel/shapes1/ovalyellow.jpg";
        QTest::newRow("folder with blanks") << "/home/a b/my games"
                                            << "\\sounds\\red.wav"
                                            << "/home/a b/my games/sounds/red.wav";
        QTest::newRow("help page already native") << "/opt/q"
                                                  << "/help/colorhelp.htm"
                                                  << "/opt/q/help/colorhelp.htm";
    }
    void mediaPaths() {
        QFETCH(QString, folder);
        QFETCH(QString, relative);
        QFETCH(QString, expected);
        QCOMPARE(nativeMediaPath(folder, relative), expected);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
