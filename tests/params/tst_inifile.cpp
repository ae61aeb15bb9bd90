#include "params/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using hmk::IniFile;

namespace {

// The main title of the factory settings in the encodings a settings file
// may come in.
const QString Title = QStringLiteral("HMK725独立式调高器");
const QByteArray TitleCp936 =
    QByteArray("HMK725") + "\xB6\xC0\xC1\xA2\xCA\xBD\xB5\xF7\xB8\xDF\xC6\xF7";

QByteArray utf16(const QString& text, bool bigEndian)
{
    QByteArray out;
    for (QChar c : text) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        out += bigEndian ? QByteArray{&hi, 1} + QByteArray{&lo, 1}
                         : QByteArray{&lo, 1} + QByteArray{&hi, 1};
    }
    return out;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void missingOrUnreadableFile_data();
    void missingOrUnreadableFile();
    void readsARegularFile();
    void namesIgnoreCase_data();
    void namesIgnoreCase();
    void firstDuplicateWins();
    void lineSyntax_data();
    void lineSyntax();
    void longValueIsCut();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void readFloat_data();
    void readFloat();
    void encodings_data();
    void encodings();
    void settingsFileBesideExecutable();
};

void TestIniFile::missingOrUnreadableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<QString>("reason"); // part of the message; empty: the system's words

    QTest::newRow("missing") << "missing" << false << QString();
    QTest::newRow("empty path") << "empty" << false << QString();
    QTest::newRow("dangling link") << "dangling" << false << QString();
    QTest::newRow("folder") << "folder" << true << hmk::IsFolderReason;
    // A pipe where the file should be: opening it for reading would wait for
    // a writer forever, so it is refused without being opened.
    QTest::newRow("pipe") << "fifo" << true << hmk::NotRegularFileReason;
    QTest::newRow("no permission") << "unreadable" << true << QString();
    // A regular file whose read fails: the kernel gives EIO for the unmapped
    // first page of a process's own memory.
    QTest::newRow("read error") << "ioerror" << true << QString();
}

void TestIniFile::missingOrUnreadableFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, reported);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(kind + ".ini");
    if (kind == "empty") {
        path.clear();
    } else if (kind == "dangling") {
        QVERIFY(QFile::link(dir.filePath("gone.ini"), path));
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "fifo") {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "unreadable") {
        if (geteuid() == 0)
            QSKIP("root reads a file without read permission");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[LogoDef]\nUsePic=1\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
    } else if (kind == "ioerror") {
        path = QStringLiteral("/proc/self/mem");
        if (!QFileInfo(path).isFile())
            QSKIP("no /proc/self/mem here");
    }

    const hmk::IniFileLoad load = IniFile::load(path);
    QVERIFY(!load);
    QCOMPARE(load.status.ok(), !reported);
    if (!reported) {
        QVERIFY(load.reason.isEmpty());
        return;
    }
    QVERIFY2(load.status.error.startsWith(QStringLiteral("无法读取设置文件“%1”：").arg(path)),
             qPrintable(load.status.error));
    QVERIFY2(!load.reason.isEmpty(), "hkftool needs the reason");
    if (!reason.isEmpty())
        QVERIFY2(load.status.error.endsWith(reason), qPrintable(load.status.error));
    else
        QVERIFY2(load.status.error.endsWith(load.reason), qPrintable(load.status.error));
}

void TestIniFile::readsARegularFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString real = dir.filePath("real.ini");
    QFile file(real);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[LogoDef]\nUsePic=1\n");
    file.close();
    const hmk::IniFileLoad ini = IniFile::load(real);
    QVERIFY(ini);
    QVERIFY(ini.status.ok());
    QCOMPARE(ini->ReadInteger("LogoDef", "UsePic", 0), 1);
}

void TestIniFile::namesIgnoreCase_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("as written") << "TechnicsDef"
                                << "PunchHeight";
    QTest::newRow("lower") << "technicsdef"
                           << "punchheight";
    QTest::newRow("upper") << "TECHNICSDEF"
                           << "PUNCHHEIGHT";
    QTest::newRow("mixed") << "tEcHnIcSdEf"
                           << "pUnChHeIgHt";
}

void TestIniFile::namesIgnoreCase()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    const IniFile ini = IniFile::fromBytes("[TechnicsDef]\nPunchHeight=7\n");
    QCOMPARE(ini.ReadString(section, key, "none"), QString("7"));
    QVERIFY(ini.hasKey(section, key));
    // Only the case is ignored, not the suffix that tells factory from last.
    QVERIFY(!ini.hasKey("Technics", key));
}

