// Comparing documents: the three sources of the other document (settings
// file factory and last, a .hkf file with and without parameters, a file
// that fails its check), a difference in each kind of parameter and in each
// boot-screen item, the picture's pixel count, and the limits behind the
// overview's out-of-range mark.

#include "TestFiles.h"
#include "bootscreen/BootScreenModel.h"
#include "params/ConfigBuilder.h"
#include "params/DocumentCompare.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace hmk;

Q_DECLARE_METATYPE(hmk::BootItem)
Q_DECLARE_METATYPE(hmk::ParamValue)

namespace {

ParamValue& at(ParamValues& values, QStringView name)
{
    return values[paramIndex(*findParam(name))];
}

const ParamValue& at(const ParamValues& values, QStringView name)
{
    return values[paramIndex(*findParam(name))];
}

Document freshDocument()
{
    BootScreenModel boot;
    return documentOf(formValues(), boot);
}

// Settings whose factory and last sections differ from the form values and
// from each other. A fresh window's default-screen switch is already on, so
// the factory DefaultTitle=1 keeps the title just read instead of putting
// the default one in.
IniFile settings()
{
    return IniFile::fromBytes(QStringLiteral("[LogoDef]\nNotEnableParam=0\nMainTitle=出厂\n"
                                             "DefaultTitle=1\n"
                                             "[Logo]\nMainTitle=上次\nDefaultTitle=0\n"
                                             "[TechnicsDef]\nPunchHeight=4.5\n"
                                             "[Technics]\nPunchHeight=6.25\n")
                                  .toUtf8());
}

// Saves `values` and `boot` the way the window does.
QByteArray savedImage(const ParamValues& values, BootScreenModel& boot)
{
    THMK725ConfigData config;
    if (ExportConfig(QStringLiteral("cmp.hkf"), values, boot, config) != ExportResult::Built)
        return {};
    return config.bytes();
}

QStringList names(const QList<Difference>& diffs)
{
    QStringList list;
    for (const Difference& d : diffs)
        list << d.name;
    return list;
}

} // namespace

class TestDocumentCompare : public QObject
{
    Q_OBJECT

private slots:
    void settingsSources();
    void noSettingsFileIsTheFreshWindow();
    void fileWithParameters();
    void fileWithoutParametersComparesBootScreenOnly();
    void failingFileComparesNothing_data();
    void failingFileComparesNothing();
    void parameterDifference_data();
    void parameterDifference();
    void differencesInCatalogueOrder();
    void bootItemDifference_data();
    void bootItemDifference();
    void pictureDiffersInOnePixel();
    void applyBootStateReproducesTheState();
    void limits_data();
    void limits();
};

void TestDocumentCompare::settingsSources()
{
    const IniFile ini = settings();
    QStringList messages;
    const auto show = [&](const QString& m) { messages << m; };

    const OtherDocument factory = settingsDocument(&ini, true, show);
    QVERIFY(factory.document);
    QVERIFY(factory.paramsIncluded);
    QCOMPARE(at(factory.document->params, u"PunchHeight").number, 4500);
    QCOMPARE(factory.document->boot.useDefaultScreen, true);
    QCOMPARE(factory.document->boot.mainTitle, QStringLiteral("出厂"));
    // Keys the file lacks give their loader defaults, not the form values.
    QCOMPARE(at(factory.document->params, u"FollowLevel").number, 5000);
    QCOMPARE(at(factory.document->params, u"IntelligentCheck").choice, 0);

    const OtherDocument last = settingsDocument(&ini, false, show);
    QVERIFY(last.document);
    QCOMPARE(at(last.document->params, u"PunchHeight").number, 6250);
    QCOMPARE(last.document->boot.useDefaultScreen, false);
    QCOMPARE(last.document->boot.mainTitle, QStringLiteral("上次"));
    QVERIFY(messages.isEmpty());

    const QList<Difference> diffs = compareDocuments(*factory.document, *last.document);
    QVERIFY(names(diffs).contains(QStringLiteral("PunchHeight")));
    QVERIFY(names(diffs).contains(QStringLiteral("MainTitle")));
}

