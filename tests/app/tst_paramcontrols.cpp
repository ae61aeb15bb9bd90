// The three kinds of parameter control: numeric field, choice group and
// address field.

#include "AddressEdit.h"
#include "ChoiceGroup.h"
#include "NumericEdit.h"
#include "params/ParamCatalogue.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QtTest>

using namespace hmk;

namespace {

const ParamEntry& param(const char* name)
{
    const ParamEntry* entry = findParam(QString::fromLatin1(name));
    Q_ASSERT(entry);
    return *entry;
}

// What the field does when the user moves on to another control.
void leave(QWidget* field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &out);
}

// Typing characters, including ones that QTest::keyClicks cannot send.
void type(QWidget* field, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
    }
}

} // namespace

class TestParamControls : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void numericPutIn_data();
    void numericPutIn();
    void numericTypedText_data();
    void numericTypedText();
    void numericLimitsOnLeaving_data();
    void numericLimitsOnLeaving();
    void numericEmptyReadsAsMin();
    void integersOnlyRefusesDecimalSeparator();
    void followLevelTypesAtMostNineCharacters();
    void contextMenuFocusLossKeepsTyping();

    void choiceIndexLimiting_data();
    void choiceIndexLimiting();

    void addressKeyFilter_data();
    void addressKeyFilter();
    void addressInputMethodShowsPreedit();
    void addressEditingKeys_data();
    void addressEditingKeys();
    void addressPasteAndDropAreNotFiltered_data();
    void addressPasteAndDropAreNotFiltered();
};

void TestParamControls::numericPutIn_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<qint64>("value"); // thousandths
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("readBack");

    QTest::newRow("two decimals round") << "PunchHeight" << qint64(3456) << "3.46" << qint64(3460);
    QTest::newRow("put in beyond Max")
        << "PunchHeight" << qint64(50000) << "50.00" << qint64(50000);
    QTest::newRow("ZRange loader default")
        << "ZRange" << qint64(999999) << "1,000.00" << qint64(1000000);
    QTest::newRow("one decimal") << "PunchSpeed" << qint64(5050) << "5.1" << qint64(5100);
    QTest::newRow("three decimals") << "LeadScrewThread" << qint64(1234) << "1.234" << qint64(1234);
    QTest::newRow("thousands separator")
        << "PulsePerRound" << qint64(10000000) << "10,000" << qint64(10000000);
    QTest::newRow("whole rounds half away") << "MoveSpeed" << qint64(2500) << "3" << qint64(3000);
    QTest::newRow("negative whole in parentheses")
        << "MaxRPM" << qint64(-1234000) << "(1,234)" << qint64(-1234000);
    QTest::newRow("negative coordinate")
        << "CyrusCoordinate" << qint64(-12500) << "-12.50" << qint64(-12500);
}

void TestParamControls::numericPutIn()
{
    QFETCH(QString, param);
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QFETCH(qint64, readBack);

    NumericEdit edit(*findParam(param));
    edit.setValue(value);
    QCOMPARE(edit.text(), text);
    QCOMPARE(edit.value(), readBack);
}

void TestParamControls::numericTypedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");

    QTest::newRow("separators dropped") << "12,345.5" << qint64(12345500);
    QTest::newRow("parentheses negative") << "(7)" << qint64(-7000);
    QTest::newRow("not a number") << "abc" << qint64(0);
    // CyrusCoordinate shows two decimals; a longer text reads as it rounds.
    QTest::newRow("more decimals than shown round") << "1.23456" << qint64(1230);
    QTest::newRow("half of the last decimal rounds up") << "1.235" << qint64(1240);
}

void TestParamControls::numericTypedText()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);

    NumericEdit edit(param("CyrusCoordinate"));
    edit.setText(text);
    QCOMPARE(edit.value(), value);
}

