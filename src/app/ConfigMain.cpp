#include "ConfigMain.h"

#include "BootScreenPage.h"
#include "CompareCommand.h"
#include "NavBar.h"
#include "OverviewPage.h"
#include "PageControl.h"
#include "ParamPage.h"
#include "RibbonBar.h"
#include "TitleEdit.h"
#include "params/ConfigBuilder.h"
#include "params/SettingsLoader.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>

using namespace hmk;

namespace {

// Where the page control goes whenever the ribbon is minimised or restored.
constexpr int MinimizedPageTop = 30;

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
