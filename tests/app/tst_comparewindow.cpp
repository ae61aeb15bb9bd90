// The compare command, the overview's marks, its find-and-filter bar and
// the address focus after a refused save, driven through scripted dialogs.

#include "ChoiceGroup.h"
#include "ConfigMain.h"
#include "NumericEdit.h"
#include "OverviewFilter.h"
#include "PageControl.h"
#include "ScriptedDialogs.h"
#include "WindowDriving.h"
#include "params/ConfigBuilder.h"

#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

using namespace hmk;

namespace {

const QString Fixture = QStringLiteral(HMK_TEST_DATA_DIR "/app/settings.ini");

const ParamEntry& param(const char* name)
{
    return *findParam(QString::fromLatin1(name));
}

// An image as the window saves it, from `values` and a boot screen that
// carries the parameters and the given main title.
QByteArray imageOf(const ParamValues& values, bool withParams, const QString& mainTitle)
{
    BootScreenModel boot;
    boot.setNotEnableParam(!withParams);
    boot.setUseDefaultScreen(false);
    boot.setMainTitle(mainTitle);
    THMK725ConfigData config;
    if (ExportConfig(QStringLiteral("other.hkf"), values, boot, config) != ExportResult::Built)
        return {};
    return config.bytes();
}

bool sameValues(const ParamValues& a, const ParamValues& b)
{
    for (const ParamEntry& entry : catalogue())
        if (!sameValue(entry, a[paramIndex(entry)], b[paramIndex(entry)]))
            return false;
    return true;
}

} // namespace

class TestCompareWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();

    void compareButtonAndNavItem();
    void compareWithFactoryTakesOnlyTheChecked();
    void compareWithoutDifferences();
    void compareWithFile();
    void compareWithScreenOnlyFileSaysSo();
    void compareWithFailingFileShowsTheMessage();
    void closingTakesNothing();
    void marksChangedAndOutOfRange();
    void marksWithoutSettingsFileUseFormValues();
    void searchAsYouType_data();
    void searchAsYouType();
    void onlyChangedWithSelectionAndDoubleClick();
    void clearingShowsTheOriginalList();
    void refusedSaveFocusesTheFailingAddress_data();
    void refusedSaveFocusesTheFailingAddress();

