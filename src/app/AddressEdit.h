#pragma once

#include <QLineEdit>

namespace hmk {

// The key rule of the network address fields: a typed character passes only
// if it is a digit, a full stop or Backspace; anything else becomes 0 and is
// dropped. Length and dots are checked when saving, not here.
void edtIPAddressKeyPress(QChar& Key);

// An address field. Typed characters are filtered, whether they come from
// keys or as text committed by an input method. Text pasted through the
// context menu or by Shift+Insert, and text dropped with the mouse, goes in
// unchecked.
class AddressEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit AddressEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

} // namespace hmk