void TestDocumentCompare::noSettingsFileIsTheFreshWindow()
{
    const OtherDocument factory = settingsDocument(nullptr, true, {});
    QVERIFY(factory.document);
    QVERIFY(compareDocuments(freshDocument(), *factory.document).isEmpty());
    QCOMPARE(at(factory.document->params, u"FollowLevel").number, 13000);
}

void TestDocumentCompare::fileWithParameters()
{
    QTemporaryDir dir;
    ParamValues values = formValues();
    at(values, u"PunchHeight").number = 7250;
    at(values, u"ServoType").choice = 2;
    BootScreenModel boot;
    boot.setNotEnableParam(false);
    boot.setUseDefaultScreen(false);
    boot.setSubTitle(QStringLiteral("二号机"));
    const QString path = dir.filePath(QStringLiteral("m.hkf"));
    QVERIFY(writeAll(path, savedImage(values, boot)));

    const Document current = freshDocument();
    const OtherDocument other = fileDocument(current, path);
    QVERIFY2(other.error.isEmpty(), qPrintable(other.error));
    QVERIFY(other.document);
    QVERIFY(other.paramsIncluded);
    QVERIFY(other.note.isEmpty());
    const QList<Difference> diffs = compareDocuments(current, *other.document);
    QCOMPARE(names(diffs),
             (QStringList{QStringLiteral("UseDefaultScreen"), QStringLiteral("SubTitle"),
                          QStringLiteral("PunchHeight"), QStringLiteral("ServoType")}));
    QCOMPARE(diffs[1].theirs, QStringLiteral("二号机"));
    QCOMPARE(diffs[2].ours, QStringLiteral("3.00"));
    QCOMPARE(diffs[2].theirs, QStringLiteral("7.25"));
    QCOMPARE(diffs[3].theirs, QStringLiteral("东元伺服"));
}

void TestDocumentCompare::fileWithoutParametersComparesBootScreenOnly()
{
    QTemporaryDir dir;
    ParamValues saved = formValues();
    at(saved, u"PunchHeight").number = 9000;
    BootScreenModel boot; // a fresh page: only the boot screen is set
    QVERIFY(boot.notEnableParam());
    boot.setUseDefaultScreen(false);
    boot.setMainTitle(QStringLiteral("只有画面"));
    const QString path = dir.filePath(QStringLiteral("screen.hkf"));
    QVERIFY(writeAll(path, savedImage(saved, boot)));

    Document current = freshDocument();
    at(current.params, u"PunchHeight").number = 1230;
    const OtherDocument other = fileDocument(current, path);
    QVERIFY(other.document);
    QVERIFY(!other.paramsIncluded);
    QVERIFY(!other.note.isEmpty());
    // The window keeps its parameters: the other document has them too.
    QCOMPARE(at(other.document->params, u"PunchHeight").number, 1230);
    const QList<Difference> diffs =
        compareDocuments(current, *other.document, other.paramsIncluded);
    QCOMPARE(names(diffs),
             (QStringList{QStringLiteral("UseDefaultScreen"), QStringLiteral("MainTitle")}));
}

void TestDocumentCompare::failingFileComparesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    BootScreenModel boot;
    QByteArray damaged = savedImage(formValues(), boot);
    damaged[layout::ParameterFields] = char(damaged[layout::ParameterFields] ^ 1);
    QTest::newRow("damaged block") << damaged << QStringLiteral("块校验和不符");
    QTest::newRow("short file") << savedImage(formValues(), boot).left(4095)
                                << QStringLiteral("只有 4095 字节");
}

void TestDocumentCompare::failingFileComparesNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.hkf"));
    QVERIFY(writeAll(path, bytes));

    const OtherDocument other = fileDocument(freshDocument(), path);
    QVERIFY(!other.document);
    QVERIFY(other.error.startsWith(QStringLiteral("读取错误：CRC校验失败！")));
    QVERIFY2(other.error.contains(reason), qPrintable(other.error));

    const OtherDocument missing = fileDocument(freshDocument(), dir.filePath("none.hkf"));
    QVERIFY(!missing.document);
    QVERIFY(missing.error.contains(QStringLiteral("文件不存在")));
}

