// The main window: page commands and their redirect, the overview list, the
// hint memo, the navigation bar, the minimised ribbon, the parameter pages
// built from the catalogue and the boot-screen page over its model.

#include "ChoiceGroup.h"
#include "ConfigMain.h"
#include "NavBar.h"
#include "NumericEdit.h"
#include "PageControl.h"
#include "RibbonBar.h"
#include "ScriptedDialogs.h"
#include "image/Codepage.h"
#include "params/ParamCatalogue.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace hmk;

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();

    void opensOnOverviewWithMemoHidden();
    void parameterControlsFollowTheCatalogue();
    void writeAndReadControls();
    void hintsBecomeTooltipsAndNotes();

    void pageCommands_data();
    void pageCommands();
    void pageCommandOnItsOwnPage();
    void tabClickChangesNoHintState();
    void overviewRebuiltWhenEntered();
    void overviewNotRebuiltWhenAlreadyShown();
    void viewAndHintButton();

    void groupCollapsedKeepsParameterGroupsOpen();
    void minimisedRibbonMovesPages();

    void overviewRows();
    void overviewValues_data();
    void overviewValues();
    void selectionWritesNote();
    void doubleClickShowsPage_data();
    void doubleClickShowsPage();
    void doubleClickOnGroupHeaderDoesNothing();

    void bootPageFollowsModel();
    void bootPageUserActionsReachModel();
    void titleKeyLimitAndCutOnLeaving();
    void loadPicture_data();
    void loadPicture();

private:
    template <typename T> T* child(const char* name) const
    {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qFatal("no child %s", name);
        return c;
    }
    NumericEdit* numeric(const char* param) const
    {
        return static_cast<NumericEdit*>(
            window->paramControl(*findParam(QString::fromLatin1(param))));
    }
    ChoiceGroup* choice(const char* param) const
    {
        return static_cast<ChoiceGroup*>(
            window->paramControl(*findParam(QString::fromLatin1(param))));
    }
    QTreeWidgetItem* row(const QString& name) const;
    QString rowValue(const QString& name) const { return row(name)->text(1); }
    int page() const { return window->pcMain()->activePageIndex(); }
    void clickTab(int index) const;
    void clickLink(const char* name) const;

    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmConfig> window;
};

