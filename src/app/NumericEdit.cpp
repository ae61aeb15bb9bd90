#include "NumericEdit.h"

#include "params/ParamValues.h"

#include <QKeyEvent>
#include <QValidator>

namespace hmk {

namespace {

// A length limit on typed and pasted input only. QLineEdit::setMaxLength
// would also cut a longer value that the program puts in, and such a value
// must stay as loaded; it can still be shortened by deleting.
class TypedLengthValidator : public QValidator
{
public:
    TypedLengthValidator(QLineEdit* edit, int maxLength)
        : QValidator(edit), FLast(edit->text()), FMaxLength(maxLength)
    {
        // The edit already holds the new text when it asks, so the validator
        // keeps the text that was accepted last.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { FLast = text; });
    }

    State validate(QString& input, int&) const override
    {
        if (input.size() > FMaxLength && input.size() > FLast.size())
            return Invalid;
        return Acceptable;
    }

private:
    QString FLast;
    int FMaxLength;
};

} // namespace

NumericEdit::NumericEdit(const ParamEntry& entry, QWidget* parent)
    : QLineEdit(parent), FEntry(entry)
{
    setObjectName(QString::fromLatin1(entry.control));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (entry.maxLength > 0)
        setValidator(new TypedLengthValidator(this, entry.maxLength));
    setValue(entry.formValue);
}

Thousandths NumericEdit::value()
{
    if (const auto parsed = parseNumber(text(), QLocale(), FEntry.decimals()))
        return *parsed;
    setValue(FEntry.min);
    return FEntry.min;
}

void NumericEdit::setValue(Thousandths value)
{
    setText(formatNumber(putNumber(FEntry, value), FEntry.format));
}

void NumericEdit::keyPressEvent(QKeyEvent* event)
{
    if (FEntry.integersOnly() && event->text() == QLocale().decimalPoint()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumericEdit::focusOutEvent(QFocusEvent* event)
{
    // Leaving the field for another control applies the limits; a context
    // menu or a switch to another window is not leaving it.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        setValue(applyLimits(FEntry, value()));
    QLineEdit::focusOutEvent(event);
}

} // namespace hmk
