#pragma once

// The boot-screen page: a view of the window's BootScreenModel. What the
// user does goes to the model; what the model holds comes back through
// refresh(), which sets the widgets without their signals, so nothing loops.
// The key and focus handling of the two title fields and the picture import
// stay with the window, which owns those commands.

#include <QWidget>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hmk {

class BootScreenModel;
class ChoiceGroup;

class BootScreenPage : public QWidget
{
    Q_OBJECT
public:
    explicit BootScreenPage(BootScreenModel& model, QWidget* parent = nullptr);

    QLineEdit* mainTitleEdit() const { return edtMainTitle; }
    QLineEdit* subTitleEdit() const { return edtSubTitle; }

signals:
    // The picture button was clicked.
    void loadPictureClicked();

private:
    void refresh();
    void refreshPreview();

    BootScreenModel& FModel;
    QCheckBox* cbNotEnableParam = nullptr;
    ChoiceGroup* rgStyleScreen = nullptr;
    QCheckBox* cbUseDefaultScreen = nullptr;
    QLineEdit* edtMainTitle = nullptr;
    QLineEdit* edtSubTitle = nullptr;
    QPushButton* btnLoadPic = nullptr;
    QFontComboBox* cbFontMain = nullptr;
    QFontComboBox* cbFontSub = nullptr;
    QLabel* imgLcd = nullptr;
};

} // namespace hmk