void TestDocumentCompare::parameterDifference_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<ParamValue>("value");
    QTest::addColumn<QString>("ours");
    QTest::addColumn<QString>("theirs");

    QTest::newRow("two decimals") << "PunchHeight" << ParamValue{3500, -1, {}} << "3.00"
                                  << "3.50";
    QTest::newRow("one decimal") << "PunchSpeed" << ParamValue{16300, -1, {}} << "5.0"
                                 << "16.3";
    QTest::newRow("three decimals") << "LeadScrewThread" << ParamValue{1, -1, {}} << "5.000"
                                    << "0.001";
    QTest::newRow("whole, thousands") << "PulsePerRound" << ParamValue{20000000, -1, {}} << "10,000"
                                      << "20,000";
    QTest::newRow("negative coordinate") << "CyrusCoordinate" << ParamValue{-1500, -1, {}} << "0.00"
                                         << "-1.50";
    QTest::newRow("choice") << "FollowType" << ParamValue{0, 2, {}} << "直接切割"
                            << "渐进穿孔";
    QTest::newRow("choice, none selected") << "NetEnable" << ParamValue{0, -1, {}} << "开启"
                                           << "";
    QTest::newRow("address") << "Gateway" << ParamValue{0, -1, QStringLiteral("10.1.1.254")}
                             << "10.1.1.1"
                             << "10.1.1.254";
}

void TestDocumentCompare::parameterDifference()
{
    QFETCH(QString, name);
    QFETCH(ParamValue, value);
    QFETCH(QString, ours);
    QFETCH(QString, theirs);

    const Document a = freshDocument();
    Document b = a;
    const ParamEntry& entry = *findParam(name);
    ParamValue& v = at(b.params, name);
    switch (entry.kind) {
    case ControlKind::Numeric:
        v.number = value.number;
        break;
    case ControlKind::Choice:
        v.choice = value.choice;
        break;
    case ControlKind::Address:
        v.text = value.text;
        break;
    }
    const QList<Difference> diffs = compareDocuments(a, b);
    QCOMPARE(diffs.size(), 1);
    QCOMPARE(diffs[0].param, &entry);
    QCOMPARE(diffs[0].name, name);
    QCOMPARE(diffs[0].ours, ours);
    QCOMPARE(diffs[0].theirs, theirs);
    QVERIFY(!diffs[0].label.endsWith(QChar(u'：')));

    // Parameters left out: nothing differs.
    QVERIFY(compareDocuments(a, b, false).isEmpty());
}

void TestDocumentCompare::differencesInCatalogueOrder()
{
    const Document a = freshDocument();
    Document b = a;
    // IntegrationConstant's field lies after FollowLevel's in the image; the
    // catalogue has it second in its group.
    at(b.params, u"FollowLevel").number = 20000;
    at(b.params, u"IntegrationConstant").number = 7000000;
    at(b.params, u"PunchHeight").number = 5000;
    b.boot.subTitle = QStringLiteral("x");
    QCOMPARE(names(compareDocuments(a, b)),
             (QStringList{QStringLiteral("SubTitle"), QStringLiteral("PunchHeight"),
                          QStringLiteral("IntegrationConstant"), QStringLiteral("FollowLevel")}));
}

void TestDocumentCompare::bootItemDifference_data()
{
    QTest::addColumn<BootItem>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("theirs");

    QTest::newRow("style") << BootItem::Style << "Style"
                           << "导入图片";
    QTest::newRow("default screen") << BootItem::UseDefaultScreen << "UseDefaultScreen"
                                    << "否";
    QTest::newRow("main title") << BootItem::MainTitle << "MainTitle"
                                << "新标题";
    QTest::newRow("main font") << BootItem::MainFont << "MainTitleFont"
                               << "黑体";
    QTest::newRow("sub title") << BootItem::SubTitle << "SubTitle"
                               << "新副标题";
    QTest::newRow("sub font") << BootItem::SubFont << "SubTitleFont"
                              << "楷体";
}

