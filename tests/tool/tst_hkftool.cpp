// hkftool run as a process, the way engineers and scripts run it: exit
// status, what goes to stdout and stderr, and the files it writes, checked
// against images built in-process with the calls the window makes.

#include "ToolProcess.h"
#include "bootscreen/BootScreenModel.h"
#include "image/CfgHMK725.h"
#include "params/ConfigBuilder.h"
#include "params/IniFile.h"
#include "params/ParamCatalogue.h"
#include "params/SettingsLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace hmk;

namespace {

const QString DataDir = QStringLiteral(HMK_TEST_DATA_DIR "/tool");
const QString ShippedSettings = QStringLiteral(HMK_BIN_DIR "/HMK725Config.ini");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Byte-for-byte comparison that names the first differing offset.
QString firstDifference(const QByteArray& actual, const QByteArray& expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1, expected %2").arg(actual.size()).arg(expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i])
            return QStringLiteral("first difference at 0x%1: %2, expected %3")
                .arg(i, 3, 16, QLatin1Char('0'))
                .arg(quint8(actual[i]), 2, 16, QLatin1Char('0'))
                .arg(quint8(expected[i]), 2, 16, QLatin1Char('0'));
    }
    return {};
}

// A change made to an image's or a JSON dump's bytes.
using ImageEdit = std::function<void(QByteArray&)>;

// The three block checksums recomputed, as every save ends: a fixture
// changed by hand becomes an image the window could have written.
void recomputeChecksums(QByteArray& image)
{
    for (const layout::Block& block : layout::Blocks) {
        const quint16 crc =
            THMK725ConfigData::CalcCRC(image.constData() + block.start, block.covered(), 0xFFFF);
        image[block.crcLow()] = char(crc & 0xFF);
        image[block.crcHigh()] = char(crc >> 8);
    }
}

void putWord(QByteArray& image, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        image[offset + i] = char(value >> (8 * i));
}

bool storedInk(const QByteArray& image, int x, int y)
{
    return quint8(image[layout::bandOffset(y / 8) + x]) & (1u << (y % 8));
}

enum class Edits
{
    None,
    TitlesAndParams,
};

} // namespace

Q_DECLARE_METATYPE(Edits)
Q_DECLARE_METATYPE(ImageEdit)

