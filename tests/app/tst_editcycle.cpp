// The edit cycle in the window: the start-up dialog and sequence, reading
// the settings file, opening and saving .hkf files through the document
// commands, and a whole session typed into the widgets, saved and opened in
// a second window, with the saved bytes checked against values worked out
// here.

#include "ConfigMain.h"
#include "DocumentState.h"
#include "FileSelect.h"
#include "NavBar.h"
#include "NumericEdit.h"
#include "PageControl.h"
#include "ScriptedDialogs.h"
#include "WindowDriving.h"
#include "params/SettingsLoader.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace hmk;

namespace {

const QString Fixture = QStringLiteral(HMK_TEST_DATA_DIR "/app/settings.ini");
const QString ShippedSettings = QStringLiteral(HMK_BIN_DIR "/HMK725Config.ini");
const QString HkfFilter = QStringLiteral("HMK725配置文件 (*.hkf)");
const QString ChecksumMessage = QStringLiteral("读取错误：CRC校验失败！");

// CRC-16/MODBUS, bit by bit, as the controller checks its blocks.
quint16 modbusCrc(QByteArrayView bytes)
{
    quint16 crc = 0xFFFF;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

QByteArray word(quint32 value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

ParamValue& at(ParamValues& values, const char* name)
{
    return values[paramIndex(*findParam(QString::fromLatin1(name)))];
}

ParamValue valueOf(TfrmConfig& window, const char* name)
{
    ParamValues values = window.readControls();
    return at(values, name);
}

} // namespace

class TestEditCycle : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpDialog();
    void startUpDialogAnswers_data();
    void startUpDialogAnswers();
    void startUp_data();
    void startUp();
    void shippedSettingsFile();

    void readCommands_data();
    void readCommands();
    void pictureInSettings_data();
    void pictureInSettings();

    void openAccepted_data();
    void openAccepted();
    void openChangesNothing_data();
    void openChangesNothing();
    void openScreenOnlyImage();
    void openCancelledLoadsFactoryValues();

    void saveCancelledWritesNothing();
    void saveRefusedLeavesImageAndFile();
    void screenOnlySaveKeepsLastParameters();
    void saveFailureNamesThePath_data();
    void saveFailureNamesThePath();
    void saveCutsTheFocusedTitle();

    void editSaveOpenThroughTheWidgets();

private:
    std::unique_ptr<TfrmConfig> makeWindow(const QString& settings);
    // A valid image file saved from a window of form values with
    // PunchHeight 7.77 and everything else as the form has it.
    QString savedImage(const QString& fileName, bool screenOnly = false);
    QString path(const QString& name) const { return FDir.filePath(name); }
    QString noSettings() const { return path(QStringLiteral("none.ini")); }

    static QTreeWidgetItem* row(TfrmConfig& window, const QString& name);

    QTemporaryDir FDir;
    ScriptedDialogs dialogs;
};

void TestEditCycle::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(FDir.isValid());
}

void TestEditCycle::init()
{
    dialogs = ScriptedDialogs();
}

