// The parameter table is the one list every walker relies on: the settings
// loader, the builder and the opener all find a parameter's image field
// through it. A wrong offset or a default off its field's grid would pass
// through every walker unnoticed, so the table is checked against the image
// layout and against itself.

#include "image/ImageLayout.h"
#include "params/ParamCatalogue.h"
#include "params/ParamValues.h"

#include <QSet>
#include <QTest>
#include <cstring>

using namespace hmk;

class TestParamCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void offsetsAreTheLayoutFieldsOfTheSameName();
    void parameterBlockFollowsCatalogueOrder();
    void groupsAreContiguousAndInOrder();
    void kindsMatchControls();
    void defaultsLieOnTheFieldGrid();
    void loaderDefaultsDifferOnlyWhereIntended();
    void onlyServoTypeHasNoHint();
    void onlyTheCoordinatesAreSigned();
    void findParamBySpelling();
};

void TestParamCatalogue::offsetsAreTheLayoutFieldsOfTheSameName()
{
    QSet<QString> names;
    for (const ParamEntry& e : catalogue()) {
        QVERIFY2(!names.contains(e.nameText()), e.name);
        names.insert(e.nameText());
        const layout::PublishedField* field = nullptr;
        for (const layout::PublishedField& f : layout::PublishedFields) {
            if (std::strcmp(f.name, e.name) == 0)
                field = &f;
        }
        QVERIFY2(field, e.name);
        QCOMPARE(e.offset, field->offset);
    }
    // Every 32-bit field of the parameter block belongs to a parameter.
    int parameterFields = 0;
    for (const layout::PublishedField& f : layout::PublishedFields) {
        if (f.offset >= layout::ParamBlock.start && f.offset < layout::ParamBlock.crcLow())
            ++parameterFields;
    }
    QCOMPARE(parameterFields, ParamCount);
}

// The fields lie four bytes apart in catalogue order, except that
// IntegrationConstant was appended after FollowLevel.
void TestParamCatalogue::parameterBlockFollowsCatalogueOrder()
{
    int expected = layout::ParameterFields;
    for (const ParamEntry& e : catalogue()) {
        if (e.offset == layout::IntegrationConstant)
            continue;
        QCOMPARE(e.offset, expected);
        expected += 4;
    }
    QCOMPARE(layout::IntegrationConstant, expected);
}

// The settings loader, the builder and the opener walk the groups in this
// order; a parameter placed in the wrong group would be read from the wrong
// settings section.
void TestParamCatalogue::groupsAreContiguousAndInOrder()
{
    QStringList walked;
    int group = -1;
    for (const ParamEntry& e : catalogue()) {
        if (e.group != group) {
            QVERIFY2(e.group == group + 1, e.name);
            group = e.group;
            walked << QString::fromLatin1(e.paramGroup().stem);
        }
    }
    QCOMPARE(walked, QStringList({"Technics", "Speed", "ORG", "Jog", "Machine", "Net", "Alarm",
                                  "Edge", "Calibrate", "System", "Follow"}));
    QCOMPARE(findParam(u"NetEnable")->paramGroup().stem, "Net");
    QCOMPARE(findParam(u"IntelligentCheck")->paramGroup().stem, "Calibrate");
    QCOMPARE(findParam(u"ParameterEncrypt")->paramGroup().stem, "System");
}

void TestParamCatalogue::kindsMatchControls()
{
    int decimal = 0, whole = 0, choices = 0, addresses = 0;
    for (const ParamEntry& e : catalogue()) {
        const QString control = QString::fromLatin1(e.control);
        switch (e.kind) {
        case ControlKind::Numeric:
            QVERIFY2(control.startsWith(u"edt"), e.control);
            QCOMPARE(e.choiceCount(), 0);
            (e.integersOnly() ? whole : decimal)++;
            break;
        case ControlKind::Choice:
            QVERIFY2(control.startsWith(u"rg"), e.control);
            QVERIFY2(e.choiceCount() >= 2, e.name);
            ++choices;
            break;
        case ControlKind::Address:
            QVERIFY2(control.startsWith(u"edt"), e.control);
            QCOMPARE(e.paramGroup().stem, "Net");
            ++addresses;
            break;
        }
    }
    QCOMPARE(decimal, 10);
    QCOMPARE(whole, 20);
    QCOMPARE(choices, 14);
    QCOMPARE(addresses, 3);
}

