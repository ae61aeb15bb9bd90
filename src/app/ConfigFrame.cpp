#include "ConfigMain.h"

// The window's frame: the ribbon, the navigation bar and the page control,
// each command wired to its handler, and their places in the client area.

#include "BootScreenPage.h"
#include "CompareCommand.h"
#include "NavBar.h"
#include "OverviewPage.h"
#include "PageControl.h"
#include "ParamPage.h"
#include "RibbonBar.h"
#include "RibbonIcons.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>

using namespace hmk;

namespace {

// Design sizes of the frame, in pixels.
constexpr int NavBarWidth = 153;
constexpr int PageLeft = 152;
constexpr int MemoLeft = 678;
constexpr int MemoTop = 3;
constexpr int MemoHeight = 84;
constexpr int MemoRightGap = ClientWidth - MemoLeft - 214;

// The object names of the pages, in page order.
constexpr std::array<const char*, PageCount> SheetNames{
    "TabSheet1", "TabSheet2", "TabSheet3", "TabSheet8",
    "TabSheet4", "TabSheet5", "TabSheet6", "TabSheet7",
};
// The pages that hold parameter controls, in page order.
constexpr std::array<Page, 6> ParamPages{Page::Technics, Page::Motion, Page::Machine,
                                         Page::Net,      Page::Other,  Page::SeniorParam};

void makeWhite(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

// --- frame --------------------------------------------------------------

void TfrmConfig::createRibbon()
{
    dxRibbon1 = new RibbonBar(FClient);
    connect(dxRibbon1, &RibbonBar::minimizedChanged, this, &TfrmConfig::onRibbonMinimizedChanged);

    dxRibbon1->addGroup(QStringLiteral("基本操作"));
    QToolButton* open = dxRibbon1->addButton(QStringLiteral("btnOpen"), QStringLiteral("打开"),
                                             ribbonIcon(RibbonIcon::Open));
    auto* openMenu = new QMenu(open);
    QAction* readDefault = openMenu->addAction(QStringLiteral("读取标准出厂设定值"));
    readDefault->setObjectName(QStringLiteral("btnReadDefault"));
    connect(readDefault, &QAction::triggered, this, &TfrmConfig::btnReadDefaultClick);
    QAction* openFile = openMenu->addAction(QStringLiteral("打开已有文件"));
    openFile->setObjectName(QStringLiteral("btnOpenFile"));
    connect(openFile, &QAction::triggered, this, &TfrmConfig::btnOpenFileClick);
    open->setMenu(openMenu);
    open->setPopupMode(QToolButton::InstantPopup);
    // Open and Save are actions of the window as well, so that their keys
    // work on every page; the ribbon's entry and button run the same action.
    openFile->setShortcut(QKeySequence::Open);
    addAction(openFile);
    auto* save = new QAction(QStringLiteral("保存"), this);
    save->setObjectName(QStringLiteral("actSave"));
    save->setShortcut(QKeySequence::Save);
    addAction(save);
    connect(save, &QAction::triggered, this, &TfrmConfig::btnSaveClick);
    connect(dxRibbon1->addButton(QStringLiteral("btnSave"), QStringLiteral("保存"),
                                 ribbonIcon(RibbonIcon::Save)),
            &QToolButton::clicked, save, &QAction::trigger);
    connect(dxRibbon1->addButton(QStringLiteral("btnExportReport"), QStringLiteral("导出报告"),
                                 ribbonIcon(RibbonIcon::Report)),
            &QToolButton::clicked, this, &TfrmConfig::btnExportReportClick);

    dxRibbon1->addGroup(pageCaption(Page::Overview));
    connect(dxRibbon1->addButton(QStringLiteral("btnView"), QStringLiteral("总览"),
                                 ribbonIcon(RibbonIcon::View)),
            &QToolButton::clicked, this, &TfrmConfig::btnViewClick);
    btnShowHint = dxRibbon1->addButton(QStringLiteral("btnShowHint"), ShowHintCaption,
                                       ribbonIcon(RibbonIcon::Hint));
    connect(btnShowHint, &QToolButton::clicked, this, &TfrmConfig::btnShowHintClick);
    connect(dxRibbon1->addButton(QStringLiteral("btnCompare"), CompareCaption,
                                 ribbonIcon(RibbonIcon::Compare)),
            &QToolButton::clicked, this, &TfrmConfig::btnCompareClick);

    dxRibbon1->addGroup(pageCaption(Page::BootScreen));
    connect(dxRibbon1->addButton(QStringLiteral("btnScreen"), pageCaption(Page::BootScreen),
                                 ribbonIcon(RibbonIcon::Screen)),
            &QToolButton::clicked, this, &TfrmConfig::btnScreenClick);

    dxRibbon1->addGroup(QStringLiteral("参数设置"));
    const struct
    {
        const char* name;
        Page page; // the button is captioned with its page
        RibbonIcon icon;
        void (TfrmConfig::*handler)();
    } pageButtons[] = {
        {"btnTechParam", Page::Technics, RibbonIcon::Technics, &TfrmConfig::dxitTechParamClick},
        {"btnSpeedParam", Page::Motion, RibbonIcon::Motion, &TfrmConfig::SpeedPage},
        {"btnMachineParam", Page::Machine, RibbonIcon::Machine, &TfrmConfig::dxitMachineItem1Click},
        {"btnNetParam", Page::Net, RibbonIcon::Network, &TfrmConfig::dxitNetParamClick},
        {"btnOtherParam", Page::Other, RibbonIcon::Other, &TfrmConfig::AlarmPage},
        {"btnSeniorParam", Page::SeniorParam, RibbonIcon::Senior, &TfrmConfig::SeniorPage},
    };
    for (const auto& b : pageButtons) {
        connect(dxRibbon1->addButton(QString::fromLatin1(b.name), pageCaption(b.page),
                                     ribbonIcon(b.icon)),
                &QToolButton::clicked, this, b.handler);
    }
}

void TfrmConfig::createNavBar()
{
    auto* bar = new NavBar(FClient);
    dxitMachine = bar;
    struct Item
    {
        const char* name;
        const char* caption;
        void (TfrmConfig::*handler)(); // nullptr: the item does nothing
    };
    struct Group
    {
        const char* name;
        Page page; // the group is captioned with its page
        std::initializer_list<Item> items;
    };
    const Group paramGroups[] = {
        {"ngrpTechParam",
         Page::Technics,
         {{"dxitTechParam", "工艺参数", &TfrmConfig::dxitTechParamClick}}},
        {"ngrpSpeed",
         Page::Motion,
         {{"dxitSpeed", "速度参数", &TfrmConfig::SpeedPage},
          {"dxitJog", "点动参数", &TfrmConfig::SpeedPage},
          {"dxitORG", "复位参数", &TfrmConfig::SpeedPage}}},
        {"ngrpMachine",
         Page::Machine,
         {{"dxitMachineItem1", "机械参数", &TfrmConfig::dxitMachineItem1Click}}},
        {"ngrpNetParam", Page::Net, {{"dxitNetParam", "网络参数", &TfrmConfig::dxitNetParamClick}}},
        {"ngrpOther",
         Page::Other,
         {{"dxitAlarm", "报警参数", &TfrmConfig::AlarmPage},
          {"dxitEdge", "寻边参数", &TfrmConfig::AlarmPage},
          {"dxitCalibrate", "标定参数", &TfrmConfig::AlarmPage}}},
        {"ngrpSenior",
         Page::SeniorParam,
         {{"dxitSystem", "系统参数", &TfrmConfig::SeniorPage},
          {"dxitFollow", "高级随动参数", nullptr}}},
    };
    const auto addItems = [this](NavGroup* group, std::initializer_list<Item> items) {
        for (const Item& item : items) {
            NavLink* link =
                group->addItem(QString::fromLatin1(item.name), QString::fromUtf8(item.caption));
            if (item.handler)
                connect(link, &NavLink::clicked, this, item.handler);
        }
    };
    for (size_t i = 0; i < std::size(paramGroups); ++i) {
        const Group& g = paramGroups[i];
        NavGroup* group = bar->addGroup(QString::fromLatin1(g.name), pageCaption(g.page));
        addItems(group, g.items);
        connect(group, &NavGroup::collapsed, this, &TfrmConfig::GroupCollapsed);
        FParamNavGroups[i] = group;
    }

    // The document commands, for when the ribbon is minimised.
    ngrpBase = bar->addGroup(QStringLiteral("ngrpBase"), QStringLiteral("打开/保存"));
    addItems(ngrpBase, {{"dxitDefault", "默认文件", &TfrmConfig::btnReadDefaultClick},
                        {"dxitLast", "上次保存", &TfrmConfig::btnReadLastClick},
                        {"dxitOpen", "已有文件", &TfrmConfig::btnOpenFileClick},
                        {"dxitSave", "保存", &TfrmConfig::btnSaveClick},
                        {"dxitCompare", "对比", &TfrmConfig::btnCompareClick},
                        {"dxitView", "总览", &TfrmConfig::btnViewClick}});
    ngrpBase->findChild<NavLink*>(QStringLiteral("dxitView"))->hide();
    ngrpBase->hide();
}

void TfrmConfig::createPages()
{
    FPages = new PageControl(FClient);
    FPages->setObjectName(QStringLiteral("pcMain"));
    connect(FPages, &PageControl::changing, this, &TfrmConfig::pcMainChanging);

    FOverview = new OverviewPage(FHints);
    FOverview->lvDesc()->viewport()->installEventFilter(this);
    connect(FOverview, &OverviewPage::rowSelected, this, &TfrmConfig::lvDescSelectItem);
    std::array<QWidget*, PageCount> pages{FOverview};
    for (size_t i = 0; i < ParamPages.size(); ++i) {
        FParamPages[i] = new ParamPage(ParamPages[i]);
        pages[pageIndex(ParamPages[i])] = FParamPages[i];
    }
    FBootPage = new BootScreenPage(*FBootScreen);
    connect(FBootPage, &BootScreenPage::loadPictureClicked, this, &TfrmConfig::btnLoadPicClick);
    pages[pageIndex(Page::BootScreen)] = FBootPage;

    for (int i = 0; i < PageCount; ++i) {
        pages[i]->setObjectName(QString::fromLatin1(SheetNames[i]));
        makeWhite(pages[i]);
        FPages->addPage(pages[i], pageCaption(Page(i)));
    }
    // The pages were designed on the boot-screen page; FormCreate moves to
    // the overview.
    showPage(Page::BootScreen);
}

void TfrmConfig::layoutClient()
{
    const int w = FClient->width();
    const int h = FClient->height();
    const int ribbonHeight = dxRibbon1->height();
    dxRibbon1->setGeometry(0, 0, w, ribbonHeight);
    dxitMachine->setGeometry(0, ribbonHeight, NavBarWidth, h - ribbonHeight);
    FPages->setGeometry(PageLeft, FPageTop, w - PageLeft, h - FPageTop - FPageBottomGap);
    memoHint->setGeometry(MemoLeft, MemoTop, w - MemoLeft - MemoRightGap, MemoHeight);
    memoHint->raise();
}

void TfrmConfig::setPageGeometry(int top, int height)
{
    FPageTop = top;
    FPageBottomGap = FClient->height() - top - height;
    layoutClient();
}
