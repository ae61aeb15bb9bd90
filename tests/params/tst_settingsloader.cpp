// Reading the settings file into the boot-screen page and the parameters:
// which section each key comes from, the order that decides the titles, the
// picture branch and its messages, the parameter defaults, and the hints.

#include "bootscreen/BootScreenModel.h"
#include "params/IniFile.h"
#include "params/SettingsLoader.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace hmk;

namespace {

IniFile ini(const QString& text)
{
    return IniFile::fromBytes(text.toUtf8());
}

ParamValue& at(ParamValues& values, QStringView name)
{
    return values[paramIndex(*findParam(name))];
}

// Values no settings file of these tests holds, to see what loading left.
ParamValues sentinelValues()
{
    ParamValues values = formValues();
    for (ParamValue& v : values) {
        v.number = 777000;
        v.choice = 1;
        v.text = QStringLiteral("1.2.3.4");
    }
    return values;
}

struct Load
{
    SettingsLoad result;
    QStringList messages;
};

Load load(const IniFile& file, bool factory, BootScreenModel& boot, ParamValues& values)
{
    Load l;
    l.result = LoadSettings(file, factory, boot, values,
                            [&](const QString& message) { l.messages << message; });
    return l;
}

const QString FullSave = QStringLiteral("[LogoDef]\nNotEnableParam=0\n");

} // namespace

class TestSettingsLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parameterValue_data();
    void parameterValue();
    void missingKeysGiveLoaderDefaults();
    void notEnableParamKeepsEveryParameter();
    void switchesComeOnlyFromFactorySection();
    void defaultTitleOrder_data();
    void defaultTitleOrder();
    void fontsFromTheirLists();
    void missingPictureIsReportedAndLoadingGoesOn_data();
    void missingPictureIsReportedAndLoadingGoesOn();
    void picturesThatExist();
    void hints();

private:
    QString installedFamily_;
};

void TestSettingsLoader::initTestCase()
{
    // Settings-file numbers are read with the user's decimal separator.
    QLocale::setDefault(QLocale::c());
    // Only the cases that name an installed font need one; the others run
    // on a machine without fonts too.
    const QStringList families = QFontDatabase::families();
    if (!families.isEmpty())
        installedFamily_ = families.first();
}

void TestSettingsLoader::parameterValue_data()
{
    QTest::addColumn<bool>("factory");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("text");

    QTest::newRow("decimal") << true << "TechnicsDef"
                             << "PunchSpeed=16.3"
                             << "PunchSpeed" << 16300LL << -1 << "";
    QTest::newRow("decimal rounded to the field") << true << "TechnicsDef"
                                                  << "PunchHeight=3.456"
                                                  << "PunchHeight" << 3460LL << -1 << "";
    QTest::newRow("not limited") << true << "TechnicsDef"
                                 << "PunchHeight=50"
                                 << "PunchHeight" << 50000LL << -1 << "";
    QTest::newRow("negative coordinate") << true << "TechnicsDef"
                                         << "CyrusCoordinate=-1.5"
                                         << "CyrusCoordinate" << -1500LL << -1 << "";
    QTest::newRow("comma is no decimal point") << true << "TechnicsDef"
                                               << "PunchHeight=3,5"
                                               << "PunchHeight" << 3000LL << -1 << "";
    QTest::newRow("hexadecimal whole") << true << "ORGDef"
                                       << "ORGSpeed=0x20"
                                       << "ORGSpeed" << 32000LL << -1 << "";
    QTest::newRow("unreadable whole") << true << "SpeedDef"
                                      << "MoveSpeed=fast"
                                      << "MoveSpeed" << 200000LL << -1 << "";
    QTest::newRow("hidden parameter") << true << "FollowDef"
                                      << "IntegrationConstant=7000"
                                      << "IntegrationConstant" << 7000000LL << -1 << "";
    QTest::newRow("choice above last") << true << "MachineDef"
                                       << "ServoType=7"
                                       << "ServoType" << 0LL << 2 << "";
    QTest::newRow("choice below -1") << true << "AlarmDef"
                                     << "LimitAlarm=-5"
                                     << "LimitAlarm" << 0LL << -1 << "";
    QTest::newRow("address text") << true << "NetDef"
                                  << "Gateway=192.168.1.1"
                                  << "Gateway" << 0LL << -1 << "192.168.1.1";
    QTest::newRow("address not checked") << true << "NetDef"
                                         << "IPAddress=+1.1.1.1"
                                         << "IPAddress" << 0LL << -1 << "+1.1.1.1";
    QTest::newRow("last saved section") << false << "Technics"
                                        << "PunchHeight=4.5"
                                        << "PunchHeight" << 4500LL << -1 << "";
    QTest::newRow("last saved ignores factory section") << false << "TechnicsDef"
                                                        << "PunchHeight=4.5"
                                                        << "PunchHeight" << 3000LL << -1 << "";
    QTest::newRow("factory ignores last saved section") << true << "Calibrate"
                                                        << "IntelligentCheck=1"
                                                        << "IntelligentCheck" << 0LL << 0 << "";
}

