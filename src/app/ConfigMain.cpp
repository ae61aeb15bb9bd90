#include "ConfigMain.h"

#include "AddressEdit.h"
#include "ChoiceGroup.h"
#include "NavBar.h"
#include "NumericEdit.h"
#include "OverviewTable.h"
#include "PageControl.h"
#include "RibbonBar.h"
#include "RibbonIcons.h"
#include "TitleEdit.h"
#include "bootscreen/FontList.h"
#include "params/ConfigBuilder.h"
#include "params/SettingsLoader.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

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

// The control property that names a control's hint: a parameter name,
// "MainTitle" or "SubTitle".
constexpr const char* HintKeyProperty = "hintKey";
// Overview rows carry their group ID here; group headers carry none.
constexpr int GroupIdRole = Qt::UserRole;

// The file dialogs of the document commands, in Qt's filter form.
const QString HkfFilter = QStringLiteral("HMK725配置文件 (*.hkf)");
const QString HkfSuffix = QStringLiteral("hkf");

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

QLabel* addLabel(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

} // namespace

TfrmConfig::TfrmConfig(Dialogs& dialogs, const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent), FDialogs(dialogs), FSettingsPath(settingsPath),
      FBootScreen(new BootScreenModel(this))
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
    FPages->setActivePageIndex(OverviewPage);
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
    // Everything here runs before the window is first shown.
    FOpenFileType = FDialogs.startupChoice(this);
    // An error while loading the first values ends the start-up: the window
    // opens as far as it got, without hints.
    if (!reportError(FOpenFileType == 0 ? LoadSettings(true) : openCommand()))
        return;
    LoadHints();
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
    connect(dxRibbon1->addButton(QStringLiteral("btnSave"), QStringLiteral("保存"),
                                 ribbonIcon(RibbonIcon::Save)),
            &QToolButton::clicked, this, &TfrmConfig::btnSaveClick);

    dxRibbon1->addGroup(QStringLiteral("信息总览"));
    connect(dxRibbon1->addButton(QStringLiteral("btnView"), QStringLiteral("总览"),
                                 ribbonIcon(RibbonIcon::View)),
            &QToolButton::clicked, this, &TfrmConfig::btnViewClick);
    btnShowHint = dxRibbon1->addButton(QStringLiteral("btnShowHint"), ShowHintCaption,
                                       ribbonIcon(RibbonIcon::Hint));
    connect(btnShowHint, &QToolButton::clicked, this, &TfrmConfig::btnShowHintClick);

    dxRibbon1->addGroup(QStringLiteral("开机画面"));
    connect(dxRibbon1->addButton(QStringLiteral("btnScreen"), QStringLiteral("开机画面"),
                                 ribbonIcon(RibbonIcon::Screen)),
            &QToolButton::clicked, this, &TfrmConfig::btnScreenClick);

    dxRibbon1->addGroup(QStringLiteral("参数设置"));
    const struct
    {
        const char* name;
        const char* caption;
        RibbonIcon icon;
        void (TfrmConfig::*handler)();
    } pageButtons[] = {
        {"btnTechParam", "工艺参数", RibbonIcon::Technics, &TfrmConfig::dxitTechParamClick},
        {"btnSpeedParam", "运动参数", RibbonIcon::Motion, &TfrmConfig::SpeedPage},
        {"btnMachineParam", "机械参数", RibbonIcon::Machine, &TfrmConfig::dxitMachineItem1Click},
        {"btnNetParam", "网络参数", RibbonIcon::Network, &TfrmConfig::dxitNetParamClick},
        {"btnOtherParam", "其他参数", RibbonIcon::Other, &TfrmConfig::AlarmPage},
        {"btnSeniorParam", "高级参数", RibbonIcon::Senior, &TfrmConfig::SeniorPage},
    };
    for (const auto& b : pageButtons) {
        connect(dxRibbon1->addButton(QString::fromLatin1(b.name), QString::fromUtf8(b.caption),
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
        const char* caption;
        std::initializer_list<Item> items;
    };
    const Group paramGroups[] = {
        {"ngrpTechParam",
         "工艺参数",
         {{"dxitTechParam", "工艺参数", &TfrmConfig::dxitTechParamClick}}},
        {"ngrpSpeed",
         "运动参数",
         {{"dxitSpeed", "速度参数", &TfrmConfig::SpeedPage},
          {"dxitJog", "点动参数", &TfrmConfig::SpeedPage},
          {"dxitORG", "复位参数", &TfrmConfig::SpeedPage}}},
        {"ngrpMachine",
         "机械参数",
         {{"dxitMachineItem1", "机械参数", &TfrmConfig::dxitMachineItem1Click}}},
        {"ngrpNetParam",
         "网络参数",
         {{"dxitNetParam", "网络参数", &TfrmConfig::dxitNetParamClick}}},
        {"ngrpOther",
         "其他参数",
         {{"dxitAlarm", "报警参数", &TfrmConfig::AlarmPage},
          {"dxitEdge", "寻边参数", &TfrmConfig::AlarmPage},
          {"dxitCalibrate", "标定参数", &TfrmConfig::AlarmPage}}},
        {"ngrpSenior",
         "高级参数",
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
        NavGroup* group = bar->addGroup(QString::fromLatin1(g.name), QString::fromUtf8(g.caption));
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
                        {"dxitView", "总览", &TfrmConfig::btnViewClick}});
    ngrpBase->findChild<NavLink*>(QStringLiteral("dxitView"))->hide();
    ngrpBase->hide();
}

void TfrmConfig::createPages()
{
    FPages = new PageControl(FClient);
    FPages->setObjectName(QStringLiteral("pcMain"));
    connect(FPages, &PageControl::changing, this, &TfrmConfig::pcMainChanging);

    const std::array<QWidget*, 8> pages{
        createPage(QStringLiteral("TabSheet1")), createPage(QStringLiteral("TabSheet2")),
        createPage(QStringLiteral("TabSheet3")), createPage(QStringLiteral("TabSheet8")),
        createPage(QStringLiteral("TabSheet4")), createPage(QStringLiteral("TabSheet5")),
        createPage(QStringLiteral("TabSheet6")), createPage(QStringLiteral("TabSheet7")),
    };
    const char* captions[] = {"信息总览", "工艺参数", "运动参数", "机械参数",
                              "网络参数", "其他参数", "高级参数", "开机画面"};

    auto* overviewLayout = new QVBoxLayout(pages[OverviewPage]);
    overviewLayout->setContentsMargins(0, 0, 0, 0);
    overviewLayout->addWidget(createOverviewPage());
    createParamControls(pages);
    auto* bootLayout = new QVBoxLayout(pages[BootScreenPage]);
    bootLayout->addWidget(createBootScreenPage());

    for (int i = 0; i < int(pages.size()); ++i)
        FPages->addPage(pages[i], QString::fromUtf8(captions[i]));
    // The pages were designed on the boot-screen page; FormCreate moves to
    // the overview.
    FPages->setActivePageIndex(BootScreenPage);
}

QWidget* TfrmConfig::createPage(const QString& name)
{
    auto* page = new QWidget;
    page->setObjectName(name);
    makeWhite(page);
    return page;
}

void TfrmConfig::createParamControls(const std::array<QWidget*, 8>& pages)
{
    // One group box per parameter group, stacked on its page in catalogue
    // order; one row of label, control and unit per parameter.
    std::array<QGridLayout*, ParamGroupCount> boxes{};
    for (int g = 0; g < ParamGroupCount; ++g) {
        QWidget* page = pages[paramGroups()[g].page];
        auto* pageLayout = qobject_cast<QVBoxLayout*>(page->layout());
        if (!pageLayout) {
            pageLayout = new QVBoxLayout(page);
            pageLayout->setContentsMargins(16, 12, 16, 12);
            pageLayout->setSpacing(12);
            pageLayout->addStretch();
        }
        auto* box = new QGroupBox(QString::fromUtf8(paramGroups()[g].box), page);
        box->setMinimumWidth(480);
        boxes[g] = new QGridLayout(box);
        boxes[g]->setContentsMargins(16, 12, 16, 12);
        boxes[g]->setHorizontalSpacing(10);
        boxes[g]->setColumnMinimumWidth(0, 110);
        boxes[g]->setColumnStretch(3, 1);
        pageLayout->insertWidget(pageLayout->count() - 1, box, 0, Qt::AlignLeft);
    }

    for (const ParamEntry& entry : catalogue()) {
        QGridLayout* grid = boxes[entry.group];
        QWidget* box = grid->parentWidget();
        const QString name = entry.nameText();
        const int row = grid->rowCount();

        QWidget* control = nullptr;
        switch (entry.kind) {
        case ControlKind::Numeric: {
            auto* edit = new NumericEdit(entry, box);
            edit->setFixedWidth(120);
            control = edit;
            break;
        }
        case ControlKind::Choice: {
            QStringList captions;
            for (int i = 0; i < entry.choiceCount(); ++i)
                captions << QString::fromUtf8(entry.choices[i]);
            auto* group = new ChoiceGroup(captions, box);
            group->setObjectName(QString::fromLatin1(entry.control));
            group->setItemIndex(entry.formValue);
            control = group;
            break;
        }
        case ControlKind::Address: {
            auto* edit = new AddressEdit(box);
            edit->setObjectName(QString::fromLatin1(entry.control));
            edit->setText(QString::fromLatin1(entry.addressDefault));
            edit->setFixedWidth(120);
            control = edit;
            break;
        }
        }
        control->setProperty(HintKeyProperty, name);
        FControls[paramIndex(entry)] = control;

        QLabel* label = addLabel(entry.labelControl ? QString::fromLatin1(entry.labelControl)
                                                    : QStringLiteral("lbl") + name,
                                 QString::fromUtf8(entry.label), box);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1, 1, entry.kind == ControlKind::Choice ? 3 : 1);
        QLabel* unit = nullptr;
        if (*entry.unit) {
            unit = addLabel(QStringLiteral("lbl") + name + QStringLiteral("Unit"),
                            QString::fromUtf8(entry.unit), box);
            grid->addWidget(unit, row, 2);
        }
        if (entry.hidden) {
            for (QWidget* w : {static_cast<QWidget*>(label), control, static_cast<QWidget*>(unit)})
                if (w)
                    w->hide();
        }
    }
}