void TestIniFile::firstDuplicateWins()
{
    const IniFile ini = IniFile::fromBytes("[Net]\n"
                                           "IPAddress=10.1.1.188\n"
                                           "ipaddress=192.168.0.1\n"
                                           "[Logo]\n"
                                           "MainTitle=A\n"
                                           "[NET]\n"
                                           "IPADDRESS=172.16.0.1\n"
                                           "Gateway=10.1.1.1\n");
    QCOMPARE(ini.ReadString("Net", "IPAddress", {}), QString("10.1.1.188"));
    // A section that comes again carries on the first one.
    QCOMPARE(ini.ReadString("Net", "Gateway", {}), QString("10.1.1.1"));
    QCOMPARE(ini.ReadString("Logo", "MainTitle", {}), QString("A"));
}

void TestIniFile::lineSyntax_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected"); // of Logo/MainTitle, default "<def>"

    QTest::newRow("plain") << QByteArray("[Logo]\nMainTitle=abc\n") << "abc";
    QTest::newRow("blanks around")
        << QByteArray("  [ Logo ]  \n \t MainTitle \t=  a b  \t\n") << "a b";
    QTest::newRow("CRLF") << QByteArray("[Logo]\r\nMainTitle=abc\r\n") << "abc";
    QTest::newRow("no final newline") << QByteArray("[Logo]\nMainTitle=abc") << "abc";
    QTest::newRow("inline ; is text") << QByteArray("[Logo]\nMainTitle=a ; b\n") << "a ; b";
    QTest::newRow("second = is text") << QByteArray("[Logo]\nMainTitle=a=b\n") << "a=b";
    QTest::newRow("empty value") << QByteArray("[Logo]\nMainTitle=\n") << "";
    QTest::newRow("quotes dropped") << QByteArray("[Logo]\nMainTitle=\" a \"\n") << " a ";
    QTest::newRow("single quotes dropped") << QByteArray("[Logo]\nMainTitle='x'\n") << "x";
    QTest::newRow("unmatched quote kept") << QByteArray("[Logo]\nMainTitle=\"x\n") << "\"x";
    QTest::newRow("comment line") << QByteArray("[Logo]\n;MainTitle=hidden\n") << "<def>";
    QTest::newRow("indented comment")
        << QByteArray("[Logo]\n  ; MainTitle=hidden\nMainTitle=shown\n") << "shown";
    QTest::newRow("commented section")
        << QByteArray(";[Logo]\n[Other]\nMainTitle=other\n") << "<def>";
    QTest::newRow("before any section") << QByteArray("MainTitle=x\n[Logo]\n") << "<def>";
    QTest::newRow("line without =") << QByteArray("[Logo]\nMainTitle\n") << "<def>";
    QTest::newRow("blank lines") << QByteArray("\n\n[Logo]\n\n\nMainTitle=abc\n\n") << "abc";
    QTest::newRow("empty file") << QByteArray() << "<def>";
}

void TestIniFile::lineSyntax()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    QCOMPARE(IniFile::fromBytes(text).ReadString("Logo", "MainTitle", "<def>"), expected);
}

void TestIniFile::longValueIsCut()
{
    const QString longValue = QString(3000, QLatin1Char('x'));
    const IniFile ini =
        IniFile::fromBytes("[TechnicsDef]\nPunchHeightHint=" + longValue.toUtf8() + "\nNext=1\n");
    QCOMPARE(ini.ReadString("TechnicsDef", "PunchHeightHint", {}), longValue.left(2047));
    // The long line does not swallow what follows it.
    QCOMPARE(ini.ReadInteger("TechnicsDef", "Next", 0), 1);

    // A character outside the basic plane right at the cut is dropped whole.
    const QString emoji = QStringLiteral("\U0001F600");
    const QString atCut = QString(2046, QLatin1Char('y')) + emoji + "tail";
    const IniFile ini2 = IniFile::fromBytes("[A]\nK=" + atCut.toUtf8() + "\n");
    QCOMPARE(ini2.ReadString("A", "K", {}), QString(2046, QLatin1Char('y')));
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected"); // default is -99

    QTest::newRow("decimal") << QByteArray("32") << 32;
    QTest::newRow("negative") << QByteArray("-5") << -5;
    QTest::newRow("plus sign") << QByteArray("+7") << 7;
    QTest::newRow("hex 0x20") << QByteArray("0x20") << 32;
    QTest::newRow("hex 0X1f") << QByteArray("0X1f") << 31;
    QTest::newRow("hex all ones") << QByteArray("0xFFFFFFFF") << -1;
    QTest::newRow("leading zeros") << QByteArray("007") << 7;
    QTest::newRow("int max") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("int min") << QByteArray("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("trailing text") << QByteArray("12abc") << -99;
    QTest::newRow("decimal point") << QByteArray("1.5") << -99;
    QTest::newRow("inner blank") << QByteArray("1 2") << -99;
    QTest::newRow("word") << QByteArray("true") << -99;
    QTest::newRow("empty") << QByteArray("") << -99;
    QTest::newRow("bare 0x") << QByteArray("0x") << -99;
    QTest::newRow("0x not hex") << QByteArray("0xg1") << -99;
    QTest::newRow("0x then sign") << QByteArray("0x-1") << -99;
    QTest::newRow("0x0x") << QByteArray("0x0x10") << -99;
    QTest::newRow("hex too long") << QByteArray("0x100000000") << -99;
    QTest::newRow("too large") << QByteArray("2147483648") << -99;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    const IniFile ini = IniFile::fromBytes("[ORGDef]\nORGSpeed=" + value + "\n");
    QCOMPARE(ini.ReadInteger("ORGDef", "ORGSpeed", -99), expected);
    QCOMPARE(ini.ReadInteger("ORGDef", "Missing", -99), -99);
}

void TestIniFile::readBool_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("whenDefaultFalse");
    QTest::addColumn<int>("whenDefaultTrue");

    QTest::newRow("0") << QByteArray("0") << 0 << 0;
    QTest::newRow("1") << QByteArray("1") << 1 << 1;
    QTest::newRow("5") << QByteArray("5") << 1 << 1;
    QTest::newRow("-1") << QByteArray("-1") << 1 << 1;
    QTest::newRow("0x0") << QByteArray("0x0") << 0 << 0;
    QTest::newRow("true") << QByteArray("true") << 0 << 1;
    QTest::newRow("yes") << QByteArray("yes") << 0 << 1;
    QTest::newRow("false") << QByteArray("false") << 0 << 1;
    QTest::newRow("empty") << QByteArray("") << 0 << 1;
}

