// hkftool diff against the settings file (--factory, --last), its JSON, and
// check, run as a process: exit status, output, and what is left out.

#include "TestFiles.h"
#include "ToolProcess.h"
#include "image/CfgHMK725.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace hmk;

namespace {

void putWord(QByteArray& image, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        image[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// Checksums made to match again, so that only the change is looked at.
void reseal(QByteArray& image)
{
    for (const layout::Block& block : layout::Blocks) {
        const quint16 crc =
            THMK725ConfigData::CalcCRC(image.constData() + block.start, block.covered(), 0xFFFF);
        image[block.crcLow()] = char(crc & 0xFF);
        image[block.crcHigh()] = char(crc >> 8);
    }
}

// Factory and last sections that differ in two parameters and the main title.
const char* const Settings = "[LogoDef]\nNotEnableParam=0\nDefaultTitle=0\nMainTitle=出厂\n"
                             "[Logo]\nDefaultTitle=0\nMainTitle=上次\n"
                             "[TechnicsDef]\nPunchHeight=3.0\nZRange=999.99\nFollowType=0\n"
                             "[Technics]\nPunchHeight=4.5\nZRange=999.99\nFollowType=2\n";

} // namespace

class TestHkfCompare : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString ini;

    QString path(const QString& name) const { return dir.filePath(name); }

    QString variant(const QString& name, const std::function<void(QByteArray&)>& change)
    {
        QByteArray bytes = readAll(path(QStringLiteral("factory.hkf")));
        change(bytes);
        reseal(bytes);
        writeAll(path(name), bytes);
        return path(name);
    }

private slots:
    void initTestCase();
    void diffSettings_data();
    void diffSettings();
    void diffSettingsJson();
    void diffFilesJson();
    void check_data();
    void check();
    void checkJsonAndSeveralFiles();
    void usage_data();
    void usage();
};

void TestHkfCompare::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY2(QFile::exists(Tool), "hkftool is not built");
    ini = path(QStringLiteral("cmp.ini"));
    QVERIFY(writeAll(ini, QByteArray(Settings)));
    for (const auto& [name, extra] :
         {std::pair{"factory.hkf", QStringList{}},
          std::pair{"edited.hkf",
                    QStringList{"--set", "PunchHeight=7.25", "--set", "Gateway=10.1.1.9"}},
          std::pair{"screen.hkf",
                    QStringList{"--set", "NotEnableParam=1", "--set", "MainTitle=只有画面"}}}) {
        const Run run = hkftool(
            QStringList{"build", "-o", path(QString::fromLatin1(name)), "--settings", ini} + extra);
        QVERIFY2(run.status == 0, qPrintable(run.err));
    }
}

void TestHkfCompare::diffSettings_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err"); // a part of stderr; empty: nothing

    QTest::newRow("same as factory") << QStringList{"factory.hkf", "--factory"} << 0 << ""
                                     << "";
    QTest::newRow("edited against factory")
        << QStringList{"edited.hkf", "--factory"} << 1
        << "PunchHeight (穿孔高度): 7.25 mm -> 3.00 mm\nGateway (网关设置): 10.1.1.9 -> 10.1.1.1\n"
        << "";
    QTest::newRow("factory against last")
        << QStringList{"factory.hkf", "--last"} << 1
        << "MainTitle (主标题): 出厂 -> 上次\nPunchHeight (穿孔高度): 3.00 mm -> 4.50 mm\n"
           "FollowType (跟随方式): 直接切割 -> 渐进穿孔\n"
        << "";
    // The parameters of a screen-only image are not compared, even though
    // a fresh window's form values differ from the last ones.
    QTest::newRow("screen only") << QStringList{"screen.hkf", "--last"} << 1
                                 << "MainTitle (主标题): 只有画面 -> 上次\n"
                                 << "comparing the boot screen only";
    QTest::newRow("damaged") << QStringList{"damaged.hkf", "--factory"} << 2 << ""
                             << "refuses to open it";
    QTest::newRow("missing file") << QStringList{"none.hkf", "--factory"} << 2 << ""
                                  << "文件不存在";
    QTest::newRow("missing settings")
        << QStringList{"factory.hkf", "--factory", "--settings", "none.ini"} << 2 << ""
        << "the settings file cannot be read";
    QTest::newRow("both sources") << QStringList{"factory.hkf", "--factory", "--last"} << 2 << ""
                                  << "not both";
}