private:
    NumericEdit* numeric(const char* name) const
    {
        return static_cast<NumericEdit*>(window->paramControl(param(name)));
    }
    ChoiceGroup* choice(const char* name) const
    {
        return static_cast<ChoiceGroup*>(window->paramControl(param(name)));
    }
    QLineEdit* address(const char* name) const
    {
        return static_cast<QLineEdit*>(window->paramControl(param(name)));
    }
    QTreeWidget* list() const { return child<QTreeWidget>(*window, "lvDesc"); }
    QTreeWidgetItem* row(const QString& name) const
    {
        for (QTreeWidgetItem* item :
             list()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0))
            if (item->parent())
                return item;
        qFatal("no overview row %s", qPrintable(name));
    }
    // Names of the rows shown, in order.
    QStringList shownRows() const
    {
        QStringList names;
        for (int g = 0; g < list()->topLevelItemCount(); ++g) {
            QTreeWidgetItem* group = list()->topLevelItem(g);
            for (int r = 0; r < group->childCount(); ++r)
                if (!group->isHidden() && !group->child(r)->isHidden())
                    names << group->child(r)->text(0);
        }
        return names;
    }
    QStringList shownGroups() const
    {
        QStringList names;
        for (int g = 0; g < list()->topLevelItemCount(); ++g)
            if (!list()->topLevelItem(g)->isHidden())
                names << list()->topLevelItem(g)->text(0);
        return names;
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void compare() { child<QToolButton>(*window, "btnCompare")->click(); }
    // Entering the overview from another page rebuilds it.
    void showOverview()
    {
        window->pcMain()->setActivePageIndex(pageIndex(Page::Technics));
        window->pcMain()->setActivePageIndex(pageIndex(Page::Overview));
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmConfig> window;
};

void TestCompareWindow::init()
{
    dialogs = ScriptedDialogs();
    window = std::make_unique<TfrmConfig>(dialogs, Fixture);
    QVERIFY(activate(*window));
}

void TestCompareWindow::cleanup()
{
    window.reset();
}

void TestCompareWindow::compareButtonAndNavItem()
{
    // The ribbon button sits after the hint button; the navigation item asks
    // the same question.
    auto* button = child<QToolButton>(*window, "btnCompare");
    QCOMPARE(button->text(), QStringLiteral("对比"));
    QCOMPARE(button->parentWidget(), child<QToolButton>(*window, "btnShowHint")->parentWidget());
    compare();
    QCOMPARE(dialogs.compareAsked, 1);
    child<QWidget>(*window, "dxitCompare");
    QVERIFY(dialogs.differencesShown.isEmpty());
    QVERIFY(dialogs.messages.isEmpty());
}

void TestCompareWindow::compareWithFactoryTakesOnlyTheChecked()
{
    type(numeric("PunchHeight"), QStringLiteral("5.5"));
    type(numeric("MoveSpeed"), QStringLiteral("400"));
    showOverview();
    QVERIFY(row("穿孔高度")->font(0).bold());

    dialogs.compareAnswers << Dialogs::CompareFactory;
    dialogs.differenceAnswers << QList<int>{0}; // the first row only
    compare();
    QCOMPARE(dialogs.differencesShown.size(), 1);
    const auto& shown = dialogs.differencesShown[0];
    QVERIFY(shown.title.contains(QStringLiteral("出厂设定值")));
    QCOMPARE(shown.rows.size(), 2);
    QCOMPARE(shown.rows[0].name, QStringLiteral("穿孔高度"));
    QCOMPARE(shown.rows[0].ours, QStringLiteral("5.50"));
    QCOMPARE(shown.rows[0].theirs, QStringLiteral("4.50"));
    QCOMPARE(shown.rows[1].name, QStringLiteral("空移速度"));
    QCOMPARE(shown.rows[1].ours, QStringLiteral("400"));
    QCOMPARE(shown.rows[1].theirs, QStringLiteral("321"));

    QCOMPARE(numeric("PunchHeight")->text(), QStringLiteral("4.50"));
    QCOMPARE(numeric("MoveSpeed")->text(), QStringLiteral("400"));
    // The overview is rebuilt at once: the taken value is no longer marked.
    QCOMPARE(row("穿孔高度")->text(1), QStringLiteral("4.5"));
    QVERIFY(!row("穿孔高度")->font(0).bold());
    QCOMPARE(row("空移速度")->text(1), QStringLiteral("400"));
    QVERIFY(row("空移速度")->font(0).bold());
    QVERIFY(row("空移速度")->data(0, ChangedRole).toBool());
}

void TestCompareWindow::compareWithoutDifferences()
{
    dialogs.compareAnswers << Dialogs::CompareFactory;
    compare();
    QVERIFY(dialogs.differencesShown.isEmpty());
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("与出厂设定值相比，没有不同之处。")});
}

void TestCompareWindow::compareWithFile()
{
    ParamValues values = window->readControls();
    values[paramIndex(param("FollowType"))].choice = 1;
    values[paramIndex(param("Gateway"))].text = QStringLiteral("10.9.9.1");
    QVERIFY(writeAll(path("other.hkf"), imageOf(values, true, QStringLiteral("出厂主标题"))));
    const QString caption = window->windowTitle();

    dialogs.compareAnswers << Dialogs::CompareFile;
    dialogs.openAnswers << path("other.hkf");
    dialogs.differenceAnswers << QList<int>{0, 1, 2};
    compare();
    QCOMPARE(dialogs.differencesShown.size(), 1);
    QStringList names;
    for (const auto& r : dialogs.differencesShown[0].rows)
        names << r.name;
    // The switch has no overview row: the page's label names it.
    QCOMPARE(names, (QStringList{QStringLiteral("副标题"), QStringLiteral("跟随方式"),
                                 QStringLiteral("网关")}));
    QCOMPARE(choice("FollowType")->itemIndex(), 1);
    QCOMPARE(address("Gateway")->text(), QStringLiteral("10.9.9.1"));
    QCOMPARE(window->bootScreen().subTitle(), QString());
    QCOMPARE(row("网关")->text(1), QStringLiteral("10.9.9.1"));
    // Comparing is no open: the caption keeps its name.
    QCOMPARE(window->windowTitle(), caption);
}

