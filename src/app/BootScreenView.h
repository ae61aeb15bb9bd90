#pragma once

// The view under the boot-screen page's settings: the LCD preview, shown
// first, or the device view ("设备显示"), the screen a save would write now
// drawn pixel by pixel; and under it the one-line warning about title
// characters the device cuts.

#include "bootscreen/BootScreenModel.h"

#include <QWidget>

class QLabel;
class QRadioButton;
class QStackedWidget;

namespace hmk {

class BootScreenView : public QWidget
{
    Q_OBJECT
public:
    BootScreenView(const BootScreenModel& model, QWidget* parent = nullptr);

    QLabel* imgLcd() const { return imgLcd_; }
    bool deviceShown() const;

public slots:
    void refreshPreview();
    void refreshDevice();

private:
    // What the device view was last computed from.
    struct Inputs
    {
        int style = 0;
        QString main, sub, mainFont, subFont, mainTitleFont, subTitleFont;
        QByteArray picture;
        bool operator==(const Inputs&) const = default;
    };
    Inputs inputs() const;

    const BootScreenModel& model_;
    QRadioButton* showLcd_ = nullptr;
    QRadioButton* showDevice_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QLabel* imgLcd_ = nullptr;
    QLabel* imgDevice_ = nullptr;
    QLabel* warning_ = nullptr;
    std::optional<Inputs> computed_;
    DeviceScreen screen_;
    bool drawn_ = false; // the device label shows screen_
};

} // namespace hmk