void TestIniFile::readBool()
{
    QFETCH(QByteArray, value);
    QFETCH(int, whenDefaultFalse);
    QFETCH(int, whenDefaultTrue);
    const IniFile ini = IniFile::fromBytes("[LogoDef]\nNotEnableParam=" + value + "\n");
    QCOMPARE(ini.ReadBool("LogoDef", "NotEnableParam", false), bool(whenDefaultFalse));
    QCOMPARE(ini.ReadBool("LogoDef", "NotEnableParam", true), bool(whenDefaultTrue));
}

void TestIniFile::readFloat_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<double>("expected"); // default is 3.0

    QTest::newRow("point: 3.5") << "C" << QByteArray("3.5") << 3.5;
    QTest::newRow("point: 3,5") << "C" << QByteArray("3,5") << 3.0;
    QTest::newRow("point: 1,000.5") << "en_US" << QByteArray("1,000.5") << 3.0;
    QTest::newRow("point: integer") << "C" << QByteArray("12") << 12.0;
    QTest::newRow("point: negative") << "C" << QByteArray("-0.25") << -0.25;
    QTest::newRow("point: exponent") << "C" << QByteArray("1.5e3") << 1500.0;
    QTest::newRow("point: exponent E-") << "C" << QByteArray("25E-2") << 0.25;
    QTest::newRow("point: text") << "C" << QByteArray("abc") << 3.0;
    QTest::newRow("point: trailing text") << "C" << QByteArray("3.5mm") << 3.0;
    QTest::newRow("point: empty") << "C" << QByteArray("") << 3.0;
    QTest::newRow("point: inf") << "C" << QByteArray("inf") << 3.0;
    QTest::newRow("point: nan") << "C" << QByteArray("nan") << 3.0;
    QTest::newRow("point: hex") << "C" << QByteArray("0x20") << 3.0;
    QTest::newRow("comma: 3,5") << "de_DE" << QByteArray("3,5") << 3.5;
    QTest::newRow("comma: 3.5") << "de_DE" << QByteArray("3.5") << 3.0;
}

void TestIniFile::readFloat()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, value);
    QFETCH(double, expected);
    const QLocale saved;
    QLocale::setDefault(QLocale(locale));
    const IniFile ini = IniFile::fromBytes("[TechnicsDef]\nPunchHeight=" + value + "\n");
    const double read = ini.ReadFloat("TechnicsDef", "PunchHeight", 3.0);
    QLocale::setDefault(saved);
    QCOMPARE(read, expected);
}

void TestIniFile::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QString text = "[LogoDef]\r\nMainTitle=" + Title + "\r\n";
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE") + utf16(text, false);
    QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF") + utf16(text, true);
    QTest::newRow("code page 936") << "[LogoDef]\r\nMainTitle=" + TitleCp936 + "\r\n";
}

void TestIniFile::encodings()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath("HMK725Config.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    const hmk::IniFileLoad ini = IniFile::load(file.fileName());
    QVERIFY(ini);
    QCOMPARE(ini->ReadString("LogoDef", "MainTitle", {}), Title);
}

void TestIniFile::settingsFileBesideExecutable()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    // The test executable has no extension, so ".ini" is appended.
    QVERIFY(exe.suffix().isEmpty());
    QCOMPARE(hmk::settingsFilePath(), exe.filePath() + ".ini");
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