void TestSettingsLoader::parameterValue()
{
    QFETCH(bool, factory);
    QFETCH(QString, section);
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(qint64, number);
    QFETCH(int, choice);
    QFETCH(QString, text);

    BootScreenModel boot;
    ParamValues values = formValues();
    const Load l = load(ini(FullSave + QStringLiteral("[%1]\n%2\n").arg(section, line)), factory,
                        boot, values);
    QVERIFY(l.result.paramsRead);
    const ParamValue& v = at(values, name);
    switch (findParam(name)->kind) {
    case ControlKind::Numeric:
        QCOMPARE(v.number, number);
        break;
    case ControlKind::Choice:
        QCOMPARE(v.choice, choice);
        break;
    case ControlKind::Address:
        QCOMPARE(v.text, text);
        break;
    }
}

// The three parameters whose loader default is not the form value show
// which default a missing key gives.
void TestSettingsLoader::missingKeysGiveLoaderDefaults()
{
    BootScreenModel boot;
    ParamValues values = sentinelValues();
    QVERIFY(load(ini(FullSave), true, boot, values).result.paramsRead);
    QCOMPARE(at(values, u"ZRange").number, 1000000); // 999.999 shown as 1,000.00
    QCOMPARE(at(values, u"FollowLevel").number, 5000);
    QCOMPARE(at(values, u"IntelligentCheck").choice, 0);
    QCOMPARE(at(values, u"SubnetMask").text, "255.255.255.0");
    QCOMPARE(at(values, u"LeadScrewThread").number, 5000);
    QCOMPARE(at(values, u"ReturnStayPosAfterORG").choice, 1);
    // Nothing keeps the sentinel: every parameter was read.
    for (const ParamEntry& e : catalogue()) {
        const ParamValue& v = values[paramIndex(e)];
        if (e.kind == ControlKind::Numeric)
            QVERIFY2(v.number != 777000, e.name);
        if (e.kind == ControlKind::Address)
            QVERIFY2(v.text != QStringLiteral("1.2.3.4"), e.name);
    }
}

void TestSettingsLoader::notEnableParamKeepsEveryParameter()
{
    if (installedFamily_.isEmpty())
        QSKIP("no fonts installed");
    BootScreenModel boot;
    boot.setUseDefaultScreen(false);
    ParamValues values = sentinelValues();
    const ParamValues before = values;
    const Load l = load(ini(QStringLiteral("[LogoDef]\nNotEnableParam=1\nMainTitle=abc\n"
                                           "SubTitle=def\nDefaultTitle=0\nUsePic=0\n"
                                           "MainTitleFont=%1\n"
                                           "[TechnicsDef]\nPunchHeight=4.5\n")
                                .arg(installedFamily_)),
                        true, boot, values);
    QVERIFY(!l.result.paramsRead);
    QVERIFY(l.result.error.ok());
    QVERIFY(boot.notEnableParam());
    QCOMPARE(boot.mainTitle(), "abc");
    QCOMPARE(boot.subTitle(), "def");
    QCOMPARE(boot.mainFontName(), installedFamily_);
    QCOMPARE(boot.styleIndex(), 0);
    for (int i = 0; i < ParamCount; ++i) {
        QCOMPARE(values[i].number, before[i].number);
        QCOMPARE(values[i].choice, before[i].choice);
        QCOMPARE(values[i].text, before[i].text);
    }
}