void TestEditCycle::cleanup()
{
    for (const QString& name :
         QDir(FDir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        QFileInfo(path(name)).isDir() ? QDir(path(name)).removeRecursively()
                                      : QFile::remove(path(name));
}

std::unique_ptr<TfrmConfig> TestEditCycle::makeWindow(const QString& settings)
{
    return std::make_unique<TfrmConfig>(dialogs, settings);
}

QString TestEditCycle::savedImage(const QString& fileName, bool screenOnly)
{
    ScriptedDialogs own;
    TfrmConfig maker(own, noSettings());
    ParamValues values = formValues();
    at(values, "PunchHeight").number = 7770;
    maker.writeControls(values);
    maker.bootScreen().setNotEnableParam(screenOnly);
    maker.bootScreen().setUseDefaultScreen(false);
    maker.bootScreen().setMainTitle(QStringLiteral("仅画面"));
    const QString file = path(fileName);
    own.saveAnswers << file;
    maker.btnSaveClick();
    if (!own.messages.isEmpty() || !QFile::exists(file))
        qFatal("could not save %s", qPrintable(file));
    return file;
}

QTreeWidgetItem* TestEditCycle::row(TfrmConfig& window, const QString& name)
{
    const auto found = child<QTreeWidget>(window, "lvDesc")
                           ->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
    for (QTreeWidgetItem* item : found)
        if (item->parent())
            return item;
    qFatal("no overview row %s", qPrintable(name));
}

// --- start-up -----------------------------------------------------------

void TestEditCycle::startUpDialog()
{
    int choice = 5;
    TfrmOpenFile dialog(choice);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("文件选择"));
    QCOMPARE(dialog.size(), QSize(345, 172));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(child<QLabel>(dialog, "rgFileTypeBanner")->text(),
             QStringLiteral("选择需要打开的文件"));
    QButtonGroup* group = dialog.rgFileType();
    QCOMPARE(group->button(0)->text(), QStringLiteral("读取标准出厂设定值"));
    QCOMPARE(group->button(1)->text(), QStringLiteral("打开已有文件"));
    QCOMPARE(group->checkedId(), 0);
    QPushButton* ok = dialog.btnFileSelect();
    QCOMPARE(ok->text(), QStringLiteral("确定"));
    // Lower right, with only the dialog's margin beyond it.
    QVERIFY(ok->geometry().right() > 345 - 20 && ok->geometry().bottom() > 172 - 20);
    QVERIFY(ok->isDefault());
    // Nothing is stored before the button is pressed.
    QCOMPARE(choice, 5);
}

void TestEditCycle::startUpDialogAnswers_data()
{
    QTest::addColumn<int>("select"); // -1: leave the selection alone
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("expected");

    QTest::newRow("confirmed untouched") << -1 << true << 0;
    QTest::newRow("open an existing file") << 1 << true << 1;
    QTest::newRow("factory values chosen again") << 0 << true << 0;
    QTest::newRow("close box after choosing open") << 1 << false << 0;
}

// Through the dialogs the program uses, as the window's start-up asks.
void TestEditCycle::startUpDialogAnswers()
{
    QFETCH(int, select);
    QFETCH(bool, confirm);
    QFETCH(int, expected);

    QWidget owner;
    owner.setGeometry(200, 150, 895, 682);
    QPoint ownerCentre = owner.geometry().center();
    bool seen = false;
    // A check that failed inside the dialog's event loop is kept and
    // reported once the dialog has returned: a QVERIFY there would return
    // from the lambda and leave the dialog open until the test times out.
    QString failure;
    // Tried until the dialog is up, whenever exec() starts its loop.
    QTimer driver;
    connect(&driver, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        driver.stop();
        auto* dialog = qobject_cast<TfrmOpenFile*>(modal);
        if (!dialog) {
            failure = QStringLiteral("a %1 opened instead")
                          .arg(QLatin1String(modal->metaObject()->className()));
            modal->close();
            return;
        }
        seen = true;
        const QPoint offset = dialog->geometry().center() - ownerCentre;
        if (offset.manhattanLength() >= 8)
            failure = QStringLiteral("not centred on its window");
        if (select >= 0) {
            QAbstractButton* choice = dialog->rgFileType()->button(select);
            QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
        }
        if (confirm)
            click(dialog->btnFileSelect());
        else
            dialog->close();
        if (dialog->isVisible()) {
            failure = QStringLiteral("the dialog stayed open");
            dialog->close();
        }
    });
    driver.start(10);
    QtDialogs qtDialogs;
    const int choice = qtDialogs.startupChoice(&owner);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(choice, expected);
    QVERIFY(seen);
}