class TestHkftool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString goldenImage;

    QString path(const QString& name) const { return dir.filePath(name); }

    // An image built from the factory values, then changed at one offset.
    QString variant(const QString& name, const ImageEdit& change)
    {
        QByteArray bytes = readAll(path(QStringLiteral("factory.hkf")));
        change(bytes);
        writeAll(path(name), bytes);
        return path(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY2(QFile::exists(Tool), "hkftool is not built");
        QCOMPARE(hkftool({"build", "-o", path("factory.hkf")}).status, 0);
        goldenImage = path("golden.hkf");
        const Run run =
            hkftool({"build", "-o", goldenImage, "--settings", DataDir + "/golden.ini", "--set",
                     "PunchSpeed=16.3", "--set", "LeadScrewThread=0.001", "--set",
                     "CyrusCoordinate=-1.50", "--set", "FollowType=渐进穿孔", "--set",
                     "Gateway=192.168.1.254", "--picture", DataDir + "/golden.bmp"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
    }

    void verify_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("line");

        const QString factory = path("factory.hkf");
        QTest::newRow("good") << factory << 0 << "factory.hkf: ok";
        QTest::newRow("truncated") << variant("short.hkf", [](QByteArray& b) { b.chop(1); }) << 1
                                   << "short.hkf: failed: shorter than 4096 bytes (4095 bytes)";
        QTest::newRow("empty") << variant("empty.hkf", [](QByteArray& b) { b.clear(); }) << 1
                               << "empty.hkf: failed: shorter than 4096 bytes (0 bytes)";
        QTest::newRow("trailing bytes")
            << variant("long.hkf", [](QByteArray& b) { b.append(904, '\0'); }) << 1
            << "long.hkf: failed: longer than 4096 bytes (5000 bytes)";
        // A reserved byte of the header is covered as well.
        QTest::newRow("header") << variant("header.hkf", [](QByteArray& b) { b[0x100] = 1; }) << 1
                                << "header.hkf: failed: header block checksum does not match";
        QTest::newRow("header checksum swapped")
            << variant("swapped.hkf", [](QByteArray& b) { std::swap(b[0x1FE], b[0x1FF]); }) << 1
            << "swapped.hkf: failed: header block checksum does not match";
        QTest::newRow("boot screen")
            << variant("screen.hkf", [](QByteArray& b) { b[0x300] = char(b[0x300] ^ 0x10); }) << 1
            << "screen.hkf: failed: boot screen block checksum does not match";
        QTest::newRow("parameters")
            << variant("params.hkf", [](QByteArray& b) { b[0x800] = char(b[0x800] + 1); }) << 1
            << "params.hkf: failed: parameters block checksum does not match";
        QTest::newRow("first failing block named") << variant("both.hkf", [](QByteArray& b) {
            b[0x7FE] = char(b[0x7FE] + 1);
            b[0xFFF] = char(b[0xFFF] + 1);
        }) << 1 << "both.hkf: failed: boot screen block checksum does not match";
        QTest::newRow("all zero") << variant("zero.hkf", [](QByteArray& b) { b.fill('\0'); }) << 1
                                  << "zero.hkf: failed: header block checksum does not match";
    }

    void verify()
    {
        QFETCH(QString, file);
        QFETCH(int, status);
        QFETCH(QString, line);

        const Run run = hkftool({"verify", file});
        QCOMPARE(run.status, status);
        QCOMPARE(run.out, dir.path() + QLatin1Char('/') + line + QLatin1Char('\n'));
    }

    void verifyReportsEveryFile()
    {
        const QString bad = variant("bad.hkf", [](QByteArray& b) { b[0x900] = 1; });
        const Run run = hkftool({"verify", path("factory.hkf"), bad, path("missing.hkf")});
        QCOMPARE(run.status, 2); // one file cannot be read at all
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].endsWith(QStringLiteral("factory.hkf: ok")));
        QVERIFY(lines[1].endsWith(QStringLiteral("bad.hkf: failed: parameters block checksum "
                                                 "does not match")));
        QVERIFY2(run.err.contains(QStringLiteral("missing.hkf")), qPrintable(run.err));

        const Run folder = hkftool({"verify", dir.path()});
        QCOMPARE(folder.status, 2);
        QVERIFY(folder.out.isEmpty());
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");

        QTest::newRow("no command") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2;
        QTest::newRow("help") << QStringList{"--help"} << 0;
        for (const char* command : {"verify", "dump", "render", "build", "diff"})
            QTest::addRow("%s --help", command) << QStringList{command, "--help"} << 0;
        QTest::newRow("verify without file") << QStringList{"verify"} << 2;
        QTest::newRow("unknown option") << QStringList{"dump", "--xml", "a.hkf"} << 2;
        QTest::newRow("render without output") << QStringList{"render", "a.hkf"} << 2;
        QTest::newRow("render scale 0")
            << QStringList{"render", "a.hkf", "-o", "a.png", "--scale", "0"} << 2;
        QTest::newRow("build without output") << QStringList{"build"} << 2;
        QTest::newRow("set without value")
            << QStringList{"build", "-o", "x.hkf", "--set", "Foo"} << 2;
        QTest::newRow("diff of one file") << QStringList{"diff", "a.hkf"} << 2;
    }

    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);

        const Run run = hkftool(args);
        QCOMPARE(run.status, status);
        if (status == 0)
            QVERIFY(run.out.startsWith(QStringLiteral("Usage: hkftool")));
        else
            QVERIFY2(!run.err.isEmpty(), "a usage error says what is wrong");
    }

    // Settings values going in as the window takes them (3.456 shown as
    // 3.46, a missing ZRange as 1000.00, ORGSpeed 0x20, ServoType 7 limited
    // to the last choice), checked --set values and a picture boot screen.
    void dumpMatchesGoldenText()
    {
        const Run run = hkftool({"dump", goldenImage});
        QCOMPARE(run.status, 0);
        const QStringList actual = run.out.split(QLatin1Char('\n'));
        const QStringList expected =
            QString::fromUtf8(readAll(DataDir + "/golden-dump.txt")).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < std::min(actual.size(), expected.size()); ++i)
            QVERIFY2(actual[i] == expected[i],
                     qPrintable(QStringLiteral("line %1:\n  %2\nexpected\n  %3")
                                    .arg(i + 1)
                                    .arg(actual[i], expected[i])));
        QCOMPARE(actual.size(), expected.size());
    }

    void dumpJsonCarriesTheSameFields()
    {
        const Run text = hkftool({"dump", goldenImage});
        const Run json = hkftool({"dump", goldenImage, "--json"});
        QCOMPARE(json.status, 0);
        QJsonParseError error;
        const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));

        QCOMPARE(root["check"].toString(), QStringLiteral("ok"));
        QCOMPARE(root["header"]["ConfigName"].toString(), QStringLiteral("golden"));
        QCOMPARE(root["bootScreen"]["LogoUsePic"]["caption"].toString(),
                 QStringLiteral("导入图片"));
        const QJsonObject params = root["parameters"].toObject();
        QCOMPARE(params.size(), 47);
        QCOMPARE(params["PunchHeight"]["value"].toDouble(), 3.46);
        QCOMPARE(params["PunchHeight"]["unit"].toString(), QStringLiteral("mm"));
        QCOMPARE(params["CyrusCoordinate"]["value"].toDouble(), -1.5);
        QCOMPARE(params["FollowType"]["value"].toInt(), 2);
        QCOMPARE(params["FollowType"]["caption"].toString(), QStringLiteral("渐进穿孔"));
        QCOMPARE(params["Gateway"]["value"].toString(), QStringLiteral("192.168.1.254"));
        QCOMPARE(params["IntelligentCheck"]["label"].toString(), QStringLiteral("智能碰板检测"));

        // The screen rows are the text dump's 32 lines.
        const QJsonArray rows = root["bootScreen"]["LogoPixelFonts"].toArray();
        QCOMPARE(rows.size(), 32);
        const QString screen = text.out.section(QStringLiteral("[screen]\n"), 1);
        QStringList lines;
        for (const QJsonValue& row : rows)
            lines << row.toString();
        QCOMPARE(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'), screen);
    }

    void dumpDecodesTitlesAndFonts()
    {
        const QString file = path("titles.hkf");
        const Run build = hkftool({"build", "-o", file, "--set", "UseDefaultScreen=0", "--set",
                                   "MainTitle=等离子切割", "--set", "SubTitle=Line \"2\""});
        QVERIFY2(build.status == 0, qPrintable(build.err));
        const Run json = hkftool({"dump", file, "--json"});
        const QJsonObject screen =
            QJsonDocument::fromJson(json.out.toUtf8())["bootScreen"].toObject();
        QCOMPARE(screen["Logo1Desc"].toString(), QStringLiteral("等离子切割"));
        QCOMPARE(screen["Logo1Len"].toInt(), 10); // bytes in code page 936
        QCOMPARE(screen["Logo2Desc"].toString(), QStringLiteral("Line \"2\""));
        QCOMPARE(screen["Logo1FontName"].toString(), QStringLiteral("宋体"));
        QCOMPARE(screen["Logo1FontLen"].toInt(), 4);
        QVERIFY(hkftool({"dump", file})
                    .out.contains(QStringLiteral("Logo2Desc             \"Line "
                                                 "\\\"2\\\"\"\n")));
    }

    // Stored choice indices the window would not show as they are: beyond
    // the last choice its group selects the last, below 0 none.
    void dumpShowsTheChoiceTheWindowSelects_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<quint32>("stored");
        QTest::addColumn<QString>("line");

        QTest::newRow("ServoType 7")
            << "ServoType" << 7u
            << QStringLiteral("ServoType             7 → 东元伺服        伺服类型");
        QTest::newRow("ServoType in range")
            << "ServoType" << 1u
            << QStringLiteral("ServoType             1 安川/台达         伺服类型");
        QTest::newRow("negative") << "FollowType" << quint32(-5)
                                  << QStringLiteral(
                                         "FollowType            -5 (none)           跟随方式");
        QTest::newRow("minus one")
            << "LimitAlarm" << quint32(-1)
            << QStringLiteral("LimitAlarm            -1 (none)           上下限位报警");
        QTest::newRow("boot-screen style 2")
            << "LogoUsePic" << 2u << QStringLiteral("LogoUsePic            2 → 导入图片");
    }

    void dumpShowsTheChoiceTheWindowSelects()
    {
        QFETCH(QString, field);
        QFETCH(quint32, stored);
        QFETCH(QString, line);

        THMK725ConfigData config;
        config.ExportHeadFile(QStringLiteral("choices"), false, false);
        if (const ParamEntry* entry = findParam(field))
            config.SetByIndex(entry->offset, stored);
        else
            config.setLogoUsePic(stored);
        config.ExportCRC();
        const QString file = path("choices.hkf");
        QVERIFY(config.SaveToFile(file).ok());

        const Run run = hkftool({"dump", file});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.split(QLatin1Char('\n')).contains(line), qPrintable(run.out));
    }

    void dumpOfDamagedImage_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status");

        QTest::newRow("checksum mismatch: shown, status 1")
            << variant("dmg.hkf", [](QByteArray& b) { b[0x804] = 5; }) << 1;
        QTest::newRow("too short: nothing to show")
            << variant("dshort.hkf", [](QByteArray& b) { b.truncate(100); }) << 2;
        // A damaged length cannot read past its room.
        QTest::newRow("length beyond its room") << variant("dlen.hkf", [](QByteArray& b) {
            b[0x7B0] = char(0xFF);
            b[0x7B1] = char(0xFF);
        }) << 1;
    }

    void dumpOfDamagedImage()
    {
        QFETCH(QString, file);
        QFETCH(int, status);

        const Run run = hkftool({"dump", file});
        QCOMPARE(run.status, status);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(run.out.isEmpty(), status == 2);
    }

    // The same calls the window makes: form values, a fresh boot-screen
    // model, LoadSettings with the file, the edits, ExportConfig.
    void buildMatchesInProcessBuild_data()
    {
        QTest::addColumn<bool>("factory");
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QString>("settings");

        QTest::newRow("shipped factory values") << true << Edits::None << ShippedSettings;
        QTest::newRow("shipped last-saved values") << false << Edits::None << ShippedSettings;
        QTest::newRow("shipped, titles and parameters edited")
            << true << Edits::TitlesAndParams << ShippedSettings;
        // The default-screen box is already checked in a fresh window, so the
        // titles the file gives stay although DefaultTitle is 1.
        QTest::newRow("fixture factory values") << true << Edits::None << DataDir + "/golden.ini";
        QTest::newRow("fixture last-saved values")
            << false << Edits::None << DataDir + "/golden.ini";
    }

    void buildMatchesInProcessBuild()
    {
        QFETCH(bool, factory);
        QFETCH(Edits, edits);
        QFETCH(QString, settings);

        QStringList args{"build", "-o", path("machine1.hkf"), "--settings", settings};
        if (!factory)
            args << "--last";
        if (edits == Edits::TitlesAndParams)
            args << "--set"
                 << "UseDefaultScreen=0"
                 << "--set"
                 << "MainTitle=ABC"
                 << "--set"
                 << "SubTitleFont=黑体"
                 << "--set"
                 << "PunchHeight=4.5"
                 << "--set"
                 << "ServoType=安川/台达"
                 << "--set"
                 << "SubnetMask=255.255.0.0";
        const Run run = hkftool(args);
        QVERIFY2(run.status == 0, qPrintable(run.err));

        const IniFileLoad ini = IniFile::load(settings);
        QVERIFY(ini);
        ParamValues values = formValues();
        BootScreenModel boot;
        LoadSettings(*ini, factory, boot, values, [](const QString&) {});
        if (edits == Edits::TitlesAndParams) {
            boot.setUseDefaultScreen(false);
            boot.setMainTitle(QStringLiteral("ABC"));
            boot.setSubFontList(QStringLiteral("黑体"));
            boot.cbFontSubChange();
            values[paramIndex(*findParam(u"PunchHeight"))].number = 4500;
            values[paramIndex(*findParam(u"ServoType"))].choice = 1;
            values[paramIndex(*findParam(u"SubnetMask"))].text = QStringLiteral("255.255.0.0");
        }
        THMK725ConfigData config;
        QCOMPARE(ExportConfig(QStringLiteral("/elsewhere/machine1.hkf"), values, boot, config),
                 ExportResult::Built);

        const QString difference = firstDifference(readAll(path("machine1.hkf")), config.bytes());
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void buildKeepsTitlesOfACheckedDefaultScreen()
    {
        const Run build =
            hkftool({"build", "-o", path("kept.hkf"), "--settings", DataDir + "/golden.ini"});
        QCOMPARE(build.status, 0);
        const QJsonObject root =
            QJsonDocument::fromJson(hkftool({"dump", path("kept.hkf"), "--json"}).out.toUtf8())
                .object();
        QCOMPARE(root["header"]["IncludeScreen"].toInt(), 0);
        QCOMPARE(root["bootScreen"]["Logo1Desc"].toString(), QStringLiteral("Custom title"));
    }

    void setRefused_data()
    {
        QTest::addColumn<QStringList>("sets");
        QTest::addColumn<QStringList>("message"); // parts the message must hold

        QTest::newRow("above the maximum")
            << QStringList{"PunchHeight=10.01"} << QStringList{"PunchHeight", "0.20 to 10.00 mm"};
        QTest::newRow("below the minimum")
            << QStringList{"ReturnDistance=0"} << QStringList{"ReturnDistance", "0.001 to 99.999"};
        QTest::newRow("whole field above")
            << QStringList{"MoveSpeed=1000"} << QStringList{"MoveSpeed", "1 to 999 mm/s"};
        QTest::newRow("more decimals than shown")
            << QStringList{"PunchHeight=3.456"} << QStringList{"PunchHeight", "at most 2 decimals"};
        QTest::newRow("decimal in a whole field")
            << QStringList{"FollowLevel=5.5"} << QStringList{"FollowLevel", "whole numbers only"};
        QTest::newRow("not a number")
            << QStringList{"PunchDelay=1e3"} << QStringList{"PunchDelay", "not a number"};
        QTest::newRow("coordinate beyond 32 bits")
            << QStringList{"StayCoordinate=2147484"}
            << QStringList{"StayCoordinate", "-2147483.64 to 2147483.64 mm"};
        QTest::newRow("choice index beyond the last")
            << QStringList{"ServoType=3"} << QStringList{"ServoType", "2 东元伺服"};
        QTest::newRow("unknown caption")
            << QStringList{"LimitAlarm=on"} << QStringList{"LimitAlarm", "0 关闭, 1 开启"};
        QTest::newRow("address part 255")
            << QStringList{"IPAddress=192.168.1.255"} << QStringList{"IPAddress", "0-254"};
        QTest::newRow("address of three parts")
            << QStringList{"Gateway=10.1.1"} << QStringList{"Gateway", "0-254"};
        QTest::newRow("mask part above 255")
            << QStringList{"SubnetMask=255.256.0.0"} << QStringList{"SubnetMask", "0-255"};
        QTest::newRow("unknown name") << QStringList{"PunchHight=3"} << QStringList{"PunchHight"};
        QTest::newRow("title of the default screen")
            << QStringList{"MainTitle=ABC"} << QStringList{"MainTitle", "UseDefaultScreen=0"};
        QTest::newRow("title beyond 24 bytes")
            << QStringList{"UseDefaultScreen=0", "SubTitle=一二三四五六七八九十ABCDEF"}
            << QStringList{"SubTitle", "26 bytes", "24"};
        QTest::newRow("font not installed")
            << QStringList{"MainTitleFont=No Such Face"} << QStringList{"MainTitleFont"};
        QTest::newRow("switch not 0 or 1")
            << QStringList{"NotEnableParam=yes"} << QStringList{"NotEnableParam"};
    }

    void setRefused()
    {
        QFETCH(QStringList, sets);
        QFETCH(QStringList, message);

        const QString file = path("refused.hkf");
        QFile::remove(file);
        QStringList args{"build", "-o", file};
        for (const QString& set : sets)
            args << "--set" << set;
        const Run run = hkftool(args);
        QCOMPARE(run.status, 2);
        for (const QString& part : message)
            QVERIFY2(run.err.contains(part), qPrintable(run.err));
        QVERIFY2(!QFile::exists(file), "a refused build writes nothing");
    }

    void setAccepted_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("same"); // a different spelling of the same edit

        QTest::newRow("choice by caption") << "FollowType=分段穿孔"
                                           << "FollowType=1";
        QTest::newRow("limits themselves") << "PunchHeight=10"
                                           << "PunchHeight=10.00";
        QTest::newRow("mask of 255 parts") << "SubnetMask=255.255.255.255"
                                           << "SubnetMask=255.255.255.255.";
        QTest::newRow("negative coordinate") << "CyrusCoordinate=-1.5"
                                             << "CyrusCoordinate=-1.50";
        // The settings file's name for the switch and hkftool's older one.
        QTest::newRow("default screen by either name") << "DefaultTitle=0"
                                                       << "UseDefaultScreen=0";
    }

    void setAccepted()
    {
        QFETCH(QString, set);
        QFETCH(QString, same);

        const QString a = path("a/machine1.hkf");
        const QString b = path("b/machine1.hkf");
        QDir().mkpath(path("a"));
        QDir().mkpath(path("b"));
        const Run runA = hkftool({"build", "-o", a, "--set", set});
        QVERIFY2(runA.status == 0, qPrintable(runA.err));
        const Run runB = hkftool({"build", "-o", b, "--set", same});
        QVERIFY2(runB.status == 0, qPrintable(runB.err));
        QCOMPARE(readAll(a), readAll(b));
        QVERIFY(readAll(a) != readAll(path("factory.hkf")));
    }

    void buildHelpNamesTheDefaultScreenSwitch()
    {
        const QString help = hkftool({"build", "--help"}).out;
        QVERIFY2(help.contains(QStringLiteral("DefaultTitle (0/1, also named UseDefaultScreen)")),
                 qPrintable(help));
    }

    void buildRefusesAFileNameWithoutConfigurationName()
    {
        for (const char* name : {".hkf", "machine1"}) {
            const Run run = hkftool({"build", "-o", path(name)});
            QCOMPARE(run.status, 2);
            QVERIFY(!QFile::exists(path(name)));
        }
    }

    void buildReportsUnreadableInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");

        QTest::newRow("missing settings file")
            << QStringList{"--settings", "/nonexistent/x.ini"} << "/nonexistent/x.ini";
        QTest::newRow("missing picture")
            << QStringList{"--picture", "/nonexistent/p.bmp"} << "/nonexistent/p.bmp";
        QTest::newRow("picture of the wrong size")
            << QStringList{"--picture", path("wrong-size.bmp")} << "192 * 32";
    }

    void buildReportsUnreadableInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);

        QVERIFY(QImage(193, 32, QImage::Format_Mono).save(path("wrong-size.bmp")));
        const Run run = hkftool(QStringList{"build", "-o", path("unread.hkf")} + args);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
        QVERIFY(!QFile::exists(path("unread.hkf")));
    }

    // A template rebuilt under its own name, from the file and from its
    // JSON, gives the file back byte for byte. The images are what a window
    // writes, some of them after an earlier save of the same run.
    void buildFromSourceGivesItBack_data()
    {
        QTest::addColumn<QStringList>("buildArgs");
        QTest::addColumn<ImageEdit>("laterSave");

        const ImageEdit none = [](QByteArray&) {};
        const QStringList titles{"--set", "UseDefaultScreen=0", "--set", "MainTitle=等离子切割机",
                                 "--set", "SubTitle=Line 3",    "--set", "SubTitleFont=黑体",
                                 "--set", "PunchHeight=4.5"};
        QTest::newRow("titles in two faces") << titles << none;
        QTest::newRow("picture and the fixture's parameters")
            << QStringList{"--settings", DataDir + "/golden.ini", "--set", "CyrusCoordinate=-1.50",
                           "--picture",  DataDir + "/golden.bmp"}
            << none;
        QTest::newRow("default screen drawn in another face")
            << QStringList{"--set", "MainTitleFont=黑体"} << none;
        // A picture save after a title save keeps the title texts, and a
        // boot-screen-only save keeps the parameters of the full save.
        QTest::newRow("picture save keeping the titles of an earlier save")
            << titles
            << ImageEdit([](QByteArray& image) { putWord(image, layout::LogoUsePic, 1); });
        QTest::newRow("boot screen only, parameters of an earlier save")
            << titles
            << ImageEdit([](QByteArray& image) { putWord(image, layout::IncludeParam, 0); });
    }

    void buildFromSourceGivesItBack()
    {
        QFETCH(QStringList, buildArgs);
        QFETCH(ImageEdit, laterSave);

        QDir().mkpath(path("source"));
        QDir().mkpath(path("rebuilt"));
        const QString source = path("source/machine7.hkf");
        const Run built = hkftool(QStringList{"build", "-o", source} + buildArgs);
        QVERIFY2(built.status == 0, qPrintable(built.err));
        QByteArray bytes = readAll(source);
        laterSave(bytes);
        recomputeChecksums(bytes);
        writeAll(source, bytes);

        const QString json = path("source/machine7.json");
        const Run dumped = hkftool({"dump", "--json", source});
        QCOMPARE(dumped.status, 0);
        writeAll(json, dumped.out.toUtf8());

        for (const QString& from : {source, json}) {
            const QString rebuilt = path("rebuilt/machine7.hkf");
            QFile::remove(rebuilt);
            const Run run = hkftool({"build", "--from", from, "-o", rebuilt});
            QVERIFY2(run.status == 0, qPrintable(run.err));
            const QString difference = firstDifference(readAll(rebuilt), bytes);
            QVERIFY2(difference.isEmpty(), qPrintable(from + ": " + difference));
        }
    }

    // The edits and the picture apply on top of the template, as they do on
    // top of the settings file.
    void buildFromSourceTakesEdits()
    {
        const QString edited = path("edited.hkf");
        const Run run = hkftool({"build", "--from", goldenImage, "-o", edited, "--set",
                                 "PunchHeight=5", "--set", "IPAddress=10.1.1.20"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const Run diff = hkftool({"diff", goldenImage, edited});
        QCOMPARE(diff.status, 1);
        QCOMPARE(diff.out, QStringLiteral("ConfigName: \"golden\" -> \"edited\"\n"
                                          "PunchHeight: 3.46 mm -> 5.00 mm\n"
                                          "IPAddress: 192.168.1.50 -> 10.1.1.20\n"));
    }

    void buildFromRefusesBadSources_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ImageEdit>("damage"); // of the JSON or image
        QTest::addColumn<QStringList>("message");

        const auto json = [](std::function<void(QJsonObject&)> edit) {
            return ImageEdit([edit](QByteArray& bytes) {
                QJsonObject root = QJsonDocument::fromJson(bytes).object();
                edit(root);
                bytes = QJsonDocument(root).toJson();
            });
        };
        const auto param = [json](const char* name, const QJsonValue& value) {
            return json([name, value](QJsonObject& root) {
                QJsonObject params = root["parameters"].toObject();
                QJsonObject field = params[name].toObject();
                field["value"] = value;
                params[name] = field;
                root["parameters"] = params;
            });
        };
        QTest::newRow("checksum of the image")
            << "golden.hkf" << ImageEdit([](QByteArray& b) { b[0x900] = 1; })
            << QStringList{"parameters block checksum"};
        QTest::newRow("not JSON") << "golden.json" << ImageEdit([](QByteArray& b) { b.chop(4); })
                                  << QStringList{"not valid JSON"};
        QTest::newRow("dump of a failed image")
            << "golden.json" << json([](QJsonObject& root) { root["check"] = "header"; })
            << QStringList{"check", "failed"};
        QTest::newRow("misspelt parameter") << "golden.json" << json([](QJsonObject& root) {
            QJsonObject params = root["parameters"].toObject();
            params["PunchHight"] = params.take("PunchHeight");
            root["parameters"] = params;
        }) << QStringList{"parameters.PunchHight", "no such field"};
        QTest::newRow("more than three decimals")
            << "golden.json" << param("PunchHeight", 3.4567)
            << QStringList{"parameters.PunchHeight.value", "three decimals"};
        QTest::newRow("whole field given a fraction")
            << "golden.json" << param("MoveSpeed", 2.5)
            << QStringList{"parameters.MoveSpeed.value", "whole number"};
        QTest::newRow("address part above 255")
            << "golden.json" << param("IPAddress", "10.1.1.256")
            << QStringList{"parameters.IPAddress.value", "0-255"};
        QTest::newRow("title length that disagrees")
            << "golden.json" << json([](QJsonObject& root) {
                   QJsonObject screen = root["bootScreen"].toObject();
                   screen["Logo1Desc"] = "ABC";
                   root["bootScreen"] = screen;
               })
            << QStringList{"bootScreen.Logo1Len", "3 bytes"};
        QTest::newRow("screen line cut short") << "golden.json" << json([](QJsonObject& root) {
            QJsonObject screen = root["bootScreen"].toObject();
            QJsonArray rows = screen["LogoPixelFonts"].toArray();
            rows[5] = rows[5].toString().left(100);
            screen["LogoPixelFonts"] = rows;
            root["bootScreen"] = screen;
        }) << QStringList{"bootScreen.LogoPixelFonts[5]", "192"};
    }

    void buildFromRefusesBadSources()
    {
        QFETCH(QString, name);
        QFETCH(ImageEdit, damage);
        QFETCH(QStringList, message);

        QByteArray bytes = name.endsWith(".json")
                               ? hkftool({"dump", "--json", goldenImage}).out.toUtf8()
                               : readAll(goldenImage);
        damage(bytes);
        const QString source = path("bad/" + name);
        QDir().mkpath(path("bad"));
        writeAll(source, bytes);
        const QString output = path("bad/out.hkf");
        const Run run = hkftool({"build", "--from", source, "-o", output});
        QCOMPARE(run.status, 2);
        for (const QString& part : QStringList{source} + message)
            QVERIFY2(run.err.contains(part), qPrintable(run.err));
        QVERIFY(!QFile::exists(output));
    }

    // The commands that only read and compare start without the GUI: they
    // run where no platform plugin loads and no display is set.
    void readingCommandsNeedNoPlatform_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");

        QTest::newRow("verify") << QStringList{"verify", "GOLDEN"} << 0;
        QTest::newRow("dump") << QStringList{"dump", "GOLDEN"} << 0;
        QTest::newRow("dump --json") << QStringList{"dump", "--json", "GOLDEN"} << 0;
        QTest::newRow("diff") << QStringList{"diff", "GOLDEN", "FACTORY"} << 1;
        QTest::newRow("help") << QStringList{"--help"} << 0;
    }

    void readingCommandsNeedNoPlatform()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);

        args.replaceInStrings(QStringLiteral("GOLDEN"), goldenImage);
        args.replaceInStrings(QStringLiteral("FACTORY"), path("factory.hkf"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nonexistent-plugin"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        const Run run = hkftool(args, env);
        QVERIFY2(run.status == status, qPrintable(run.err));
        QVERIFY2(!run.out.isEmpty(), qPrintable(run.err));
        // The same output as with a platform at hand.
        QCOMPARE(run.out, hkftool(args).out);
    }

    // The report's content is tested in the core; here what the command
    // adds: the file it reads, the factory values of the settings file it
    // is given, and what it refuses.
    void report_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("text"); // in the PDF, or in the message

        QTest::newRow("factory values of the fixture")
            << "golden.hkf" << QStringList{"--settings", DataDir + "/golden.ini"} << 0
            << QStringList{"golden.hkf", "导入图片", "穿孔高度", "3.46"};
        QTest::newRow("damaged image") << "damaged.hkf" << QStringList{} << 1
                                       << QStringList{"damaged.hkf", "parameters block checksum"};
        QTest::newRow("missing settings file")
            << "golden.hkf" << QStringList{"--settings", "/nonexistent/x.ini"} << 2
            << QStringList{"/nonexistent/x.ini"};
    }

    void report()
    {
        QFETCH(QString, image);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QStringList, text);

        QByteArray damaged = readAll(goldenImage);
        damaged[0x900] = 1;
        writeAll(path("damaged.hkf"), damaged);
        const QString pdf = path("report.pdf");
        QFile::remove(pdf);
        const Run run = hkftool(QStringList{"report", path(image), "-o", pdf} + options);
        QVERIFY2(run.status == status, qPrintable(run.err));
        if (status != 0) {
            QVERIFY(!QFile::exists(pdf));
            for (const QString& part : text)
                QVERIFY2(run.err.contains(part), qPrintable(run.err));
            return;
        }
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(30000));
        const QString content = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const QString& part : text)
            QVERIFY2(content.contains(part), qPrintable(part));
        // Against the fixture's factory values, exactly the five set on the
        // command line when the image was built are marked.
        QCOMPARE(content.count(QStringLiteral("已修改")), 5);
    }

    // A settings file that is there but cannot be read ends the build with
    // the reason, as a missing one does; nothing is built from defaults.
    void buildReportsUnreadableSettings_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");

        QTest::newRow("folder") << "folder"
                                << "is a folder";
        QTest::newRow("pipe") << "fifo"
                              << "is not a regular file";
        QTest::newRow("no read permission") << "unreadable"
                                            << "Permission denied";
        // The unmapped first page of a process's own memory: EIO on reading.
        QTest::newRow("read error") << "ioerror"
                                    << "Input/output error";
    }

    void buildReportsUnreadableSettings()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);

        QString ini = path(kind + ".ini");
        QFile::remove(ini);
        QDir(ini).removeRecursively();
        if (kind == "folder") {
            QVERIFY(QDir().mkpath(ini));
        } else if (kind == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
        } else if (kind == "unreadable") {
            if (geteuid() == 0)
                QSKIP("root reads a file without read permission");
            QVERIFY(QFile::copy(ShippedSettings, ini));
            QVERIFY(QFile::setPermissions(ini, QFileDevice::WriteOwner));
        } else if (kind == "ioerror") {
            ini = QStringLiteral("/proc/self/mem");
            if (!QFileInfo(ini).isFile())
                QSKIP("no /proc/self/mem here");
        }
        const Run run = hkftool({"build", "-o", path("unread.hkf"), "--settings", ini});
        QCOMPARE(run.status, 2);
        const QString expected =
            QStringLiteral("hkftool build: %1: the settings file cannot be read: %2\n")
                .arg(ini, reason);
        QVERIFY2(run.err.contains(expected), qPrintable(run.err));
        QVERIFY(!QFile::exists(path("unread.hkf")));
    }

    void diffNamesExactlyTheChangedFields()
    {
        QDir().mkpath(path("edited"));
        const QString edited = path("edited/factory.hkf");
        QCOMPARE(hkftool({"build", "-o", edited, "--set", "PunchHeight=4.5", "--set",
                          "FollowType=1", "--set", "Gateway=10.1.1.2"})
                     .status,
                 0);

        const Run run = hkftool({"diff", path("factory.hkf"), edited});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QStringLiteral("PunchHeight: 3.00 mm -> 4.50 mm\n"
                                         "FollowType: 0 直接切割 -> 1 分段穿孔\n"
                                         "Gateway: 10.1.1.1 -> 10.1.1.2\n"));

        const Run same = hkftool({"diff", path("factory.hkf"), path("factory.hkf")});
        QCOMPARE(same.status, 0);
        QVERIFY(same.out.isEmpty());
    }

    void diffOfBootScreens()
    {
        const Run run = hkftool({"diff", path("factory.hkf"), goldenImage});
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.contains(QStringLiteral("LogoUsePic: 0 文字输入 -> 1 导入图片\n")));
        QVERIFY(run.out.contains(QStringLiteral("ConfigName: \"factory\" -> \"golden\"\n")));
        QVERIFY(run.out.contains(QStringLiteral(" of 6144 pixels differ\n")));
    }

    // What hkftool writes to stderr is its own: Qt's remarks about the
    // surroundings (no runtime directory when run as root, one with the wrong
    // permissions) stay out, in every command and whether it fails or not.
    void stderrCarriesOnlyHkftoolsMessages_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("fails");

        QTest::newRow("help") << QStringList{"--help"} << false;
        QTest::newRow("verify") << QStringList{"verify", "@golden"} << false;
        QTest::newRow("dump") << QStringList{"dump", "@golden"} << false;
        QTest::newRow("dump --json") << QStringList{"dump", "@golden", "--json"} << false;
        QTest::newRow("render") << QStringList{"render", "@golden", "-o", "@quiet.png"} << false;
        QTest::newRow("build") << QStringList{"build",
                                              "-o",
                                              "@quiet.hkf",
                                              "--set",
                                              "UseDefaultScreen=0",
                                              "--set",
                                              "MainTitle=等离子"}
                               << false;
        QTest::newRow("diff") << QStringList{"diff", "@golden", "@golden"} << false;
        QTest::newRow("verify of a missing file") << QStringList{"verify", "@none.hkf"} << true;
        QTest::newRow("bad usage") << QStringList{"dump"} << true;
    }

    void stderrCarriesOnlyHkftoolsMessages()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, fails);

        for (QString& arg : args) {
            if (arg == QLatin1String("@golden"))
                arg = goldenImage;
            else if (arg.startsWith(QLatin1Char('@')))
                arg = path(arg.mid(1));
        }
        QDir().mkpath(path("runtime"));
        QFile::setPermissions(path("runtime"), QFileDevice::Permissions(0x7777));
        for (const bool unset : {true, false}) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            if (unset)
                environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
            else
                environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path("runtime"));
            const Run run = hkftool(args, environment);
            QCOMPARE(run.status != 0, fails);
            if (!fails) {
                QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
                continue;
            }
            QVERIFY(!run.err.isEmpty());
            for (const QString& line : run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                QVERIFY2(line.startsWith(QLatin1String("hkftool")) ||
                             line.startsWith(QLatin1String("Try \"hkftool")),
                         qPrintable(line));
        }
    }

    void render_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QRgb>("ink");
        QTest::addColumn<QRgb>("background");

        QTest::newRow("default") << QStringList{} << 4 << qRgb(0, 0, 0) << qRgb(255, 255, 255);
        QTest::newRow("lcd") << QStringList{"--lcd"} << 4 << qRgb(255, 255, 255)
                             << qRgb(0x53, 0x53, 0xFF);
        QTest::newRow("scale 1") << QStringList{"--scale", "1"} << 1 << qRgb(0, 0, 0)
                                 << qRgb(255, 255, 255);
    }

    void render()
    {
        QFETCH(QStringList, options);
        QFETCH(int, scale);
        QFETCH(QRgb, ink);
        QFETCH(QRgb, background);

        const QString png = path("screen.png");
        const Run run = hkftool(QStringList{"render", goldenImage, "-o", png} + options);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QImage picture(png);
        QCOMPARE(picture.size(), QSize(192 * scale, 32 * scale));

        const QByteArray image = readAll(goldenImage);
        int inkPixels = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool stored = storedInk(image, x / scale, y / scale);
                inkPixels += stored;
                const QRgb expected = stored ? ink : background;
                if (picture.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
            }
        }
        QVERIFY(inkPixels > 0);
    }
};

QTEST_MAIN(TestHkftool)
#include "tst_hkftool.moc"