// A numeric field holds only what it can show: the value a new window shows
// is a multiple of the field's last decimal and lies inside its limits. (The
// limits themselves need not: PunchSpeed's Max 99.999 shows as 100.0.)
void TestParamCatalogue::defaultsLieOnTheFieldGrid()
{
    for (const ParamEntry& e : catalogue()) {
        if (e.kind == ControlKind::Choice) {
            QVERIFY2(e.formValue >= 0 && e.formValue < e.choiceCount(), e.name);
            QVERIFY2(e.loaderDefault >= 0 && e.loaderDefault < e.choiceCount(), e.name);
            continue;
        }
        if (!e.isNumeric())
            continue;
        QVERIFY2(roundToDecimals(e.formValue, e.decimals()) == e.formValue, e.name);
        QVERIFY2(applyLimits(e, e.formValue) == e.formValue, e.name);
    }
    const ParamValues form = formValues();
    QCOMPARE(form[paramIndex(*findParam(u"IPAddress"))].text, "10.1.1.188");
    QCOMPARE(form[paramIndex(*findParam(u"SubnetMask"))].text, "255.255.255.0");
    QCOMPARE(form[paramIndex(*findParam(u"Gateway"))].text, "10.1.1.1");
    QCOMPARE(form[paramIndex(*findParam(u"PunchSpeed"))].number, 5000);
    QCOMPARE(form[paramIndex(*findParam(u"ReturnStayPosAfterORG"))].choice, 1);
}

// ZRange, FollowLevel and IntelligentCheck are the only parameters whose
// settings-file default is not what a new window shows.
void TestParamCatalogue::loaderDefaultsDifferOnlyWhereIntended()
{
    QStringList differing;
    for (const ParamEntry& e : catalogue()) {
        if (e.loaderDefault != e.formValue)
            differing << e.nameText();
    }
    QCOMPARE(differing, QStringList({"ZRange", "IntelligentCheck", "FollowLevel"}));
    QCOMPARE(findParam(u"ZRange")->loaderDefault, 999999);
    QCOMPARE(findParam(u"ZRange")->formValue, 999990);
    QCOMPARE(findParam(u"FollowLevel")->loaderDefault, 5000);
    QCOMPARE(findParam(u"FollowLevel")->formValue, 13000);
    QCOMPARE(findParam(u"IntelligentCheck")->loaderDefault, 0);
    QCOMPARE(findParam(u"IntelligentCheck")->choices[0], "开启");
}

void TestParamCatalogue::onlyServoTypeHasNoHint()
{
    QStringList unhinted;
    for (const ParamEntry& e : catalogue()) {
        if (!e.hasHint)
            unhinted << e.nameText();
    }
    QCOMPARE(unhinted, QStringList{"ServoType"});
}

void TestParamCatalogue::findParamBySpelling()
{
    QCOMPARE(hmk::findParam(u"SpeedFeedforword")->control, "edtSpeedFeedforword");
    QCOMPARE(hmk::findParam(u"punchheight"), nullptr); // keys are spelled exactly
    QCOMPARE(hmk::findParam(u"LogoUsePic"), nullptr);  // an image field, not a parameter
}

// The opener reads these fields as signed 32-bit values; any other field
// read that way would turn a large stored value negative.
void TestParamCatalogue::onlyTheCoordinatesAreSigned()
{
    QStringList signedFields;
    for (const ParamEntry& e : catalogue()) {
        if (e.storedSigned())
            signedFields << e.nameText();
    }
    QCOMPARE(signedFields, QStringList({"CyrusCoordinate", "StayCoordinate"}));
}

QTEST_GUILESS_MAIN(TestParamCatalogue)
#include "tst_paramcatalogue.moc"