void TestEditCycle::startUp_data()
{
    QTest::addColumn<QString>("settings"); // "fixture" or "none"
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("openFile"); // "", "valid", "damaged", "missing", "other"
    QTest::addColumn<QString>("values");   // "factory", "form", "file"
    QTest::addColumn<bool>("hints");
    QTest::addColumn<QString>("message"); // what a shown message holds

    QTest::newRow("factory values") << "fixture" << 0 << ""
                                    << "factory" << true << "";
    QTest::newRow("open cancelled") << "fixture" << 1 << ""
                                    << "factory" << true << "";
    QTest::newRow("open a file") << "fixture" << 1 << "valid"
                                 << "file" << true << "";
    QTest::newRow("file fails its check") << "fixture" << 1 << "damaged"
                                          << "form" << true << ChecksumMessage;
    QTest::newRow("file of another kind") << "fixture" << 1 << "other"
                                          << "form" << true << "";
    // The error ends the start-up: no hints for the rest of the run.
    QTest::newRow("file cannot be read") << "fixture" << 1 << "missing"
                                         << "form" << false << "missing.hkf";
    QTest::newRow("no settings file") << "none" << 0 << ""
                                      << "form" << false << "";
}

void TestEditCycle::startUp()
{
    QFETCH(QString, settings);
    QFETCH(int, choice);
    QFETCH(QString, openFile);
    QFETCH(QString, values);
    QFETCH(bool, hints);
    QFETCH(QString, message);

    if (openFile == QLatin1String("valid")) {
        dialogs.openAnswers << savedImage(QStringLiteral("opened.hkf"));
    } else if (openFile == QLatin1String("damaged")) {
        const QString file = savedImage(QStringLiteral("damaged.hkf"));
        QByteArray bytes = readAll(file);
        bytes[0x900] = char(bytes[0x900] ^ 1);
        QVERIFY(writeAll(file, bytes));
        dialogs.openAnswers << file;
    } else if (openFile == QLatin1String("missing")) {
        dialogs.openAnswers << path(QStringLiteral("missing.hkf"));
    } else if (openFile == QLatin1String("other")) {
        const QString file = savedImage(QStringLiteral("opened.hkf"));
        QVERIFY(QFile::rename(file, file + QStringLiteral(".bak")));
        dialogs.openAnswers << file + QStringLiteral(".bak");
    }
    dialogs.startupAnswers << choice;

    auto window = makeWindow(settings == QLatin1String("fixture") ? Fixture : noSettings());
    QCOMPARE(dialogs.startupAsked, 1);
    QCOMPARE(window->openFileType(), choice);
    QCOMPARE(dialogs.openFilters, choice ? QStringList{HkfFilter} : QStringList());
    if (message.isEmpty()) {
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].contains(message), qPrintable(dialogs.messages[0]));
    }

    const DocumentState document = documentOf(*window);
    const QString punchHeightRow = row(*window, QStringLiteral("穿孔高度"))->text(1);
    if (values == QLatin1String("factory")) {
        QCOMPARE(valueOf(*window, "PunchHeight").number, 4500);
        QCOMPARE(valueOf(*window, "CyrusCoordinate").number, -2250);
        QCOMPARE(valueOf(*window, "MoveSpeed").number, 321000);
        QCOMPARE(valueOf(*window, "IPAddress").text, QStringLiteral("192.168.1.20"));
        QCOMPARE(document.mainTitle, QStringLiteral("出厂主标题"));
        QVERIFY(!document.notEnableParam);
        QCOMPARE(punchHeightRow, QStringLiteral("4.5"));
    } else if (values == QLatin1String("file")) {
        QCOMPARE(valueOf(*window, "PunchHeight").number, 7770);
        QCOMPARE(window->windowTitle(), ToolTitle + QStringLiteral("--opened.hkf"));
        QCOMPARE(document.mainTitle, QStringLiteral("仅画面"));
        QCOMPARE(punchHeightRow, QStringLiteral("7.77"));
    } else {
        const QString difference = paramDifference(document.values, formValues());
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(window->windowTitle(), ToolTitle);
        // As the window was designed.
        QVERIFY(document.notEnableParam);
        QCOMPARE(document.mainTitle, DefaultMainTitle);
        QCOMPARE(punchHeightRow, QStringLiteral("3"));
    }

    const QString hint = hints ? QStringLiteral("穿孔高度的提示") : QString();
    QCOMPARE(window->hints().value(QStringLiteral("PunchHeight")), hint);
    QCOMPARE(row(*window, QStringLiteral("穿孔高度"))->text(2), hint);
    QCOMPARE(window->pcMain()->activePageIndex(), pageIndex(Page::Overview));
}

