// Building the image for a save: the network address check that can refuse
// it, the field conversions, the boot-screen-only mode, and that what was
// saved comes back when the image is opened. The boot screen itself is
// another module's business; here only the header and the parameter block
// are compared.

#include "bootscreen/BootScreenModel.h"
#include "image/CfgHMK725.h"
#include "params/ConfigBuilder.h"
#include "params/ConfigOpener.h"
#include "params/ParamValues.h"

#include <QTest>

using namespace hmk;

namespace {

ParamValue& at(ParamValues& values, QStringView name)
{
    const ParamEntry* entry = findParam(name);
    Q_ASSERT(entry);
    return values[paramIndex(*entry)];
}

QByteArray parameterBlock(const THMK725ConfigData& config)
{
    return config.bytes().mid(layout::ParamBlock.start, layout::ParamBlock.size);
}

QByteArray fieldBytes(const THMK725ConfigData& config, int offset)
{
    return config.bytes().mid(offset, 4);
}

// The boot-screen page and the image object of one run, set for full saves
// (a new page starts with "only the boot screen" checked).
struct Run
{
    Run() { boot.setNotEnableParam(false); }
    ExportResult save(const QString& path, const ParamValues& values)
    {
        return ExportConfig(path, values, boot, config);
    }

    BootScreenModel boot;
    THMK725ConfigData config;
};

} // namespace

class TestConfigBuilder : public QObject
{
    Q_OBJECT

private slots:
    void checkNetAddress_data();
    void checkNetAddress();
    void fullSaveOfFormValues();
    void conversions_data();
    void conversions();
    void trailingDotStoredAsFourParts();
    void refusedSaveLeavesImageUntouched_data();
    void refusedSaveLeavesImageUntouched();
    void bootScreenOnlyKeepsLastParameters();
    void savedValuesComeBack();
};

void TestConfigBuilder::checkNetAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("mask");
    QTest::addColumn<bool>("valid");

    QTest::newRow("address") << "10.1.1.188" << false << true;
    QTest::newRow("255 not in an address") << "192.168.1.255" << false << false;
    QTest::newRow("254 in an address") << "192.168.1.254" << false << true;
    QTest::newRow("255 in a mask") << "255.255.255.255" << true << true;
    QTest::newRow("256 not even in a mask") << "255.255.255.256" << true << false;
    QTest::newRow("leading zeros") << "010.001.1.1" << false << true;
    QTest::newRow("three parts") << "10.1.1" << false << false;
    QTest::newRow("five parts") << "10.1.1.1.1" << false << false;
    QTest::newRow("empty part") << "10..1.1" << false << false;
    QTest::newRow("trailing dot adds no part") << "10.1.1.1." << false << true;
    QTest::newRow("two trailing dots") << "10.1.1.1.." << false << false;
    QTest::newRow("leading dot") << ".10.1.1.1" << false << false;
    QTest::newRow("empty") << "" << true << false;
    QTest::newRow("plus sign") << "+1.1.1.1" << false << false;
    QTest::newRow("minus sign") << "1.1.-1.1" << true << false;
    QTest::newRow("blank") << "10.1.1. 1" << false << false;
    QTest::newRow("full-width digit") << QStringLiteral("10.1.1.１") << false << false;
    QTest::newRow("hex") << "0x0A.1.1.1" << false << false;
    QTest::newRow("overlong part does not wrap") << "10.1.1.4294967297" << true << false;
}

void TestConfigBuilder::checkNetAddress()
{
    QFETCH(QString, text);
    QFETCH(bool, mask);
    QFETCH(bool, valid);
    QCOMPARE(CheckNetAddress(text, mask), valid);
}

