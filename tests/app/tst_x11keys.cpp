// Keys typed under a real X server, with xdotool, into the title and address
// fields: X11 gives Delete the text 127, which is no character to the key
// rules, and Shift+Insert pastes without being one either.

#include "AddressEdit.h"
#include "TitleEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QtTest>

using namespace hmk;

namespace {

// Types keys into the window that has the X input focus.
bool xdotoolKey(const QString& keys)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
    if (!process.waitForFinished(10000))
        return false;
    // The events are on their way; let them arrive.
    QTest::qWait(300);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

class TestX11Keys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void keysInFullTitle_data();
    void keysInFullTitle();
    void keysInAddressField_data();
    void keysInAddressField();

private:
    QWidget window;
    TitleEdit* title = nullptr;
    AddressEdit* address = nullptr;
};

void TestX11Keys::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs the xcb platform under an X server");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    auto* layout = new QVBoxLayout(&window);
    title = new TitleEdit(&window);
    address = new AddressEdit(&window);
    layout->addWidget(title);
    layout->addWidget(address);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void TestX11Keys::keysInFullTitle_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");

    const QString full(24, QLatin1Char('a'));
    // The cursor stands after the first character.
    QTest::newRow("Delete") << "Delete" << full.left(1) + full.mid(2);
    QTest::newRow("Shift+Insert") << "shift+Insert" << full.left(1) + "粘贴" + full.mid(1);
    QTest::newRow("Ctrl+V") << "ctrl+v" << full;
    QTest::newRow("a letter") << "b" << full;
    QTest::newRow("BackSpace") << "BackSpace" << full.mid(1);
}

void TestX11Keys::keysInFullTitle()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);

    QGuiApplication::clipboard()->setText(QStringLiteral("粘贴"));
    title->setText(QString(24, QLatin1Char('a')));
    title->setFocus();
    title->setCursorPosition(1);
    QTRY_VERIFY(title->hasFocus());
    QVERIFY(xdotoolKey(keys));
    QTRY_COMPARE(title->text(), text);
}

void TestX11Keys::keysInAddressField_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");

    QTest::newRow("Delete") << "Delete"
                            << "1.1.1.1";
    QTest::newRow("Shift+Insert pastes unfiltered") << "shift+Insert"
                                                    << "1abc0.1.1.1";
    QTest::newRow("Ctrl+V dropped") << "ctrl+v"
                                    << "10.1.1.1";
    QTest::newRow("a letter dropped") << "x"
                                      << "10.1.1.1";
    QTest::newRow("a digit") << "5"
                             << "150.1.1.1";
}

void TestX11Keys::keysInAddressField()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);

    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    address->setText(QStringLiteral("10.1.1.1"));
    address->setFocus();
    address->setCursorPosition(1);
    QTRY_VERIFY(address->hasFocus());
    QVERIFY(xdotoolKey(keys));
    QTRY_COMPARE(address->text(), text);
}

QTEST_MAIN(TestX11Keys)
#include "tst_x11keys.moc"
