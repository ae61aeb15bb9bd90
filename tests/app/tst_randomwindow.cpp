// The window under a long run of random but legal user actions: page
// commands, tab clicks, keys typed into numeric, address and title fields,
// choices, the boot-screen switches and style, picture imports, the read
// commands, saves and opens, all through the widgets and the scripted file
// dialogs. Only the messages an action may cause may appear, and every save
// that was not refused must give a file that verifies and that a fresh
// window opens to the same boot screen and, when the file carries them, the
// same parameters.
//
// HMK_RANDOM_SEED repeats a run; HMK_RANDOM_ACTIONS makes it longer (beyond
// about 10000 actions also raise QTEST_FUNCTION_TIMEOUT, 300000 ms by default).

#include "ChoiceGroup.h"
#include "ConfigMain.h"
#include "DocumentState.h"
#include "NavBar.h"
#include "PageControl.h"
#include "RandomDocuments.h"
#include "ScriptedDialogs.h"
#include "WindowDriving.h"
#include "image/Codepage.h"
#include "params/ConfigBuilder.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <array>
#include <memory>

using namespace hmk;

namespace {

const QString Fixture = QStringLiteral(HMK_TEST_DATA_DIR "/app/settings.ini");
const QString NoSettings = QStringLiteral("/nonexistent/HMK725Config.ini");
constexpr quint32 DefaultSeed = 725;
constexpr int DefaultActions = 3000;
// Actions named in a failure, the last ones before it.
constexpr int LogLength = 40;

int fromEnvironment(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Addresses a save refuses, in the keys an address field lets through.
const QStringList InvalidAddresses = {
    QStringLiteral("256.1.1.1"), QStringLiteral("10.1.1"),    QStringLiteral("10.1.1.1.1"),
    QStringLiteral("10..1.1"),   QStringLiteral(""),          QStringLiteral("1.2.3.999"),
    QStringLiteral("...."),      QStringLiteral("1.2.3.4.."),
};

struct SavedFile
{
    QString path;
    QString name;
    DocumentState document;
    bool withParams;
    // What each numeric field must show once the file is opened, by paramIndex.
    QStringList shown;
};

// The value a numeric field holds after a save and an open, worked out from
// the rules and not with the program's own number code. The image holds 32
// bits: a coordinate (a field without limits) is stored signed and held at
// the end it passes, the others unsigned, whole fields in their units. Put
// back into its field, the value is rounded half away from zero to the
// field's decimals.
Thousandths reopenedValue(const ParamEntry& entry, Thousandths value)
{
    Thousandths stored;
    if (entry.storedSigned())
        stored = std::clamp<Thousandths>(value, INT32_MIN, INT32_MAX);
    else if (entry.integersOnly())
        stored = std::clamp<Thousandths>(value / 1000, 0, UINT32_MAX) * 1000;
    else
        stored = std::clamp<Thousandths>(value, 0, UINT32_MAX);
    Thousandths step = 1;
    for (int i = entry.decimals(); i < 3; ++i)
        step *= 10;
    Thousandths steps = stored / step;
    if (2 * std::abs(stored % step) >= step)
        steps += stored < 0 ? -1 : 1;
    return steps * step;
}

// The text a numeric field shows for a value (C locale): a comma between
// each three whole digits, a point and exactly the field's decimals, a
// negative whole number in parentheses, any other negative after a minus.
QString shownText(const ParamEntry& entry, Thousandths value)
{
    const int decimals = entry.decimals();
    const bool negative = value < 0;
    const Thousandths magnitude = negative ? -value : value;
    QString text = QString::number(magnitude / 1000);
    for (qsizetype at = text.size() - 3; at > 0; at -= 3)
        text.insert(at, u',');
    if (decimals > 0)
        text += u'.' + QString::number(1000 + magnitude % 1000).mid(1, decimals);
    if (!negative)
        return text;
    return decimals == 0 ? u'(' + text + u')' : u'-' + text;
}

// The first numeric field of `window` that does not show what `saved` says.
QString shownDifference(TfrmConfig& window, const SavedFile& saved)
{
    for (const ParamEntry& entry : catalogue()) {
        const auto* edit = qobject_cast<const QLineEdit*>(window.paramControl(entry));
        if (!entry.isNumeric() || !edit)
            continue;
        const QString& expected = saved.shown[paramIndex(entry)];
        if (edit->text() != expected)
            return QStringLiteral("%1 shows %2, not %3")
                .arg(entry.nameText(), edit->text(), expected);
    }
    return {};
}

class RandomSession
{
public:
    RandomSession(quint32 seed, const QString& folder)
        : FRandom(seed), FFolder(folder), FWindow(std::make_unique<TfrmConfig>(FDialogs, Fixture))
    {
        for (const ParamEntry& entry : catalogue())
            if (!entry.hidden)
                FShown.append(&entry);
    }

    TfrmConfig& window() { return *FWindow; }

    // One random action; false with `failure` set when a check failed.
    bool step();
    QString failure() const { return FFailure; }
    QString log() const { return FLog.join(u'\n'); }
    int saves() const { return FSaves; }
    int refusals() const { return FRefusals; }

private:
    bool fail(const QString& what)
    {
        FFailure = what;
        return false;
    }
    void note(const QString& action)
    {
        FLog << action;
        if (FLog.size() > LogLength)
            FLog.removeFirst();
    }
    int between(int low, int high) { return FRandom.between(low, high); }
    bool chance(int percent) { return between(1, 100) <= percent; }

    void showPage(int page);
    void showBootScreenPage();
    void pageCommand();
    void typeNumber();
    void typeAddress();
    void chooseChoice();
    bool typeTitle();
    void toggle(const char* name);
    void chooseStyle();
    void importPicture();
    bool readCommand();
    bool save();
    bool open();
    bool checkSavedFile(const SavedFile& saved);

    RandomDocuments FRandom;
    QString FFolder;
    ScriptedDialogs FDialogs;
    std::unique_ptr<TfrmConfig> FWindow;
    QList<const ParamEntry*> FShown;
    // Address fields last typed with an address that a save refuses.
    QSet<const ParamEntry*> FInvalid;
    QList<SavedFile> FSaved;
    int FSaves = 0;
    int FRefusals = 0;
    int FPictures = 0;
    QStringList FLog;
    QString FFailure;
};

void RandomSession::showPage(int page)
{
    if (FWindow->pcMain()->activePageIndex() == page)
        return;
    QTabBar* tabs = FWindow->pcMain()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
}

void RandomSession::showBootScreenPage()
{
    if (chance(50))
        click(child<QToolButton>(*FWindow, "btnScreen"));
    else
        showPage(pageIndex(Page::BootScreen));
}

void RandomSession::pageCommand()
{
    static const char* const ribbon[] = {"btnTechParam", "btnSpeedParam", "btnMachineParam",
                                         "btnNetParam",  "btnOtherParam", "btnSeniorParam",
                                         "btnScreen",    "btnView",       "btnShowHint"};
    static const char* const links[] = {"dxitTechParam",    "dxitSpeed",    "dxitJog",   "dxitORG",
                                        "dxitMachineItem1", "dxitNetParam", "dxitAlarm", "dxitEdge",
                                        "dxitCalibrate",    "dxitSystem",   "dxitFollow"};
    const int which = between(0, int(std::size(ribbon) + std::size(links)) + 7);
    if (which < int(std::size(ribbon))) {
        note(QStringLiteral("ribbon %1").arg(QLatin1String(ribbon[which])));
        click(child<QToolButton>(*FWindow, ribbon[which]));
    } else if (which < int(std::size(ribbon) + std::size(links))) {
        const char* link = links[which - std::size(ribbon)];
        note(QStringLiteral("navigation %1").arg(QLatin1String(link)));
        click(child<NavLink>(*FWindow, link));
    } else {
        const int page = which - int(std::size(ribbon) + std::size(links));
        note(QStringLiteral("tab %1").arg(page));
        showPage(page);
    }
}

void RandomSession::typeNumber()
{
    QList<const ParamEntry*> numeric;
    for (const ParamEntry* entry : FShown)
        if (entry->isNumeric())
            numeric << entry;
    const ParamEntry& entry = *numeric[between(0, int(numeric.size()) - 1)];
    showPage(pageIndex(entry.paramGroup().page));
    auto* edit = static_cast<QLineEdit*>(FWindow->paramControl(entry));
    edit->setFocus();
    if (chance(70))
        edit->selectAll();
    else
        QTest::keyClick(edit, Qt::Key_End);
    QString typed;
    const int count = between(0, 9);
    for (int i = 0; i < count; ++i) {
        const int kind = between(0, 19);
        if (kind < 14) {
            const char digit = char('0' + between(0, 9));
            typed += QLatin1Char(digit);
            QTest::keyClick(edit, digit);
        } else if (kind < 16 && !entry.integersOnly()) {
            typed += u'.';
            QTest::keyClick(edit, '.');
        } else if (kind == 16 && entry.storedSigned()) {
            typed += u'-';
            QTest::keyClick(edit, '-');
        } else {
            typed += u'⌫';
            QTest::keyClick(edit, Qt::Key_Backspace);
        }
    }
    note(QStringLiteral("type %1 into %2, now %3").arg(typed, entry.nameText(), edit->text()));
    if (chance(85))
        QTest::keyClick(edit, Qt::Key_Tab);
}

void RandomSession::typeAddress()
{
    QList<const ParamEntry*> addresses;
    for (const ParamEntry* entry : FShown)
        if (entry->kind == ControlKind::Address)
            addresses << entry;
    const ParamEntry& entry = *addresses[between(0, int(addresses.size()) - 1)];
    showPage(pageIndex(entry.paramGroup().page));
    QString text;
    if (chance(85)) {
        text = FRandom.address(entry);
        FInvalid.remove(&entry);
    } else {
        text = InvalidAddresses[between(0, int(InvalidAddresses.size()) - 1)];
        FInvalid.insert(&entry);
    }
    note(QStringLiteral("type %1 into %2").arg(text, entry.nameText()));
    QWidget* edit = FWindow->paramControl(entry);
    if (text.isEmpty()) {
        // Emptied: all selected and deleted.
        edit->setFocus();
        static_cast<QLineEdit*>(edit)->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Tab);
    } else {
        type(edit, text);
    }
}

void RandomSession::chooseChoice()
{
    QList<const ParamEntry*> choices;
    for (const ParamEntry* entry : FShown)
        if (entry->kind == ControlKind::Choice)
            choices << entry;
    const ParamEntry& entry = *choices[between(0, int(choices.size()) - 1)];
    showPage(pageIndex(entry.paramGroup().page));
    const auto buttons = FWindow->paramControl(entry)->findChildren<QRadioButton*>();
    const int index = between(0, int(buttons.size()) - 1);
    note(QStringLiteral("choose %1 of %2").arg(index).arg(entry.nameText()));
    buttons[index]->click();
}

bool RandomSession::typeTitle()
{
    showBootScreenPage();
    const bool main = chance(50);
    auto* edit = child<QLineEdit>(*FWindow, main ? "edtMainTitle" : "edtSubTitle");
    if (!edit->isEnabled()) {
        note(QStringLiteral("title field disabled"));
        return true;
    }
    const auto bytes = [edit] { return int(cp936::encode(edit->text()).size()); };
    edit->setFocus();
    if (chance(60))
        edit->selectAll();
    else
        QTest::keyClick(edit, Qt::Key_End);
    const int before = edit->hasSelectedText() ? 0 : bytes();
    // Beyond the 24 bytes too: the key rule and the cut on leaving apply.
    const QString text = FRandom.title(40);
    keys(edit, text);
    note(QStringLiteral("type title %1 into %2, now %3")
             .arg(text, edit->objectName(), edit->text()));
    // A key is refused once the field holds 24 bytes: one more character
    // of at most two bytes may pass.
    if (bytes() > std::max(before, layout::TitleRoom + 1))
        return fail(QStringLiteral("the key rule let %1 bytes in").arg(bytes()));
    for (int i = between(0, 3) - 2; i > 0; --i)
        QTest::keyClick(edit, Qt::Key_Backspace);
    if (chance(80)) {
        QTest::keyClick(edit, Qt::Key_Tab);
        if (bytes() > layout::TitleRoom)
            return fail(QStringLiteral("leaving the title kept %1 bytes").arg(bytes()));
    }
    return true;
}

void RandomSession::toggle(const char* name)
{
    showBootScreenPage();
    auto* box = child<QCheckBox>(*FWindow, name);
    note(QStringLiteral("click %1 (%2)")
             .arg(QLatin1String(name),
                  box->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled")));
    box->click();
}

void RandomSession::chooseStyle()
{
    showBootScreenPage();
    const auto buttons =
        child<ChoiceGroup>(*FWindow, "rgStyleScreen")->findChildren<QRadioButton*>();
    const int index = between(0, int(buttons.size()) - 1);
    note(QStringLiteral("style %1").arg(index));
    buttons[index]->click();
}

void RandomSession::importPicture()
{
    showBootScreenPage();
    auto* button = child<QPushButton>(*FWindow, "btnLoadPic");
    if (!button->isEnabled()) {
        note(QStringLiteral("picture button disabled"));
        return;
    }
    const QString file = FFolder + QStringLiteral("/p%1.bmp").arg(FPictures++ % 4);
    FRandom.picture().save(file, "BMP");
    // Now and then the user cancels the dialog.
    if (chance(90))
        FDialogs.openAnswers << file;
    note(QStringLiteral("import picture %1").arg(file));
    click(button);
}

bool RandomSession::readCommand()
{
    if (chance(50)) {
        note(QStringLiteral("read factory values"));
        triggerAction(*FWindow, "btnReadDefault");
    } else {
        // Its navigation item shows only with the ribbon minimised.
        note(QStringLiteral("read last values"));
        FWindow->btnReadLastClick();
    }
    // The settings file holds valid addresses only.
    FInvalid.clear();
    return true;
}

bool RandomSession::save()
{
    const bool cancel = chance(5);
    const QString name = QStringLiteral("r%1").arg(FSaves, 4, 10, QLatin1Char('0'));
    const QString path = FFolder + u'/' + name + QStringLiteral(".hkf");
    if (!cancel)
        FDialogs.saveAnswers << path;
    const QByteArray imageBefore = FWindow->config().bytes();
    const bool refuse = !FWindow->bootScreen().notEnableParam() && !FInvalid.isEmpty();
    note(QStringLiteral("save %1%2")
             .arg(cancel ? QStringLiteral("(cancelled)") : path,
                  refuse ? QStringLiteral(", to be refused") : QString()));
    click(child<QToolButton>(*FWindow, "btnSave"));
    if (cancel)
        return QFile::exists(path) ? fail(QStringLiteral("a cancelled save wrote a file")) : true;
    ++FSaves;
    if (refuse) {
        ++FRefusals;
        if (FDialogs.messages != QStringList{NetAddressInvalidMessage})
            return fail(QStringLiteral("refused save showed: ") + FDialogs.messages.join(u'|'));
        FDialogs.messages.clear();
        if (QFile::exists(path))
            return fail(QStringLiteral("a refused save wrote its file"));
        if (FWindow->config().bytes() != imageBefore)
            return fail(QStringLiteral("a refused save changed the image"));
        return true;
    }
    if (!FDialogs.messages.isEmpty())
        return fail(QStringLiteral("save showed: ") + FDialogs.messages.join(u'|'));
    SavedFile saved{path, name, documentOf(*FWindow), !FWindow->bootScreen().notEnableParam(), {}};
    // A coordinate beyond what 32 signed bits hold comes back at that end,
    // and every value as its field rounds and shows it.
    saved.shown.resize(ParamCount);
    for (const ParamEntry& entry : catalogue()) {
        if (!entry.isNumeric())
            continue;
        Thousandths& v = saved.document.values[paramIndex(entry)].number;
        v = reopenedValue(entry, v);
        saved.shown[paramIndex(entry)] = shownText(entry, v);
    }
    if (!checkSavedFile(saved))
        return false;
    FSaved << saved;
    return true;
}

bool RandomSession::checkSavedFile(const SavedFile& saved)
{
    const QByteArray bytes = readAll(saved.path);
    if (bytes.size() != layout::ImageSize || bytes != FWindow->config().bytes())
        return fail(QStringLiteral("the file is not the image: %1 bytes").arg(bytes.size()));
    const auto* image = reinterpret_cast<const quint8*>(bytes.constData());
    if (!VerifyImage(image))
        return fail(QStringLiteral("the saved file does not verify"));
    if (readWord(image, layout::IncludeParam) != (saved.withParams ? 1u : 0u))
        return fail(QStringLiteral("IncludeParam does not follow cbNotEnableParam"));

    ScriptedDialogs own;
    TfrmConfig fresh(own, NoSettings);
    const ParamValues before = fresh.readControls();
    own.openAnswers << saved.path;
    fresh.btnOpenFileClick();
    if (!own.messages.isEmpty())
        return fail(QStringLiteral("opening showed: ") + own.messages.join(u'|'));
    const DocumentState opened = documentOf(fresh);
    const QString caption = ToolTitle + QStringLiteral("--") + saved.name + QStringLiteral(".hkf");
    if (opened.caption != caption)
        return fail(QStringLiteral("caption %1").arg(opened.caption));
    QString difference = documentDifference(saved.document, opened, saved.withParams);
    if (difference.isEmpty() && !saved.withParams)
        difference = paramDifference(before, opened.values);
    if (difference.isEmpty() && saved.withParams)
        difference = shownDifference(fresh, saved);
    return difference.isEmpty() ? true : fail(QStringLiteral("opened again: ") + difference);
}

bool RandomSession::open()
{
    if (FSaved.isEmpty() || chance(10)) {
        // Cancelled: the factory values come in.
        note(QStringLiteral("open cancelled"));
        triggerAction(*FWindow, "btnOpenFile");
        FInvalid.clear();
        return true;
    }
    const SavedFile& saved = FSaved[between(0, int(FSaved.size()) - 1)];
    note(QStringLiteral("open %1").arg(saved.path));
    const ParamValues before = FWindow->readControls();
    FDialogs.openAnswers << saved.path;
    triggerAction(*FWindow, "btnOpenFile");
    if (!FDialogs.messages.isEmpty())
        return fail(QStringLiteral("opening showed: ") + FDialogs.messages.join(u'|'));
    const DocumentState opened = documentOf(*FWindow);
    QString difference = documentDifference(saved.document, opened, saved.withParams);
    if (difference.isEmpty() && !saved.withParams)
        difference = paramDifference(before, opened.values);
    if (difference.isEmpty() && saved.withParams)
        difference = shownDifference(*FWindow, saved);
    if (!difference.isEmpty())
        return fail(QStringLiteral("opened in the window: ") + difference);
    if (saved.withParams)
        FInvalid.clear();
    return true;
}

bool RandomSession::step()
{
    // Weights: mostly editing, now and then a document command.
    const int roll = between(0, 99);
    bool ok = true;
    if (roll < 12)
        pageCommand();
    else if (roll < 34)
        typeNumber();
    else if (roll < 42)
        typeAddress();
    else if (roll < 54)
        chooseChoice();
    else if (roll < 64)
        ok = typeTitle();
    else if (roll < 68)
        toggle("cbUseDefaultScreen");
    else if (roll < 73)
        toggle("cbNotEnableParam");
    else if (roll < 78)
        chooseStyle();
    else if (roll < 82)
        importPicture();
    else if (roll < 85)
        ok = readCommand();
    else if (roll < 94)
        ok = save();
    else
        ok = open();
    if (ok && !FDialogs.messages.isEmpty())
        return fail(QStringLiteral("unexpected message: ") + FDialogs.messages.join(u'|'));
    return ok;
}

} // namespace

class TestRandomWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void randomActions();
};

void TestRandomWindow::randomActions()
{
    const auto seed = quint32(fromEnvironment("HMK_RANDOM_SEED", int(DefaultSeed)));
    const int actions = fromEnvironment("HMK_RANDOM_ACTIONS", DefaultActions);
    qInfo("seed %u, %d actions (HMK_RANDOM_SEED, HMK_RANDOM_ACTIONS)", seed, actions);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RandomSession session(seed, dir.path());
    QVERIFY(activate(session.window()));
    for (int n = 0; n < actions; ++n) {
        if (!session.step())
            QFAIL(qPrintable(QStringLiteral("seed %1, action %2: %3\nlast actions:\n%4")
                                 .arg(seed)
                                 .arg(n)
                                 .arg(session.failure(), session.log())));
    }
    qInfo("%d saves, %d of them refused", session.saves(), session.refusals());
    QVERIFY(session.saves() > 0);
}

QTEST_MAIN(TestRandomWindow)
#include "tst_randomwindow.moc"