void TestConfigBuilder::fullSaveOfFormValues()
{
    Run run;
    THMK725ConfigData& config = run.config;
    QCOMPARE(run.save(QStringLiteral("/tmp/machine1.hkf"), formValues()), ExportResult::Built);
    QCOMPARE(checkImage(config.bytes()), ImageCheck::Ok);
    QCOMPARE(config.IncludeParam(), 1u);
    QCOMPARE(config.bytes().mid(layout::ConfigName, 8), "machine1");
    QCOMPARE(fieldBytes(config, layout::IPAddress), QByteArray::fromHex("BC01010A"));
    QCOMPARE(fieldBytes(config, layout::SubnetMask), QByteArray::fromHex("00FFFFFF"));
    QCOMPARE(fieldBytes(config, layout::Gateway), QByteArray::fromHex("0101010A"));
    QCOMPARE(config.NetEnable(), 1u);
    QCOMPARE(config.ZRange(), 999990u);
    QCOMPARE(config.FollowLevel(), 13u);
    QCOMPARE(config.IntelligentCheck(), 1u);
    // The hidden parameters are saved like the others, IntegrationConstant
    // after FollowLevel.
    QCOMPARE(config.FollowSpeed(), 100u);
    QCOMPARE(config.GetByIndex(0x8B8), 6000u);
    // Nothing beyond the 47 fields.
    QCOMPARE(config.bytes().mid(0x8BC, 0xFFE - 0x8BC), QByteArray(0xFFE - 0x8BC, '\0'));
}

void TestConfigBuilder::conversions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("value"); // thousandths, or the choice index
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("PunchHeight 3.00") << "PunchHeight" << 3000LL << QByteArray::fromHex("B80B0000");
    QTest::newRow("LeadScrewThread 0.001")
        << "LeadScrewThread" << 1LL << QByteArray::fromHex("01000000");
    QTest::newRow("PunchSpeed 16.3") << "PunchSpeed" << 16300LL << QByteArray::fromHex("AC3F0000");
    QTest::newRow("CyrusCoordinate -1.50")
        << "CyrusCoordinate" << -1500LL << QByteArray::fromHex("24FAFFFF");
    QTest::newRow("StayCoordinate -0.01")
        << "StayCoordinate" << -10LL << QByteArray::fromHex("F6FFFFFF");
    QTest::newRow("whole MoveSpeed 200")
        << "MoveSpeed" << 200000LL << QByteArray::fromHex("C8000000");
    QTest::newRow("whole ConfigWord 99999999")
        << "ConfigWord" << 99999999000LL << QByteArray::fromHex("FFE0F505");
    QTest::newRow("whole PulsePerRound 4294967295")
        << "PulsePerRound" << 4294967295000LL << QByteArray::fromHex("FFFFFFFF");
    // Beyond 32 bits the value is held at the end it passed, not cut to its
    // low bits: an opened FF FF FF FF thousandths shows as 4294967.3 in a
    // one-decimal field and must not save as 0.004.
    QTest::newRow("PunchSpeed rounded up past 32 bits")
        << "PunchSpeed" << 4294967300LL << QByteArray::fromHex("FFFFFFFF");
    QTest::newRow("whole PulsePerRound 4294967296")
        << "PulsePerRound" << 4294967296000LL << QByteArray::fromHex("FFFFFFFF");
    QTest::newRow("CyrusCoordinate below -2147483.648")
        << "CyrusCoordinate" << -3000000000LL << QByteArray::fromHex("00000080");
    QTest::newRow("choice index") << "FollowType" << 2LL << QByteArray::fromHex("02000000");
    QTest::newRow("choice nothing selected")
        << "ServoType" << -1LL << QByteArray::fromHex("FFFFFFFF");
    QTest::newRow("hidden IntegrationConstant")
        << "IntegrationConstant" << 99999000LL << QByteArray::fromHex("9F860100");
}

void TestConfigBuilder::conversions()
{
    QFETCH(QString, name);
    QFETCH(qint64, value);
    QFETCH(QByteArray, stored);

    ParamValues values = formValues();
    const ParamEntry& entry = *findParam(name);
    if (entry.kind == ControlKind::Choice)
        at(values, name).choice = int(value);
    else
        at(values, name).number = value;
    Run run;
    THMK725ConfigData& config = run.config;
    QCOMPARE(run.save(QStringLiteral("c.hkf"), values), ExportResult::Built);
    QCOMPARE(fieldBytes(config, entry.offset), stored);
}

