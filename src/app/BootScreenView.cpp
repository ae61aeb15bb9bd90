#include "BootScreenView.h"

#include "bootscreen/DeviceView.h"
#include "bootscreen/LcdColors.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace hmk {

namespace {

const QString LcdCaption = QStringLiteral("效果预览");
const QString DeviceCaption = QStringLiteral("设备显示");

} // namespace

BootScreenView::BootScreenView(const BootScreenModel& model, QWidget* parent)
    : QWidget(parent), model_(model)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* switches = new QHBoxLayout;
    showLcd_ = new QRadioButton(LcdCaption, this);
    showLcd_->setObjectName(QStringLiteral("rbLcdPreview"));
    showDevice_ = new QRadioButton(DeviceCaption, this);
    showDevice_->setObjectName(QStringLiteral("rbDeviceView"));
    auto* group = new QButtonGroup(this);
    group->addButton(showLcd_);
    group->addButton(showDevice_);
    showLcd_->setChecked(true);
    switches->addWidget(showLcd_);
    switches->addWidget(showDevice_);
    switches->addStretch();
    layout->addLayout(switches);

    stack_ = new QStackedWidget(this);
    imgLcd_ = new QLabel(stack_);
    imgLcd_->setObjectName(QStringLiteral("imgLcd"));
    imgLcd_->setFixedSize(model.imgLcd().size());
    imgDevice_ = new QLabel(stack_);
    imgDevice_->setObjectName(QStringLiteral("imgDevice"));
    imgDevice_->setFixedSize(model.imgLcd().size());
    imgDevice_->setAlignment(Qt::AlignCenter);
    stack_->addWidget(imgLcd_);
    stack_->addWidget(imgDevice_);
    stack_->setFixedSize(model.imgLcd().size());
    layout->addWidget(stack_, 0, Qt::AlignLeft);

    warning_ = new QLabel(this);
    warning_->setObjectName(QStringLiteral("lblFitWarning"));
    QPalette maroon = warning_->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    warning_->setPalette(maroon);
    layout->addWidget(warning_);

    connect(showDevice_, &QRadioButton::toggled, this, [this](bool device) {
        stack_->setCurrentWidget(device ? imgDevice_ : imgLcd_);
        refreshDevice();
    });
    connect(&model, &BootScreenModel::previewChanged, this, &BootScreenView::refreshPreview);
    connect(&model, &BootScreenModel::changed, this, &BootScreenView::refreshDevice);
    refreshPreview();
}

bool BootScreenView::deviceShown() const
{
    return showDevice_->isChecked();
}

void BootScreenView::refreshPreview()
{
    imgLcd_->setPixmap(QPixmap::fromImage(model_.imgLcd()));
    refreshDevice();
}

BootScreenView::Inputs BootScreenView::inputs() const
{
    return {model_.styleIndex(),   model_.mainTitle(),   model_.subTitle(),
            model_.mainFontName(), model_.subFontName(), model_.mainTitleFont(),
            model_.subTitleFont(), model_.pictureBytes()};
}

void BootScreenView::refreshDevice()
{
    // The model signals several times for one change; the screen is encoded
    // again only when what it is drawn from has changed.
    const Inputs now = inputs();
    if (computed_ != now) {
        computed_ = now;
        screen_ = model_.deviceScreen();
        warning_->setText(screen_.warning());
        drawn_ = false;
    }
    // The pixels are drawn only while they are shown.
    if (!drawn_ && deviceShown()) {
        const int scale = deviceViewScale(imgDevice_->size());
        imgDevice_->setPixmap(
            QPixmap::fromImage(deviceView(screen_.bytes, {scale, LcdInk, LcdBlue, true})));
        drawn_ = true;
    }
}

} // namespace hmk