void TestHkfCompare::diffSettings()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QByteArray damaged = readAll(path("factory.hkf"));
    damaged[layout::ParameterFields] = char(damaged[layout::ParameterFields] ^ 1);
    QVERIFY(writeAll(path("damaged.hkf"), damaged));

    QStringList full{"diff"};
    for (const QString& a : args)
        full << (a.endsWith(QLatin1String(".hkf")) || a.endsWith(QLatin1String(".ini")) ? path(a)
                                                                                        : a);
    if (!args.contains(QStringLiteral("--settings")))
        full << "--settings" << ini;
    const Run run = hkftool(full);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, out);
    if (err.isEmpty())
        QVERIFY2(!run.err.contains(QStringLiteral("hkftool")), qPrintable(run.err));
    else
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
}

void TestHkfCompare::diffSettingsJson()
{
    const Run run = hkftool({"diff", path("edited.hkf"), "--factory", "--settings", ini, "--json"});
    QCOMPARE(run.status, 1);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    QVERIFY2(doc.isArray(), qPrintable(error.errorString()));
    const QJsonArray array = doc.array();
    QCOMPARE(array.size(), 2);
    const QJsonObject first = array[0].toObject();
    QCOMPARE(first.value("name").toString(), QStringLiteral("PunchHeight"));
    QCOMPARE(first.value("label").toString(), QStringLiteral("穿孔高度"));
    QCOMPARE(first.value("a").toString(), QStringLiteral("7.25 mm"));
    QCOMPARE(first.value("b").toString(), QStringLiteral("3.00 mm"));

    const Run same =
        hkftool({"diff", path("factory.hkf"), "--factory", "--settings", ini, "--json"});
    QCOMPARE(same.status, 0);
    QCOMPARE(QJsonDocument::fromJson(same.out.toUtf8()).array().size(), 0);
}

void TestHkfCompare::diffFilesJson()
{
    // One pixel of a picture boot screen; the plain diff A B stays as it was.
    const QString a =
        variant("pic-a.hkf", [](QByteArray& b) { putWord(b, layout::LogoUsePic, 1); });
    const QString b = variant("pic-b.hkf", [](QByteArray& b) {
        putWord(b, layout::LogoUsePic, 1);
        b[layout::bandOffset(1) + 7] = char(b[layout::bandOffset(1) + 7] ^ 0x10);
    });
    const Run text = hkftool({"diff", a, b});
    QCOMPARE(text.status, 1);
    QCOMPARE(text.out, QStringLiteral("LogoPixelFonts: 1 of 6144 pixels differ\n"));

    const Run json = hkftool({"diff", a, b, "--json"});
    QCOMPARE(json.status, 1);
    const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QCOMPARE(array.size(), 1);
    QCOMPARE(array[0].toObject().value("pixels").toInt(), 1);
}

void TestHkfCompare::check_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("line"); // a line of stdout

    QTest::newRow("clean") << path("factory.hkf") << 0 << "factory.hkf: ok";
    QTest::newRow("screen only, parameters not looked at")
        << variant("screenonly.hkf",
                   [](QByteArray& b) {
                       putWord(b, layout::IncludeParam, 0);
                       putWord(b, layout::PunchHeight, 50000);
                   })
        << 0 << "screenonly.hkf: ok";
    QTest::newRow("above max") << variant("high.hkf", [](QByteArray& b) {
        putWord(b, layout::PunchHeight, 50000);
    }) << 1 << "high.hkf: PunchHeight (穿孔高度): 50.00: outside its range 0.20 to 10.00";
    QTest::newRow("below min") << variant("low.hkf", [](QByteArray& b) {
        putWord(b, layout::MaxRPM, 99);
    }) << 1 << "low.hkf: MaxRPM (转速上限): 99: outside its range 100 to 9,000";
    QTest::newRow("choice beyond last")
        << variant("choice.hkf", [](QByteArray& b) { putWord(b, layout::ServoType, 3); }) << 1
        << "choice.hkf: ServoType (伺服类型): 3: beyond the last choice (东元伺服, index 2)";
    QTest::newRow("choice selecting nothing")
        << variant("none.hkf", [](QByteArray& b) { putWord(b, layout::LimitAlarm, 0xFFFFFFFF); })
        << 1 << "none.hkf: LimitAlarm (上下限位报警): -1: selects no choice";
    QTest::newRow("address part 255")
        << variant("addr.hkf", [](QByteArray& b) { b[layout::Gateway] = char(0xFF); }) << 1
        << "addr.hkf: Gateway (网关设置): 10.1.1.255: a part is 255; an address takes parts "
           "0-254, which the window checks before it saves";
    QTest::newRow("title length") << variant("len.hkf", [](QByteArray& b) {
        putWord(b, layout::Logo2Len, 25);
    }) << 1 << "len.hkf: Logo2Len: 25: longer than its room of 24 bytes";
    QTest::newRow("font length") << variant("flen.hkf", [](QByteArray& b) {
        putWord(b, layout::Logo1FontLen, 41);
    }) << 1 << "flen.hkf: Logo1FontLen: 41: longer than its room of 40 bytes";
    QTest::newRow("title bytes not cp936") << variant("gbk.hkf", [](QByteArray& b) {
        putWord(b, layout::Logo1Len, 2);
        b[layout::Logo1Desc] = 'A';
        b[layout::Logo1Desc + 1] = char(0x81); // a lead byte without its trail
    }) << 1 << "gbk.hkf: Logo1Desc: 41 81: not valid code page 936 text";
    QTest::newRow("LogoUsePic") << variant("style.hkf", [](QByteArray& b) {
        putWord(b, layout::LogoUsePic, 2);
    }) << 1 << "style.hkf: LogoUsePic: 2: neither 0 nor 1";
    QTest::newRow("IncludeScreen")
        << variant("inc.hkf", [](QByteArray& b) { putWord(b, layout::IncludeScreen, 7); }) << 1
        << "inc.hkf: IncludeScreen: 7: neither 0 nor 1";
    QTest::newRow("reserved byte")
        << variant("res.hkf", [](QByteArray& b) { b[0x900] = 0x42; }) << 1
        << "res.hkf: reserved 0x8BC-0xFFD: 42 at 0x900: 1 of 1858 bytes not zero";
    QTest::newRow("reserved between length and text")
        << variant("res2.hkf", [](QByteArray& b) { b[layout::Logo1Len + 4] = 1; }) << 1
        << "res2.hkf: reserved 0x744-0x747: 01 at 0x744: 1 of 4 bytes not zero";
}