QWidget* TfrmConfig::createOverviewPage()
{
    lvDesc = new QTreeWidget;
    lvDesc->setObjectName(QStringLiteral("lvDesc"));
    lvDesc->setColumnCount(3);
    lvDesc->setHeaderLabels(
        {QStringLiteral("参数名称"), QStringLiteral("参数值"), QStringLiteral("注释")});
    lvDesc->setColumnWidth(0, 120);
    lvDesc->setColumnWidth(1, 150);
    lvDesc->setColumnWidth(2, 450);
    lvDesc->header()->setStretchLastSection(false);
    lvDesc->setRootIsDecorated(false);
    lvDesc->setItemsExpandable(false);
    lvDesc->setExpandsOnDoubleClick(false);
    lvDesc->setIndentation(0);
    lvDesc->setSelectionMode(QAbstractItemView::SingleSelection);
    lvDesc->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvDesc->setFrameShape(QFrame::NoFrame);
    lvDesc->setStyleSheet(QStringLiteral(
        "QTreeWidget::item { border-right: 1px solid #e3e3e3; border-bottom: 1px solid #e3e3e3;"
        " padding: 1px 2px; }"
        // A style sheet on the items replaces the style's selection colours:
        // give the selected row its own, or its text turns invisible.
        "QTreeWidget::item:selected { background: #cfe2f8; color: black; }"));
    lvDesc->viewport()->installEventFilter(this);
    connect(lvDesc->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                // The row that loses the selection reports first, as the row
                // that gains it does afterwards.
                for (const QModelIndex& index : deselected.indexes())
                    if (index.column() == 0)
                        lvDescSelectItem(lvDesc->itemFromIndex(index), false);
                for (const QModelIndex& index : selected.indexes())
                    if (index.column() == 0)
                        lvDescSelectItem(lvDesc->itemFromIndex(index), true);
            });
    return lvDesc;
}

