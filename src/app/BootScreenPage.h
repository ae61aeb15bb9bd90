#pragma once

// The boot-screen page: a view of the window's BootScreenModel. What the
// user does goes to the model; what the model holds comes back through
// refresh(), which sets the widgets without their signals, so nothing loops.
// The title fields apply their key rule themselves and are cut when left;
// the picture import stays with the window, which owns that command.

#include <QWidget>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hmk {

class BootScreenModel;
class ChoiceGroup;
class TitleEdit;

class BootScreenPage : public QWidget
{
    Q_OBJECT
public:
    explicit BootScreenPage(BootScreenModel& model, QWidget* parent = nullptr);

    TitleEdit* mainTitleEdit() const { return edtMainTitle; }
    TitleEdit* subTitleEdit() const { return edtSubTitle; }

signals:
    // The picture button was clicked.
    void loadPictureClicked();

private:
    void refresh();

    BootScreenModel& FModel;
    QCheckBox* cbNotEnableParam = nullptr;
    ChoiceGroup* rgStyleScreen = nullptr;
    QCheckBox* cbUseDefaultScreen = nullptr;
    TitleEdit* edtMainTitle = nullptr;
    TitleEdit* edtSubTitle = nullptr;
    QPushButton* btnLoadPic = nullptr;
    QFontComboBox* cbFontMain = nullptr;
    QFontComboBox* cbFontSub = nullptr;
};

} // namespace hmk
