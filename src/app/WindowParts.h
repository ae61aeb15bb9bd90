#pragma once

// Small things the main window and its pages share.

#include <QHash>
#include <QLabel>
#include <QString>

namespace hmk {

// The window's client area at its design size, which is also its smallest.
inline constexpr int ClientWidth = 895;
inline constexpr int ClientHeight = 682;

// The hint button's caption says what a click does next.
inline const QString ShowHintCaption = QStringLiteral("显示提示");
inline const QString HideHintCaption = QStringLiteral("关闭提示");

// Hint texts keyed by parameter name, plus "MainTitle" and "SubTitle".
using HintMap = QHash<QString, QString>;

// The control property that names a control's hint: a parameter name,
// "MainTitle" or "SubTitle".
inline constexpr const char* HintKeyProperty = "hintKey";

inline QLabel* addLabel(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

} // namespace hmk
