// hkftool's picture options, run as a process: build --picture with
// --threshold, --invert and --fit gives the bytes the window's import with
// the same options gives; damaged bitmaps are refused; render --grid draws
// the device pixels with their grid.

#include "BitmapFiles.h"
#include "TestFiles.h"
#include "ToolProcess.h"
#include "bootscreen/BmpFile.h"
#include "bootscreen/BootScreenModel.h"
#include "image/ImageLayout.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace hmk;
using namespace hmk::test;

namespace {

QByteArray screenOf(const QByteArray& image)
{
    return image.sliced(layout::LogoPixelFonts, layout::LogoPixelFontsSize);
}

} // namespace

Q_DECLARE_METATYPE(hmk::PictureOptions)

class TestHkftoolPicture : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // A grey logo of another size: greys of brightness 40 and 160.
        QImage grey(384, 64, QImage::Format_RGB32);
        grey.fill(Qt::white);
        for (int y = 8; y < 56; ++y)
            for (int x = 20; x < 360; ++x)
                grey.setPixel(x, y, (x / 20) % 2 ? qRgb(40, 40, 40) : qRgb(160, 160, 160));
        QVERIFY(grey.save(path("grey.bmp")));
        QImage exact = grey.scaled(192, 32);
        QVERIFY(exact.save(path("exact.png")));
    }

    void optionsGiveTheWindowsBytes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<PictureOptions>("options");

        using Rule = PictureOptions::InkRule;
        QTest::newRow("plain") << "exact.png" << QStringList{} << PictureOptions{};
        QTest::newRow("threshold 100") << "exact.png" << QStringList{"--threshold", "100"}
                                       << PictureOptions{Rule::Threshold, 100, false, false};
        QTest::newRow("invert") << "exact.png" << QStringList{"--invert"}
                                << PictureOptions{Rule::PureBlack, 128, true, false};
        QTest::newRow("fit, threshold 200, invert")
            << "grey.bmp" << QStringList{"--fit", "--threshold", "200", "--invert"}
            << PictureOptions{Rule::Threshold, 200, true, true};
        QTest::newRow("fit, pure black") << "grey.bmp" << QStringList{"--fit"}
                                         << PictureOptions{Rule::PureBlack, 128, false, true};
    }

    void optionsGiveTheWindowsBytes()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, args);
        QFETCH(PictureOptions, options);
        const Run run =
            hkftool(QStringList{"build", "-o", path("pic.hkf"), "--picture", path(file)} + args);
        QVERIFY2(run.status == 0, qPrintable(run.err));

        BootScreenModel model;
        model.setStyleIndex(1);
        QCOMPARE(model.LoadLogoPicture(path(file), options).outcome, PictureResult::Loaded);
        QCOMPARE(screenOf(readAll(path("pic.hkf"))), model.pictureBytes());
    }

    void optionsRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");

        const QString grey = path("grey.bmp");
        QTest::newRow("threshold 0")
            << QStringList{"--picture", grey, "--threshold", "0"} << "1 to 254";
        QTest::newRow("threshold 255")
            << QStringList{"--picture", grey, "--threshold", "255"} << "1 to 254";
        QTest::newRow("threshold not a number")
            << QStringList{"--picture", grey, "--threshold", "dark"} << "\"dark\"";
        QTest::newRow("invert without a picture") << QStringList{"--invert"} << "--picture";
        QTest::newRow("another size without --fit")
            << QStringList{"--picture", grey, "--threshold", "128"} << "192 * 32";
    }

    void optionsRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        const Run run = hkftool(QStringList{"build", "-o", path("refused.hkf")} + args);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
        QVERIFY(!QFile::exists(path("refused.hkf")));
    }

    void damagedBitmapsRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");

        const QList<QPoint> ink{{0, 0}, {191, 31}};
        QTest::newRow("cut short")
            << qtBitmap(QImage::Format_Mono, ink).chopped(40) << BmpPixelsShortReason;
        QByteArray damaged = qtBitmap(QImage::Format_Mono, ink);
        damaged[14] = 3; // an info header of no known size
        QTest::newRow("damaged header") << damaged << BmpHeaderDamagedReason;
    }

    void damagedBitmapsRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QVERIFY(writeAll(path("cut.bmp"), content));
        const Run run = hkftool({"build", "-o", path("cut.hkf"), "--picture", path("cut.bmp")});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(path("cut.bmp")) && run.err.contains(reason),
                 qPrintable(run.err));
        QVERIFY(!QFile::exists(path("cut.hkf")));
    }

    // Alpha bytes all 0, as some programs write 32-bit bitmaps: the black
    // pixels are ink all the same.
    void zeroAlphaBitmap()
    {
        const QList<QPoint> ink{{7, 0}, {100, 13}, {191, 31}};
        QVERIFY(writeAll(path("alpha.bmp"), directBitmap(32, 124, ink, 0)));
        const Run run = hkftool({"build", "-o", path("alpha.hkf"), "--picture", path("alpha.bmp")});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QByteArray expected(layout::LogoPixelFontsSize, '\0');
        for (const QPoint& p : ink)
            expected[(p.y() / 8) * 192 + p.x()] = char(1u << (p.y() % 8));
        QCOMPARE(screenOf(readAll(path("alpha.hkf"))), expected);
    }

    void renderGrid()
    {
        const QList<QPoint> ink{{0, 0}, {191, 31}};
        QVERIFY(writeAll(path("corners.bmp"), qtBitmap(QImage::Format_Mono, ink)));
        QCOMPARE(
            hkftool({"build", "-o", path("corners.hkf"), "--picture", path("corners.bmp")}).status,
            0);
        const Run run =
            hkftool({"render", path("corners.hkf"), "-o", path("grid.png"), "--lcd", "--grid"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QImage png(path("grid.png"));
        QCOMPARE(png.size(), QSize(768, 128));
        // Inside each device pixel its own colour; along its top and left
        // edge the grid: blue a fifth toward white, white a fifth toward blue.
        const QColor blue(0x53, 0x53, 0xFF);
        QCOMPARE(png.pixelColor(1, 1), QColor(Qt::white));
        QCOMPARE(png.pixelColor(0, 0), QColor(0xDC, 0xDC, 0xFF));
        QCOMPARE(png.pixelColor(5, 5), blue);
        QCOMPARE(png.pixelColor(4, 5), QColor(0x75, 0x75, 0xFF));
        QCOMPARE(png.pixelColor(767, 127), QColor(Qt::white));
        QCOMPARE(png.pixelColor(764, 127), QColor(0xDC, 0xDC, 0xFF));

        const Run small = hkftool(
            {"render", path("corners.hkf"), "-o", path("small.png"), "--grid", "--scale", "2"});
        QCOMPARE(small.status, 2);
        QVERIFY2(small.err.contains("--scale 3"), qPrintable(small.err));
    }
};

QTEST_MAIN(TestHkftoolPicture)
#include "tst_hkftoolpicture.moc"
