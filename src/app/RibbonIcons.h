#pragma once

#include <QIcon>

namespace hmk {

// The large ribbon icons, drawn in code so that they look the same on every
// machine without image files.
enum class RibbonIcon
{
    Open,
    Save,
    Report,
    View,
    Hint,
    Screen,
    Technics,
    Motion,
    Machine,
    Network,
    Other,
    Senior,
    Compare,
};

QIcon ribbonIcon(RibbonIcon kind);

} // namespace hmk
