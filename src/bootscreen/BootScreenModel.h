#pragma once

// The boot-screen page's state and its reactions, without widgets: style,
// default-screen switch, the two titles with their fonts, the boot picture,
// the glyph buffers and the LCD preview. Every setter runs the reaction that
// the same change made by the user runs on the page (the settings loader and
// the restore of an opened image rely on that); the page only shows this
// object and forwards what the user does.

#include "BootPicture.h"
#include "GlyphEncoder.h"
#include "GlyphFit.h"
#include "image/CfgHMK725.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

namespace hmk {

inline const QString DefaultMainTitle = QStringLiteral("HMK725独立式调高器");
inline const QString DefaultSubTitle;
// The face of the titles when neither the settings file nor an image names one.
inline const QString DefaultTitleFace = QStringLiteral("宋体");

// What importing a picture came to.
struct PictureResult
{
    enum Outcome
    {
        Loaded,
        WrongSize,  // not 192 x 32: WrongSizeMessage is to be shown
        Unreadable, // error names the file and the reason
    } outcome = Loaded;
    QString error;
};
// The two boot-screen styles, by their index (LogoUsePic).
inline const std::array<QString, 2> StyleCaptions{QStringLiteral("文字输入"),
                                                  QStringLiteral("导入图片")};

inline const QString WrongSizeMessage = QStringLiteral("需要大小为 192 * 32 的 bmp 图片！");

// The screen a save would write now, and the title characters it cuts.
struct DeviceScreen
{
    QByteArray bytes; // 768 bytes, bands 0-3, as LogoPixelFonts
    TitleCuts mainCuts;
    TitleCuts subCuts;
    QString warning() const { return fitWarning(mainCuts, subCuts); }
};

class BootScreenModel : public QObject
{
    Q_OBJECT
public:
    explicit BootScreenModel(QObject* parent = nullptr);
    ~BootScreenModel() override;

    // --- state -------------------------------------------------------------
    int styleIndex() const;        // rgStyleScreen: 0 titles, 1 picture, -1 none
    bool isPic() const;            // FIsPic
    bool useDefaultScreen() const; // cbUseDefaultScreen
    bool notEnableParam() const;   // cbNotEnableParam
    QString mainTitle() const;     // edtMainTitle text
    QString subTitle() const;      // edtSubTitle text
    QString mainFontName() const;  // cbFontMain: installed face name, or ""
    QString subFontName() const;   // cbFontSub
    QString mainTitleFont() const; // the font edtMainTitle shows (and draws) with
    QString subTitleFont() const;
    bool changePenColor() const; // FChangePenColor
    QString picFileName() const; // FPicFileName

    // Enable states the reactions leave.
    bool titlesEnabled() const;
    bool useDefaultEnabled() const;
    bool loadPicEnabled() const;

    // --- changes, each running its control's reaction ---------------------
    void setStyleIndex(qint64 index); // limited like a choice group; rgStyleScreenClick on change
    void rgStyleScreenClick();
    void setUseDefaultScreen(bool checked); // cbUseDefaultScreenClick on change
    void cbUseDefaultScreenClick();
    void setNotEnableParam(bool checked);
    void setMainTitle(const QString& text); // edtMainTitleChange on change
    void setSubTitle(const QString& text);  // edtSubTitleChange on change
    void edtMainTitleChange();
    void edtSubTitleChange();
    void TitleExit(bool main); // cuts the title to 24 bytes

    // Font lists set in code: select the entry, no reaction.
    void setMainFontList(const QString& faceName);
    void setSubFontList(const QString& faceName);
    // A title edit's font set in code (empty: no effect), no reaction.
    void setMainTitleFont(const QString& faceName);
    void setSubTitleFont(const QString& faceName);
    // The user chose another font in a list.
    void cbFontMainChange();
    void cbFontSubChange();

    void setChangePenColor(bool on);
    void setPicFileName(const QString& name);

    // --- picture -----------------------------------------------------------
    // Reads and imports a picture; the default options are the plain
    // import (pure black is ink, another size is refused).
    PictureResult LoadLogoPicture(const QString& FileName, const PictureOptions& options = {});
    // Imports a picture already read from FileName (readPictureFile).
    PictureResult importPicture(const QString& FileName, const PictureFile& file,
                                const PictureOptions& options);
    bool hasPicture() const;
    QByteArray pictureBytes() const; // 768 bytes, bands 0-3; zeros before any picture
    const QImage& imgScreen() const; // the picture holder, 192 x 32
    // A picture given as its 768 stored bytes (bands 0-3), as an opened
    // image gives it: holder, picture bytes and preview, no file name.
    void setPictureBands(QByteArrayView bands);

    // --- save and restore -------------------------------------------------
    // Writes the boot-screen part of a save: LogoUsePic, then the titles or
    // the picture.
    void exportScreen(THMK725ConfigData& config);
    // One title as a save writes it, drawn in the font list's face (the
    // title field's font when the list has none).
    void EncodeLogoTitle(THMK725ConfigData& config, const QString& Title, const QString& FontName,
                         bool IsMain);
    // The picture that the preview shows; zeros when there never was one.
    void WriteLogoPicture(THMK725ConfigData& config) const;
    // `image` is a whole 4096-byte image whose checksums have passed.
    void RestoreLogo(const quint8* image);
    void RestoreLogoTitles(const quint8* image);
    void RestoreLogoPicture(const quint8* image);

    // What a save would write into the screen bitmap now, computed apart:
    // nothing a save reads changes.
    DeviceScreen deviceScreen() const;

    // --- preview -----------------------------------------------------------
    // A model that no one looks at (hkftool's builds) need not draw its
    // preview at every change; a save never reads it. Drawn by default.
    void setPreviewDrawn(bool drawn);
    void DrawLcdPreview();
    void DrawBlankLcd();
    const QImage& imgLcd() const; // 585 x 192

signals:
    void changed();        // any state or enable change
    void previewChanged(); // imgLcd was redrawn

private:
    struct Private;
    Private* d;
};

// The title byte cut and centring, in code page 936 bytes.
QString TruncateTitle(const QString& Text, int MaxBytes);
QString CenterTitle(const QString& Title);

// The key rule of the title fields: false when a printable key or Ctrl+V
// (code 22) meets a field that already holds 24 bytes or more.
bool titleKeyAccepted(const QString& currentText, char16_t key);

// What the key rule takes of the text an input method commits into a title:
// its characters one after the other, as if each were typed. `before` is the
// field's text before the commit, `kept` what of it stays once the first
// character has replaced the selection. So a full title takes nothing, and
// one at 23 bytes takes one more character of any width. Control characters
// are not typed text and are dropped.
QString titleCommitAccepted(const QString& before, const QString& kept, const QString& committed);

} // namespace hmk