void TestParamControls::numericLimitsOnLeaving_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("below Min") << "PunchHeight"
                               << "0.1"
                               << "0.20";
    QTest::newRow("above Max") << "PunchHeight"
                               << "12"
                               << "10.00";
    QTest::newRow("inside, formatted") << "PunchHeight"
                                       << "3.456"
                                       << "3.46";
    QTest::newRow("fourth decimal rounds up") << "LeadScrewThread"
                                              << "1.2345"
                                              << "1.235";
    QTest::newRow("fourth decimal below half") << "LeadScrewThread"
                                               << "1.2344"
                                               << "1.234";
    QTest::newRow("rounded, then limited") << "ZRange"
                                           << "999.996"
                                           << "999.99";
    QTest::newRow("above Max, whole") << "MaxRPM"
                                      << "10000"
                                      << "9,000";
    QTest::newRow("no limits, negative") << "CyrusCoordinate"
                                         << "-123456.7"
                                         << "-123,456.70";
    QTest::newRow("no limits, large") << "StayCoordinate"
                                      << "99999"
                                      << "99,999.00";
    QTest::newRow("put-in value limited when left") << "ZRange"
                                                    << "1,000.00"
                                                    << "999.99";
}

void TestParamControls::numericLimitsOnLeaving()
{
    QFETCH(QString, param);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    NumericEdit edit(*findParam(param));
    edit.setText(typed);
    const QString before = edit.text();
    QCOMPARE(before, typed); // nothing happens while the user is in the field
    leave(&edit);
    QCOMPARE(edit.text(), shown);
}

void TestParamControls::numericEmptyReadsAsMin()
{
    NumericEdit edit(param("PunchSpeed"));
    edit.clear();
    QCOMPARE(edit.value(), qint64(100));
    QCOMPARE(edit.text(), QStringLiteral("0.1"));

    NumericEdit unlimited(param("CyrusCoordinate"));
    unlimited.clear();
    QCOMPARE(unlimited.value(), qint64(0));
    QCOMPARE(unlimited.text(), QStringLiteral("0.00"));
}

void TestParamControls::integersOnlyRefusesDecimalSeparator()
{
    NumericEdit whole(param("MoveSpeed"));
    whole.clear();
    QTest::keyClicks(&whole, QStringLiteral("1.5"));
    QCOMPARE(whole.text(), QStringLiteral("15"));

    NumericEdit decimal(param("PunchHeight"));
    decimal.clear();
    QTest::keyClicks(&decimal, QStringLiteral("1.5"));
    QCOMPARE(decimal.text(), QStringLiteral("1.5"));
}

void TestParamControls::followLevelTypesAtMostNineCharacters()
{
    NumericEdit edit(param("FollowLevel"));
    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("12345678901"));
    QCOMPARE(edit.text(), QStringLiteral("123456789"));

    // A longer value put in by the program stays whole and can be shortened.
    edit.setValue(qint64(1234567890) * 1000);
    QCOMPARE(edit.text(), QStringLiteral("1,234,567,890"));
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("1,234,567,89"));

    NumericEdit other(param("ConfigWord"));
    other.clear();
    QTest::keyClicks(&other, QStringLiteral("12345678901"));
    QCOMPARE(other.text(), QStringLiteral("12345678901"));
}

void TestParamControls::contextMenuFocusLossKeepsTyping()
{
    NumericEdit edit(param("PunchHeight"));
    edit.setText(QStringLiteral("12"));
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(&edit, &popup);
    QCOMPARE(edit.text(), QStringLiteral("12"));
}

void TestParamControls::choiceIndexLimiting_data()
{
    QTest::addColumn<qint64>("put");
    QTest::addColumn<int>("selected");

    QTest::newRow("first") << qint64(0) << 0;
    QTest::newRow("last") << qint64(1) << 1;
    QTest::newRow("above the last") << qint64(7) << 1;
    QTest::newRow("minus one") << qint64(-1) << -1;
    QTest::newRow("below minus one") << qint64(-5) << -1;
}

void TestParamControls::choiceIndexLimiting()
{
    QFETCH(qint64, put);
    QFETCH(int, selected);

    ChoiceGroup group({QStringLiteral("关闭"), QStringLiteral("开启")});
    group.setItemIndex(1); // something selected before, so "nothing" shows
    group.setItemIndex(put);
    QCOMPARE(group.itemIndex(), selected);
    if (selected >= 0)
        QCOMPARE(group.caption(selected),
                 selected ? QStringLiteral("开启") : QStringLiteral("关闭"));
}

