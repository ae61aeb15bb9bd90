// Opening a .hkf file: which names count as one, reading no more than the
// image (and never blocking on something that is not a file), the caption's
// configuration name, and the parameters back from the image's fields.

#include "image/CfgHMK725.h"
#include "image/Codepage.h"
#include "params/ConfigOpener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace hmk;

Q_DECLARE_METATYPE(hmk::ImageCheck)

namespace {

ImageBytes emptyImage()
{
    ImageBytes image{};
    return image;
}

void putBytes(ImageBytes& image, int offset, const QByteArray& bytes)
{
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A 4096-byte image with valid checksums.
QByteArray validImage()
{
    THMK725ConfigData config;
    config.ExportHeadFile(QStringLiteral("valid.hkf"), false, false);
    config.setPunchHeight(3000);
    config.ExportCRC();
    return config.bytes();
}

} // namespace

class TestConfigOpener : public QObject
{
    Q_OBJECT

private slots:
    void hasHkfExtension_data();
    void hasHkfExtension();
    void readImageFile_data();
    void readImageFile();
    void readRefusesWhatIsNoFile();
    void readMissingFileNamesIt();
    void configName_data();
    void configName();
    void addressText();
    void restoreParams_data();
    void restoreParams();
    void restoreReadsIntegrationConstantFromItsField();
};

void TestConfigOpener::hasHkfExtension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("hkf");

    QTest::newRow("lower case") << "/tmp/a.hkf" << true;
    QTest::newRow("upper case") << "/tmp/A.HKF" << true;
    QTest::newRow("mixed case") << "C:\\cfg\\m.HkF" << true;
    QTest::newRow("two dots, last counts") << "/tmp/my.config.hkf" << true;
    QTest::newRow("backup copy") << "/tmp/x.hkf.bak" << false;
    QTest::newRow("no extension") << "/tmp/hkf" << false;
    QTest::newRow("dot only in the folder") << "/tmp/a.hkf/config" << false;
    QTest::newRow("dot only in a Windows folder") << "D:\\a.hkf\\config" << false;
    QTest::newRow("name is the extension") << "/tmp/.hkf" << true;
    QTest::newRow("longer extension") << "/tmp/a.hkf2" << false;
}

void TestConfigOpener::hasHkfExtension()
{
    QFETCH(QString, path);
    QFETCH(bool, hkf);
    QCOMPARE(hmk::hasHkfExtension(path), hkf);
}

void TestConfigOpener::readImageFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("bytesRead");
    QTest::addColumn<ImageCheck>("check");
    QTest::addColumn<QString>("reason"); // what the window's message says after the name

    const QByteArray image = validImage();
    QByteArray damaged = image;
    damaged[0x900] = char(damaged[0x900] ^ 0x10);
    const QString shortBy = QStringLiteral("只有 %1 字节，配置文件应有 4096 字节");
    QTest::newRow("exact image") << image << 4096 << ImageCheck::Ok << QString();
    QTest::newRow("one byte short")
        << image.left(4095) << 4095 << ImageCheck::TooShort << shortBy.arg(4095);
    QTest::newRow("empty") << QByteArray() << 0 << ImageCheck::TooShort << shortBy.arg(0);
    QTest::newRow("longer file, valid head")
        << image + QByteArray(904, '\x55') << 4096 << ImageCheck::Ok << QString();
    QTest::newRow("damaged parameters")
        << damaged << 4096 << ImageCheck::ParamCrc << QStringLiteral("块校验和不符");
    QTest::newRow("longer file, damaged head")
        << damaged + image << 4096 << ImageCheck::ParamCrc << QStringLiteral("块校验和不符");
}

// The file read, and the open that checks what it read: the check is of the
// first 4096 bytes, a longer file is marked as such, and a refused file gets
// the window's message.
void TestConfigOpener::readImageFile()
{
    QFETCH(QByteArray, content);
    QFETCH(int, bytesRead);
    QFETCH(ImageCheck, check);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.hkf"));
    writeFile(path, content);
    const ImageFileRead read = hmk::readImageFile(path);
    QVERIFY2(read.status.ok(), qPrintable(read.status.error));
    QCOMPARE(read.bytes.size(), bytesRead);
    QCOMPARE(checkImage(read.bytes), check);

    for (const ImageFileOpen& open : {openImageFile(path), openImageBytes(content, path)}) {
        QVERIFY2(open.status.ok(), qPrintable(open.status.error));
        QCOMPARE(open.bytes, content.left(4096));
        QCOMPARE(open.check, check);
        QCOMPARE(open.ok(), check == ImageCheck::Ok);
        QCOMPARE(open.fileSize, content.size());
        QCOMPARE(open.longer(), content.size() > 4096);
        if (reason.isEmpty())
            QVERIFY(open.checkMessage.isEmpty());
        else
            QCOMPARE(open.checkMessage, QStringLiteral("读取错误：CRC校验失败！\n“%1”：%2")
                                            .arg(QDir::toNativeSeparators(path), reason));
    }
}

