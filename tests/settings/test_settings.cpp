// The settings record: text conversions, the store and whole-record load/save.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "app/module1.h"
#include "app/settings.h"
#include "app/settingsstore.h"

using namespace qv;

class TestSettings : public QObject {
    Q_OBJECT

    static QStringList storedInOrder(const SettingsStore& store) {
        QStringList texts;
        for (const auto& key : kSettingKeys)
            texts << store.readsetting(kApplicationName, kSettingsSection,
                                       QString::fromLatin1(key.key), QStringLiteral("<missing>"));
        return texts;
    }

private slots:
    void booleanConversion_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");  // 1 true, 0 false, -1 no conversion
        QTest::newRow("True") << "True" << 1;
        QTest::newRow("False") << "False" << 0;
        QTest::newRow("small letters") << "true" << 1;
        QTest::newRow("mixed case") << "fAlSe" << 0;
        QTest::newRow("one") << "1" << 1;
        QTest::newRow("minus one") << "-1" << 1;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("fraction") << "0.25" << 1;
        QTest::newRow("zero with blanks") << "  0  " << 0;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("word") << "yes" << -1;
        QTest::newRow("blank") << "   " << -1;
        QTest::newRow("tiny, long exponent") << "1.5e-199999999" << 1;
        QTest::newRow("no-break spaces around a word") << "\u00a0True\u00a0" << 1;
        QTest::newRow("no-break spaces around a number") << "\u00a00\u2028" << 0;
        QTest::newRow("long s, a lower-case S") << "Fal\u017fe" << 0;
        QTest::newRow("zero, long exponent") << "0e123456789" << 0;
    }
    void booleanConversion() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const auto value = textToBoolean(text);
        QCOMPARE(value.has_value(), expected >= 0);
        if (value)
            QCOMPARE(*value, expected == 1);
    }

    void integerConversion_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << "5" << true << 5;
        QTest::newRow("blanks around") << "  12  " << true << 12;
        QTest::newRow("half rounds to even up") << "7.5" << true << 8;
        QTest::newRow("half rounds to even down") << "6.5" << true << 6;
        QTest::newRow("just over half") << "6.5000000000000001" << true << 7;
        QTest::newRow("below half") << "6.4999" << true << 6;
        QTest::newRow("negative half") << "-2.5" << true << -2;
        QTest::newRow("minus zero point five") << "-0.5" << true << 0;
        QTest::newRow("plus sign") << "+3" << true << 3;
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("exponent") << "1.5e2" << true << 150;
        QTest::newRow("exponent of five digits") << "0.0001e00005" << true << 10;
        QTest::newRow("white space around") << "\u3000\t12\u00a0" << true << 12;
        QTest::newRow("tiny, long exponent") << "7e-99999" << true << 0;
        QTest::newRow("zero, long exponent") << "0.0e+999999999999" << true << 0;
        QTest::newRow("huge, long exponent") << "1.5e199999999" << false << 0;
        QTest::newRow("largest") << "32767" << true << 32767;
        QTest::newRow("smallest") << "-32768" << true << -32768;
        QTest::newRow("rounds past the top") << "32767.5" << false << 0;
        QTest::newRow("too large") << "32768" << false << 0;
        QTest::newRow("too small") << "-32769" << false << 0;
        QTest::newRow("huge") << "99999999999999999999999" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("number then letters") << "5x" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("only a point") << "." << false << 0;
    }
    void integerConversion() {
        QFETCH(QString, text);
        QFETCH(bool, converts);
        QFETCH(int, expected);
        const auto value = textToInteger(text);
        QCOMPARE(value.has_value(), converts);
        if (value)
            QCOMPARE(int(*value), expected);
    }

    void emptyStoreSavesTheDefaultsInTableOrder() {
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        Settings settings;
        loadsettings(settings, store);
        savesettings(settings, store);
        QCOMPARE(storedInOrder(store),
                 QStringList({"True", "True", "5", "\\shapes\\", "True", "False", "1", "timer",
                              "10", "False", "True", "10"}));
        // The backslashes survive a round trip through the file.
        Settings again;
        loadsettings(again, store);
        QCOMPARE(again, settings);
        QCOMPARE(again.shapedirectory, QStringLiteral("\\shapes\\"));
    }

    void storedTextsConvertAndSaveNormalised() {
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        store.writesetting(kApplicationName, kSettingsSection, "changebackground", "-1");
        store.writesetting(kApplicationName, kSettingsSection, "playmusic", "false");
        store.writesetting(kApplicationName, kSettingsSection, "backchange", " 7.5 ");
        store.writesetting(kApplicationName, kSettingsSection, "howtochangepictures", "");
        store.writesetting(kApplicationName, kSettingsSection, "shapedirectory", "anything at all");
        Settings settings;
        loadsettings(settings, store);
        QCOMPARE(settings.changebackground, true);
        QCOMPARE(settings.playmusic, false);
        QCOMPARE(settings.backchange, qint16(8));
        QCOMPARE(settings.howtochangepictures, QString());
        QCOMPARE(settings.shapedirectory, QStringLiteral("anything at all"));
        // A missing key among present ones takes its default alone.
        QCOMPARE(settings.fxspeed, qint16(10));
        savesettings(settings, store);
        const QStringList stored = storedInOrder(store);
        QCOMPARE(stored[1], QStringLiteral("True"));
        QCOMPARE(stored[2], QStringLiteral("8"));
        QCOMPARE(stored[4], QStringLiteral("False"));
        QCOMPARE(stored[7], QString());
    }

    void conversionFailureStopsWithEarlierFieldsLoaded_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("failingIndex");
        QTest::newRow("runonce") << "runonce"
                                 << "maybe" << 0;
        QTest::newRow("backchange letters") << "backchange"
                                            << "abc" << 2;
        QTest::newRow("howmanytimes empty") << "howmanytimes"
                                            << "" << 6;
        QTest::newRow("fxplayspeed too large") << "fxplayspeed"
                                               << "40000" << 11;
    }
    void conversionFailureStopsWithEarlierFieldsLoaded() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(int, failingIndex);
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        store.writesetting(kApplicationName, kSettingsSection, key, text);

        // Start from values that differ from every default, to see which were assigned.
        Settings before;
        before.runonce = false;
        before.changebackground = false;
        before.backchange = 99;
        before.shapedirectory = "old";
        before.playmusic = false;
        before.sameobject = true;
        before.howmanytimes = 99;
        before.howtochangepictures = "old";
        before.fxspeed = 99;
        before.playsameobj = true;
        before.repeatquestion = false;
        before.fxplayspeed = 99;
        Settings settings = before;
        try {
            loadsettings(settings, store);
            QFAIL("no conversion failure");
        } catch (const ConversionError& failure) {
            QCOMPARE(failure.key, key);
            QCOMPARE(failure.storedText, text);
            QCOMPARE(failure.storeFile, store.fileFor(kApplicationName));
        }
        Settings defaults;
        SettingsStore empty(dir.path() + "/empty");
        loadsettings(defaults, empty);
        const bool loaded[12] = {
            settings.runonce == defaults.runonce,
            settings.changebackground == defaults.changebackground,
            settings.backchange == defaults.backchange,
            settings.shapedirectory == defaults.shapedirectory,
            settings.playmusic == defaults.playmusic,
            settings.sameobject == defaults.sameobject,
            settings.howmanytimes == defaults.howmanytimes,
            settings.howtochangepictures == defaults.howtochangepictures,
            settings.fxspeed == defaults.fxspeed,
            settings.playsameobj == defaults.playsameobj,
            settings.repeatquestion == defaults.repeatquestion,
            settings.fxplayspeed == defaults.fxplayspeed,
        };
        for (int i = 0; i < 12; ++i)
            QVERIFY2(loaded[i] == (i < failingIndex), kSettingKeys[i].key);
    }

    void failedLoadThenSaveWritesEmptyValues() {
        // The first-run OK goes on to save after a failed load: the fields
        // never loaded are written with their empty values.
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        store.writesetting(kApplicationName, kSettingsSection, "sameobject", "perhaps");
        Settings settings;
        QVERIFY_THROWS_EXCEPTION(ConversionError, loadsettings(settings, store));
        savesettings(settings, store);
        QCOMPARE(storedInOrder(store), QStringList({"True", "True", "5", "\\shapes\\", "True",
                                                    "False", "0", "", "0", "False", "False", "0"}));
    }

    void runonceStartupRead_data() {
        QTest::addColumn<QString>("stored");  // empty: key missing
        QTest::addColumn<bool>("expected");
        QTest::newRow("missing") << QString() << false;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("number") << "1" << true;
    }
    void runonceStartupRead() {
        QFETCH(QString, stored);
        QFETCH(bool, expected);
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        if (!stored.isNull())
            store.writesetting(kApplicationName, kSettingsSection, "runonce", stored);
        QCOMPARE(readRunonce(store), expected);
    }

    void unwritableStoreIsAFailureNotSilence() {
        QTemporaryDir dir;
        // The store's folder cannot be created: a plain file stands in its place.
        QFile blocker(dir.filePath("quorvellearning"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsStore store(dir.path());
        Settings settings;
        loadsettings(settings, store);
        QVERIFY_THROWS_EXCEPTION(StoreError, savesettings(settings, store));
    }

    // A program killed in the middle of saving leaves the old record or the
    // new one, whole: never a file that mixes them or lacks a key.
    void killedWhileSavingLeavesOneWholeRecord() {
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        Settings first;  // the defaults, which the writer saves in turn with another record
        loadsettings(first, store);
        savesettings(first, store);
        QRandomGenerator random(42);
        QSet<QString> seen;
        const int kKills = qEnvironmentVariableIntValue("QV_KILLS") ?: 300;
        // On a busy machine a writer may be killed before its first save
        // lands; it goes on until both records have been caught, within bounds.
        for (int kill = 0; kill < kKills || (seen.size() < 2 && kill < 10 * kKills); ++kill) {
            QProcess writer;
            writer.start(SETTINGS_WRITER, {dir.path()});
            QVERIFY(writer.waitForReadyRead(10'000));
            QTest::qSleep(random.bounded(30));
            writer.kill();
            QVERIFY(writer.waitForFinished(10'000));
            const QStringList stored = storedInOrder(store);
            QVERIFY2(!stored.contains("<missing>"), qPrintable(stored.join(',')));
            Settings loaded;
            loadsettings(loaded, store);
            Settings second = first;
            second.runonce = !first.runonce;
            QVERIFY2(loaded == first ||
                         (loaded.runonce == second.runonce && loaded.backchange == 25 &&
                          loaded.fxplayspeed == 40 && loaded.howtochangepictures == "keyboard" &&
                          loaded.playsameobj == !first.playsameobj),
                     qPrintable(stored.join(',')));
            seen << stored.join(',');
        }
        // Both records were caught on disk, so the kills did land mid-run.
        QCOMPARE(seen.size(), 2);
    }

    void damagedStoreIsNeitherReadNorOverwritten() {
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        store.writesetting(kApplicationName, kSettingsSection, "backchange", "5");
        // A header that never closes over bytes that are no text: the file is damaged.
        const QByteArray damaged("[colors]\nbackchange=5\n[colors\n\xff\xfe=\x80\n");
        QFile file(store.fileFor(kApplicationName));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
        file.close();

        QVERIFY_THROWS_EXCEPTION(
            StoreError, store.readsetting(kApplicationName, kSettingsSection, "backchange", "x"));
        Settings settings;
        QVERIFY_THROWS_EXCEPTION(StoreError, loadsettings(settings, store));
        QVERIFY_THROWS_EXCEPTION(StoreError, savesettings(settings, store));
        // What the user had is still there to be mended by hand.
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
    }

    // Lines that look like key=value pairs but that the INI reader takes for
    // damage: the '=' stands in a comment or in quotes that never close.
    void damageOnlyTheIniReaderSees_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("'=' after a comment sign, before any section")
            << QByteArray("s;ckc=h8\n[colors]\nbackchange=7\n");
        QTest::newRow("'=' after a comment sign, in another section")
            << QByteArray("[colors]\nbackchange=7\n[other]\nkey;note=1\n");
        QTest::newRow("'=' inside quotes that never close")
            << QByteArray("[colors]\nbackchange=7\nshape\"directory=x\n");
    }
    void damageOnlyTheIniReaderSees() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        QVERIFY(QDir().mkpath(dir.filePath(kApplicationName)));
        QFile file(store.fileFor(kApplicationName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        // Every access fails, not only the first one that parses the file.
        for (int attempt = 0; attempt < 2; ++attempt)
            QVERIFY_THROWS_EXCEPTION(
                StoreError,
                store.readsetting(kApplicationName, kSettingsSection, "backchange", "x"));
        Settings settings;
        QVERIFY_THROWS_EXCEPTION(StoreError, loadsettings(settings, store));
        QVERIFY_THROWS_EXCEPTION(StoreError, savesettings(settings, store));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