void TestCompareWindow::compareWithScreenOnlyFileSaysSo()
{
    ParamValues values = window->readControls();
    values[paramIndex(param("PunchHeight"))].number = 9000;
    QVERIFY(writeAll(path("screen.hkf"), imageOf(values, false, QStringLiteral("只有画面"))));
    dialogs.compareAnswers << Dialogs::CompareFile;
    dialogs.openAnswers << path("screen.hkf");
    compare();
    QCOMPARE(dialogs.differencesShown.size(), 1);
    const auto& shown = dialogs.differencesShown[0];
    QVERIFY(!shown.note.isEmpty());
    for (const auto& r : shown.rows)
        QVERIFY2(r.name != QStringLiteral("穿孔高度"), "parameters compared");
    QCOMPARE(shown.rows[0].name, QStringLiteral("主标题"));
    QCOMPARE(shown.rows[0].theirs, QStringLiteral("只有画面"));
}

void TestCompareWindow::compareWithFailingFileShowsTheMessage()
{
    QVERIFY(writeAll(path("short.hkf"), QByteArray(100, '\0')));
    dialogs.compareAnswers << Dialogs::CompareFile;
    dialogs.openAnswers << path("short.hkf");
    const ParamValues before = window->readControls();
    compare();
    QVERIFY(dialogs.differencesShown.isEmpty());
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].startsWith(QStringLiteral("读取错误：CRC校验失败！")));
    QVERIFY(sameValues(window->readControls(), before));
}

void TestCompareWindow::closingTakesNothing()
{
    dialogs.compareAnswers << Dialogs::CompareLast;
    dialogs.differenceAnswers << QList<int>{}; // "关闭"
    const ParamValues before = window->readControls();
    compare();
    QCOMPARE(dialogs.differencesShown.size(), 1);
    QVERIFY(dialogs.differencesShown[0].title.contains(QStringLiteral("上次保存")));
    QVERIFY(sameValues(window->readControls(), before));
}

void TestCompareWindow::marksChangedAndOutOfRange()
{
    ParamValues values = window->readControls();
    values[paramIndex(param("PunchHeight"))].number = 50000;
    QVERIFY(writeAll(path("high.hkf"), imageOf(values, true, QStringLiteral("出厂主标题"))));
    dialogs.openAnswers << path("high.hkf");
    triggerAction(*window, "btnOpenFile");
    showOverview();

    QTreeWidgetItem* high = row("穿孔高度");
    // Marking never changes a value.
    QCOMPARE(high->text(1), QStringLiteral("50"));
    QCOMPARE(numeric("PunchHeight")->text(), QStringLiteral("50.00"));
    QCOMPARE(high->foreground(1).color(), high->foreground(0).color());
    QVERIFY(high->foreground(0).color() != row("回中坐标")->foreground(0).color());
    QVERIFY(high->toolTip(0).startsWith(QStringLiteral("超出范围：0.20 ～ 10.00")));
    QVERIFY(high->data(0, OutOfRangeRole).toBool());
    QVERIFY(high->data(0, ChangedRole).toBool());
    QVERIFY(high->font(0).bold());
    // Equal to the factory value: no mark.
    QTreeWidgetItem* plain = row("回中坐标");
    QVERIFY(!plain->data(0, ChangedRole).toBool());
    QVERIFY(!plain->font(0).bold());
    QVERIFY(plain->toolTip(0).isEmpty());
}

void TestCompareWindow::marksWithoutSettingsFileUseFormValues()
{
    ScriptedDialogs noSettings;
    TfrmConfig bare(noSettings, path("none.ini"));
    // Without a settings file the form values are the factory values: the
    // window opens with nothing marked.
    auto* lv = bare.findChild<QTreeWidget*>(QStringLiteral("lvDesc"));
    for (int g = 0; g < lv->topLevelItemCount(); ++g)
        for (int r = 0; r < lv->topLevelItem(g)->childCount(); ++r)
            QVERIFY(!lv->topLevelItem(g)->child(r)->data(0, ChangedRole).toBool());
}