QWidget* TfrmConfig::createBootScreenPage()
{
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(12);

    auto* box = new QGroupBox(QStringLiteral("开机画面信息"), content);
    box->setObjectName(QStringLiteral("RzGroupBox7"));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(3, 1);

    cbNotEnableParam = new QCheckBox(QStringLiteral("只设置开机画面，不设置参数"), box);
    cbNotEnableParam->setObjectName(QStringLiteral("cbNotEnableParam"));
    grid->addWidget(cbNotEnableParam, 0, 0, 1, 4);

    rgStyleScreen = new ChoiceGroup({StyleCaptions[0], StyleCaptions[1]}, box);
    rgStyleScreen->setObjectName(QStringLiteral("rgStyleScreen"));
    grid->addWidget(rgStyleScreen, 1, 0, 1, 2);
    auto* label1 = addLabel(QStringLiteral("Label1"),
                            QStringLiteral("（要求图片格式为 192 * 32 的单色位图）"), box);
    QPalette olive = label1->palette();
    olive.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x00));
    label1->setPalette(olive);
    grid->addWidget(label1, 1, 2, 1, 2);

    cbUseDefaultScreen = new QCheckBox(QStringLiteral("使用默认的开机画面"), box);
    cbUseDefaultScreen->setObjectName(QStringLiteral("cbUseDefaultScreen"));
    grid->addWidget(cbUseDefaultScreen, 2, 0, 1, 4);

    edtMainTitle = new TitleEdit(box);
    edtMainTitle->setObjectName(QStringLiteral("edtMainTitle"));
    edtMainTitle->setProperty(HintKeyProperty, QLatin1String(MainTitleKey));
    edtMainTitle->setMinimumWidth(260);
    grid->addWidget(addLabel(QStringLiteral("lblLogo1"), QStringLiteral("主标题："), box), 3, 0);
    grid->addWidget(edtMainTitle, 3, 1);
    edtSubTitle = new TitleEdit(box);
    edtSubTitle->setObjectName(QStringLiteral("edtSubTitle"));
    edtSubTitle->setProperty(HintKeyProperty, QLatin1String(SubTitleKey));
    grid->addWidget(addLabel(QStringLiteral("lblLogo2"), QStringLiteral("副标题："), box), 4, 0);
    grid->addWidget(edtSubTitle, 4, 1);

    btnLoadPic = new QPushButton(QStringLiteral("导入图片"), box);
    btnLoadPic->setObjectName(QStringLiteral("btnLoadPic"));
    grid->addWidget(btnLoadPic, 4, 2);

    cbFontMain = new QFontComboBox(box);
    cbFontMain->setObjectName(QStringLiteral("cbFontMain"));
    cbFontMain->hide();
    cbFontSub = new QFontComboBox(box);
    cbFontSub->setObjectName(QStringLiteral("cbFontSub"));
    cbFontSub->hide();

    imgLcd = new QLabel(content);
    imgLcd->setObjectName(QStringLiteral("imgLcd"));
    imgLcd->setFixedSize(FBootScreen->imgLcd().size());

    layout->addWidget(box);
    layout->addWidget(imgLcd, 0, Qt::AlignLeft);
    layout->addStretch();

    // What the user does goes to the model; what the model holds comes back
    // through refreshBootScreenPage, which sets the widgets without their
    // signals, so nothing loops.
    connect(cbNotEnableParam, &QCheckBox::clicked, FBootScreen,
            &BootScreenModel::setNotEnableParam);
    connect(rgStyleScreen, &ChoiceGroup::itemClicked, FBootScreen,
            [this](int index) { FBootScreen->setStyleIndex(index); });
    connect(cbUseDefaultScreen, &QCheckBox::clicked, FBootScreen,
            &BootScreenModel::setUseDefaultScreen);
    connect(edtMainTitle, &QLineEdit::textEdited, FBootScreen, &BootScreenModel::setMainTitle);
    connect(edtSubTitle, &QLineEdit::textEdited, FBootScreen, &BootScreenModel::setSubTitle);
    connect(edtMainTitle, &TitleEdit::left, FBootScreen, [this] { FBootScreen->TitleExit(true); });
    connect(edtSubTitle, &TitleEdit::left, FBootScreen, [this] { FBootScreen->TitleExit(false); });
    connect(btnLoadPic, &QPushButton::clicked, this, &TfrmConfig::btnLoadPicClick);
    connect(cbFontMain, &QFontComboBox::currentFontChanged, FBootScreen, [this](const QFont& f) {
        FBootScreen->setMainFontList(f.family());
        FBootScreen->cbFontMainChange();
    });
    connect(cbFontSub, &QFontComboBox::currentFontChanged, FBootScreen, [this](const QFont& f) {
        FBootScreen->setSubFontList(f.family());
        FBootScreen->cbFontSubChange();
    });
    connect(FBootScreen, &BootScreenModel::changed, this, &TfrmConfig::refreshBootScreenPage);
    connect(FBootScreen, &BootScreenModel::previewChanged, this, &TfrmConfig::refreshPreview);
    refreshBootScreenPage();
    refreshPreview();
    return content;
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
    } else if (lvDesc && watched == lvDesc->viewport() &&
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
    for (const ParamEntry& entry : catalogue()) {
        const int i = paramIndex(entry);
        switch (entry.kind) {
        case ControlKind::Numeric:
            values[i].number = static_cast<NumericEdit*>(FControls[i])->value();
            break;
        case ControlKind::Choice:
            values[i].choice = static_cast<ChoiceGroup*>(FControls[i])->itemIndex();
            break;
        case ControlKind::Address:
            values[i].text = static_cast<QLineEdit*>(FControls[i])->text();
            break;
        }
    }
    return values;
}

