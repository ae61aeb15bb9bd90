#include "TestFiles.h"
#include "image/CfgHMK725.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <csignal>
#include <cstring>
#include <memory>
#include <sys/resource.h>
#include <type_traits>
#include <unistd.h>

using hmk::readAll;
using hmk::THMK725ConfigData;
using hmk::writeAll;
namespace layout = hmk::layout;

namespace {

QByteArray slice(const THMK725ConfigData& config, int offset, int size)
{
    return config.bytes().mid(offset, size);
}

// Whether AddressSanitizer watches this build (gcc and clang spell it apart).
#if defined(__SANITIZE_ADDRESS__)
#define HMK_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HMK_TEST_ASAN 1
#endif
#endif

// An image with something in every block, checksums stored.
THMK725ConfigData builtImage()
{
    THMK725ConfigData config;
    config.ExportHeadFile(QStringLiteral("C:\\cfg\\machine1.hkf"), false, false);
    config.ExportNet("10.1.1.188", "255.255.255.0", "10.1.1.1");
    config.setPunchHeight(3500);
    config.setLogo1Len(3);
    config.ExportLogoDesc("ABC", layout::Logo1Desc, 3);
    config.ExportCRC();
    return config;
}

} // namespace

class TestCfgHMK725 : public QObject
{
    Q_OBJECT

private slots:
    void headerName_data();
    void headerName();
    void headerFlags_data();
    void headerFlags();
    void fieldsAreLittleEndian();
    void exportNet_data();
    void exportNet();
    void indexOutsideImageIsRefused_data();
    void indexOutsideImageIsRefused();
    void byteFieldsMoveOnlyTheirBytes();
    void sanitizerBuildHasAssertionsOff();

    void freshImageSavesZeros();
    void saveReplacesLongerFile();
    void saveThroughSymbolicLink();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void saveToFullDevice();
    void saveBeyondFileSizeLimit();
};

void TestCfgHMK725::headerName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");      // configNameFromPath
    QTest::addColumn<QByteArray>("stored"); // ConfigName bytes; empty: keeps the previous

    QTest::newRow("plain") << "C:\\cfg\\machine1.hkf"
                           << "machine1" << QByteArray("machine1");
    QTest::newRow("dot in folder") << "D:\\a.b\\test.hkf"
                                   << "test" << QByteArray("test    ");
    QTest::newRow("first dot counts") << "C:\\x\\my.config.hkf"
                                      << "my" << QByteArray("my      ");
    QTest::newRow("long name") << "C:\\x\\longconfigname.hkf"
                               << "longconfigname" << QByteArray("longconf");
    QTest::newRow("only extension") << "C:\\x\\.hkf"
                                    << "" << QByteArray();
    QTest::newRow("no dot") << "C:\\x\\machine1"
                            << "" << QByteArray();
    QTest::newRow("dot only in folder") << "C:\\a.b\\machine1"
                                        << "" << QByteArray();
    QTest::newRow("no folder") << "machine2.hkf"
                               << "machine2" << QByteArray("machine2");
    QTest::newRow("slashes") << "/home/user/cfg/machine1.hkf"
                             << "machine1" << QByteArray("machine1");
    QTest::newRow("slashes, dot in folder") << "/srv/a.b/test.hkf"
                                            << "test" << QByteArray("test    ");
    QTest::newRow("slashes, only extension") << "/tmp/x/.hkf"
                                             << "" << QByteArray();
    QTest::newRow("mixed separators") << "C:/cfg\\sub/unit7.hkf"
                                      << "unit7" << QByteArray("unit7   ");
    QTest::newRow("3 double-byte")
        << QStringLiteral("C:\\x\\调高器.hkf") << QStringLiteral("调高器")
        << QByteArray("\xB5\xF7\xB8\xDF\xC6\xF7  ");
    QTest::newRow("5 double-byte")
        << QStringLiteral("C:\\x\\独立式调高.hkf") << QStringLiteral("独立式调高")
        << QByteArray("\xB6\xC0\xC1\xA2\xCA\xBD\xB5\xF7");
    // The controller has always been given the raw first 8 bytes, even when
    // they end in the first half of a character.
    QTest::newRow("cut inside a character")
        << QStringLiteral("/cfg/a调高器的.hkf") << QStringLiteral("a调高器的")
        << QByteArray("a\xB5\xF7\xB8\xDF\xC6\xF7\xB5");
}

