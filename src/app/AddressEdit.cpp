#include "AddressEdit.h"

#include <QInputMethodEvent>
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
    // The editing shortcuts on letters arrive as control characters (Ctrl+V
    // is 22), so the key rule drops them like any other control character
    // but Backspace. Those on Insert and Delete (Shift+Insert pastes) are
    // keys without a character and pass.
    static const QKeySequence::StandardKey controlChars[] = {
        QKeySequence::Paste, QKeySequence::Cut,  QKeySequence::Copy,
        QKeySequence::Undo,  QKeySequence::Redo, QKeySequence::SelectAll,
    };
    const bool characterKey = event->key() != Qt::Key_Insert && event->key() != Qt::Key_Delete;
    for (QKeySequence::StandardKey key : controlChars) {
        if (characterKey && event->matches(key)) {
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

void AddressEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Committed text is typed text: each of its characters goes through the
    // key rule (a Backspace in it would be a character, not the key, and is
    // dropped too). The text still being composed is shown as it is.
    QString committed;
    for (QChar c : event->commitString()) {
        QChar key = c;
        edtIPAddressKeyPress(key);
        if (!key.isNull() && key != QChar(8))
            committed += key;
    }
    if (committed != event->commitString())
        event->setCommitString(committed, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(event);
}

} // namespace hmk