// The settings file that ships beside the program.
void TestEditCycle::shippedSettingsFile()
{
    QVERIFY2(QFile::exists(ShippedSettings), qPrintable(ShippedSettings));
    auto window = makeWindow(ShippedSettings);
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
    const DocumentState document = documentOf(*window);
    QVERIFY(!document.notEnableParam);
    QCOMPARE(document.mainTitle, DefaultMainTitle);
    QCOMPARE(valueOf(*window, "PunchHeight").number, 3000);
    QCOMPARE(valueOf(*window, "ZRange").number, 999990);
    QCOMPARE(valueOf(*window, "MoveSpeed").number, 200000);
    QCOMPARE(valueOf(*window, "IPAddress").text, QStringLiteral("10.1.1.188"));

    auto* list = child<QTreeWidget>(*window, "lvDesc");
    auto* memo = child<QPlainTextEdit>(*window, "memoHint");
    int rows = 0;
    for (int g = 0; g < list->topLevelItemCount(); ++g) {
        for (int r = 0; r < list->topLevelItem(g)->childCount(); ++r) {
            QTreeWidgetItem* item = list->topLevelItem(g)->child(r);
            list->setCurrentItem(item);
            const QString note = memo->toPlainText();
            QCOMPARE(note, item->text(2));
            const bool chinese = std::any_of(note.begin(), note.end(),
                                             [](QChar c) { return c.unicode() >= 0x4E00; });
            QVERIFY2(chinese, qPrintable(item->text(0) + QStringLiteral(": ") + note));
            ++rows;
        }
    }
    QCOMPARE(rows, 46);
}

// --- reading the settings file ---------------------------------------------

void TestEditCycle::readCommands_data()
{
    QTest::addColumn<QString>("trigger"); // an action of the ribbon or a navigation link
    QTest::addColumn<qint64>("punchHeight");
    QTest::addColumn<qint64>("moveSpeed");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mainTitle");
    QTest::addColumn<QString>("row");

    QTest::newRow("factory, ribbon")
        << "btnReadDefault" << qint64(4500) << qint64(321000) << "192.168.1.20"
        << "出厂主标题"
        << "4.5";
    QTest::newRow("factory, navigation")
        << "dxitDefault" << qint64(4500) << qint64(321000) << "192.168.1.20"
        << "出厂主标题"
        << "4.5";
    // Keys missing from the last-saved sections give the loader defaults.
    QTest::newRow("last saved, navigation")
        << "dxitLast" << qint64(6250) << qint64(111000) << "172.16.0.9"
        << "上次主标题"
        << "6.25";
}

void TestEditCycle::readCommands()
{
    QFETCH(QString, trigger);
    QFETCH(qint64, punchHeight);
    QFETCH(qint64, moveSpeed);
    QFETCH(QString, address);
    QFETCH(QString, mainTitle);
    QFETCH(QString, row);

    auto window = makeWindow(Fixture);
    window->writeControls(formValues());
    window->bootScreen().setMainTitle(QStringLiteral("改过"));
    window->BuildOverview();

    if (trigger.startsWith(QLatin1String("dxit")))
        click(child<NavLink>(*window, qPrintable(trigger)));
    else
        triggerAction(*window, qPrintable(trigger));

    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(valueOf(*window, "PunchHeight").number, punchHeight);
    QCOMPARE(valueOf(*window, "MoveSpeed").number, moveSpeed);
    QCOMPARE(valueOf(*window, "IPAddress").text, address);
    QCOMPARE(documentOf(*window).mainTitle, mainTitle);
    // The overview was rebuilt with the new values.
    QCOMPARE(TestEditCycle::row(*window, QStringLiteral("穿孔高度"))->text(1), row);
    QCOMPARE(TestEditCycle::row(*window, QStringLiteral("主标题"))->text(1), mainTitle);
}