void TestConfigBuilder::trailingDotStoredAsFourParts()
{
    ParamValues values = formValues();
    at(values, u"Gateway").text = QStringLiteral("10.1.1.1.");
    Run run;
    THMK725ConfigData& config = run.config;
    QCOMPARE(run.save(QStringLiteral("c.hkf"), values), ExportResult::Built);
    QCOMPARE(fieldBytes(config, layout::Gateway), QByteArray::fromHex("0101010A"));
}

void TestConfigBuilder::refusedSaveLeavesImageUntouched_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("address with 255") << "IPAddress"
                                      << "192.168.1.255";
    QTest::newRow("mask of three parts") << "SubnetMask"
                                         << "255.255.255";
    QTest::newRow("gateway with a sign") << "Gateway"
                                         << "+10.1.1.1";
}

void TestConfigBuilder::refusedSaveLeavesImageUntouched()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    Run run;
    THMK725ConfigData& config = run.config;
    ParamValues values = formValues();
    QCOMPARE(run.save(QStringLiteral("first.hkf"), values), ExportResult::Built);
    const QByteArray before = config.bytes();

    at(values, name).text = text;
    at(values, u"PunchHeight").number = 7000;
    QCOMPARE(run.save(QStringLiteral("second.hkf"), values), ExportResult::RefusedNetAddress);
    QCOMPARE(config.bytes(), before);
}

// With only the boot screen set, the addresses are not checked and the
// parameter block keeps what the last full save wrote.
void TestConfigBuilder::bootScreenOnlyKeepsLastParameters()
{
    Run run;
    THMK725ConfigData& config = run.config;
    ParamValues values = formValues();
    at(values, u"PunchHeight").number = 4500;
    QCOMPARE(run.save(QStringLiteral("full.hkf"), values), ExportResult::Built);
    const QByteArray fullParams = parameterBlock(config);

    at(values, u"PunchHeight").number = 9000;
    at(values, u"IPAddress").text = QStringLiteral("not an address");
    run.boot.setNotEnableParam(true);
    QCOMPARE(run.save(QStringLiteral("screen.hkf"), values), ExportResult::Built);
    QCOMPARE(config.IncludeParam(), 0u);
    QCOMPARE(config.bytes().mid(layout::ConfigName, 8), "screen  ");
    QCOMPARE(parameterBlock(config), fullParams);
    QCOMPARE(config.PunchHeight(), 4500u);
    QCOMPARE(checkImage(config.bytes()), ImageCheck::Ok);
}

// Opening is the inverse of saving: every value a control can hold, negative
// coordinates included, comes back unchanged.
void TestConfigBuilder::savedValuesComeBack()
{
    ParamValues values = formValues();
    at(values, u"CyrusCoordinate").number = -1500;
    at(values, u"StayCoordinate").number = -123450;
    at(values, u"LeadScrewThread").number = 1;
    at(values, u"PunchSpeed").number = 16300;
    at(values, u"ZRange").number = 1000000;
    at(values, u"PulsePerRound").number = 4294967295000;
    at(values, u"ServoType").choice = 2;
    at(values, u"LimitAlarm").choice = -1;
    at(values, u"IPAddress").text = QStringLiteral("192.168.0.7");
    Run run;
    THMK725ConfigData& config = run.config;
    QCOMPARE(run.save(QStringLiteral("round.hkf"), values), ExportResult::Built);

    const ParamValues back = RestoreParams(config.data().data());
    for (const ParamEntry& e : catalogue()) {
        const ParamValue& want = values[paramIndex(e)];
        const ParamValue& got = back[paramIndex(e)];
        QCOMPARE(got.number, want.number);
        QVERIFY2(got.choice == want.choice, e.name);
        QCOMPARE(got.text, want.text);
    }
}

QTEST_MAIN(TestConfigBuilder)
#include "tst_configbuilder.moc"
