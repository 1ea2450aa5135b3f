// Picture loading: every format the media library may hold decodes, and a
// missing or damaged file gives no picture instead of a crash.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "pictures/pictureloader.h"

namespace {

// A 1 x 1 GIF whose only pixel is colour 0 of a two-colour table (red, blue),
// written out by hand because Qt reads GIF but does not write it.
const QByteArray kRedPixelGif = QByteArray::fromHex(
    "474946383961"          // "GIF89a"
    "0100010080"            // 1 x 1, global colour table of 2 entries
    "0000"                  // background colour, aspect ratio
    "ff00000000ff"          // red, blue
    "2c000000000100010000"  // image descriptor: at 0,0, 1 x 1, no local table
    "02024401"              // LZW minimum code size 2; 2 bytes: clear, 0, end
    "00"                    // end of image data
    "3b");                  // trailer

QImage redSquare() {
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

enum class Made { Nothing, File, Folder };

bool nearlyRed(QRgb pixel) {
    return qRed(pixel) > 230 && qGreen(pixel) < 25 && qBlue(pixel) < 25;
}

}  // namespace

Q_DECLARE_METATYPE(Made)

class TestPictureLoader : public QObject {
    Q_OBJECT

private slots:
    // A fresh folder for every case, so that no case sees another's files.
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void loadsEveryFormat_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("writeAs");  // empty: the hand-written GIF
        QTest::addColumn<QSize>("expectedSize");
        QTest::newRow("jpeg") << "cirred.jpg" << QByteArray("JPG") << QSize(16, 12);
        QTest::newRow("png") << "a.png" << QByteArray("PNG") << QSize(16, 12);
        QTest::newRow("bmp") << "a.bmp" << QByteArray("BMP") << QSize(16, 12);
        QTest::newRow("ico") << "a.ico" << QByteArray("ICO") << QSize(16, 12);
        QTest::newRow("gif") << "a.gif" << QByteArray() << QSize(1, 1);
        QTest::newRow("png named .jpg") << "b.jpg" << QByteArray("PNG") << QSize(16, 12);
    }
    void loadsEveryFormat() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, writeAs);
        QFETCH(QSize, expectedSize);
        const QString path = dir_->filePath(fileName);
        if (writeAs.isEmpty()) {
            writeFile(path, kRedPixelGif);
        } else {
            QVERIFY(redSquare().save(path, writeAs.constData()));
        }

        const std::optional<QImage> picture = qv::loadPicture(QDir::toNativeSeparators(path));
        QVERIFY(picture.has_value());
        QCOMPARE(picture->size(), expectedSize);
        QVERIFY(nearlyRed(picture->pixel(0, 0)));
    }

    void failsForMissingOrBrokenFile_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<Made>("made");
        QTest::addColumn<QByteArray>("content");
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            redSquare().save(&buffer, "PNG");
        }
        QTest::newRow("missing") << "cirred.jpg" << Made::Nothing << QByteArray();
        QTest::newRow("empty") << "empty.jpg" << Made::File << QByteArray();
        QTest::newRow("not a picture")
            << "text.jpg" << Made::File << QByteArray("hello, this is not a jpeg");
        QTest::newRow("png cut after its header") << "cut.png" << Made::File << png.left(40);
        QTest::newRow("gif cut after its header")
            << "cut.gif" << Made::File << kRedPixelGif.left(13);
        QTest::newRow("a folder") << "back0.jpg" << Made::Folder << QByteArray();
    }
    void failsForMissingOrBrokenFile() {
        QFETCH(QString, fileName);
        QFETCH(Made, made);
        QFETCH(QByteArray, content);
        const QString path = dir_->filePath(fileName);
        if (made == Made::Folder)
            QVERIFY(QDir(dir_->path()).mkdir(fileName));
        if (made == Made::File)
            writeFile(path, content);
        QVERIFY(!qv::loadPicture(QDir::toNativeSeparators(path)).has_value());
    }

private:
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_MAIN(TestPictureLoader)
#include "test_pictureloader.moc"
