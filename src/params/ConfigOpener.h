#pragma once

// The open side: reading a .hkf file, the configuration name it carries and
// turning its parameter block back into parameter values. Opening is the
// inverse of ConfigBuilder: a value saved from a field comes back as the
// value that field showed.

#include "ParamValues.h"
#include "image/CfgHMK725.h"

#include <QByteArray>
#include <QString>

namespace hmk {

// The tool's title, the window caption's first part; hkftool uses it too.
inline const QString ToolTitle = QStringLiteral("HMK725配置文件生成工具");

// Whether the file name's extension (from its last dot on) is ".hkf" in any
// letter case. Folders do not count: "a.hkf/x" has none.
bool hasHkfExtension(const QString& path);

struct ImageFileRead
{
    QByteArray bytes; // the first 4096 bytes, fewer when the file is shorter
    IoStatus status;
};

// Reads the first 4096 bytes of a regular file. A shorter file comes back
// short, so that the image check refuses it. A folder, a pipe or a device is
// refused with an error instead of being read, which could block forever.
ImageFileRead readImageFile(const QString& path);

// The configuration name stored in the image: its 8 bytes decoded from code
// page 936, with every leading and trailing character up to 0x20 (blanks,
// NULs, control characters) removed.
QString configNameFromImage(const quint8* image);

// The window caption after an open: ToolTitle--name.hkf.
QString configCaption(const QString& configName);

// The address text of the four bytes at `offset`: most significant byte
// first, decimal, no leading zeros.
QString AddressText(const quint8* image, int offset);

// All 47 parameters from an image's parameter block, in catalogue order,
// each as its control holds it after being given the stored value.
ParamValues RestoreParams(const quint8* image);

} // namespace hmk
