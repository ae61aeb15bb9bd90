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

// A .hkf file opened as an image: the one place that reads it, checks its
// size and its three blocks, and words what went wrong. The window, hkftool
// and the fuzz target all open through it.
struct ImageFileOpen
{
    QByteArray bytes;                        // the first 4096 bytes, fewer when the file is shorter
    qint64 fileSize = 0;                     // of the whole file
    ImageCheck check = ImageCheck::TooShort; // of `bytes`; says nothing when !status
    IoStatus status;                         // the file could not be read at all
    // The window's text for a file that was read but is no image (empty when
    // it is one, or could not be read): the known first line
    // "读取错误：CRC校验失败！", then the file and whether it was cut short or
    // damaged, which the engineer needs to find and replace it.
    QString checkMessage;

    bool ok() const { return status.ok() && check == ImageCheck::Ok; }
    // More than the image: opening uses the first 4096 bytes, but a file
    // that has grown is not what was written, and hkftool verify says so.
    bool longer() const { return fileSize > layout::ImageSize; }
    const quint8* data() const { return reinterpret_cast<const quint8*>(bytes.constData()); }
};

// Reads the file (as readImageFile) and checks what it read.
ImageFileOpen openImageFile(const QString& path);

// The same for bytes already in memory, as if they were the whole content of
// the file `path`: only the first 4096 count.
ImageFileOpen openImageBytes(QByteArrayView content, const QString& path);

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
