#pragma once

// The compare command: asks what to compare the window with, shows the
// differences and takes the checked ones in as opening a file puts values
// in: numbers rounded to their field and shown without limits, choices
// limited to their choices, boot-screen items through the page's own
// reactions.

#include "Dialogs.h"
#include "params/ParamValues.h"

#include <functional>

class QWidget;

namespace hmk {

class BootScreenModel;

inline const QString CompareCaption = QStringLiteral("对比");
inline const QString CompareTitle = QStringLiteral("对比：%1");
inline const QString NoDifferencesMessage = QStringLiteral("与%1相比，没有不同之处。");
inline const QString PixelsDifferText = QStringLiteral("%1 个像素不同");

// What the command needs of the window.
struct CompareTarget
{
    QWidget* parent = nullptr;
    Dialogs* dialogs = nullptr;
    QString settingsPath;
    QString fileFilter; // the open dialog's filter for .hkf files
    BootScreenModel* boot = nullptr;
    std::function<ParamValues()> readControls;
    std::function<void(const ParamValues&)> writeControls;
};

// Runs the command. True when values were taken in: the caller then
// rebuilds the overview and redraws the preview.
bool runCompare(const CompareTarget& target);

} // namespace hmk
