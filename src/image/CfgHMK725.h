#pragma once

// THMK725ConfigData: one configuration image in memory, the operations that
// fill its header, network and boot-screen fields, the block checksums, and
// writing the 4096 bytes out. The window owns one for the whole run and
// builds every save into it; nothing ever clears it, so a field that a save
// does not write keeps what an earlier save of the run put there.

#include "ImageLayout.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>

class QIODevice;

namespace hmk {

// The result of an operation that touches the file system: empty when it
// worked, otherwise a message that names the file and the system's reason.
struct IoStatus
{
    QString error;
    bool ok() const { return error.isEmpty(); }
    explicit operator bool() const { return ok(); }
};

// The reasons an IoStatus gives for a path that names no regular file.
inline const QString IsFolderReason = QStringLiteral("这是一个文件夹");
inline const QString NotRegularFileReason = QStringLiteral("不是普通文件");

using ImageBytes = std::array<quint8, layout::ImageSize>;

// The configuration name that a save path gives: the file name without its
// folders (backslash or slash), up to its first dot.
QString configNameFromPath(const QString& path);

// Which check an image fails first, in the order the opener checks.
enum class ImageCheck
{
    Ok,
    TooShort,  // fewer than 4096 bytes
    HeaderCrc, // header block checksum does not match
    ScreenCrc, // boot-screen block checksum does not match
    ParamCrc,  // parameter block checksum does not match
};
ImageCheck checkImage(QByteArrayView bytes);
const char* describe(ImageCheck check); // "header", "shorter than 4096 bytes", ...

// True when the three stored block checksums of the 4096-byte buffer match.
bool VerifyImage(const quint8* buffer);

// Little-endian 32-bit value at an offset of any image buffer.
quint32 readWord(const quint8* image, int offset);

// A stored text decoded from code page 936: as many bytes from the start of
// its room as its length word says, never more than the room holds, so a
// damaged length cannot read past it.
QString storedText(const quint8* image, int lengthField, int room, int roomSize);

class THMK725ConfigData
{
public:
    THMK725ConfigData();

    // The 32-bit little-endian value at any offset from 0 to 4092. An index
    // whose four bytes do not all lie in the image (below 0, above 4092) is
    // refused in every build, release builds included: GetByIndex gives 0
    // and SetByIndex changes nothing and returns false.
    static constexpr int LastWordIndex = layout::ImageSize - 4;
    quint32 GetByIndex(int index) const;
    bool SetByIndex(int index, quint32 value);

    static quint16 CalcCRC(const void* Buffer, int Count, quint16 crcInit);
    static quint16 CalcCRCStep(quint8 x, quint16 crcInit);
    void ExportCRC();

    void ExportHeadFile(const QString& ConfigName, bool UseDefaultScreen, bool NotEnableParam);
    void ExportNet(const QString& IPAddress, const QString& SubnetMask, const QString& Gateway);
    void ExportLogoDesc(const QByteArray& Byte, quint32 Addr, int count);
    void ExportLogoFonts(const QByteArray& Byte, quint32 Addr, int count);
    void ExportLogoPic(const QByteArray& Byte, quint32 Addr, int count);
    int StorageLogoPixelFonts(quint32 offset, const void* source, int count);

    bool SaveToStream(QIODevice& AStream) const;
    // Writes the image atomically: on any failure an existing file of that
    // name keeps its old content and nothing half-written is left behind.
    IoStatus SaveToFile(const QString& AFilename) const;

    const ImageBytes& data() const { return FData; }
    QByteArray bytes() const;

    // The published fields by name, each moving exactly the bytes of its
    // field: a 32-bit field as a quint32 (PunchHeight(), setPunchHeight(v)),
    // a one-byte field as a quint8 (FileVersion(), FileCRC1(), ...), the
    // 8-byte ProductName and ConfigName as their bytes. setProductName and
    // setConfigName copy at most 8 bytes; bytes a shorter value does not
    // reach keep what they held.
    template <int Width>
    using FieldValue =
        std::conditional_t<Width == 4, quint32, std::conditional_t<Width == 1, quint8, QByteArray>>;
#define HMK_FIELD_ACCESSORS(name, offset, width)                                                   \
    FieldValue<width> name() const                                                                 \
    {                                                                                              \
        return field<offset, width>();                                                             \
    }                                                                                              \
    void set##name(const FieldValue<width>& value)                                                 \
    {                                                                                              \
        setField<offset, width>(value);                                                            \
    }
    HMK_PUBLISHED_FIELDS(HMK_FIELD_ACCESSORS)
#undef HMK_FIELD_ACCESSORS

private:
    bool copyInto(quint32 addr, const char* bytes, int count);

    template <int Offset, int Width> FieldValue<Width> field() const
    {
        static_assert(Offset >= 0 && Offset + Width <= layout::ImageSize);
        if constexpr (Width == 4)
            return GetByIndex(Offset);
        else if constexpr (Width == 1)
            return FData[Offset];
        else
            return QByteArray(reinterpret_cast<const char*>(FData.data()) + Offset, Width);
    }
    template <int Offset, int Width> void setField(const FieldValue<Width>& value)
    {
        static_assert(Offset >= 0 && Offset + Width <= layout::ImageSize);
        if constexpr (Width == 4)
            SetByIndex(Offset, value);
        else if constexpr (Width == 1)
            FData[Offset] = value;
        else
            copyInto(Offset, value.constData(), int(std::min<qsizetype>(value.size(), Width)));
    }

    ImageBytes FData{};
};

} // namespace hmk
