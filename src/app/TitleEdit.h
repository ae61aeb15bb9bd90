#pragma once

#include <QLineEdit>

namespace hmk {

// A boot-screen title field. The title key rule acts on what the user types,
// whether by keys or as text an input method commits; text pasted through
// the context menu or by Shift+Insert, and text dropped with the mouse, goes
// in whole. Leaving the field for another control emits left(), on which the
// title is cut to its 24 bytes: a context menu or a switch to another window
// is not leaving it, so the user can come back and go on typing.
class TitleEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TitleEdit(QWidget* parent = nullptr);

    // The key rule for one key press: false when the key is to be discarded.
    bool LogoKeyPress(const QKeyEvent& event) const;

signals:
    void left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace hmk
