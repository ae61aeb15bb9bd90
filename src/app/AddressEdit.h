#pragma once

#include <QLineEdit>

namespace hmk {

// The key rule of the network address fields: a typed character passes only
// if it is a digit, a full stop or Backspace; anything else becomes 0 and is
// dropped. Length and dots are checked when saving, not here.
void edtIPAddressKeyPress(QChar& Key);

// An address field. Only typed keys are filtered: text pasted through the
// context menu goes in unchecked.
class AddressEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit AddressEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace hmk