// NotEnableParam and ChangePenColor are factory settings: reading the last
// saved values takes them from "LogoDef" too, never from "Logo".
void TestSettingsLoader::switchesComeOnlyFromFactorySection()
{
    BootScreenModel boot;
    ParamValues values = formValues();
    Load l = load(ini(QStringLiteral("[Logo]\nNotEnableParam=1\nChangePenColor=0\n"
                                     "[LogoDef]\nNotEnableParam=0\nChangePenColor=1\n"
                                     "[Technics]\nPunchHeight=4.5\n")),
                  false, boot, values);
    QVERIFY(l.result.paramsRead);
    QVERIFY(!boot.notEnableParam());
    QVERIFY(boot.changePenColor());
    QCOMPARE(at(values, u"PunchHeight").number, 4500);

    l = load(ini(QStringLiteral("[Logo]\nNotEnableParam=0\nChangePenColor=1\n"
                                "[LogoDef]\nNotEnableParam=1\nChangePenColor=0\n")),
             false, boot, values);
    QVERIFY(!l.result.paramsRead);
    QVERIFY(boot.notEnableParam());
    QVERIFY(!boot.changePenColor());
}

// The titles are set before the default-screen switch: switching it on
// replaces them by the default titles, a switch already on keeps them.
void TestSettingsLoader::defaultTitleOrder_data()
{
    QTest::addColumn<bool>("switchedOnBefore");
    QTest::addColumn<QString>("defaultTitle"); // the line, or "" for none
    QTest::addColumn<QString>("mainTitle");
    QTest::addColumn<QString>("subTitle");

    QTest::newRow("already on keeps the titles read") << true << "DefaultTitle=1"
                                                      << "abc"
                                                      << "def";
    QTest::newRow("switched on replaces them")
        << false << "DefaultTitle=1" << DefaultMainTitle << DefaultSubTitle;
    QTest::newRow("missing key is on") << false << "" << DefaultMainTitle << DefaultSubTitle;
    QTest::newRow("true is no integer, so on")
        << false << "DefaultTitle=true" << DefaultMainTitle << DefaultSubTitle;
    QTest::newRow("switched off keeps the titles read") << true << "DefaultTitle=0"
                                                        << "abc"
                                                        << "def";
}

void TestSettingsLoader::defaultTitleOrder()
{
    QFETCH(bool, switchedOnBefore);
    QFETCH(QString, defaultTitle);
    QFETCH(QString, mainTitle);
    QFETCH(QString, subTitle);

    BootScreenModel boot;
    boot.setUseDefaultScreen(switchedOnBefore);
    ParamValues values = formValues();
    load(ini(QStringLiteral("[LogoDef]\nMainTitle=abc\nSubTitle=def\n%1\n").arg(defaultTitle)),
         true, boot, values);
    QCOMPARE(boot.mainTitle(), mainTitle);
    QCOMPARE(boot.subTitle(), subTitle);
}

// Each title edit takes the font its list shows; a font that is not
// installed leaves the list empty and the edit's font as it was.
void TestSettingsLoader::fontsFromTheirLists()
{
    if (installedFamily_.isEmpty())
        QSKIP("no fonts installed");
    BootScreenModel boot;
    const QString subFontBefore = boot.subTitleFont();
    ParamValues values = formValues();
    load(ini(QStringLiteral("[Logo]\nMainTitleFont=%1\nSubTitleFont=No Such Face 42\n")
                 .arg(installedFamily_)),
         false, boot, values);
    QCOMPARE(boot.mainFontName(), installedFamily_);
    QCOMPARE(boot.mainTitleFont(), installedFamily_);
    QCOMPARE(boot.subFontName(), QString());
    QCOMPARE(boot.subTitleFont(), subFontBefore);
}