void TestCompareWindow::searchAsYouType_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("row name") << "手动" << QStringList{"手动低速", "手动高速"};
    QTest::newRow("value, ignoring case") << "FACTORY" << QStringList{"副标题"};
    QTest::newRow("value of a choice") << "渐进穿孔" << QStringList{"跟随方式"};
    QTest::newRow("note") << "穿孔高度的提示" << QStringList{"穿孔高度"};
    QTest::newRow("nothing") << "没有这一行" << QStringList{};
}

void TestCompareWindow::searchAsYouType()
{
    QFETCH(QString, search);
    QFETCH(QStringList, rows);
    auto* field = child<QLineEdit>(*window, "edtOverviewSearch");
    field->setFocus();
    keys(field, search);
    QCOMPARE(shownRows(), rows);
    // Groups without a row shown are hidden.
    QCOMPARE(shownGroups().size(), rows.isEmpty() ? 0 : 1);
}

void TestCompareWindow::onlyChangedWithSelectionAndDoubleClick()
{
    type(numeric("DifferentialConstant"), QStringLiteral("60"));
    showOverview();
    click(child<QCheckBox>(*window, "cbOnlyChanged"));
    QCOMPARE(shownRows(), QStringList{QStringLiteral("微分时间常数")});
    QCOMPARE(shownGroups(), QStringList{QStringLiteral("高级随动参数")});

    // The shown row selects and leads to its page as in the full list.
    QTreeWidgetItem* item = row("微分时间常数");
    const QPoint at = list()->visualItemRect(item).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(item->isSelected());
    QCOMPARE(child<QPlainTextEdit>(*window, "memoHint")->toPlainText(), item->text(2));
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(window->pcMain()->activePageIndex(), pageIndex(Page::SeniorParam));

    // Entering the overview again rebuilds it; the filter stays in force.
    showOverview();
    QCOMPARE(shownRows(), QStringList{QStringLiteral("微分时间常数")});
}

void TestCompareWindow::clearingShowsTheOriginalList()
{
    const QStringList all = shownRows();
    QCOMPARE(all.size(), 46);
    QCOMPARE(shownGroups().size(), 12);
    auto* field = child<QLineEdit>(*window, "edtOverviewSearch");
    auto* only = child<QCheckBox>(*window, "cbOnlyChanged");
    field->setText(QStringLiteral("速度"));
    only->setChecked(true);
    QVERIFY(shownRows().size() < all.size());
    field->clear();
    only->setChecked(false);
    QCOMPARE(shownRows(), all);
    QCOMPARE(shownGroups().size(), 12);
}

void TestCompareWindow::refusedSaveFocusesTheFailingAddress_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QString>("focused");

    QTest::newRow("address") << "10.1.1.255"
                             << "255.255.255.0"
                             << "10.1.1.1.7"
                             << "IPAddress";
    QTest::newRow("mask") << "10.1.1.2"
                          << "255.255.256.0"
                          << "10.1.1.1"
                          << "SubnetMask";
    QTest::newRow("gateway") << "10.1.1.2"
                             << "255.255.255.0"
                             << "10.1..1"
                             << "Gateway";
}

void TestCompareWindow::refusedSaveFocusesTheFailingAddress()
{
    QFETCH(QString, ip);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(QString, focused);
    address("IPAddress")->setText(ip);
    address("SubnetMask")->setText(mask);
    address("Gateway")->setText(gateway);
    dialogs.saveAnswers << path("refused.hkf");
    child<QToolButton>(*window, "btnSave")->click();
    QCOMPARE(dialogs.messages, QStringList{NetAddressInvalidMessage});
    QVERIFY(!QFile::exists(path("refused.hkf")));
    QCOMPARE(window->pcMain()->activePageIndex(), pageIndex(Page::Net));
    QLineEdit* edit = address(focused.toLatin1().constData());
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), edit->text());
}

QTEST_MAIN(TestCompareWindow)
#include "tst_comparewindow.moc"