void TestHkfCompare::check()
{
    QFETCH(QString, file);
    QFETCH(int, status);
    QFETCH(QString, line);
    const Run run = hkftool({"check", file});
    QCOMPARE(run.status, status);
    const QString prefix = dir.path() + QLatin1Char('/');
    const QStringList lines =
        QString(run.out).replace(prefix, QString()).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.contains(line), qPrintable(run.out));
    if (status == 0)
        QCOMPARE(lines.size(), 1);
}

void TestHkfCompare::checkJsonAndSeveralFiles()
{
    const QString high =
        variant("high2.hkf", [](QByteArray& b) { putWord(b, layout::PunchHeight, 50000); });
    QByteArray damaged = readAll(high);
    damaged[0x100] = 1; // a reserved header byte, its checksum left stale
    QVERIFY(writeAll(path("stale.hkf"), damaged));

    const Run run = hkftool({"check", path("factory.hkf"), high, path("stale.hkf"), "--json"});
    QCOMPARE(run.status, 1);
    const QJsonArray array = QJsonDocument::fromJson(run.out.toUtf8()).array();
    QStringList seen;
    for (const QJsonValue& v : array) {
        const QJsonObject o = v.toObject();
        QVERIFY(o.contains("label") && o.contains("value") && o.contains("problem"));
        seen << QFileInfo(o.value("file").toString()).fileName() + ":" + o.value("name").toString();
    }
    QCOMPARE(seen, (QStringList{"high2.hkf:PunchHeight", "stale.hkf:checksum",
                                "stale.hkf:PunchHeight", "stale.hkf:reserved 0x020-0x1FD"}));

    // An unreadable file wins over findings in the others.
    const Run missing = hkftool({"check", high, path("missing.hkf")});
    QCOMPARE(missing.status, 2);
    QVERIFY(missing.out.contains("PunchHeight"));
}

void TestHkfCompare::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text"); // in stdout for help, in stderr otherwise

    QTest::newRow("check help") << QStringList{"check", "--help"} << 0
                                << "Usage: hkftool check FILE...";
    QTest::newRow("diff help") << QStringList{"diff", "--help"} << 0 << "--factory|--last";
    QTest::newRow("check without file") << QStringList{"check"} << 2 << "no file given";
    QTest::newRow("settings without a source")
        << QStringList{"diff", "a.hkf", "b.hkf", "--settings", "x.ini"} << 2
        << "--settings goes with --factory or --last";
    QTest::newRow("two files with --factory")
        << QStringList{"diff", "a.hkf", "b.hkf", "--factory"} << 2 << "exactly one file";
}

void TestHkfCompare::usage()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, text);
    const Run run = hkftool(args);
    QCOMPARE(run.status, status);
    QVERIFY2((status == 0 ? run.out : run.err).contains(text), qPrintable(run.out + run.err));
}

QTEST_MAIN(TestHkfCompare)
#include "tst_hkfcompare.moc"