// A folder or a pipe given a .hkf name must give an error at once: reading
// a pipe nobody writes to would hang the window.
void TestConfigOpener::readRefusesWhatIsNoFile()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("folder.hkf"));
    QVERIFY(QDir().mkdir(folder));
    const ImageFileRead fromFolder = hmk::readImageFile(folder);
    QVERIFY(!fromFolder.status.ok());
    QVERIFY(fromFolder.status.error.contains(QStringLiteral("folder.hkf")));
    QVERIFY(fromFolder.bytes.isEmpty());

    const QString pipe = dir.filePath(QStringLiteral("pipe.hkf"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const ImageFileRead fromPipe = hmk::readImageFile(pipe);
    QVERIFY(!fromPipe.status.ok());
    QVERIFY(fromPipe.status.error.contains(QStringLiteral("pipe.hkf")));

    // Opening refuses both the same way, with no check message.
    for (const QString& path : {folder, pipe}) {
        const ImageFileOpen open = openImageFile(path);
        QCOMPARE(open.status.error, hmk::readImageFile(path).status.error);
        QVERIFY(!open.ok());
        QVERIFY(open.checkMessage.isEmpty());
    }
}

void TestConfigOpener::readMissingFileNamesIt()
{
    QTemporaryDir dir;
    const ImageFileRead read = hmk::readImageFile(dir.filePath(QStringLiteral("gone.hkf")));
    QVERIFY(!read.status.ok());
    QVERIFY(read.status.error.contains(QStringLiteral("gone.hkf")));
}

void TestConfigOpener::configName_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("name");

    QTest::newRow("padded with blanks") << QByteArray("abc     ") << "abc";
    QTest::newRow("all blanks") << QByteArray("        ") << "";
    QTest::newRow("full eight") << QByteArray("machine1") << "machine1";
    QTest::newRow("NULs and control characters") << QByteArray("\0\x01 ab\0\0\x1F", 8) << "ab";
    QTest::newRow("inner blank kept") << QByteArray(" a b    ") << "a b";
    QTest::newRow("code page 936")
        << cp936::encode(u"配置") + QByteArray("    ") << QStringLiteral("配置");
}

void TestConfigOpener::configName()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, name);
    ImageBytes image = emptyImage();
    putBytes(image, layout::ConfigName, stored);
    QCOMPARE(configNameFromImage(image.data()), name);
    QCOMPARE(configCaption(configNameFromImage(image.data())),
             QStringLiteral("HMK725配置文件生成工具--") + name + QStringLiteral(".hkf"));
}

void TestConfigOpener::addressText()
{
    ImageBytes image = emptyImage();
    putBytes(image, layout::IPAddress, QByteArray::fromHex("BC01010A"));
    putBytes(image, layout::SubnetMask, QByteArray::fromHex("00FFFFFF"));
    QCOMPARE(AddressText(image.data(), layout::IPAddress), "10.1.1.188");
    QCOMPARE(AddressText(image.data(), layout::SubnetMask), "255.255.255.0");
    QCOMPARE(AddressText(image.data(), layout::Gateway), "0.0.0.0");
}

void TestConfigOpener::restoreParams_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<qint64>("value"); // thousandths, or the choice index

    QTest::newRow("thousandths") << "LeadScrewThread" << QByteArray::fromHex("01000000") << 1LL;
    QTest::newRow("rounded to two decimals")
        << "PunchHeight" << QByteArray::fromHex("B40B0000") << 3000LL; // 2996
    QTest::newRow("rounded to one decimal")
        << "PunchSpeed" << QByteArray::fromHex("AC3F0000") << 16300LL;
    QTest::newRow("negative coordinate")
        << "CyrusCoordinate" << QByteArray::fromHex("24FAFFFF") << -1500LL;
    QTest::newRow("negative parking coordinate")
        << "StayCoordinate" << QByteArray::fromHex("F6FFFFFF") << -10LL;
    QTest::newRow("other decimal fields are unsigned")
        << "ZRange" << QByteArray::fromHex("FFFFFFFF") << 4294967300LL;
    QTest::newRow("whole, largest")
        << "PulsePerRound" << QByteArray::fromHex("FFFFFFFF") << 4294967295000LL;
    QTest::newRow("whole") << "MoveSpeed" << QByteArray::fromHex("C8000000") << 200000LL;
    QTest::newRow("choice") << "IntelligentCheck" << QByteArray::fromHex("01000000") << 1LL;
    QTest::newRow("choice above last") << "ServoType" << QByteArray::fromHex("07000000") << 2LL;
    QTest::newRow("choice none") << "ServoType" << QByteArray::fromHex("FFFFFFFF") << -1LL;
    QTest::newRow("choice most negative") << "ServoType" << QByteArray::fromHex("00000080") << -1LL;
}

void TestConfigOpener::restoreParams()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, stored);
    QFETCH(qint64, value);

    const ParamEntry& entry = *findParam(name);
    ImageBytes image = emptyImage();
    putBytes(image, entry.offset, stored);
    const ParamValue restored = RestoreParams(image.data())[paramIndex(entry)];
    QCOMPARE(entry.kind == ControlKind::Choice ? restored.choice : restored.number, value);
}

// IntegrationConstant sits after FollowLevel in the image but second in its
// group; each must come from its own field.
void TestConfigOpener::restoreReadsIntegrationConstantFromItsField()
{
    ImageBytes image = emptyImage();
    putBytes(image, layout::IntegrationConstant, QByteArray::fromHex("70170000")); // 6000
    putBytes(image, layout::FollowGain, QByteArray::fromHex("0D000000"));          // 13
    const ParamValues values = RestoreParams(image.data());
    QCOMPARE(values[paramIndex(*findParam(u"IntegrationConstant"))].number, 6000000);
    QCOMPARE(values[paramIndex(*findParam(u"FollowGain"))].number, 13000);
    QCOMPARE(values[paramIndex(*findParam(u"FollowLevel"))].number, 0);
}

QTEST_GUILESS_MAIN(TestConfigOpener)
#include "tst_configopener.moc"