void TestDocumentCompare::bootItemDifference()
{
    QFETCH(BootItem, item);
    QFETCH(QString, name);
    QFETCH(QString, theirs);

    const Document a = freshDocument();
    Document b = a;
    switch (item) {
    case BootItem::Style:
        b.boot.style = 1;
        break;
    case BootItem::UseDefaultScreen:
        b.boot.useDefaultScreen = false;
        break;
    case BootItem::MainTitle:
        b.boot.mainTitle = theirs;
        break;
    case BootItem::MainFont:
        b.boot.mainFont = theirs;
        break;
    case BootItem::SubTitle:
        b.boot.subTitle = theirs;
        break;
    case BootItem::SubFont:
        b.boot.subFont = theirs;
        break;
    case BootItem::Picture:
        break;
    }
    const QList<Difference> diffs = compareDocuments(a, b);
    QCOMPARE(names(diffs), QStringList{name});
    QVERIFY(!diffs[0].param);
    QCOMPARE(diffs[0].bootItem, item);
    QCOMPARE(diffs[0].theirs, theirs);
    QVERIFY(!diffs[0].label.isEmpty());
}

void TestDocumentCompare::pictureDiffersInOnePixel()
{
    Document a = freshDocument();
    a.boot.style = 1;
    a.boot.useDefaultScreen = false;
    a.boot.picture = QByteArray(layout::LogoPixelFontsSize, '\0');
    Document b = a;
    // Column 5, row 8 * 2 + 3.
    b.boot.picture[layout::BandSize * 2 + 5] = char(1 << 3);
    const QList<Difference> diffs = compareDocuments(a, b);
    QCOMPARE(names(diffs), QStringList{QStringLiteral("Picture")});
    QCOMPARE(diffs[0].pixels, 1);

    // In title style the picture is not what the controller shows.
    a.boot.style = b.boot.style = 0;
    QVERIFY(compareDocuments(a, b).isEmpty());
}

void TestDocumentCompare::applyBootStateReproducesTheState()
{
    // Taking items in through the page's setters ends in the state taken,
    // with its reactions: a picture locks the switch off.
    BootScreenState picture;
    picture.style = 1;
    picture.useDefaultScreen = false;
    picture.mainTitle = QStringLiteral("甲");
    picture.subTitle = QStringLiteral("乙");
    picture.picture = QByteArray(layout::LogoPixelFontsSize, '\x55');
    BootScreenModel boot;
    applyBootState(boot, picture);
    const BootScreenState back = bootStateOf(boot);
    QCOMPARE(back.style, 1);
    QCOMPARE(back.useDefaultScreen, false);
    QCOMPARE(back.mainTitle, picture.mainTitle);
    QCOMPARE(back.picture, picture.picture);
    QVERIFY(!boot.useDefaultEnabled());

    // Switching the default screen on brings the default titles with it.
    BootScreenModel titles;
    BootScreenState def = bootStateOf(titles);
    titles.setUseDefaultScreen(false);
    titles.setMainTitle(QStringLiteral("旧"));
    applyBootItem(titles, BootItem::UseDefaultScreen, def);
    QCOMPARE(titles.mainTitle(), DefaultMainTitle);
}

void TestDocumentCompare::limits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<bool>("outside");
    QTest::addColumn<QString>("text");

    QTest::newRow("above max") << "PunchHeight" << qint64(50000) << true << "0.20 ～ 10.00";
    QTest::newRow("at max") << "PunchHeight" << qint64(10000) << false << "0.20 ～ 10.00";
    QTest::newRow("below min") << "MaxRPM" << qint64(99000) << true << "100 ～ 9,000";
    QTest::newRow("no limits") << "CyrusCoordinate" << qint64(-99999000) << false << "";
    QTest::newRow("zero min") << "PunchDelay" << qint64(0) << false << "0 ～ 9,999";
}

void TestDocumentCompare::limits()
{
    QFETCH(QString, name);
    QFETCH(qint64, value);
    QFETCH(bool, outside);
    QFETCH(QString, text);
    const ParamEntry& entry = *findParam(name);
    QCOMPARE(outsideLimits(entry, value), outside);
    if (entry.hasLimits())
        QCOMPARE(limitsText(entry), text);
}

QTEST_MAIN(TestDocumentCompare)
#include "tst_documentcompare.moc"
