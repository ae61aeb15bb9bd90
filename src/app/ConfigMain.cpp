#include "ConfigMain.h"

#include "BootScreenPage.h"
#include "CompareCommand.h"
#include "NavBar.h"
#include "OverviewPage.h"
#include "PageControl.h"
#include "ParamPage.h"
#include "RibbonBar.h"
#include "RibbonIcons.h"
#include "TitleEdit.h"
#include "params/ConfigBuilder.h"
#include "params/SettingsLoader.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>

using namespace hmk;

namespace {

// Design sizes of the window, in pixels.
constexpr int ClientWidth = 895;
constexpr int ClientHeight = 682;
constexpr int NavBarWidth = 153;
constexpr int PageLeft = 152;
constexpr int MemoLeft = 678;
constexpr int MemoTop = 3;
constexpr int MemoHeight = 84;
constexpr int MemoRightGap = ClientWidth - MemoLeft - 214;
// Where the page control goes whenever the ribbon is minimised or restored.
constexpr int MinimizedPageTop = 30;

// The object names of the pages, in page order.
constexpr std::array<const char*, PageCount> SheetNames{
    "TabSheet1", "TabSheet2", "TabSheet3", "TabSheet8",
    "TabSheet4", "TabSheet5", "TabSheet6", "TabSheet7",
};
// The pages that hold parameter controls, in page order.
constexpr std::array<Page, 6> ParamPages{Page::Technics, Page::Motion, Page::Machine,
                                         Page::Net,      Page::Other,  Page::SeniorParam};

// The file dialogs of the document commands, in Qt's filter form.
const QString HkfFilter = QStringLiteral("HMK725配置文件 (*.hkf)");
const QString HkfSuffix = QStringLiteral("hkf");
const QString NotHkfFileMessage = QStringLiteral("打开错误：不是HMK725配置文件（*.hkf）！\n“%1”");

// The one local .hkf file that a drag carries; empty for anything else
// (several files, other files, addresses on the network, text).
QString droppedConfigFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !hasHkfExtension(url.toLocalFile()))
        return {};
    return url.toLocalFile();
}

// The hint button's caption says what a click does next.
const QString ShowHintCaption = QStringLiteral("显示提示");
const QString HideHintCaption = QStringLiteral("关闭提示");

void makeWhite(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TfrmConfig::TfrmConfig(Dialogs& dialogs, const QString& settingsPath, const QString& startupFile,
                       QWidget* parent)
    : QMainWindow(parent), FDialogs(dialogs), FSettingsPath(settingsPath),
      FStartupFile(startupFile), FBootScreen(new BootScreenModel(this))
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(ToolTitle);

    FClient = new QWidget(this);
    setCentralWidget(FClient);
    createRibbon();
    createNavBar();
    createPages();
    memoHint = new QPlainTextEdit(FClient);
    memoHint->setObjectName(QStringLiteral("memoHint"));
    memoHint->setReadOnly(true);
    memoHint->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoHint->hide();
    FClient->installEventFilter(this);
    setAcceptDrops(true);

    // The opening size is the smallest: the designed outer minimum of
    // 903 x 716 less the designed frame is exactly the client area.
    resize(ClientWidth, ClientHeight);
    setMinimumSize(ClientWidth, ClientHeight);
    FPageTop = RibbonBar::ExpandedHeight;
    FPageBottomGap = 0;
    layoutClient();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());

    FormCreate();
}

TfrmConfig::~TfrmConfig()
{
    FormDestroy();
}

void TfrmConfig::FormCreate()
{
    // The pages were laid out on the boot-screen page; the window always
    // opens on the overview, which this change of page builds.
    showPage(Page::Overview);
    // The glyph buffers are the boot-screen model's, sized with it.
    FConfig = std::make_unique<THMK725ConfigData>();
    // The preview starts as the empty panel with its start-up lines, never as
    // a white area, and shows what the start-up loaded once it is done.
    FBootScreen->DrawBlankLcd();
    startUp();
    FBootScreen->DrawLcdPreview();
}