void TestCfgHMK725::headerName()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QByteArray, stored);

    QCOMPARE(hmk::configNameFromPath(path), name);

    THMK725ConfigData config;
    const QByteArray previous("previous");
    config.StorageLogoPixelFonts(layout::ConfigName, previous.constData(), 8);
    config.ExportHeadFile(path, false, false);

    QCOMPARE(slice(config, layout::ConfigName, 8), stored.isEmpty() ? previous : stored);
    // The rest of the header is written whatever the name gives: an image
    // without its product tag would be refused by the controller.
    QCOMPARE(slice(config, layout::ProductName, 8), QByteArray("HMK725  "));
    QCOMPARE(slice(config, layout::FileVersion, 2), QByteArray("\x01\x00", 2));
    QCOMPARE(config.ParamInput(), 0u);
    QCOMPARE(config.IncludeScreen(), 1u);
    QCOMPARE(config.IncludeParam(), 1u);
    QCOMPARE(slice(config, 0x020, 0x200 - 0x020), QByteArray(0x200 - 0x020, '\0'));
}

void TestCfgHMK725::headerFlags_data()
{
    QTest::addColumn<bool>("useDefaultScreen");
    QTest::addColumn<bool>("notEnableParam");
    QTest::addColumn<QString>("path");

    for (const QString& path : {QStringLiteral("C:\\a\\name.hkf"), QStringLiteral("C:\\a\\.hkf")}) {
        for (const bool useDefault : {false, true}) {
            for (const bool notEnable : {false, true}) {
                QTest::addRow("%s default=%d notParam=%d", qPrintable(path), useDefault, notEnable)
                    << useDefault << notEnable << path;
            }
        }
    }
}

void TestCfgHMK725::headerFlags()
{
    QFETCH(bool, useDefaultScreen);
    QFETCH(bool, notEnableParam);
    QFETCH(QString, path);

    // Start from the opposite flags: an empty name must not keep them.
    THMK725ConfigData config;
    config.ExportHeadFile("C:\\a\\old.hkf", !useDefaultScreen, !notEnableParam);
    config.ExportHeadFile(path, useDefaultScreen, notEnableParam);
    QCOMPARE(config.IncludeScreen(), useDefaultScreen ? 0u : 1u);
    QCOMPARE(config.IncludeParam(), notEnableParam ? 0u : 1u);
}

void TestCfgHMK725::fieldsAreLittleEndian()
{
    THMK725ConfigData config;
    config.setCyrusCoordinate(quint32(-1500));
    config.setIntegrationConstant(0x11223344);
    QCOMPARE(slice(config, 0x804, 4), QByteArray("\x24\xFA\xFF\xFF"));
    QCOMPARE(slice(config, 0x8B8, 4), QByteArray("\x44\x33\x22\x11"));
    QCOMPARE(config.GetByIndex(0x8B8), 0x11223344u);
    QCOMPARE(qint32(config.CyrusCoordinate()), -1500);
}

void TestCfgHMK725::indexOutsideImageIsRefused_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("inside");
    QTest::newRow("first word") << 0 << true;
    QTest::newRow("last word") << 4092 << true;
    QTest::newRow("one byte past") << 4093 << false;
    QTest::newRow("last byte") << 4095 << false;
    QTest::newRow("image size") << 4096 << false;
    QTest::newRow("far beyond") << INT_MAX << false;
    QTest::newRow("before") << -1 << false;
    QTest::newRow("far before") << INT_MIN << false;
}