void TestEditCycle::pictureInSettings_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("paramsRead");

    // The missing picture is reported and loading goes on.
    QTest::newRow("picture missing") << false << true;
    // A picture that cannot be read ends loading, and the start-up with it.
    QTest::newRow("picture unreadable") << true << false;
}

void TestEditCycle::pictureInSettings()
{
    QFETCH(bool, exists);
    QFETCH(bool, paramsRead);

    const QString picture = path(QStringLiteral("logo.bmp"));
    if (exists)
        QVERIFY(writeAll(picture, "no bitmap at all"));
    const QString settings = path(QStringLiteral("picture.ini"));
    QVERIFY(
        writeAll(settings, QStringLiteral("[LogoDef]\nUsePic=1\nPicFileName=%1\n"
                                          "PunchHeightHint=提示\n[TechnicsDef]\nPunchHeight=9\n")
                               .arg(picture)
                               .toUtf8()));

    auto window = makeWindow(settings);
    QCOMPARE(dialogs.messages.size(), 1);
    if (exists)
        QVERIFY2(dialogs.messages[0].contains(QDir::toNativeSeparators(picture)),
                 qPrintable(dialogs.messages[0]));
    else
        QCOMPARE(dialogs.messages[0], MissingPictureMessage);
    QCOMPARE(valueOf(*window, "PunchHeight").number, paramsRead ? 9000 : 3000);
    QCOMPARE(window->hints().isEmpty(), !paramsRead);

    // The read command stops at the same place, before the overview.
    window->writeControls(formValues());
    window->BuildOverview();
    window->btnReadDefaultClick();
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(row(*window, QStringLiteral("穿孔高度"))->text(1),
             paramsRead ? QStringLiteral("9") : QStringLiteral("3"));
}

// --- opening ----------------------------------------------------------------

void TestEditCycle::openAccepted_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("extraBytes");

    QTest::newRow("lower-case extension") << "opened.hkf" << 0;
    QTest::newRow("upper-case extension") << "opened.HKF" << 0;
    // Only the first 4096 bytes are the image.
    QTest::newRow("longer file") << "opened.hkf" << 904;
}

void TestEditCycle::openAccepted()
{
    QFETCH(QString, fileName);
    QFETCH(int, extraBytes);

    const QString saved = savedImage(QStringLiteral("opened.hkf"));
    const QString file = path(fileName);
    if (file != saved)
        QVERIFY(QFile::rename(saved, file));
    QVERIFY(writeAll(file, readAll(file) + QByteArray(extraBytes, '\x55')));

    auto window = makeWindow(Fixture);
    dialogs.openAnswers << file;
    triggerAction(*window, "btnOpenFile");
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
    QCOMPARE(window->windowTitle(), ToolTitle + QStringLiteral("--opened.hkf"));
    QCOMPARE(valueOf(*window, "PunchHeight").number, 7770);
    QCOMPARE(row(*window, QStringLiteral("穿孔高度"))->text(1), QStringLiteral("7.77"));
}

void TestEditCycle::openChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message"); // what the message holds; "" none, "path" the file

    QTest::newRow("another extension") << "bak"
                                       << "";
    QTest::newRow("4095 bytes") << "short" << ChecksumMessage;
    QTest::newRow("damaged screen block") << "damaged" << ChecksumMessage;
    QTest::newRow("missing file") << "missing"
                                  << "path";
    QTest::newRow("folder") << "folder"
                            << "path";
}

void TestEditCycle::openChangesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);

    const QString saved = savedImage(QStringLiteral("source.hkf"));
    QString file = path(QStringLiteral("x.hkf"));
    if (kind == QLatin1String("bak")) {
        file += QStringLiteral(".bak");
        QVERIFY(QFile::rename(saved, file));
    } else if (kind == QLatin1String("short")) {
        QVERIFY(writeAll(file, readAll(saved).first(4095)));
    } else if (kind == QLatin1String("damaged")) {
        QByteArray bytes = readAll(saved);
        bytes[0x300] = char(bytes[0x300] ^ 0x80);
        QVERIFY(writeAll(file, bytes));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(file));
    }

    auto window = makeWindow(Fixture);
    window->BuildOverview();
    const DocumentState before = documentOf(*window);
    dialogs.openAnswers << file;
    window->btnOpenFileClick();

    if (message.isEmpty()) {
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
        const QString expected =
            message == QLatin1String("path") ? QDir::toNativeSeparators(file) : message;
        QVERIFY2(dialogs.messages[0].contains(expected), qPrintable(dialogs.messages[0]));
    }
    const DocumentState after = documentOf(*window);
    QCOMPARE(after.caption, before.caption);
    QCOMPARE(after.mainFont, before.mainFont);
    const QString difference = documentDifference(before, after);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(row(*window, QStringLiteral("穿孔高度"))->text(1), QStringLiteral("4.5"));
}