// The same characters typed as keys and committed at once by an input method
// give the same text.
void TestParamControls::addressKeyFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("committed");
    QTest::addColumn<QString>("text");

    const struct
    {
        const char* name;
        const char* typed;
        const char* text;
    } cases[] = {
        {"digits and dots", "192.168.0.1", "192.168.0.1"},
        {"letters dropped", "1a2b", "12"},
        {"space and minus dropped", "1 -2", "12"},
        {"wide characters dropped", "1．２3", "13"},
        {"Chinese dropped", "1点2", "12"},
        {"no limit on dots or length", "1...2222", "1...2222"},
    };
    for (const auto& c : cases) {
        for (bool committed : {false, true}) {
            QTest::addRow("%s, %s", c.name, committed ? "committed" : "typed")
                << QString::fromUtf8(c.typed) << committed << QString::fromUtf8(c.text);
        }
    }
}

void TestParamControls::addressKeyFilter()
{
    QFETCH(QString, typed);
    QFETCH(bool, committed);
    QFETCH(QString, text);

    AddressEdit edit;
    if (committed) {
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QCoreApplication::sendEvent(&edit, &commit);
    } else {
        type(&edit, typed);
    }
    QCOMPARE(edit.text(), text);

    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), text.chopped(1));
}

// Text still being composed is drawn in the field like in any other, letters
// and all; only what is committed is filtered.
void TestParamControls::addressInputMethodShowsPreedit()
{
    AddressEdit edit;
    edit.resize(200, 30);
    edit.setText(QStringLiteral("10."));
    const QImage before = edit.grab().toImage();

    QInputMethodEvent compose(QStringLiteral("dian"), {});
    QCoreApplication::sendEvent(&edit, &compose);
    QVERIFY(edit.grab().toImage() != before);
    QCOMPARE(edit.text(), QStringLiteral("10."));

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("点1"));
    QCoreApplication::sendEvent(&edit, &commit);
    QCOMPARE(edit.text(), QStringLiteral("10.1"));
    QCOMPARE(edit.grab().toImage(), [&] {
        AddressEdit plain;
        plain.resize(200, 30);
        plain.setText(QStringLiteral("10.1"));
        plain.setCursorPosition(edit.cursorPosition());
        return plain.grab().toImage();
    }());
}

// Keys as X11 delivers them: a shortcut on a letter carries its control
// character, Delete carries 127, Shift+Insert carries nothing.
void TestParamControls::addressEditingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<QString>("text");

    QTest::newRow("Ctrl+V is a control character, dropped")
        << int(Qt::Key_V) << int(Qt::ControlModifier) << QStringLiteral("\x16") << "10.";
    QTest::newRow("Shift+Insert pastes unfiltered")
        << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << QString() << "10.abc";
    QTest::newRow("Delete with code 127 deletes")
        << int(Qt::Key_Delete) << int(Qt::NoModifier) << QStringLiteral("\x7f") << "10";
}

void TestParamControls::addressEditingKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, keyText);
    QFETCH(QString, text);

    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    // Without a clipboard holding the text, nothing would be pasted anyway.
    if (key != Qt::Key_Delete && QGuiApplication::clipboard()->text() != QStringLiteral("abc"))
        QSKIP("this platform has no clipboard");
    AddressEdit edit;
    edit.setText(QStringLiteral("10."));
    if (key == Qt::Key_Delete)
        edit.setCursorPosition(2);
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), keyText);
    QCoreApplication::sendEvent(&edit, &press);
    QCOMPARE(edit.text(), text);
}

void TestParamControls::addressPasteAndDropAreNotFiltered_data()
{
    QTest::addColumn<bool>("drop");
    QTest::newRow("context menu paste") << false;
    QTest::newRow("dropped with the mouse") << true;
}

void TestParamControls::addressPasteAndDropAreNotFiltered()
{
    QFETCH(bool, drop);

    AddressEdit edit;
    if (drop) {
        QMimeData data;
        data.setText(QStringLiteral("abc"));
        // A drop goes to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&edit, &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&edit, &event);
    } else {
        QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
        if (QGuiApplication::clipboard()->text() != QStringLiteral("abc"))
            QSKIP("this platform has no clipboard");
        edit.paste(); // what the context menu's paste entry runs
    }
    QCOMPARE(edit.text(), QStringLiteral("abc"));
}

QTEST_MAIN(TestParamControls)
#include "tst_paramcontrols.moc"
