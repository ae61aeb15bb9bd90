#pragma once

#include "params/ParamCatalogue.h"

#include <QLineEdit>

namespace hmk {

// A numeric parameter field. Its value is exactly what its text shows: a
// value put in is shown in the field's display format (and so rounded to its
// decimals), and reading parses the text back. Limits act only when the user
// leaves the field, never on a value the program puts in.
class NumericEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit NumericEdit(const ParamEntry& entry, QWidget* parent = nullptr);

    const ParamEntry& entry() const { return FEntry; }

    // The value the text shows, a typed text with more decimals than the
    // field shows rounded to them as a value put in is. An empty field reads
    // as Min and is shown as Min from then on, so this may change the text.
    Thousandths value();
    // Puts a value in: rounded to the display decimals, shown unlimited.
    void setValue(Thousandths value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const ParamEntry& FEntry;
};

} // namespace hmk