void TestEditCycle::openScreenOnlyImage()
{
    const QString file = savedImage(QStringLiteral("screen.hkf"), true);
    auto window = makeWindow(Fixture);
    const ParamValues before = window->readControls();
    dialogs.openAnswers << file;
    window->btnOpenFileClick();

    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(window->windowTitle(), ToolTitle + QStringLiteral("--screen.hkf"));
    const DocumentState after = documentOf(*window);
    QVERIFY(after.notEnableParam);
    QCOMPARE(after.mainTitle, QStringLiteral("仅画面"));
    const QString difference = paramDifference(before, after.values);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(row(*window, QStringLiteral("穿孔高度"))->text(1), QStringLiteral("4.5"));
}

void TestEditCycle::openCancelledLoadsFactoryValues()
{
    auto window = makeWindow(Fixture);
    ParamValues values = window->readControls();
    at(values, "PunchHeight").number = 8000;
    window->writeControls(values);
    window->BuildOverview();

    triggerAction(*window, "btnOpenFile");
    QCOMPARE(dialogs.openFilters, QStringList{HkfFilter});
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(valueOf(*window, "PunchHeight").number, 4500);
    // The list shows the old values until its page is entered again.
    QCOMPARE(row(*window, QStringLiteral("穿孔高度"))->text(1), QStringLiteral("8"));
}

// --- saving -----------------------------------------------------------------

void TestEditCycle::saveCancelledWritesNothing()
{
    auto window = makeWindow(Fixture);
    click(child<QToolButton>(*window, "btnSave"));
    QCOMPARE(dialogs.saveFilters, QStringList{HkfFilter});
    QCOMPARE(dialogs.saveSuffixes, QStringList{QStringLiteral("hkf")});
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(window->config().bytes(), QByteArray(4096, '\0'));
    QVERIFY(QDir(FDir.path()).entryList(QDir::Files).isEmpty());
}

void TestEditCycle::saveRefusedLeavesImageAndFile()
{
    auto window = makeWindow(Fixture);
    const QString existing = path(QStringLiteral("kept.hkf"));
    dialogs.saveAnswers << existing;
    window->btnSaveClick();
    QVERIFY(dialogs.messages.isEmpty());
    const QByteArray file = readAll(existing);
    const QByteArray image = window->config().bytes();
    QCOMPARE(file, image);

    ParamValues values = window->readControls();
    at(values, "PunchHeight").number = 9990;
    at(values, "IPAddress").text = QStringLiteral("192.168.1.255");
    window->writeControls(values);
    const QString fresh = path(QStringLiteral("new.hkf"));
    dialogs.saveAnswers << existing << fresh;
    window->btnSaveClick();
    window->btnSaveClick();

    QCOMPARE(dialogs.messages, QStringList(2, QStringLiteral("网络参数不合法！")));
    QCOMPARE(readAll(existing), file);
    QVERIFY(!QFile::exists(fresh));
    QCOMPARE(window->config().bytes(), image);
}