void TfrmConfig::writeControls(const ParamValues& values)
{
    for (const ParamEntry& entry : catalogue()) {
        const int i = paramIndex(entry);
        switch (entry.kind) {
        case ControlKind::Numeric:
            static_cast<NumericEdit*>(FControls[i])->setValue(values[i].number);
            break;
        case ControlKind::Choice:
            static_cast<ChoiceGroup*>(FControls[i])->setItemIndex(values[i].choice);
            break;
        case ControlKind::Address:
            static_cast<QLineEdit*>(FControls[i])->setText(values[i].text);
            break;
        }
    }
}

QWidget* TfrmConfig::paramControl(const ParamEntry& entry) const
{
    return FControls[paramIndex(entry)];
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

QString TfrmConfig::hintOf(const QWidget* control) const
{
    return FHints.value(control->property(HintKeyProperty).toString());
}

// --- settings file and opened files ---------------------------------------

QString TfrmConfig::settingsPath() const
{
    return FSettingsPath.isEmpty() ? settingsFilePath() : FSettingsPath;
}

IoStatus TfrmConfig::LoadSettings(bool factory)
{
    const std::optional<IniFile> ini = IniFile::load(settingsPath());
    if (!ini)
        return {};
    ParamValues values = readControls();
    const SettingsLoad load =
        hmk::LoadSettings(*ini, factory, *FBootScreen, values,
                          [this](const QString& message) { FDialogs.message(this, message); });
    if (load.paramsRead)
        writeControls(values);
    return load.error;
}

void TfrmConfig::LoadHints()
{
    if (const std::optional<IniFile> ini = IniFile::load(settingsPath()))
        setHints(hmk::LoadHints(*ini));
}

IoStatus TfrmConfig::OpenConfigFile(const QString& FileName)
{
    if (!hasHkfExtension(FileName))
        return {};
    const ImageFileRead read = readImageFile(FileName);
    if (!read.status)
        return read.status;
    std::copy(read.bytes.cbegin(), read.bytes.cend(), FBuffer.begin());
    // A short file is no image, whatever stale bytes the buffer still holds
    // behind what was read.
    const bool shortFile = read.bytes.size() < qsizetype(FBuffer.size());
    if (shortFile || !VerifyImage(FBuffer.data())) {
        // The known text first; then which file, and whether it was cut short
        // or damaged, which the engineer needs to find and replace it.
        const QString reason = shortFile ? QStringLiteral("只有 %1 字节，配置文件应有 %2 字节")
                                               .arg(read.bytes.size())
                                               .arg(FBuffer.size())
                                         : QStringLiteral("块校验和不符");
        FDialogs.message(this, QStringLiteral("读取错误：CRC校验失败！\n“%1”：%2")
                                   .arg(QDir::toNativeSeparators(FileName), reason));
        return {};
    }
    ShowConfigName();
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
    lvDesc->clear();
    std::array<QTreeWidgetItem*, OverviewGroupCount> groups{};
    for (int g = 0; g < OverviewGroupCount; ++g) {
        auto* header = new QTreeWidgetItem(lvDesc, {QString::fromUtf8(overviewGroups()[g].header)});
        header->setFlags(Qt::ItemIsEnabled);
        header->setFirstColumnSpanned(true);
        QFont bold = header->font(0);
        bold.setBold(true);
        header->setFont(0, bold);
        header->setForeground(0, QColor(0x1c, 0x4f, 0x9c));
        groups[g] = header;
    }
    for (const OverviewRow& row : overviewRows()) {
        QTreeWidgetItem* group = groups[row.group];
        const QString name = QString::fromUtf8(row.name);
        if (qstrcmp(row.source, MainTitleKey) == 0) {
            AddTextRow(group, name, edtMainTitle);
            continue;
        }
        if (qstrcmp(row.source, SubTitleKey) == 0) {
            AddTextRow(group, name, edtSubTitle);
            continue;
        }
        const ParamEntry* entry = findParam(QString::fromLatin1(row.source));
        Q_ASSERT(entry);
        QWidget* control = paramControl(*entry);
        switch (entry->kind) {
        case ControlKind::Numeric:
            AddNumberRow(group, name, static_cast<NumericEdit*>(control));
            break;
        case ControlKind::Choice:
            AddChoiceRow(group, name, static_cast<ChoiceGroup*>(control));
            break;
        case ControlKind::Address:
            AddTextRow(group, name, static_cast<QLineEdit*>(control));
            break;
        }
    }
    lvDesc->expandAll();
}

QTreeWidgetItem* TfrmConfig::addRow(QTreeWidgetItem* group, const QString& name,
                                    const QString& value, const QWidget* control)
{
    auto* row = new QTreeWidgetItem(group, {name, value, hintOf(control)});
    row->setData(0, GroupIdRole, lvDesc->indexOfTopLevelItem(group));
    return row;
}

void TfrmConfig::AddNumberRow(QTreeWidgetItem* group, const QString& name, NumericEdit* control)
{
    addRow(group, name, generalFormat(control->value()), control);
}

void TfrmConfig::AddChoiceRow(QTreeWidgetItem* group, const QString& name,
                              const ChoiceGroup* control)
{
    // A group with nothing selected shows an empty value.
    addRow(group, name, control->caption(control->itemIndex()), control);
}

void TfrmConfig::AddTextRow(QTreeWidgetItem* group, const QString& name, const QLineEdit* control)
{
    addRow(group, name, control->text(), control);
}

void TfrmConfig::lvDescSelectItem(QTreeWidgetItem* item, bool)
{
    if (item)
        memoHint->setPlainText(item->text(2));
}

void TfrmConfig::lvDescDblClick(const QPoint& pos)
{
    QTreeWidgetItem* item = lvDesc->itemAt(pos);
    // Group headers are no rows.
    if (item && item->parent())
        ShowRowPage(item);
}

void TfrmConfig::ShowRowPage(QTreeWidgetItem* row)
{
    const int group = row->data(0, GroupIdRole).toInt();
    if (group >= 0 && group < OverviewGroupCount)
        FPages->setActivePageIndex(overviewGroups()[group].page);
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
        return;
    }
    reportError(FConfig->SaveToFile(path));
}

