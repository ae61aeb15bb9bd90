#pragma once

#include "Dialogs.h"
#include "WindowParts.h"
#include "bootscreen/BootScreenModel.h"
#include "image/CfgHMK725.h"
#include "params/ConfigOpener.h"
#include "params/DocumentCompare.h"
#include "params/Pages.h"
#include "params/ParamValues.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class QTreeWidgetItem;

namespace hmk {

class BootScreenPage;
class NavGroup;
class OverviewPage;
class PageControl;
class ParamPage;
class RibbonBar;

} // namespace hmk

// The main window: ribbon, navigation bar, the eight pages and the hint
// memo. The pages are widgets of their own (OverviewPage, ParamPage,
// BootScreenPage); the window owns the document, runs the commands and
// sequences what the pages show. The parameter controls hold the document's
// values; the boot-screen page is a view of its BootScreenModel.
class TfrmConfig : public QMainWindow
{
    Q_OBJECT
public:
    // The settings file is read from settingsPath, or from the one beside
    // the executable when it is empty. Creating the window runs the start-up
    // sequence: the start-up choice through `dialogs`, the first values, the
    // hints and the overview. A startupFile (given on the command line) is
    // opened instead of asking for the start-up choice.
    explicit TfrmConfig(hmk::Dialogs& dialogs, const QString& settingsPath = QString(),
                        const QString& startupFile = QString(), QWidget* parent = nullptr);
    ~TfrmConfig() override;

    // The values of the 47 parameter controls, in catalogue order. Reading
    // shows an emptied numeric field as its Min.
    hmk::ParamValues readControls() const;
    // Puts values in: numbers rounded to their field's decimals and shown
    // without limits, choice indices limited to the choices.
    void writeControls(const hmk::ParamValues& values);

    // The notes of the overview list and the tooltips of the controls.
    void setHints(const hmk::HintMap& hints);
    const hmk::HintMap& hints() const { return FHints; }

    QWidget* paramControl(const hmk::ParamEntry& entry) const;
    hmk::BootScreenModel& bootScreen() { return *FBootScreen; }
    hmk::THMK725ConfigData& config() { return *FConfig; }
    hmk::PageControl* pcMain() const { return FPages; }

    void BuildOverview();
    void ShowRowPage(QTreeWidgetItem* row);

    // The settings file: boot-screen settings and parameter values, factory
    // or last saved, and the hints. Without a settings file nothing changes.
    // A boot picture that exists but cannot be read ends loading before the
    // parameters and comes back as the error.
    hmk::IoStatus LoadSettings(bool factory);
    hmk::IoStatus LoadHints();

    // Opens a .hkf file (any other extension is ignored): checks its image
    // and puts its configuration name, boot screen and, when it carries
    // them, its parameters into the window. A failed check is reported here;
    // a file that cannot be read comes back as the error, nothing changed.
    hmk::IoStatus OpenConfigFile(const QString& FileName);
    void ShowConfigName();
    void RestoreParams();

    int openFileType() const { return FOpenFileType; }

public slots:
    // Document commands.
    void btnReadDefaultClick();
    void btnReadLastClick();
    void btnOpenFileClick();
    void btnSaveClick();
    // The service report of the document as it stands, as an A4 PDF.
    void btnExportReportClick();

    void btnViewClick();
    void btnShowHintClick();
    // Compare the window with the factory values, the last saved ones or a
    // file, and take chosen values in.
    void btnCompareClick();
    void btnScreenClick();

    // Page commands: their page, or the boot-screen page while only the boot
    // screen is to be set.
    void dxitTechParamClick();
    void SpeedPage();
    void dxitMachineItem1Click();
    void dxitNetParamClick();
    void AlarmPage();
    void SeniorPage();

    void pcMainChanging(int newIndex);
    void GroupCollapsed();
    void dxRibbon1MinimizedChanged();

    void btnLoadPicClick();

    void lvDescSelectItem(QTreeWidgetItem* item, bool selected);
    // A double-click at a point of the list's viewport.
    void lvDescDblClick(const QPoint& pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A single .hkf file dropped on the window is opened; other drops are
    // not taken.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void startUp();

    QString settingsPath() const;
    // A platform error ends the running command: shown with its text, as
    // the application's default error handler would. True when there was none.
    bool reportError(const hmk::IoStatus& status);
    void readSettingsCommand(bool factory);
    // The Open command as the ribbon runs it, its platform error returned.
    hmk::IoStatus openCommand();
    // A file named from outside the window (command line, drop): opened as
    // the Open command opens the file chosen in its dialog, except that a
    // name without the .hkf extension is refused with a message.
    hmk::IoStatus openGivenFile(const QString& fileName);

    void createRibbon();
    void createNavBar();
    void createPages();
    void layoutClient();
    void setPageGeometry(int top, int height);
    void onRibbonMinimizedChanged(bool minimized);

    // What the overview marks changed values against: the factory values
    // as a fresh window loads them, read once from the settings file.
    const hmk::Document& factoryDocument();
    // After a refused save: the network page, the focus and the selection in
    // the first address that failed the check.
    void focusFailingAddress();

    void showPage(hmk::Page page);
    void showParamPage(hmk::Page page);
    // Leaves the field being edited, so that what it holds is final.
    void endEditing();
    // The memo as the hint button left it; hidden while the ribbon is
    // minimised all the same.
    void setMemoShown(bool shown);

    hmk::Dialogs& FDialogs;
    const QString FSettingsPath;
    const QString FStartupFile;
    std::unique_ptr<hmk::THMK725ConfigData> FConfig;
    // The .hkf the values were last opened from or saved to; the service
    // report names it.
    QString FDocumentFile;
    // The image as read from the last opened file.
    hmk::ImageBytes FBuffer{};
    // The start-up choice: 0 factory values, otherwise open a file.
    int FOpenFileType = 0;
    hmk::BootScreenModel* FBootScreen;
    hmk::HintMap FHints;
    std::optional<hmk::Document> FFactory;

    QWidget* FClient = nullptr;
    hmk::RibbonBar* dxRibbon1 = nullptr;
    QToolButton* btnShowHint = nullptr;
    QWidget* dxitMachine = nullptr;
    std::array<hmk::NavGroup*, 6> FParamNavGroups{};
    hmk::NavGroup* ngrpBase = nullptr;
    hmk::PageControl* FPages = nullptr;
    // The page control's distances to the client's top and bottom edges,
    // kept when the window is resized.
    int FPageTop = 0;
    int FPageBottomGap = 0;
    QPlainTextEdit* memoHint = nullptr;
    bool FMemoShown = false;

    hmk::OverviewPage* FOverview = nullptr;
    std::array<hmk::ParamPage*, 6> FParamPages{};
    hmk::BootScreenPage* FBootPage = nullptr;
};