void TestEditCycle::screenOnlySaveKeepsLastParameters()
{
    auto window = makeWindow(Fixture);
    const QString full = path(QStringLiteral("full.hkf"));
    dialogs.saveAnswers << full;
    window->btnSaveClick();

    ParamValues values = window->readControls();
    at(values, "PunchHeight").number = 9990;
    // Not checked when only the boot screen is saved.
    at(values, "IPAddress").text = QStringLiteral("not an address");
    window->writeControls(values);
    child<QCheckBox>(*window, "cbNotEnableParam")->click();
    QVERIFY(window->bootScreen().notEnableParam());
    const QString screenOnly = path(QStringLiteral("screen.hkf"));
    dialogs.saveAnswers << screenOnly;
    window->btnSaveClick();

    QVERIFY(dialogs.messages.isEmpty());
    const QByteArray first = readAll(full);
    const QByteArray second = readAll(screenOnly);
    QCOMPARE(second.size(), 4096);
    QCOMPARE(first.mid(0x1C, 4), word(1));
    QCOMPARE(second.mid(0x1C, 4), word(0));
    // The whole parameter block, its checksum included, is the full save's.
    QCOMPARE(second.mid(0x800), first.mid(0x800));
    QVERIFY(VerifyImage(reinterpret_cast<const quint8*>(second.constData())));
}

void TestEditCycle::saveFailureNamesThePath_data()
{
    QTest::addColumn<QString>("target");

    QTest::newRow("missing folder") << "none/x.hkf";
    QTest::newRow("parent is a file") << "plain/x.hkf";
}

void TestEditCycle::saveFailureNamesThePath()
{
    QFETCH(QString, target);

    QVERIFY(writeAll(path(QStringLiteral("plain")), "a file, not a folder"));
    auto window = makeWindow(Fixture);
    const QString file = path(target);
    dialogs.saveAnswers << file;
    window->btnSaveClick();

    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages[0].contains(QDir::toNativeSeparators(file)),
             qPrintable(dialogs.messages[0]));
    QVERIFY(!QFile::exists(file));
    QCOMPARE(window->windowTitle(), ToolTitle);
}

void TestEditCycle::saveCutsTheFocusedTitle()
{
    auto window = makeWindow(Fixture);
    QVERIFY(activate(*window));
    click(child<QToolButton>(*window, "btnScreen"));
    auto* title = child<QLineEdit>(*window, "edtMainTitle");
    QVERIFY(title->isEnabled());
    title->setFocus();
    title->selectAll();
    // 23 bytes take one more character: a Chinese one makes 25.
    keys(title, QString(23, u'a') + QStringLiteral("中"));
    QCOMPARE(title->text(), QString(23, u'a') + QStringLiteral("中"));
    QVERIFY(title->hasFocus());

    const QString file = path(QStringLiteral("cut.hkf"));
    dialogs.saveAnswers << file;
    click(child<QToolButton>(*window, "btnSave"));

    QVERIFY(dialogs.messages.isEmpty());
    const QByteArray bytes = readAll(file);
    QCOMPARE(bytes.mid(0x740, 4), word(23));
    QCOMPARE(bytes.mid(0x748, 23), QByteArray(23, 'a'));
    QCOMPARE(title->text(), QString(23, u'a'));
}

// --- a whole session --------------------------------------------------------

