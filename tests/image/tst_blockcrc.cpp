#include "image/CfgHMK725.h"

#include <QTest>

using hmk::ImageCheck;
using hmk::THMK725ConfigData;
namespace layout = hmk::layout;

Q_DECLARE_METATYPE(hmk::ImageCheck)

namespace {

// An image as a save leaves it: header, network fields, a few parameters
// and boot-screen bytes, closed by its checksums.
THMK725ConfigData builtImage()
{
    THMK725ConfigData config;
    config.ExportHeadFile(QStringLiteral("C:\\cfg\\machine1.hkf"), false, false);
    config.ExportNet("10.1.1.188", "255.255.255.0", "10.1.1.1");
    config.setPunchHeight(3500);
    config.setFollowLevel(7);
    config.setLogoUsePic(1);
    const QByteArray band(layout::BandSize, '\x5A');
    config.ExportLogoPic(band, layout::bandOffset(1), int(band.size()));
    config.ExportCRC();
    return config;
}

} // namespace

class TestBlockCrc : public QObject
{
    Q_OBJECT

private slots:
    void checkValues_data();
    void checkValues();
    void exportStoresLowByteFirst();
    void builtImageVerifies();
    void corruptedImageFails_data();
    void corruptedImageFails();
    void shortImageFails();
};

void TestBlockCrc::checkValues_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("crc");

    QTest::newRow("123456789") << QByteArray("123456789") << 0x4B37;
    QTest::newRow("abc") << QByteArray("abc") << 0x5749;
    QTest::newRow("one zero byte") << QByteArray(1, '\0') << 0x40BF;
    QTest::newRow("zero header block") << QByteArray(510, '\0') << 0xE4FF;
    QTest::newRow("zero boot-screen block") << QByteArray(1534, '\0') << 0xD895;
    QTest::newRow("zero parameter block") << QByteArray(2046, '\0') << 0x54FE;
}

void TestBlockCrc::checkValues()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, crc);
    QCOMPARE(THMK725ConfigData::CalcCRC(bytes.constData(), int(bytes.size()), 0xFFFF),
             quint16(crc));

    // Folding byte by byte gives the same, and a running value carries over
    // from one call to the next.
    quint16 stepped = 0xFFFF;
    for (char c : bytes)
        stepped = THMK725ConfigData::CalcCRCStep(quint8(c), stepped);
    QCOMPARE(stepped, quint16(crc));
    const int half = int(bytes.size()) / 2;
    const quint16 first = THMK725ConfigData::CalcCRC(bytes.constData(), half, 0xFFFF);
    QCOMPARE(THMK725ConfigData::CalcCRC(bytes.constData() + half, int(bytes.size()) - half, first),
             quint16(crc));
}

void TestBlockCrc::exportStoresLowByteFirst()
{
    THMK725ConfigData config;
    config.ExportCRC();
    const hmk::ImageBytes& image = config.data();
    QCOMPARE(image[0x1FE], quint8(0xFF));
    QCOMPARE(image[0x1FF], quint8(0xE4));
    QCOMPARE(image[0x7FE], quint8(0x95));
    QCOMPARE(image[0x7FF], quint8(0xD8));
    QCOMPARE(image[0xFFE], quint8(0xFE));
    QCOMPARE(image[0xFFF], quint8(0x54));
    // Nothing but the six checksum bytes changes.
    for (int i = 0; i < layout::ImageSize; ++i) {
        if (i != 0x1FE && i != 0x1FF && i != 0x7FE && i != 0x7FF && i != 0xFFE && i != 0xFFF)
            QVERIFY2(image[i] == 0, qPrintable(QString::number(i, 16)));
    }
    QVERIFY(hmk::VerifyImage(image.data()));
}

void TestBlockCrc::builtImageVerifies()
{
    THMK725ConfigData config = builtImage();
    QVERIFY(hmk::VerifyImage(config.data().data()));
    QCOMPARE(hmk::checkImage(config.bytes()), ImageCheck::Ok);

    // A change after the checksums were stored is caught; computing them
    // again makes the image good again.
    config.setIntegrationConstant(5);
    QCOMPARE(hmk::checkImage(config.bytes()), ImageCheck::ParamCrc);
    config.ExportCRC();
    QCOMPARE(hmk::checkImage(config.bytes()), ImageCheck::Ok);
}

void TestBlockCrc::corruptedImageFails_data()
{
    QTest::addColumn<int>("offset"); // byte to change; -1: swap the two checksum bytes of `block`
    QTest::addColumn<int>("block");
    QTest::addColumn<ImageCheck>("expected");

    QTest::newRow("header checksum swapped") << -1 << 0 << ImageCheck::HeaderCrc;
    QTest::newRow("boot-screen checksum swapped") << -1 << 1 << ImageCheck::ScreenCrc;
    QTest::newRow("parameter checksum swapped") << -1 << 2 << ImageCheck::ParamCrc;
    QTest::newRow("product tag") << 0x000 << 0 << ImageCheck::HeaderCrc;
    QTest::newRow("ConfigName") << layout::ConfigName + 3 << 0 << ImageCheck::HeaderCrc;
    QTest::newRow("reserved header byte 0x100") << 0x100 << 0 << ImageCheck::HeaderCrc;
    QTest::newRow("last covered header byte") << 0x1FD << 0 << ImageCheck::HeaderCrc;
    QTest::newRow("FileCRC1") << 0x1FE << 0 << ImageCheck::HeaderCrc;
    QTest::newRow("bitmap byte") << 0x2C5 << 1 << ImageCheck::ScreenCrc;
    QTest::newRow("reserved boot-screen byte") << 0x600 << 1 << ImageCheck::ScreenCrc;
    QTest::newRow("ScreenCRC2") << 0x7FF << 1 << ImageCheck::ScreenCrc;
    QTest::newRow("PunchHeight") << layout::PunchHeight << 2 << ImageCheck::ParamCrc;
    QTest::newRow("IPAddress") << layout::IPAddress + 3 << 2 << ImageCheck::ParamCrc;
    QTest::newRow("reserved parameter byte") << 0xC00 << 2 << ImageCheck::ParamCrc;
    QTest::newRow("last covered parameter byte") << 0xFFD << 2 << ImageCheck::ParamCrc;
}

void TestBlockCrc::corruptedImageFails()
{
    QFETCH(int, offset);
    QFETCH(int, block);
    QFETCH(ImageCheck, expected);

    QByteArray bytes = builtImage().bytes();
    if (offset < 0) {
        const layout::Block& b = layout::Blocks[size_t(block)];
        // Swapping equal bytes would change nothing.
        QVERIFY(bytes[b.crcLow()] != bytes[b.crcHigh()]);
        std::swap(bytes[b.crcLow()], bytes[b.crcHigh()]);
    } else {
        bytes[offset] = char(bytes[offset] ^ 0x01);
    }
    QCOMPARE(hmk::checkImage(bytes), expected);
    QVERIFY(!hmk::VerifyImage(reinterpret_cast<const quint8*>(bytes.constData())));
}

void TestBlockCrc::shortImageFails()
{
    const QByteArray bytes = builtImage().bytes();
    QCOMPARE(hmk::checkImage(bytes.left(layout::ImageSize - 1)), ImageCheck::TooShort);
    QCOMPARE(hmk::checkImage(QByteArray()), ImageCheck::TooShort);
}

QTEST_GUILESS_MAIN(TestBlockCrc)
#include "tst_blockcrc.moc"
