// Text reaching the window in the ways other than typed keys that Linux
// offers, and the moments at which a field's editing ends: input-method
// commits, keys that are no characters, drops, entering the overview, losing
// the window's activation; and the hint memo over a minimised ribbon.

#include "ConfigMain.h"
#include "NumericEdit.h"
#include "PageControl.h"
#include "RibbonBar.h"
#include "ScriptedDialogs.h"
#include "WindowDriving.h"
#include "bootscreen/BootScreenModel.h"
#include "image/Codepage.h"
#include "params/ParamCatalogue.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace hmk;

namespace {

const QString Full(24, QLatin1Char('a'));
const QString At23(23, QLatin1Char('a'));

int bytes(const QString& text)
{
    return int(cp936::encode(text).size());
}

} // namespace

class TestWindowInput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup() { window.reset(); }

    void titleInputMethodCommit_data();
    void titleInputMethodCommit();
    void titleKeysThatAreNoCharacters_data();
    void titleKeysThatAreNoCharacters();
    void titleDropGoesInWholeAndIsCutOnLeaving();
    void titleCutOnlyWhenReallyLeft();
    void addressInputMethodCommit();

    void enteringOverviewEndsEditing_data();
    void enteringOverviewEndsEditing();

    void memoHiddenWhileRibbonMinimised();

private:
    QLineEdit* mainTitle() const { return child<QLineEdit>(*window, "edtMainTitle"); }
    // The main title, editable and holding `text`, with the keyboard focus
    // and the cursor at its end.
    QLineEdit* titleHolding(const QString& text);
    QString rowValue(const QString& name) const;

    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmConfig> window;
};

void TestWindowInput::init()
{
    dialogs = ScriptedDialogs();
    window = std::make_unique<TfrmConfig>(dialogs);
    QVERIFY(activate(*window));
}

QLineEdit* TestWindowInput::titleHolding(const QString& text)
{
    window->btnScreenClick();
    BootScreenModel& model = window->bootScreen();
    model.setUseDefaultScreen(false);
    model.setMainTitle(text);
    QLineEdit* edit = mainTitle();
    edit->setFocus();
    edit->end(false);
    return edit;
}

QString TestWindowInput::rowValue(const QString& name) const
{
    const auto found = child<QTreeWidget>(*window, "lvDesc")
                           ->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
    for (QTreeWidgetItem* item : found) {
        if (item->parent())
            return item->text(1);
    }
    return QStringLiteral("(no row %1)").arg(name);
}

// An input method commits whole words; each character goes through the
// title key rule as if typed.
void TestWindowInput::titleInputMethodCommit_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("after");

    QTest::newRow("full title takes nothing") << Full << "调高" << Full;
    QTest::newRow("at 23 bytes one more character") << At23 << "调高" << At23 + "调";
    QTest::newRow("empty title takes the word") << ""
                                                << "等离子切割"
                                                << "等离子切割";
}

void TestWindowInput::titleInputMethodCommit()
{
    QFETCH(QString, before);
    QFETCH(QString, committed);
    QFETCH(QString, after);

    QLineEdit* edit = titleHolding(before);
    QInputMethodEvent compose(QStringLiteral("tiaogao"), {});
    QCoreApplication::sendEvent(edit, &compose);
    QCOMPARE(edit->text(), before); // composing changes no text

    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QCoreApplication::sendEvent(edit, &commit);
    QCOMPARE(edit->text(), after);
    QCOMPARE(window->bootScreen().mainTitle(), after);
}

// Keys as X11 delivers them to a full title: Delete with the text 127 and
// Shift+Insert are keys, not characters, and pass; Ctrl+V is the character
// 22 and is refused.
void TestWindowInput::titleKeysThatAreNoCharacters_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<QString>("after");

    QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << QStringLiteral("\x7f")
                            << Full.left(23);
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << QString()
                                  << "b" + Full;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << QStringLiteral("\x16")
                            << Full;
}

void TestWindowInput::titleKeysThatAreNoCharacters()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, keyText);
    QFETCH(QString, after);

    QGuiApplication::clipboard()->setText(QStringLiteral("b"));
    if (key != Qt::Key_Delete && QGuiApplication::clipboard()->text() != QStringLiteral("b"))
        QSKIP("this platform has no clipboard");
    QLineEdit* edit = titleHolding(Full);
    edit->setCursorPosition(key == Qt::Key_Delete ? 23 : 0);
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), keyText);
    QCoreApplication::sendEvent(edit, &press);
    QCOMPARE(edit->text(), after);
    QCOMPARE(window->bootScreen().mainTitle(), after);
}