// On the heap, so that AddressSanitizer sees any byte read or written
// beyond the 4096. Q_ASSERT is off in the sanitizer pass (see
// sanitizerBuildHasAssertionsOff): only the refusal itself guards the image.
void TestCfgHMK725::indexOutsideImageIsRefused()
{
    QFETCH(int, index);
    QFETCH(bool, inside);
    auto config = std::make_unique<THMK725ConfigData>(builtImage());
    const QByteArray before = config->bytes();
    QCOMPARE(config->SetByIndex(index, 0xA1B2C3D4), inside);
    QCOMPARE(config->GetByIndex(index), inside ? 0xA1B2C3D4u : 0u);
    if (inside) {
        QCOMPARE(slice(*config, index, 4), QByteArray("\xD4\xC3\xB2\xA1"));
        QCOMPARE(config->bytes().left(index), before.left(index));
        QCOMPARE(config->bytes().mid(index + 4), before.mid(index + 4));
    } else {
        QCOMPARE(config->bytes(), before);
    }
}

void TestCfgHMK725::byteFieldsMoveOnlyTheirBytes()
{
    static_assert(std::is_same_v<decltype(THMK725ConfigData().FileVersion()), quint8>);
    static_assert(std::is_same_v<decltype(THMK725ConfigData().ParameterCRC2()), quint8>);
    static_assert(std::is_same_v<decltype(THMK725ConfigData().ConfigName()), QByteArray>);
    static_assert(std::is_same_v<decltype(THMK725ConfigData().ParamInput()), quint32>);

    auto config = std::make_unique<THMK725ConfigData>();
    config->setProductName("ABCDEFGHIJ"); // two bytes too many: cut at 8
    config->setFileVersion(7);
    config->setConfigName("xy"); // the other six bytes keep their zeros
    config->setFileCRC1(0x11);
    config->setFileCRC2(0x22);
    config->setParameterCRC1(0x33);
    config->setParameterCRC2(0x44); // the image's last byte

    QByteArray expected(layout::ImageSize, '\0');
    expected.replace(0x000, 8, "ABCDEFGH");
    expected[0x008] = 7;
    expected.replace(0x010, 2, "xy");
    expected[0x1FE] = 0x11;
    expected[0x1FF] = 0x22;
    expected[0xFFE] = 0x33;
    expected[0xFFF] = 0x44;
    QCOMPARE(config->bytes(), expected);

    QCOMPARE(config->ProductName(), QByteArray("ABCDEFGH"));
    QCOMPARE(config->FileVersion(), quint8(7));
    QCOMPARE(config->ConfigName(), QByteArray("xy\0\0\0\0\0\0", 8));
    QCOMPARE(config->FileCRC2(), quint8(0x22));
    QCOMPARE(config->ParameterCRC2(), quint8(0x44));
}

// The refusal must hold where Q_ASSERT does not: the sanitizer pass builds
// RelWithDebInfo, in which Qt defines QT_NO_DEBUG. Were it ever a debug
// build, the cases above would prove only the assertion.
void TestCfgHMK725::sanitizerBuildHasAssertionsOff()
{
#ifdef HMK_TEST_ASAN
#ifndef QT_NO_DEBUG
    QFAIL("the AddressSanitizer build has Q_ASSERT on; build it with QT_NO_DEBUG");
#endif
#else
    QSKIP("not an AddressSanitizer build");
#endif
}

void TestCfgHMK725::exportNet_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QByteArray>("stored"); // 0x86C-0x877

    QTest::newRow("factory") << "10.1.1.188"
                             << "255.255.255.0"
                             << "10.1.1.1"
                             << QByteArray("\xBC\x01\x01\x0A"
                                           "\x00\xFF\xFF\xFF"
                                           "\x01\x01\x01\x0A",
                                           12);
    QTest::newRow("trailing dot") << "10.1.1.188."
                                  << "255.255.255.0."
                                  << "10.1.1.1."
                                  << QByteArray("\xBC\x01\x01\x0A"
                                                "\x00\xFF\xFF\xFF"
                                                "\x01\x01\x01\x0A",
                                                12);
    QTest::newRow("extremes") << "0.0.0.0"
                              << "255.255.255.255"
                              << "192.168.100.254"
                              << QByteArray("\x00\x00\x00\x00"
                                            "\xFF\xFF\xFF\xFF"
                                            "\xFE\x64\xA8\xC0",
                                            12);
}

