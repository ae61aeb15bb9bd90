#pragma once

// Driving the window in tests as a user does: finding its widgets by name,
// clicking, typing keys and leaving a field; and reading and writing whole
// files for the saved and opened bytes.

#include "ConfigMain.h"
#include "TestFiles.h"

#include <QAction>
#include <QLineEdit>
#include <QtTest>

namespace hmk {

template <typename T> T* child(QWidget& window, const char* name)
{
    T* c = window.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

inline void triggerAction(QWidget& window, const char* name)
{
    child<QAction>(window, name)->trigger();
}

inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

inline void keys(QWidget* widget, const QString& text)
{
    // keyClicks knows only ASCII: a Chinese character comes as its text, as
    // an input method delivers it.
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
    }
}

inline void type(QWidget* edit, const QString& text)
{
    edit->setFocus();
    // Entered by Tab, as a user does, a field's text is all selected.
    static_cast<QLineEdit*>(edit)->selectAll();
    keys(edit, text);
    // Leaving the field runs its exit handling, as a user's Tab does.
    QTest::keyClick(edit, Qt::Key_Tab);
}

// Shown and active, so that focus and its exit handling work as for a user.
inline bool activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace hmk