void TfrmConfig::startUp()
{
    // Everything here runs before the window is first shown. A file given
    // from outside answers the start-up choice: open that existing file.
    IoStatus first;
    if (FStartupFile.isEmpty()) {
        FOpenFileType = FDialogs.startupChoice(this);
        first = FOpenFileType == 0 ? LoadSettings(true) : openCommand();
    } else {
        FOpenFileType = 1;
        first = openGivenFile(FStartupFile);
    }
    // An error while loading the first values ends the start-up: the window
    // opens as far as it got, without hints.
    if (!reportError(first))
        return;
    // After an open the settings file is read here first; one that cannot
    // be read is reported once, as by the read commands.
    reportError(LoadHints());
    BuildOverview();
}

void TfrmConfig::FormDestroy()
{
    // Nothing is saved when the window closes.
    FConfig.reset();
}

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

void TfrmConfig::onRibbonMinimizedChanged(bool minimized)
{
    setMemoShown(FMemoShown);
    dxRibbon1MinimizedChanged();
    // Restored, the ribbon would cover the top of the pages: they go back
    // below it.
    if (!minimized)
        setPageGeometry(RibbonBar::ExpandedHeight, FClient->height() - RibbonBar::ExpandedHeight);
}

bool TfrmConfig::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FClient && event->type() == QEvent::Resize) {
        layoutClient();
    } else if (FOverview && watched == FOverview->lvDesc()->viewport() &&
               event->type() == QEvent::MouseButtonDblClick) {
        lvDescDblClick(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- document values ------------------------------------------------------

ParamValues TfrmConfig::readControls() const
{
    ParamValues values;
    for (const ParamPage* page : FParamPages)
        page->readValues(values);
    return values;
}

void TfrmConfig::writeControls(const ParamValues& values)
{
    for (ParamPage* page : FParamPages)
        page->writeValues(values);
}

QWidget* TfrmConfig::paramControl(const ParamEntry& entry) const
{
    for (const ParamPage* page : FParamPages) {
        if (page->page() == entry.paramGroup().page)
            return page->control(entry);
    }
    return nullptr;
}

void TfrmConfig::setHints(const HintMap& hints)
{
    FHints = hints;
    for (QWidget* control : findChildren<QWidget*>()) {
        const QVariant key = control->property(HintKeyProperty);
        if (key.isValid())
            control->setToolTip(FHints.value(key.toString()));
    }
}

// --- settings file and opened files ---------------------------------------

QString TfrmConfig::settingsPath() const
{
    return FSettingsPath.isEmpty() ? settingsFilePath() : FSettingsPath;
}

IoStatus TfrmConfig::LoadSettings(bool factory)
{
    // A missing settings file loads nothing, silently; one that is there
    // but cannot be read loads nothing either, and is reported.
    const IniFileLoad ini = IniFile::load(settingsPath());
    if (!ini)
        return ini.status;
    ParamValues values = readControls();
    const SettingsLoad load =
        hmk::LoadSettings(*ini, factory, *FBootScreen, values,
                          [this](const QString& message) { FDialogs.message(this, message); });
    if (load.paramsRead)
        writeControls(values);
    return load.error;
}

IoStatus TfrmConfig::LoadHints()
{
    const IniFileLoad ini = IniFile::load(settingsPath());
    if (ini)
        setHints(hmk::LoadHints(*ini));
    return ini.status;
}

IoStatus TfrmConfig::OpenConfigFile(const QString& FileName)
{
    if (!hasHkfExtension(FileName))
        return {};
    const ImageFileOpen read = openImageFile(FileName);
    if (!read.status)
        return read.status;
    // What was read goes into the buffer also when it is refused; the check
    // was of the file's bytes, never of stale ones behind a short read.
    std::copy(read.bytes.cbegin(), read.bytes.cend(), FBuffer.begin());
    if (!read.ok()) {
        FDialogs.message(this, read.checkMessage);
        return {};
    }
    ShowConfigName();
    FDocumentFile = FileName;
    FBootScreen->RestoreLogo(FBuffer.data());
    if (!FBootScreen->notEnableParam()) {
        RestoreParams();
        BuildOverview();
    }
    return {};
}

void TfrmConfig::ShowConfigName()
{
    setWindowTitle(configCaption(configNameFromImage(FBuffer.data())));
}

void TfrmConfig::RestoreParams()
{
    writeControls(hmk::RestoreParams(FBuffer.data()));
}

// --- overview list ----------------------------------------------------------

void TfrmConfig::BuildOverview()
{
    FOverview->BuildOverview([this](const OverviewRow& row) -> QWidget* {
        switch (row.source) {
        case OverviewSource::MainTitle:
            return FBootPage->mainTitleEdit();
        case OverviewSource::SubTitle:
            return FBootPage->subTitleEdit();
        case OverviewSource::Parameter:
            break;
        }
        return paramControl(*row.param);
    });
    FOverview->markRows(documentOf(readControls(), *FBootScreen), factoryDocument());
}

const Document& TfrmConfig::factoryDocument()
{
    if (!FFactory) {
        // Marking shows no message: a missing picture is reported when the
        // values are read, not while the list is drawn.
        const auto ini = IniFile::load(settingsPath());
        const ShowMessage quiet = [](const QString&) {};
        const OtherDocument factory = settingsDocument(ini ? &*ini : nullptr, true, quiet);
        // A picture that cannot be read leaves the fresh window's values.
        FFactory =
            factory.document ? *factory.document : *settingsDocument(nullptr, true, quiet).document;
    }
    return *FFactory;
}

void TfrmConfig::lvDescSelectItem(QTreeWidgetItem* item, bool)
{
    if (item)
        memoHint->setPlainText(item->text(2));
}

void TfrmConfig::lvDescDblClick(const QPoint& pos)
{
    if (QTreeWidgetItem* row = FOverview->rowAt(pos))
        ShowRowPage(row);
}

void TfrmConfig::ShowRowPage(QTreeWidgetItem* row)
{
    if (const std::optional<Page> page = FOverview->pageOf(row))
        showPage(*page);
}

// --- commands ---------------------------------------------------------------

bool TfrmConfig::reportError(const IoStatus& status)
{
    if (!status)
        FDialogs.message(this, status.error);
    return status.ok();
}

void TfrmConfig::readSettingsCommand(bool factory)
{
    if (!reportError(LoadSettings(factory)))
        return;
    BuildOverview();
    FBootScreen->DrawLcdPreview();
}

void TfrmConfig::btnReadDefaultClick()
{
    readSettingsCommand(true);
}

void TfrmConfig::btnReadLastClick()
{
    readSettingsCommand(false);
}

IoStatus TfrmConfig::openCommand()
{
    const QString fileName = FDialogs.openFile(this, HkfFilter);
    // Cancelled: the factory values, without rebuilding the overview.
    return fileName.isEmpty() ? LoadSettings(true) : OpenConfigFile(fileName);
}

void TfrmConfig::btnOpenFileClick()
{
    reportError(openCommand());
}

IoStatus TfrmConfig::openGivenFile(const QString& fileName)
{
    // The file dialog offers only .hkf files; a name from outside may be any.
    if (!hasHkfExtension(fileName)) {
        FDialogs.message(this, NotHkfFileMessage.arg(QDir::toNativeSeparators(fileName)));
        return {};
    }
    return OpenConfigFile(fileName);
}

void TfrmConfig::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedConfigFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmConfig::dropEvent(QDropEvent* event)
{
    const QString fileName = droppedConfigFile(event->mimeData());
    if (fileName.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over: a message box must not hold the program
    // the file was dragged from.
    QMetaObject::invokeMethod(
        this, [this, fileName] { reportError(openGivenFile(fileName)); }, Qt::QueuedConnection);
}

void TfrmConfig::btnSaveClick()
{
    // Leaving a title field cuts it to its 24 bytes; that must happen before
    // anything is read.
    endEditing();
    const QString path = FDialogs.saveFile(this, HkfFilter, HkfSuffix);
    if (path.isEmpty())
        return;
    if (ExportConfig(path, readControls(), *FBootScreen, *FConfig) ==
        ExportResult::RefusedNetAddress) {
        FDialogs.message(this, NetAddressInvalidMessage);
        focusFailingAddress();
        return;
    }
    if (reportError(FConfig->SaveToFile(path)))
        FDocumentFile = path;
}

void TfrmConfig::focusFailingAddress()
{
    for (const ParamEntry& entry : catalogue()) {
        if (entry.kind != ControlKind::Address)
            continue;
        auto* edit = static_cast<QLineEdit*>(paramControl(entry));
        if (CheckNetAddress(edit->text(), entry.offset == layout::SubnetMask))
            continue;
        showPage(entry.paramGroup().page);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        return;
    }
}

void TfrmConfig::btnCompareClick()
{
    CompareTarget target;
    target.parent = this;
    target.dialogs = &FDialogs;
    target.settingsPath = settingsPath();
    target.fileFilter = HkfFilter;
    target.boot = FBootScreen;
    target.readControls = [this] { return readControls(); };
    target.writeControls = [this](const ParamValues& values) { writeControls(values); };
    if (!runCompare(target))
        return;
    BuildOverview();
    FBootScreen->DrawLcdPreview();
}

void TfrmConfig::btnViewClick()
{
    showPage(FBootScreen->notEnableParam() ? Page::BootScreen : Page::Overview);
    btnShowHint->setEnabled(true);
    btnShowHint->setText(FMemoShown ? HideHintCaption : ShowHintCaption);
}

void TfrmConfig::btnShowHintClick()
{
    setMemoShown(!FMemoShown);
    btnShowHint->setText(FMemoShown ? HideHintCaption : ShowHintCaption);
}

void TfrmConfig::setMemoShown(bool shown)
{
    // The memo lies over the ribbon's right end, beside its button. With the
    // ribbon minimised it would cover the tabs while the button is out of
    // sight, so it waits hidden for the ribbon to come back.
    FMemoShown = shown;
    memoHint->setVisible(shown && !dxRibbon1->isMinimized());
}

void TfrmConfig::btnScreenClick()
{
    FBootScreen->edtMainTitleChange();
    showPage(Page::BootScreen);
    setMemoShown(false);
    btnShowHint->setEnabled(false);
}

void TfrmConfig::showPage(Page page)
{
    FPages->setActivePageIndex(pageIndex(page));
}

void TfrmConfig::showParamPage(Page page)
{
    showPage(FBootScreen->notEnableParam() ? Page::BootScreen : page);
    setMemoShown(false);
    btnShowHint->setEnabled(false);
}

void TfrmConfig::dxitTechParamClick()
{
    showParamPage(Page::Technics);
}

void TfrmConfig::SpeedPage()
{
    showParamPage(Page::Motion);
}

void TfrmConfig::dxitMachineItem1Click()
{
    showParamPage(Page::Machine);
}

void TfrmConfig::dxitNetParamClick()
{
    showParamPage(Page::Net);
}

void TfrmConfig::AlarmPage()
{
    showParamPage(Page::Other);
}

void TfrmConfig::SeniorPage()
{
    showParamPage(Page::SeniorParam);
}

void TfrmConfig::pcMainChanging(int newIndex)
{
    if (newIndex == pageIndex(Page::Overview)) {
        // A tab or a ribbon button takes no focus, so the field being edited
        // still has it: it is left first, and its limits, rounding or cut
        // apply before the overview reads it.
        endEditing();
        BuildOverview();
    }
}

void TfrmConfig::endEditing()
{
    const QWidget* focused = QApplication::focusWidget();
    if (focused && isAncestorOf(focused))
        FPages->setFocus();
}

void TfrmConfig::GroupCollapsed()
{
    for (NavGroup* group : FParamNavGroups)
        group->setExpanded(true);
}

void TfrmConfig::dxRibbon1MinimizedChanged()
{
    // Our caption bar lies outside the client area, so the whole outer
    // height would put the lower edge of the pages out of sight.
    const int outerHeight = std::min(frameGeometry().height(), FClient->height());
    setPageGeometry(MinimizedPageTop, outerHeight - MinimizedPageTop);
    ngrpBase->show();
}

// --- boot-screen page -----------------------------------------------------

void TfrmConfig::btnLoadPicClick()
{
    const QString fileName = FDialogs.openFile(this, QStringLiteral("图像文件（.bmp） (*.bmp)"));
    if (fileName.isEmpty())
        return;
    // Read first, so that the import dialog shows the picture as it will be
    // stored; a cancelled dialog changes nothing.
    const PictureFile file = readPictureFile(fileName);
    if (!file.error.isEmpty()) {
        FDialogs.message(this, file.error);
        return;
    }
    const std::optional<PictureOptions> options = FDialogs.pictureOptions(this, file.image);
    if (!options)
        return;
    const PictureResult result = FBootScreen->importPicture(fileName, file, *options);
    switch (result.outcome) {
    case PictureResult::Loaded:
        break;
    case PictureResult::WrongSize:
        FDialogs.message(this, WrongSizeMessage);
        break;
    case PictureResult::Unreadable:
        FDialogs.message(this, result.error);
        break;
    }
}
