#pragma once

// The save side: builds the configuration image from the parameter values
// and the boot-screen page, in the image object the window keeps for the
// whole run. Nothing is cleared between builds, so what a build does not
// write keeps what an earlier build of the run put there.

#include "ParamValues.h"
#include "image/CfgHMK725.h"

#include <QString>

namespace hmk {

class BootScreenModel;

// Shown when a full save is refused because a network address is invalid.
inline const QString NetAddressInvalidMessage = QStringLiteral("网络参数不合法！");

// True when `text` is a dotted quad of exactly four whole numbers, each
// 0-255 with the mask flag and 0-254 without. A single trailing dot adds no
// part ("10.1.1.1." is valid); parts must be digits only, so a sign or a
// blank from a hand-edited settings file is refused.
bool CheckNetAddress(const QString& text, bool mask);

enum class ExportResult
{
    Built,
    RefusedNetAddress, // NetAddressInvalidMessage is to be shown; the image is unchanged
};

// Builds the image for a save to `path` (its file name gives the
// configuration name). With boot.notEnableParam() only the header and the
// boot screen are written and the parameter block keeps what the last full
// save left; otherwise the three addresses are checked first and the 47
// parameters written after the boot screen. Every build ends with the
// block checksums.
ExportResult ExportConfig(const QString& path, const ParamValues& values, BootScreenModel& boot,
                          THMK725ConfigData& config);

} // namespace hmk