void TestMainWindow::init()
{
    dialogs = ScriptedDialogs();
    window = std::make_unique<TfrmConfig>(dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestMainWindow::cleanup()
{
    window.reset();
}

QTreeWidgetItem* TestMainWindow::row(const QString& name) const
{
    const auto found =
        child<QTreeWidget>("lvDesc")->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
    for (QTreeWidgetItem* item : found) {
        if (item->parent())
            return item;
    }
    qFatal("no overview row %s", qPrintable(name));
}

void TestMainWindow::clickTab(int index) const
{
    QTabBar* tabs = window->pcMain()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

void TestMainWindow::clickLink(const char* name) const
{
    auto* link = child<NavLink>(name);
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
}

void TestMainWindow::opensOnOverviewWithMemoHidden()
{
    QCOMPARE(window->windowTitle(), ToolTitle);
    QCOMPARE(page(), pageIndex(Page::Overview));
    QVERIFY(child<QPlainTextEdit>("memoHint")->isHidden());
    auto* hint = child<QToolButton>("btnShowHint");
    QVERIFY(hint->isEnabled());
    QCOMPARE(hint->text(), QStringLiteral("显示提示"));
    QVERIFY(child<NavGroup>("ngrpBase")->isHidden());
    QVERIFY(window->width() >= 895 && window->height() >= 682);
    QCOMPARE(window->minimumSize(), QSize(895, 682));
    // Entering the overview page built the list with the form values.
    QCOMPARE(rowValue(QStringLiteral("穿孔高度")), QStringLiteral("3"));
}

void TestMainWindow::parameterControlsFollowTheCatalogue()
{
    for (const ParamEntry& entry : catalogue()) {
        const QString name = QString::fromLatin1(entry.control);
        QWidget* control = window->paramControl(entry);
        QCOMPARE(control->objectName(), name);
        QWidget* page = window->pcMain()->page(pageIndex(entry.paramGroup().page));
        QVERIFY2(page->isAncestorOf(control), qPrintable(name));
        auto* box = qobject_cast<QGroupBox*>(control->parentWidget());
        QVERIFY2(box, qPrintable(name));
        QCOMPARE(box->title(), QString::fromUtf8(entry.paramGroup().box));
        const auto labels = box->findChildren<QLabel*>();
        const bool labelled = std::any_of(labels.begin(), labels.end(), [&](QLabel* l) {
            return l->text() == QString::fromUtf8(entry.label) + QStringLiteral("：") &&
                   l->isHidden() == entry.hidden;
        });
        QVERIFY2(labelled, qPrintable(name));
        QCOMPARE(control->isHidden(), entry.hidden);
    }
    QCOMPARE(child<QLabel>("lblMaxDeceleration")->text(), QStringLiteral("下行增益等级："));
    QCOMPARE(child<QLabel>("lblAccelerationUnit")->text(), QStringLiteral("（单位：mm/s²）"));
    QCOMPARE(child<QLabel>("lblZRange")->text(), QStringLiteral("Z  轴行程："));
    QVERIFY(child<QWidget>("edtFollowSpeed")->isHidden());
    QVERIFY(child<QWidget>("edtIntegrationConstant")->isHidden());
    const ParamValues read = window->readControls();
    const ParamValues form = formValues();
    for (int i = 0; i < ParamCount; ++i) {
        QCOMPARE(read[i].number, form[i].number);
        QCOMPARE(read[i].choice, form[i].choice);
        QCOMPARE(read[i].text, form[i].text);
    }
}

void TestMainWindow::writeAndReadControls()
{
    ParamValues values = formValues();
    const auto at = [&](const char* name) -> ParamValue& {
        return values[paramIndex(*findParam(QString::fromLatin1(name)))];
    };
    at("PunchHeight").number = 50456;  // above Max, three decimals
    at("CyrusCoordinate").number = -7; // rounds to -0.01
    at("FollowType").choice = 7;       // beyond the last choice
    at("NetEnable").choice = -5;       // below -1
    at("IPAddress").text = QStringLiteral("1.2.3");
    window->writeControls(values);

    QCOMPARE(numeric("PunchHeight")->text(), QStringLiteral("50.46"));
    const ParamValues read = window->readControls();
    const auto readAt = [&](const char* name) {
        return read[paramIndex(*findParam(QString::fromLatin1(name)))];
    };
    QCOMPARE(readAt("PunchHeight").number, qint64(50460));
    QCOMPARE(readAt("CyrusCoordinate").number, qint64(-10));
    QCOMPARE(readAt("FollowType").choice, 2);
    QCOMPARE(readAt("NetEnable").choice, -1);
    QCOMPARE(readAt("IPAddress").text, QStringLiteral("1.2.3"));
}

void TestMainWindow::hintsBecomeTooltipsAndNotes()
{
    window->setHints({{QStringLiteral("PunchHeight"), QStringLiteral("穿孔时的高度")},
                      {QStringLiteral("MainTitle"), QStringLiteral("主标题说明")},
                      {QStringLiteral("NetEnable"), QStringLiteral("网络")}});
    QCOMPARE(numeric("PunchHeight")->toolTip(), QStringLiteral("穿孔时的高度"));
    QCOMPARE(child<QLineEdit>("edtMainTitle")->toolTip(), QStringLiteral("主标题说明"));
    QCOMPARE(choice("NetEnable")->toolTip(), QStringLiteral("网络"));
    QVERIFY(choice("ServoType")->toolTip().isEmpty());

    window->BuildOverview();
    QCOMPARE(row(QStringLiteral("穿孔高度"))->text(2), QStringLiteral("穿孔时的高度"));
    QCOMPARE(row(QStringLiteral("主标题"))->text(2), QStringLiteral("主标题说明"));
    QVERIFY(row(QStringLiteral("回中坐标"))->text(2).isEmpty());
}

void TestMainWindow::pageCommands_data()
{
    QTest::addColumn<QString>("trigger"); // a ribbon button or a navigation link
    QTest::addColumn<int>("ownPage");

    QTest::newRow("ribbon 工艺参数") << "btnTechParam" << 1;
    QTest::newRow("ribbon 运动参数") << "btnSpeedParam" << 2;
    QTest::newRow("ribbon 机械参数") << "btnMachineParam" << 3;
    QTest::newRow("ribbon 网络参数") << "btnNetParam" << 4;
    QTest::newRow("ribbon 其他参数") << "btnOtherParam" << 5;
    QTest::newRow("ribbon 高级参数") << "btnSeniorParam" << 6;
    QTest::newRow("ribbon 开机画面") << "btnScreen" << 7;
    QTest::newRow("item 工艺参数") << "dxitTechParam" << 1;
    QTest::newRow("item 速度参数") << "dxitSpeed" << 2;
    QTest::newRow("item 点动参数") << "dxitJog" << 2;
    QTest::newRow("item 复位参数") << "dxitORG" << 2;
    QTest::newRow("item 机械参数") << "dxitMachineItem1" << 3;
    QTest::newRow("item 网络参数") << "dxitNetParam" << 4;
    QTest::newRow("item 报警参数") << "dxitAlarm" << 5;
    QTest::newRow("item 寻边参数") << "dxitEdge" << 5;
    QTest::newRow("item 标定参数") << "dxitCalibrate" << 5;
    QTest::newRow("item 系统参数") << "dxitSystem" << 6;
}

void TestMainWindow::pageCommands()
{
    QFETCH(QString, trigger);
    QFETCH(int, ownPage);

    const auto fire = [&] {
        if (auto* button = window->findChild<QToolButton*>(trigger))
            button->click();
        else
            clickLink(qPrintable(trigger));
    };
    auto* memo = child<QPlainTextEdit>("memoHint");
    auto* hint = child<QToolButton>("btnShowHint");

    // Only the boot screen is to be set (as the window opens): every page
    // command shows the boot-screen page.
    QVERIFY(window->bootScreen().notEnableParam());
    hint->click();
    QVERIFY(!memo->isHidden());
    fire();
    QCOMPARE(page(), pageIndex(Page::BootScreen));
    QVERIFY(memo->isHidden());
    QVERIFY(!hint->isEnabled());
    QCOMPARE(hint->text(), QStringLiteral("关闭提示")); // the caption stays

    window->bootScreen().setNotEnableParam(false);
    clickTab(0);
    fire();
    QCOMPARE(page(), ownPage);
}

void TestMainWindow::pageCommandOnItsOwnPage()
{
    window->bootScreen().setNotEnableParam(false);
    window->SpeedPage();
    window->btnViewClick();
    window->pcMain()->setActivePageIndex(2);
    window->btnShowHintClick();
    QVERIFY(!child<QPlainTextEdit>("memoHint")->isHidden());

    QSignalSpy changing(window->pcMain(), &PageControl::changing);
    window->SpeedPage();
    QCOMPARE(page(), 2);
    QCOMPARE(changing.size(), 0);
    QVERIFY(child<QPlainTextEdit>("memoHint")->isHidden());
    QVERIFY(!child<QToolButton>("btnShowHint")->isEnabled());
}

void TestMainWindow::tabClickChangesNoHintState()
{
    child<QToolButton>("btnShowHint")->click();
    clickTab(3);
    QCOMPARE(page(), 3);
    QVERIFY(!child<QPlainTextEdit>("memoHint")->isHidden());
    QVERIFY(child<QToolButton>("btnShowHint")->isEnabled());
}

void TestMainWindow::overviewRebuiltWhenEntered()
{
    window->bootScreen().setNotEnableParam(false);

    // By its tab.
    clickTab(1);
    numeric("PunchHeight")->setValue(4500);
    QCOMPARE(rowValue(QStringLiteral("穿孔高度")), QStringLiteral("3"));
    clickTab(0);
    QCOMPARE(rowValue(QStringLiteral("穿孔高度")), QStringLiteral("4.5"));

    // By the View command.
    window->SpeedPage();
    numeric("MoveSpeed")->setValue(300000);
    window->btnViewClick();
    QCOMPARE(page(), 0);
    QCOMPARE(rowValue(QStringLiteral("空移速度")), QStringLiteral("300"));

    // By a command that sets the page, the double-click mapping's way.
    window->pcMain()->setActivePageIndex(5);
    numeric("HitBoardDelay")->setValue(1000);
    window->pcMain()->setActivePageIndex(0);
    QCOMPARE(rowValue(QStringLiteral("碰板报警延时")), QStringLiteral("1"));
}

void TestMainWindow::overviewNotRebuiltWhenAlreadyShown()
{
    window->bootScreen().setNotEnableParam(false);
    QCOMPARE(page(), 0);
    numeric("PunchHeight")->setValue(4500);
    clickTab(0);
    window->btnViewClick();
    QCOMPARE(rowValue(QStringLiteral("穿孔高度")), QStringLiteral("3"));
}

void TestMainWindow::viewAndHintButton()
{
    auto* memo = child<QPlainTextEdit>("memoHint");
    auto* hint = child<QToolButton>("btnShowHint");

    hint->click();
    QVERIFY(!memo->isHidden());
    QCOMPARE(hint->text(), QStringLiteral("关闭提示"));
    hint->click();
    QVERIFY(memo->isHidden());
    QCOMPARE(hint->text(), QStringLiteral("显示提示"));

    // A page command disables the button; View enables it and matches the
    // caption to the memo, and leads to the boot-screen page while only the
    // boot screen is to be set.
    hint->click();
    window->AlarmPage();
    QVERIFY(!hint->isEnabled());
    QCOMPARE(hint->text(), QStringLiteral("关闭提示"));
    child<QToolButton>("btnView")->click();
    QVERIFY(hint->isEnabled());
    QCOMPARE(hint->text(), QStringLiteral("显示提示"));
    QCOMPARE(page(), pageIndex(Page::BootScreen));

    window->bootScreen().setNotEnableParam(false);
    child<QToolButton>("btnView")->click();
    QCOMPARE(page(), 0);
}

void TestMainWindow::groupCollapsedKeepsParameterGroupsOpen()
{
    const char* groups[] = {"ngrpTechParam", "ngrpSpeed", "ngrpMachine",
                            "ngrpNetParam",  "ngrpOther", "ngrpSenior"};
    for (const char* name : groups) {
        auto* group = child<NavGroup>(name);
        group->findChild<QToolButton*>()->click(); // the caption bar
        for (const char* other : groups)
            QVERIFY2(child<NavGroup>(other)->isExpanded(), other);
    }

    // The document group has no such handler.
    child<RibbonBar>("dxRibbon1")->setMinimized(true);
    auto* base = child<NavGroup>("ngrpBase");
    base->findChild<QToolButton*>()->click();
    QVERIFY(!base->isExpanded());
}

void TestMainWindow::minimisedRibbonMovesPages()
{
    auto* ribbon = child<RibbonBar>("dxRibbon1");
    QWidget* client = window->centralWidget();
    PageControl* pages = window->pcMain();

    ribbon->findChild<QToolButton*>(QStringLiteral("btnRibbonMinimize"))->click();
    QVERIFY(ribbon->isMinimized());
    QCOMPARE(pages->geometry().top(), 30);
    // The pages reach the bottom of the client area and not beyond it.
    QCOMPARE(pages->geometry().bottom(), client->height() - 1);
    auto* base = child<NavGroup>("ngrpBase");
    QVERIFY(!base->isHidden());
    for (const char* item : {"dxitDefault", "dxitLast", "dxitOpen", "dxitSave"})
        QVERIFY2(!child<NavLink>(item)->isHidden(), item);
    QVERIFY(child<NavLink>("dxitView")->isHidden());

    // The page control keeps its distances to the edges.
    window->resize(window->width() + 40, window->height() + 60);
    QTRY_COMPARE(client->height(), 742);
    QCOMPARE(pages->geometry().top(), 30);
    QCOMPARE(pages->geometry().bottom(), client->height() - 1);
    QCOMPARE(pages->geometry().right(), client->width() - 1);

    // Restored: the group stays, the pages go back below the ribbon.
    ribbon->setMinimized(false);
    QVERIFY(!base->isHidden());
    QVERIFY(pages->geometry().top() >= ribbon->geometry().bottom());
    QCOMPARE(pages->geometry().bottom(), client->height() - 1);
}

void TestMainWindow::overviewRows()
{
    const char* headers[] = {"开机画面", "工艺参数", "速度参数", "复位参数",
                             "点动参数", "机械参数", "网络参数", "报警参数",
                             "寻边参数", "标定参数", "系统参数", "高级随动参数"};
    const int rowsPerGroup[] = {2, 7, 2, 4, 3, 9, 4, 4, 1, 2, 4, 4};
    auto* list = child<QTreeWidget>("lvDesc");
    QCOMPARE(list->topLevelItemCount(), 12);
    int rows = 0;
    for (int g = 0; g < 12; ++g) {
        QTreeWidgetItem* group = list->topLevelItem(g);
        QCOMPARE(group->text(0), QString::fromUtf8(headers[g]));
        QCOMPARE(group->childCount(), rowsPerGroup[g]);
        rows += group->childCount();
    }
    QCOMPARE(rows, 46);
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("参数名称"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("参数值"));
    QCOMPARE(list->headerItem()->text(2), QStringLiteral("注释"));
    QCOMPARE(list->columnWidth(0), 120);
    QCOMPARE(list->columnWidth(1), 150);
    QCOMPARE(list->columnWidth(2), 450);
    // No row for the servo type or the hidden fields.
    const auto items = list->findItems(QStringLiteral("伺服类型"), Qt::MatchRecursive, 0);
    QVERIFY(items.isEmpty());
}

void TestMainWindow::overviewValues_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<qint64>("value"); // thousandths or index
    QTest::addColumn<QString>("rowName");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no display format") << "PunchHeight" << qint64(3000) << "穿孔高度"
                                       << "3";
    QTest::newRow("no separator") << "PulsePerRound" << qint64(10000000) << "每转脉冲数"
                                  << "10000";
    QTest::newRow("decimals kept") << "ZRange" << qint64(999990) << "Z轴行程"
                                   << "999.99";
    QTest::newRow("ZRange loader default") << "ZRange" << qint64(999999) << "Z轴行程"
                                           << "1000";
    QTest::newRow("negative coordinate") << "StayCoordinate" << qint64(-2500) << "停靠坐标"
                                         << "-2.5";
    QTest::newRow("row name differs from label") << "FollowGain" << qint64(20000) << "下行跟随增益"
                                                 << "20";
    QTest::newRow("choice caption") << "FollowType" << qint64(2) << "跟随方式"
                                    << "渐进穿孔";
    QTest::newRow("reversed on/off") << "IntelligentCheck" << qint64(0) << "智能碰板检测"
                                     << "开启";
    QTest::newRow("choice renamed row") << "SoftwareLimit" << qint64(0) << "软限保护"
                                        << "关闭";
    QTest::newRow("no choice") << "NetEnable" << qint64(-1) << "网络是否开"
                               << "";
}

void TestMainWindow::overviewValues()
{
    QFETCH(QString, param);
    QFETCH(qint64, value);
    QFETCH(QString, rowName);
    QFETCH(QString, shown);

    const ParamEntry& entry = *findParam(param);
    ParamValues values = window->readControls();
    if (entry.isNumeric())
        values[paramIndex(entry)].number = value;
    else
        values[paramIndex(entry)].choice = int(value);
    window->writeControls(values);
    window->BuildOverview();
    QCOMPARE(rowValue(rowName), shown);
}

void TestMainWindow::selectionWritesNote()
{
    window->setHints({{QStringLiteral("PunchHeight"), QStringLiteral("A")},
                      {QStringLiteral("ZRange"), QStringLiteral("B")}});
    window->BuildOverview();
    auto* list = child<QTreeWidget>("lvDesc");
    auto* memo = child<QPlainTextEdit>("memoHint");

    list->setCurrentItem(row(QStringLiteral("穿孔高度")));
    QCOMPARE(memo->toPlainText(), QStringLiteral("A")); // even with the memo hidden
    list->setCurrentItem(row(QStringLiteral("Z轴行程")));
    QCOMPARE(memo->toPlainText(), QStringLiteral("B"));
    list->setCurrentItem(row(QStringLiteral("回中坐标")));
    QVERIFY(memo->toPlainText().isEmpty());

    // Group headers are not rows: they take no selection.
    list->setCurrentItem(list->topLevelItem(1));
    QVERIFY(list->selectedItems().isEmpty() ||
            list->selectedItems().constFirst()->parent() != nullptr);

    window->BuildOverview();
    QVERIFY(list->selectedItems().isEmpty());
}

void TestMainWindow::doubleClickShowsPage_data()
{
    QTest::addColumn<QString>("rowName");
    QTest::addColumn<int>("page");

    QTest::newRow("主标题") << "主标题" << 7;
    QTest::newRow("穿孔高度") << "穿孔高度" << 1;
    QTest::newRow("加速度") << "加速度" << 2;
    QTest::newRow("返回距离") << "返回距离" << 2;
    QTest::newRow("软限保护") << "软限保护" << 2;
    QTest::newRow("启用上抬信号") << "启用上抬信号" << 3;
    QTest::newRow("网关") << "网关" << 4;
    QTest::newRow("上下限位报警") << "上下限位报警" << 5;
    QTest::newRow("入边敏感") << "入边敏感" << 5;
    QTest::newRow("标定范围") << "标定范围" << 5;
    QTest::newRow("应用场合") << "应用场合" << 6;
    QTest::newRow("跟随等级") << "跟随等级" << 6;
}

void TestMainWindow::doubleClickShowsPage()
{
    QFETCH(QString, rowName);
    QFETCH(int, page);

    // The list leads to every page while only the boot screen is to be set,
    // and leaves the memo and its button alone.
    QVERIFY(window->bootScreen().notEnableParam());
    child<QToolButton>("btnShowHint")->click();
    auto* list = child<QTreeWidget>("lvDesc");
    QTreeWidgetItem* item = row(rowName);
    list->scrollToItem(item);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    QCOMPARE(this->page(), page);
    QVERIFY(!child<QPlainTextEdit>("memoHint")->isHidden());
    QVERIFY(child<QToolButton>("btnShowHint")->isEnabled());
}

void TestMainWindow::doubleClickOnGroupHeaderDoesNothing()
{
    auto* list = child<QTreeWidget>("lvDesc");
    QSignalSpy changing(window->pcMain(), &PageControl::changing);
    for (int g = 0; g < list->topLevelItemCount(); ++g) {
        QTreeWidgetItem* header = list->topLevelItem(g);
        list->scrollToItem(header);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(header).center());
    }
    QCOMPARE(changing.size(), 0);
    QCOMPARE(page(), 0);
}

void TestMainWindow::bootPageFollowsModel()
{
    BootScreenModel& model = window->bootScreen();
    auto* notEnable = child<QCheckBox>("cbNotEnableParam");
    auto* useDefault = child<QCheckBox>("cbUseDefaultScreen");
    auto* style = child<ChoiceGroup>("rgStyleScreen");
    auto* mainTitle = child<QLineEdit>("edtMainTitle");
    auto* subTitle = child<QLineEdit>("edtSubTitle");
    auto* loadPic = child<QPushButton>("btnLoadPic");
    auto* lcd = child<QLabel>("imgLcd");

    // As the window opens.
    QVERIFY(notEnable->isChecked());
    QVERIFY(useDefault->isChecked() && useDefault->isEnabled());
    QCOMPARE(style->itemIndex(), 0);
    QCOMPARE(mainTitle->text(), DefaultMainTitle);
    QVERIFY(subTitle->text().isEmpty());
    QVERIFY(!mainTitle->isEnabled() && !subTitle->isEnabled() && !loadPic->isEnabled());
    QVERIFY(child<QWidget>("cbFontMain")->isHidden() && child<QWidget>("cbFontSub")->isHidden());
    QCOMPARE(lcd->size(), QSize(585, 192));

    model.setUseDefaultScreen(false);
    QVERIFY(!useDefault->isChecked());
    QVERIFY(mainTitle->isEnabled() && subTitle->isEnabled());
    model.setMainTitle(QStringLiteral("标题"));
    QCOMPARE(mainTitle->text(), QStringLiteral("标题"));
    QCOMPARE(lcd->pixmap().toImage(),
             model.imgLcd().convertToFormat(lcd->pixmap().toImage().format()));

    model.setStyleIndex(1);
    QCOMPARE(style->itemIndex(), 1);
    QVERIFY(loadPic->isEnabled());
    QVERIFY(!useDefault->isEnabled() && !useDefault->isChecked());
    QVERIFY(!mainTitle->isEnabled());

    model.setStyleIndex(0);
    model.setUseDefaultScreen(true);
    QCOMPARE(mainTitle->text(), DefaultMainTitle);
    QVERIFY(!mainTitle->isEnabled());

    model.setNotEnableParam(false);
    QVERIFY(!notEnable->isChecked());
}

void TestMainWindow::bootPageUserActionsReachModel()
{
    BootScreenModel& model = window->bootScreen();
    window->btnScreenClick();

    child<QCheckBox>("cbNotEnableParam")->click();
    QVERIFY(!model.notEnableParam());
    child<QCheckBox>("cbUseDefaultScreen")->click();
    QVERIFY(!model.useDefaultScreen());

    auto* mainTitle = child<QLineEdit>("edtMainTitle");
    mainTitle->selectAll();
    QTest::keyClicks(mainTitle, QStringLiteral("Laser"));
    QCOMPARE(model.mainTitle(), QStringLiteral("Laser"));
    QTest::keyClicks(child<QLineEdit>("edtSubTitle"), QStringLiteral("Sub"));
    QCOMPARE(model.subTitle(), QStringLiteral("Sub"));

    auto* style = child<ChoiceGroup>("rgStyleScreen");
    auto* picture = style->findChildren<QAbstractButton*>().at(1);
    picture->click();
    QCOMPARE(model.styleIndex(), 1);
    QVERIFY(!model.useDefaultScreen());
    QVERIFY(child<QPushButton>("btnLoadPic")->isEnabled());
}

void TestMainWindow::titleKeyLimitAndCutOnLeaving()
{
    BootScreenModel& model = window->bootScreen();
    model.setUseDefaultScreen(false);
    auto* mainTitle = child<QLineEdit>("edtMainTitle");
    mainTitle->clear();
    model.setMainTitle(QString());

    QTest::keyClicks(mainTitle, QString(24, QLatin1Char('A')));
    QTest::keyClick(mainTitle, Qt::Key_B);
    QCOMPARE(mainTitle->text(), QString(24, QLatin1Char('A')));
    QTest::keyClick(mainTitle, Qt::Key_Backspace);
    QCOMPARE(mainTitle->text().size(), 23);

    // A double-byte character at 23 bytes is taken, and cut when leaving.
    QKeyEvent wide(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("中"));
    QCoreApplication::sendEvent(mainTitle, &wide);
    QCOMPARE(cp936::encode(mainTitle->text()).size(), 25);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(mainTitle, &out);
    QVERIFY(cp936::encode(mainTitle->text()).size() <= 24);
    QCOMPARE(model.mainTitle(), mainTitle->text());
}

void TestMainWindow::loadPicture_data()
{
    QTest::addColumn<QString>("file"); // "" cancels; "%1" is a temporary folder
    QTest::addColumn<QSize>("size");   // of the bitmap written there first
    QTest::addColumn<QString>("message");

    QTest::newRow("cancelled") << "" << QSize() << "";
    QTest::newRow("192 x 32") << "%1/logo.bmp" << QSize(192, 32) << "";
    QTest::newRow("wrong size") << "%1/small.bmp" << QSize(100, 32) << WrongSizeMessage;
    QTest::newRow("missing file") << "%1/missing.bmp" << QSize() << "missing.bmp";
}

void TestMainWindow::loadPicture()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = file.isEmpty() ? QString() : file.arg(dir.path());
    if (size.isValid()) {
        QImage image(size, QImage::Format_Mono);
        image.fill(1);
        QVERIFY(image.save(path, "BMP"));
    }
    window->bootScreen().setStyleIndex(1);
    dialogs.openAnswers << path;
    child<QPushButton>("btnLoadPic")->click();

    QCOMPARE(dialogs.openFilters, QStringList{QStringLiteral("图像文件（.bmp） (*.bmp)")});
    if (message.isEmpty()) {
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(window->bootScreen().hasPicture(), size.isValid());
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.constFirst().contains(message),
                 qPrintable(dialogs.messages.constFirst()));
        QVERIFY(!window->bootScreen().hasPicture());
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
