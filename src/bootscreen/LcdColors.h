#pragma once

// The colours of the device's display as the preview and the boot picture
// show it.

#include <QColor>

namespace hmk {

inline const QColor LcdBlue{0x53, 0x53, 0xFF};
inline const QColor LcdInk{0xFF, 0xFF, 0xFF};
inline const QColor LcdShadow{0x6D, 0x6D, 0x6D};

} // namespace hmk