void TestCfgHMK725::exportNet()
{
    QFETCH(QString, ip);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(QByteArray, stored);

    THMK725ConfigData config;
    config.setUseLiftUpInput(0xA5A5A5A5);
    config.setNetEnable(0x5A5A5A5A);
    config.ExportNet(ip, mask, gateway);
    QCOMPARE(slice(config, layout::IPAddress, 12), stored);
    // The neighbours are left alone.
    QCOMPARE(config.UseLiftUpInput(), 0xA5A5A5A5u);
    QCOMPARE(config.NetEnable(), 0x5A5A5A5Au);
}

void TestCfgHMK725::freshImageSavesZeros()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("fresh.hkf");
    const THMK725ConfigData config;
    QVERIFY(config.SaveToFile(path).ok());
    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes, QByteArray(layout::ImageSize, '\0'));
    QCOMPARE(hmk::checkImage(bytes), hmk::ImageCheck::HeaderCrc);
}

void TestCfgHMK725::saveReplacesLongerFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("machine1.hkf");
    QVERIFY(writeAll(path, QByteArray(10000, 'x')));

    const THMK725ConfigData config = builtImage();
    const hmk::IoStatus status = config.SaveToFile(path);
    QVERIFY2(status.ok(), qPrintable(status.error));
    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), layout::ImageSize);
    QCOMPARE(bytes, config.bytes());
    QCOMPARE(hmk::checkImage(bytes), hmk::ImageCheck::Ok);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"machine1.hkf"});
}

void TestCfgHMK725::saveThroughSymbolicLink()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("store"));
    const QString target = dir.filePath("store/target.hkf");
    const QString link = dir.filePath("link.hkf");
    const QString linkToLink = dir.filePath("link2.hkf");
    QVERIFY(writeAll(target, "old"));
    QVERIFY(QFile::link("store/target.hkf", link));
    QVERIFY(QFile::link("link.hkf", linkToLink));

    const THMK725ConfigData config = builtImage();
    for (const QString& path : {link, linkToLink}) {
        const hmk::IoStatus status = config.SaveToFile(path);
        QVERIFY2(status.ok(), qPrintable(status.error));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo(linkToLink).isSymLink());
        QCOMPARE(readAll(target), config.bytes());
        QVERIFY(writeAll(target, "old"));
    }
}

void TestCfgHMK725::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("relativePath"); // under the test folder
    QTest::addColumn<int>("osError");

    QTest::newRow("missing folder") << "missing/new.hkf" << ENOENT;
    QTest::newRow("parent is a regular file") << "old.hkf/new.hkf" << ENOTDIR;
    QTest::newRow("name is a folder") << "folder" << 0;
}

void TestCfgHMK725::failedSaveKeepsOldFile()
{
    QFETCH(QString, relativePath);
    QFETCH(int, osError);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray old("old content");
    QVERIFY(writeAll(dir.filePath("old.hkf"), old));
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    const QString path = dir.filePath(relativePath);
    const hmk::IoStatus status = builtImage().SaveToFile(path);
    QVERIFY(!status.ok());
    QVERIFY2(status.error.contains(QDir::toNativeSeparators(path)), qPrintable(status.error));
    if (osError != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(osError));
        QVERIFY2(status.error.contains(reason), qPrintable(status.error));
    }
    QCOMPARE(readAll(dir.filePath("old.hkf")), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QVERIFY(QDir(dir.filePath("folder")).isEmpty());
}

void TestCfgHMK725::saveToFullDevice()
{
    if (!QFileInfo::exists("/dev/full"))
        QSKIP("no /dev/full here");
    const hmk::IoStatus status = builtImage().SaveToFile("/dev/full");
    QVERIFY(!status.ok());
    QVERIFY2(status.error.contains("/dev/full"), qPrintable(status.error));
    QVERIFY2(status.error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(status.error));
}

// A disk that fills up in the middle of the image: the write stops short.
// The file-size limit provokes that even for root, who is not stopped by
// permissions.
void TestCfgHMK725::saveBeyondFileSizeLimit()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("machine1.hkf");
    const QByteArray old("old content");
    QVERIFY(writeAll(path, old));

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const hmk::IoStatus status = builtImage().SaveToFile(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!status.ok());
    QVERIFY2(status.error.contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
             qPrintable(status.error));
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"machine1.hkf"});
}

QTEST_GUILESS_MAIN(TestCfgHMK725)
#include "tst_cfghmk725.moc"
