#include "PictureImportDialog.h"

#include "bootscreen/BootScreenModel.h"
#include "bootscreen/DeviceView.h"
#include "bootscreen/LcdColors.h"
#include "image/ImageLayout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace hmk {

namespace {

const QString DialogTitle = QStringLiteral("导入图片");
const QString InkRuleTitle = QStringLiteral("墨点");
const QString PureBlackCaption = QStringLiteral("纯黑");
const QString ThresholdCaption = QStringLiteral("阈值");
const QString InvertCaption = QStringLiteral("反色");
const QString SizeTitle = QStringLiteral("图片大小为 %1 * %2");
const QString RefuseCaption = QStringLiteral("拒绝");
const QString FitCaption = QStringLiteral("等比缩放到 192 * 32");
const QString OkCaption = QStringLiteral("确定");
const QString CancelCaption = QStringLiteral("取消");
// The page's device view draws at this scale.
constexpr int PreviewScale = 3;

} // namespace

PictureImportDialog::PictureImportDialog(const QImage& picture, QWidget* parent)
    : QDialog(parent), picture_(picture)
{
    setWindowTitle(DialogTitle);
    setObjectName(QStringLiteral("dlgPictureImport"));
    auto* layout = new QVBoxLayout(this);

    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("imgImportPreview"));
    preview_->setFixedSize(layout::ScreenWidth * PreviewScale, layout::ScreenHeight * PreviewScale);
    layout->addWidget(preview_);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lblImportNote"));
    QPalette maroon = note_->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    note_->setPalette(maroon);
    layout->addWidget(note_);

    auto* inkBox = new QGroupBox(InkRuleTitle, this);
    auto* ink = new QHBoxLayout(inkBox);
    pureBlack_ = new QRadioButton(PureBlackCaption, inkBox);
    pureBlack_->setObjectName(QStringLiteral("rbPureBlack"));
    threshold_ = new QRadioButton(ThresholdCaption, inkBox);
    threshold_->setObjectName(QStringLiteral("rbThreshold"));
    thresholdValue_ = new QSpinBox(inkBox);
    thresholdValue_->setObjectName(QStringLiteral("spnThreshold"));
    thresholdValue_->setRange(PictureOptions::MinThreshold, PictureOptions::MaxThreshold);
    thresholdValue_->setValue(PictureOptions::DefaultThreshold);
    invert_ = new QCheckBox(InvertCaption, inkBox);
    invert_->setObjectName(QStringLiteral("cbInvert"));
    auto* inkGroup = new QButtonGroup(inkBox);
    inkGroup->addButton(pureBlack_);
    inkGroup->addButton(threshold_);
    pureBlack_->setChecked(true);
    ink->addWidget(pureBlack_);
    ink->addWidget(threshold_);
    ink->addWidget(thresholdValue_);
    ink->addSpacing(24);
    ink->addWidget(invert_);
    ink->addStretch();
    layout->addWidget(inkBox);

    // Only a picture of another size has the choice.
    const bool otherSize = picture.size() != QSize(layout::ScreenWidth, layout::ScreenHeight);
    auto* sizeBox = new QGroupBox(SizeTitle.arg(picture.width()).arg(picture.height()), this);
    sizeBox->setObjectName(QStringLiteral("grpPictureSize"));
    auto* size = new QHBoxLayout(sizeBox);
    refuse_ = new QRadioButton(RefuseCaption, sizeBox);
    refuse_->setObjectName(QStringLiteral("rbRefuse"));
    fit_ = new QRadioButton(FitCaption, sizeBox);
    fit_->setObjectName(QStringLiteral("rbFit"));
    auto* sizeGroup = new QButtonGroup(sizeBox);
    sizeGroup->addButton(refuse_);
    sizeGroup->addButton(fit_);
    refuse_->setChecked(true);
    size->addWidget(refuse_);
    size->addWidget(fit_);
    size->addStretch();
    sizeBox->setVisible(otherSize);
    layout->addWidget(sizeBox);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(OkCaption, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnImportOk"));
    auto* cancel = buttons->addButton(CancelCaption, QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnImportCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (QRadioButton* button : {pureBlack_, threshold_, refuse_, fit_})
        connect(button, &QRadioButton::toggled, this, &PictureImportDialog::refresh);
    connect(invert_, &QCheckBox::toggled, this, &PictureImportDialog::refresh);
    connect(thresholdValue_, &QSpinBox::valueChanged, this, &PictureImportDialog::refresh);
    refresh();
}

PictureOptions PictureImportDialog::options() const
{
    PictureOptions options;
    options.ink = threshold_->isChecked() ? PictureOptions::InkRule::Threshold
                                          : PictureOptions::InkRule::PureBlack;
    options.threshold = thresholdValue_->value();
    options.invert = invert_->isChecked();
    options.fit = fit_->isChecked();
    return options;
}

QByteArray PictureImportDialog::storedBytes() const
{
    const QImage stored = storedPicture(picture_, options());
    if (stored.isNull())
        return {};
    GlyphBuffers glyphs;
    return pictureBands(glyphs, stored);
}

void PictureImportDialog::refresh()
{
    thresholdValue_->setEnabled(threshold_->isChecked());
    const QByteArray bytes = storedBytes();
    note_->setText(bytes.isEmpty() ? WrongSizeMessage : QString());
    note_->setVisible(bytes.isEmpty());
    const QByteArray shown = bytes.isEmpty() ? QByteArray(layout::LogoPixelFontsSize, '\0') : bytes;
    preview_->setPixmap(
        QPixmap::fromImage(deviceView(shown, {PreviewScale, LcdInk, LcdBlue, true})));
}

} // namespace hmk