void TestSettingsLoader::missingPictureIsReportedAndLoadingGoesOn_data()
{
    QTest::addColumn<QString>("usePic");
    QTest::addColumn<QString>("picLine");
    QTest::addColumn<QString>("picFileName");

    QTest::newRow("file gone") << "1"
                               << "PicFileName=/nonexistent/logo.bmp"
                               << "/nonexistent/logo.bmp";
    QTest::newRow("index limited to the picture") << "5"
                                                  << "PicFileName=/nonexistent/logo.bmp"
                                                  << "/nonexistent/logo.bmp";
    QTest::newRow("no name") << "1"
                             << ""
                             << "";
}

void TestSettingsLoader::missingPictureIsReportedAndLoadingGoesOn()
{
    QFETCH(QString, usePic);
    QFETCH(QString, picLine);
    QFETCH(QString, picFileName);

    BootScreenModel boot;
    ParamValues values = formValues();
    const Load l = load(ini(FullSave + QStringLiteral("UsePic=%1\n%2\n[TechnicsDef]\n"
                                                      "PunchHeight=4.5\n")
                                           .arg(usePic, picLine)),
                        true, boot, values);
    QCOMPARE(boot.styleIndex(), 1);
    QCOMPARE(boot.picFileName(), picFileName);
    QCOMPARE(l.messages, QStringList{MissingPictureMessage});
    QVERIFY(l.result.paramsRead);
    QVERIFY(l.result.error.ok());
    QCOMPARE(at(values, u"PunchHeight").number, 4500);
}

void TestSettingsLoader::picturesThatExist()
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.bmp"));
    const QString small = dir.filePath(QStringLiteral("small.bmp"));
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    QImage picture(layout::ScreenWidth, layout::ScreenHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QVERIFY(picture.save(good, "BMP"));
    QVERIFY(picture.copy(0, 0, 100, 32).save(small, "BMP"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a bitmap");
    file.close();

    const auto loadPicture = [&](const QString& path, BootScreenModel& boot, ParamValues& values) {
        return load(ini(FullSave + QStringLiteral("UsePic=1\nPicFileName=%1\n[TechnicsDef]\n"
                                                  "PunchHeight=4.5\n")
                                       .arg(path)),
                    true, boot, values);
    };

    {
        BootScreenModel boot;
        ParamValues values = formValues();
        const Load l = loadPicture(good, boot, values);
        QVERIFY(l.messages.isEmpty());
        QVERIFY(boot.hasPicture());
        QVERIFY(l.result.paramsRead);
    }
    {
        BootScreenModel boot;
        ParamValues values = formValues();
        const Load l = loadPicture(small, boot, values);
        QCOMPARE(l.messages, QStringList{WrongSizeMessage});
        QVERIFY(!boot.hasPicture());
        QVERIFY(l.result.paramsRead);
    }
    {
        // An unreadable picture ends loading before the parameters.
        BootScreenModel boot;
        ParamValues values = formValues();
        const Load l = loadPicture(broken, boot, values);
        QVERIFY(!l.result.error.ok());
        QVERIFY(l.result.error.error.contains(QStringLiteral("broken.bmp")));
        QVERIFY(!l.result.paramsRead);
        QCOMPARE(at(values, u"PunchHeight").number, 3000);
        QCOMPARE(boot.picFileName(), broken);
    }
}

void TestSettingsLoader::hints()
{
    const QHash<QString, QString> hints =
        LoadHints(ini(QStringLiteral("[LogoDef]\nMainTitleHint=main\nSubTitleHint=sub\n"
                                     "[TechnicsDef]\nPunchHeightHint=punch\n"
                                     "[Technics]\nCyrusCoordinateHint=not a factory section\n"
                                     "[MachineDef]\nServoTypeHint=never read\n"
                                     "[FollowDef]\nFollowLevelHint=level\n")));
    QCOMPARE(hints.size(), 48);
    QCOMPARE(hints.value(QStringLiteral("MainTitle")), "main");
    QCOMPARE(hints.value(QStringLiteral("SubTitle")), "sub");
    QCOMPARE(hints.value(QStringLiteral("PunchHeight")), "punch");
    QCOMPARE(hints.value(QStringLiteral("FollowLevel")), "level");
    QCOMPARE(hints.value(QStringLiteral("CyrusCoordinate")), QString());
    QVERIFY(!hints.contains(QStringLiteral("ServoType")));
}

QTEST_MAIN(TestSettingsLoader)
#include "tst_settingsloader.moc"