void TfrmConfig::btnViewClick()
{
    FPages->setActivePageIndex(FBootScreen->notEnableParam() ? BootScreenPage : OverviewPage);
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
    FPages->setActivePageIndex(BootScreenPage);
    setMemoShown(false);
    btnShowHint->setEnabled(false);
}

void TfrmConfig::showParamPage(int page)
{
    FPages->setActivePageIndex(FBootScreen->notEnableParam() ? BootScreenPage : page);
    setMemoShown(false);
    btnShowHint->setEnabled(false);
}

void TfrmConfig::dxitTechParamClick()
{
    showParamPage(TechnicsPage);
}

void TfrmConfig::SpeedPage()
{
    showParamPage(MotionPage);
}

void TfrmConfig::dxitMachineItem1Click()
{
    showParamPage(MachinePage);
}

void TfrmConfig::dxitNetParamClick()
{
    showParamPage(NetPage);
}

void TfrmConfig::AlarmPage()
{
    showParamPage(OtherPage);
}

void TfrmConfig::SeniorPage()
{
    showParamPage(SeniorParamPage);
}

void TfrmConfig::pcMainChanging(int newIndex)
{
    if (newIndex == OverviewPage) {
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

void TfrmConfig::refreshBootScreenPage()
{
    const BootScreenModel& m = *FBootScreen;
    const auto setText = [](QLineEdit* edit, const QString& text) {
        // Only a real change: setting the same text would move the cursor.
        if (edit->text() != text) {
            const QSignalBlocker blocker(edit);
            edit->setText(text);
        }
    };
    const auto setFamily = [](QWidget* edit, const QString& face) {
        QFont font = edit->font();
        font.setFamily(drawingFamily(face));
        edit->setFont(font);
    };
    const auto setFontList = [](QFontComboBox* list, const QString& face) {
        const QSignalBlocker blocker(list);
        list->setCurrentFont(QFont(drawingFamily(face)));
    };
    {
        const QSignalBlocker b1(cbNotEnableParam);
        const QSignalBlocker b2(cbUseDefaultScreen);
        cbNotEnableParam->setChecked(m.notEnableParam());
        cbUseDefaultScreen->setChecked(m.useDefaultScreen());
    }
    rgStyleScreen->setItemIndex(m.styleIndex());
    cbUseDefaultScreen->setEnabled(m.useDefaultEnabled());
    setText(edtMainTitle, m.mainTitle());
    setText(edtSubTitle, m.subTitle());
    edtMainTitle->setEnabled(m.titlesEnabled());
    edtSubTitle->setEnabled(m.titlesEnabled());
    setFamily(edtMainTitle, m.mainTitleFont());
    setFamily(edtSubTitle, m.subTitleFont());
    setFontList(cbFontMain, m.mainFontName());
    setFontList(cbFontSub, m.subFontName());
    btnLoadPic->setEnabled(m.loadPicEnabled());
}

void TfrmConfig::refreshPreview()
{
    imgLcd->setPixmap(QPixmap::fromImage(FBootScreen->imgLcd()));
}

void TfrmConfig::btnLoadPicClick()
{
    const QString fileName = FDialogs.openFile(this, QStringLiteral("图像文件（.bmp） (*.bmp)"));
    if (fileName.isEmpty())
        return;
    const PictureResult result = FBootScreen->LoadLogoPicture(fileName);
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
