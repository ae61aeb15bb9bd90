#pragma once

// Small things the main window and its pages share.

#include <QHash>
#include <QLabel>
#include <QString>

namespace hmk {

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