// Dropped text is pasted text: it goes in whole, and leaving the field cuts
// the title.
void TestWindowInput::titleDropGoesInWholeAndIsCutOnLeaving()
{
    QLineEdit* edit = titleHolding(Full);
    QMimeData data;
    data.setText(QStringLiteral("调高器"));
    const QPoint at = edit->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &drop);
    QCOMPARE(bytes(edit->text()), 30);
    QCOMPARE(window->bootScreen().mainTitle(), edit->text());

    const QString dropped = edit->text();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(edit->text(), TruncateTitle(dropped, 24));
    QVERIFY(bytes(edit->text()) <= 24);
}

// Like the numeric fields: the window losing its activation or a context
// menu opening is not leaving the field; going to another control is.
void TestWindowInput::titleCutOnlyWhenReallyLeft()
{
    QLineEdit* edit = titleHolding(Full + "调");
    QCOMPARE(bytes(edit->text()), 26);

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(bytes(edit->text()), 26);

    QVERIFY(activate(*window));
    QTRY_VERIFY(edit->hasFocus());
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(edit, &popup);
    QCOMPARE(bytes(edit->text()), 26);
    QCOMPARE(window->bootScreen().mainTitle(), edit->text());

    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(!edit->hasFocus());
    QCOMPARE(edit->text(), Full);
    QCOMPARE(window->bootScreen().mainTitle(), Full);
}

void TestWindowInput::addressInputMethodCommit()
{
    window->dxitNetParamClick();
    auto* edit =
        static_cast<QLineEdit*>(window->paramControl(*findParam(QStringLiteral("IPAddress"))));
    edit->setFocus();
    edit->setText(QStringLiteral("10.1."));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("１点2a.3"));
    QCoreApplication::sendEvent(edit, &commit);
    QCOMPARE(edit->text(), QStringLiteral("10.1.2.3"));
}

// Typed into 穿孔高度 (limits 0.2-10, two decimals) and then straight to the
// overview: the row shows what the field holds once it is left.
void TestWindowInput::enteringOverviewEndsEditing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byTab"); // else by the ribbon's "总览"
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("row");

    QTest::newRow("above Max, tab") << "50" << true << "10.00"
                                    << "10";
    QTest::newRow("above Max, 总览") << "50" << false << "10.00"
                                     << "10";
    QTest::newRow("rounded, tab") << "3.456" << true << "3.46"
                                  << "3.46";
}

void TestWindowInput::enteringOverviewEndsEditing()
{
    QFETCH(QString, typed);
    QFETCH(bool, byTab);
    QFETCH(QString, field);
    QFETCH(QString, row);

    window->bootScreen().setNotEnableParam(false);
    window->dxitTechParamClick();
    auto* edit =
        static_cast<NumericEdit*>(window->paramControl(*findParam(QStringLiteral("PunchHeight"))));
    edit->setFocus();
    edit->selectAll();
    keys(edit, typed);
    QCOMPARE(edit->text(), typed);

    if (byTab) {
        QTabBar* tabs = window->pcMain()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    } else {
        click(child<QToolButton>(*window, "btnView"));
    }
    QCOMPARE(window->pcMain()->activePageIndex(), 0);
    QCOMPARE(edit->text(), field);
    QCOMPARE(rowValue(QStringLiteral("穿孔高度")), row);
}

// The memo lies over the ribbon's right end: while the ribbon is minimised
// its button is out of sight and the memo would cover the tabs, so it is
// hidden, and comes back with the ribbon if it was shown.
void TestWindowInput::memoHiddenWhileRibbonMinimised()
{
    auto* memo = child<QPlainTextEdit>(*window, "memoHint");
    auto* hint = child<QToolButton>(*window, "btnShowHint");
    auto* ribbon = child<RibbonBar>(*window, "dxRibbon1");

    hint->click();
    QVERIFY(memo->isVisible());
    ribbon->setMinimized(true);
    QVERIFY(!memo->isVisible());
    ribbon->setMinimized(false);
    QVERIFY(memo->isVisible());
    QCOMPARE(hint->text(), QStringLiteral("关闭提示"));

    // Hidden by the user before: stays hidden.
    hint->click();
    ribbon->setMinimized(true);
    ribbon->setMinimized(false);
    QVERIFY(!memo->isVisible());
    QCOMPARE(hint->text(), QStringLiteral("显示提示"));

    // A page command while minimised hides it for good, as always.
    hint->click();
    ribbon->setMinimized(true);
    window->AlarmPage();
    ribbon->setMinimized(false);
    QVERIFY(!memo->isVisible());
    QVERIFY(!hint->isEnabled());
}

QTEST_MAIN(TestWindowInput)
#include "tst_windowinput.moc"
