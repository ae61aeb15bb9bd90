#include "TitleEdit.h"

#include "bootscreen/BootScreenModel.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <algorithm>

namespace hmk {

TitleEdit::TitleEdit(QWidget* parent) : QLineEdit(parent) {}

bool TitleEdit::LogoKeyPress(const QKeyEvent& event) const
{
    // Delete and Insert are keys, not characters, where the rule was made:
    // Delete passes although X11 gives it the text 127, and Shift+Insert
    // pastes like the context menu. Ctrl+V is the character 22.
    constexpr char16_t CtrlV = 22;
    char16_t key = 0;
    if (event.key() == Qt::Key_Delete || event.key() == Qt::Key_Insert)
        key = 0;
    else if (event.matches(QKeySequence::Paste))
        key = CtrlV;
    else if (!event.text().isEmpty())
        key = event.text().front().unicode();
    return key == 0 || titleKeyAccepted(text(), key);
}

void TitleEdit::keyPressEvent(QKeyEvent* event)
{
    if (!LogoKeyPress(*event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TitleEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Committed text is typed text. Its first character replaces the range
    // the input method names, or else the selection, as a typed key would.
    if (!event->commitString().isEmpty()) {
        const QString before = text();
        QString kept = before;
        if (event->replacementLength() > 0) {
            const int start =
                std::clamp(cursorPosition() + event->replacementStart(), 0, int(kept.size()));
            kept.remove(start, event->replacementLength());
        } else if (hasSelectedText()) {
            kept.remove(selectionStart(), selectionLength());
        }
        const QString taken = titleCommitAccepted(before, kept, event->commitString());
        if (taken != event->commitString())
            event->setCommitString(taken, event->replacementStart(), event->replacementLength());
    }
    QLineEdit::inputMethodEvent(event);
}

void TitleEdit::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit left();
    QLineEdit::focusOutEvent(event);
}

} // namespace hmk
