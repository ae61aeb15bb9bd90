#pragma once

// The import dialog of a boot picture: the picture as it will be stored,
// drawn as the device shows it, with the ink rule, the inversion and, for a
// picture of another size than 192 x 32, refusing or scaling it to fit.
// The defaults are the plain import.

#include "bootscreen/BootPicture.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace hmk {

class PictureImportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PictureImportDialog(const QImage& picture, QWidget* parent = nullptr);

    PictureOptions options() const;

    // The screen as the current options store it; empty when the picture's
    // size is refused.
    QByteArray storedBytes() const;

private:
    void refresh();

    QImage picture_;
    QRadioButton* pureBlack_ = nullptr;
    QRadioButton* threshold_ = nullptr;
    QSpinBox* thresholdValue_ = nullptr;
    QCheckBox* invert_ = nullptr;
    QRadioButton* refuse_ = nullptr;
    QRadioButton* fit_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* note_ = nullptr;
};

} // namespace hmk
