#include "AddressEdit.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace hmk {

void edtIPAddressKeyPress(QChar& Key)
{
    const bool digit = Key >= QLatin1Char('0') && Key <= QLatin1Char('9');
    if (!digit && Key != QLatin1Char('.') && Key != QChar(8))
        Key = QChar(0);
}

AddressEdit::AddressEdit(QWidget* parent) : QLineEdit(parent) {}

void AddressEdit::keyPressEvent(QKeyEvent* event)
{
    // The editing shortcuts arrive as control characters (Ctrl+V is 22), so
    // the key rule drops them like any other control character but Backspace.
    static const QKeySequence::StandardKey controlChars[] = {
        QKeySequence::Paste, QKeySequence::Cut,  QKeySequence::Copy,
        QKeySequence::Undo,  QKeySequence::Redo, QKeySequence::SelectAll,
    };
    for (QKeySequence::StandardKey key : controlChars) {
        if (event->matches(key)) {
            event->accept();
            return;
        }
    }
    // Delete is a key, not a character, where the rule was made; some
    // platforms give it the text 127.
    const QString text = event->key() == Qt::Key_Delete ? QString() : event->text();
    for (QChar c : text) {
        QChar key = c;
        edtIPAddressKeyPress(key);
        if (key.isNull()) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace hmk