void TestEditCycle::editSaveOpenThroughTheWidgets()
{
    auto first = makeWindow(Fixture);
    QVERIFY(activate(*first));
    const auto edit = [&](const char* name) { return child<QLineEdit>(*first, name); };
    const auto page = [&] { return first->pcMain()->activePageIndex(); };

    click(child<QToolButton>(*first, "btnTechParam"));
    QCOMPARE(page(), pageIndex(Page::Technics));
    type(edit("edtPunchHeight"), QStringLiteral("4.25"));
    type(edit("edtCyrusCoordinate"), QStringLiteral("-1.50"));
    for (QRadioButton* choice :
         child<QWidget>(*first, "rgFollowType")->findChildren<QRadioButton*>())
        if (choice->text() == QStringLiteral("分段穿孔"))
            click(choice);
    click(child<QToolButton>(*first, "btnSpeedParam"));
    QCOMPARE(page(), pageIndex(Page::Motion));
    type(edit("edtMoveSpeed"), QStringLiteral("350"));
    click(child<QToolButton>(*first, "btnNetParam"));
    type(edit("edtIPAddress"), QStringLiteral("192.168.0.10"));
    click(child<QToolButton>(*first, "btnSeniorParam"));
    type(edit("edtConfigWord"), QStringLiteral("777"));
    click(child<QToolButton>(*first, "btnScreen"));
    QCOMPARE(page(), pageIndex(Page::BootScreen));
    type(edit("edtMainTitle"), QStringLiteral("切割机01"));

    QCOMPARE(valueOf(*first, "PunchHeight").number, 4250);
    QCOMPARE(valueOf(*first, "CyrusCoordinate").number, -1500);
    QCOMPARE(valueOf(*first, "FollowType").choice, 1);
    QCOMPARE(valueOf(*first, "MoveSpeed").number, 350000);
    QCOMPARE(valueOf(*first, "IPAddress").text, QStringLiteral("192.168.0.10"));
    QCOMPARE(valueOf(*first, "ConfigWord").number, 777000);
    QCOMPARE(first->bootScreen().mainTitle(), QStringLiteral("切割机01"));

    const QString file = path(QStringLiteral("e2e.hkf"));
    dialogs.saveAnswers << file;
    click(child<QToolButton>(*first, "btnSave"));
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
    QCOMPARE(first->windowTitle(), ToolTitle);

    auto second = makeWindow(noSettings());
    dialogs.openAnswers << file;
    triggerAction(*second, "btnOpenFile");
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
    QCOMPARE(second->windowTitle(), ToolTitle + QStringLiteral("--e2e.hkf"));
    const DocumentState saved = documentOf(*first);
    const DocumentState opened = documentOf(*second);
    const QString difference = documentDifference(saved, opened);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(opened.mainFont, saved.mainFont);
    QCOMPARE(child<QLineEdit>(*second, "edtCyrusCoordinate")->text(), QStringLiteral("-1.50"));

    // The bytes of the file, from the values typed above.
    const QByteArray bytes = readAll(file);
    QCOMPARE(bytes.size(), 4096);
    const struct
    {
        int offset;
        QByteArray expected;
        const char* field;
    } fields[] = {
        {0x000, "HMK725  ", "ProductName"},
        {0x008, QByteArray("\x01\x00", 2), "FileVersion"},
        {0x010, "e2e     ", "ConfigName"},
        {0x018, word(1), "IncludeScreen"},
        {0x01C, word(1), "IncludeParam"},
        {0x740, word(8), "Logo1Len"},
        {0x748,
         "\xC7\xD0\xB8\xEE\xBB\xFA"
         "01",
         "Logo1Desc (code page 936)"},
        {0x760, word(7), "Logo2Len"},
        {0x768, "Factory", "Logo2Desc"},
        {0x7F0, word(0), "LogoUsePic"},
        {0x800, word(4250), "PunchHeight"},
        {0x804, "\x24\xFA\xFF\xFF", "CyrusCoordinate"},
        {0x810, word(1), "FollowType"},
        {0x81C, word(350), "MoveSpeed"},
        {0x86C, "\x0A\x00\xA8\xC0", "IPAddress"},
        {0x870, "\x00\xFF\xFF\xFF", "SubnetMask"},
        {0x878, word(0), "NetEnable"},
        {0x8A0, word(777), "ConfigWord"},
    };
    for (const auto& f : fields)
        QVERIFY2(bytes.mid(f.offset, f.expected.size()) == f.expected,
                 qPrintable(QStringLiteral("%1: %2").arg(
                     QLatin1String(f.field),
                     QString::fromLatin1(bytes.mid(f.offset, f.expected.size()).toHex(' ')))));

    QCOMPARE(modbusCrc("123456789"), quint16(0x4B37));
    for (const auto& [start, size] : {std::pair{0x000, 0x200}, {0x200, 0x600}, {0x800, 0x800}}) {
        const quint16 crc = modbusCrc(bytes.mid(start, size - 2));
        QCOMPARE(quint8(bytes[start + size - 2]), quint8(crc & 0xFF));
        QCOMPARE(quint8(bytes[start + size - 1]), quint8(crc >> 8));
    }
}

QTEST_MAIN(TestEditCycle)
#include "tst_editcycle.moc"
