#include "CfgHMK725.h"

#include "Codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <cstring>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace hmk {

namespace {

// Splits text into lines the way a text list does: a line break at the very
// end does not start an extra line.
QStringList textListLines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isDevice(const QString& path)
{
#ifdef _WIN32
    Q_UNUSED(path);
    return true;
#else
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode);
#endif
}

} // namespace

QString configNameFromPath(const QString& path)
{
    QString text = path;
    // Folders end at a backslash on Windows and at a slash here; a name never
    // holds either.
    text.replace(QLatin1Char('\\'), QLatin1Char('\n'));
    text.replace(QLatin1Char('/'), QLatin1Char('\n'));
    const QStringList lines = textListLines(text);
    const QString fileName = lines.isEmpty() ? QString() : lines.last();
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.left(dot);
}

quint32 readWord(const quint8* image, int offset)
{
    return quint32(image[offset]) | quint32(image[offset + 1]) << 8 |
           quint32(image[offset + 2]) << 16 | quint32(image[offset + 3]) << 24;
}

QString storedText(const quint8* image, int lengthField, int room, int roomSize)
{
    const quint32 length = std::min<quint32>(readWord(image, lengthField), quint32(roomSize));
    return cp936::decode(QByteArrayView(image + room, qsizetype(length)));
}

ImageCheck checkImage(QByteArrayView bytes)
{
    if (bytes.size() < layout::ImageSize)
        return ImageCheck::TooShort;
    const auto* image = reinterpret_cast<const quint8*>(bytes.data());
    constexpr ImageCheck failures[] = {ImageCheck::HeaderCrc, ImageCheck::ScreenCrc,
                                       ImageCheck::ParamCrc};
    for (size_t i = 0; i < layout::Blocks.size(); ++i) {
        const layout::Block& block = layout::Blocks[i];
        const quint16 crc =
            THMK725ConfigData::CalcCRC(image + block.start, block.covered(), 0xFFFF);
        if (image[block.crcLow()] != (crc & 0xFF) || image[block.crcHigh()] != (crc >> 8))
            return failures[i];
    }
    return ImageCheck::Ok;
}

const char* describe(ImageCheck check)
{
    switch (check) {
    case ImageCheck::Ok:
        return "ok";
    case ImageCheck::TooShort:
        return "shorter than 4096 bytes";
    case ImageCheck::HeaderCrc:
        return layout::HeaderBlock.name;
    case ImageCheck::ScreenCrc:
        return layout::ScreenBlock.name;
    case ImageCheck::ParamCrc:
        return layout::ParamBlock.name;
    }
    return "";
}

bool VerifyImage(const quint8* buffer)
{
    return checkImage(QByteArrayView(buffer, layout::ImageSize)) == ImageCheck::Ok;
}

THMK725ConfigData::THMK725ConfigData() = default;

quint32 THMK725ConfigData::GetByIndex(int index) const
{
    if (index < 0 || index > LastWordIndex)
        return 0;
    return readWord(FData.data(), index);
}

bool THMK725ConfigData::SetByIndex(int index, quint32 value)
{
    if (index < 0 || index > LastWordIndex)
        return false;
    for (int i = 0; i < 4; ++i)
        FData[index + i] = static_cast<quint8>(value >> (8 * i));
    return true;
}

quint16 THMK725ConfigData::CalcCRCStep(quint8 x, quint16 crcInit)
{
    quint16 crc = crcInit ^ x;
    for (int bit = 0; bit < 8; ++bit)
        crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    return crc;
}

quint16 THMK725ConfigData::CalcCRC(const void* Buffer, int Count, quint16 crcInit)
{
    const auto* bytes = static_cast<const quint8*>(Buffer);
    quint16 crc = crcInit;
    for (int i = 0; i < Count; ++i)
        crc = CalcCRCStep(bytes[i], crc);
    return crc;
}

void THMK725ConfigData::ExportCRC()
{
    for (const layout::Block& block : layout::Blocks) {
        const quint16 crc = CalcCRC(FData.data() + block.start, block.covered(), 0xFFFF);
        FData[block.crcLow()] = static_cast<quint8>(crc & 0xFF);
        FData[block.crcHigh()] = static_cast<quint8>(crc >> 8);
    }
}

void THMK725ConfigData::ExportHeadFile(const QString& ConfigName, bool UseDefaultScreen,
                                       bool NotEnableParam)
{
    // The product tag, version and flags are written whatever the name: an
    // image without its product tag would pass its checksums and still be
    // refused by the controller.
    std::memcpy(FData.data() + layout::ProductName, layout::ProductTag, layout::ProductNameSize);
    FData[layout::FileVersion] = 1;
    FData[layout::IncludeScreen] = UseDefaultScreen ? 0 : 1;
    FData[layout::IncludeParam] = NotEnableParam ? 0 : 1;

    // The name is cut at 8 bytes even inside a double-byte character, as the
    // controller has always received it; an empty name keeps the old one.
    QByteArray name = cp936::encode(configNameFromPath(ConfigName));
    if (name.isEmpty())
        return;
    name = name.left(layout::ConfigNameSize);
    name.append(layout::ConfigNameSize - name.size(), ' ');
    std::memcpy(FData.data() + layout::ConfigName, name.constData(), layout::ConfigNameSize);
}

void THMK725ConfigData::ExportNet(const QString& IPAddress, const QString& SubnetMask,
                                  const QString& Gateway)
{
    const std::pair<const QString*, int> fields[] = {{&IPAddress, layout::IPAddress},
                                                     {&SubnetMask, layout::SubnetMask},
                                                     {&Gateway, layout::Gateway}};
    for (const auto& [text, addr] : fields) {
        QString dotted = *text;
        dotted.replace(QLatin1Char('.'), QLatin1Char('\n'));
        const QStringList parts = textListLines(dotted);
        const qsizetype n = parts.size();
        for (qsizetype i = 0; i < n; ++i) {
            // The caller checked for four parts of 0-255; whatever else comes
            // in never writes outside the field's four bytes.
            const qsizetype at = n - 1 - i;
            if (at > 3)
                continue;
            FData[addr + at] = static_cast<quint8>(parts[i].toInt() & 0xFF);
        }
    }
}

bool THMK725ConfigData::copyInto(quint32 addr, const char* bytes, int count)
{
    Q_ASSERT(count >= 0 && addr + quint32(count) <= quint32(layout::ImageSize));
    // Also in a release build nothing is written past the image.
    if (count < 0 || addr > quint32(layout::ImageSize) ||
        quint32(count) > quint32(layout::ImageSize) - addr)
        return false;
    if (count > 0)
        std::memcpy(FData.data() + addr, bytes, static_cast<size_t>(count));
    return true;
}

void THMK725ConfigData::ExportLogoDesc(const QByteArray& Byte, quint32 Addr, int count)
{
    Q_ASSERT(count <= Byte.size());
    copyInto(Addr, Byte.constData(), count);
}

void THMK725ConfigData::ExportLogoFonts(const QByteArray& Byte, quint32 Addr, int count)
{
    Q_ASSERT(count <= Byte.size());
    copyInto(Addr, Byte.constData(), count);
}

void THMK725ConfigData::ExportLogoPic(const QByteArray& Byte, quint32 Addr, int count)
{
    Q_ASSERT(count <= Byte.size());
    copyInto(Addr, Byte.constData(), count);
}

int THMK725ConfigData::StorageLogoPixelFonts(quint32 offset, const void* source, int count)
{
    return copyInto(offset, static_cast<const char*>(source), count) ? count : 0;
}

QByteArray THMK725ConfigData::bytes() const
{
    return QByteArray(reinterpret_cast<const char*>(FData.data()), layout::ImageSize);
}

bool THMK725ConfigData::SaveToStream(QIODevice& AStream) const
{
    // One write; after a short one (a disk filling up) the rest is tried
    // again, so that the device reports why it stopped instead of the image
    // ending early without an error.
    const char* data = reinterpret_cast<const char*>(FData.data());
    qint64 left = layout::ImageSize;
    while (left > 0) {
        const qint64 written = AStream.write(data, left);
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

IoStatus THMK725ConfigData::SaveToFile(const QString& AFilename) const
{
    const auto failure = [&](const QString& reason) {
        return IoStatus{QStringLiteral("无法写入文件“%1”：%2")
                            .arg(QDir::toNativeSeparators(AFilename), reason)};
    };
    const QFileInfo info(AFilename);
    // Unbuffered, so that a failing write is seen by SaveToStream: a buffered
    // file loses the end of a short write when it is flushed and still
    // reports success.
    constexpr QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    // A device cannot be replaced by renaming a temporary file over it: write
    // it in place. A pipe or socket is refused, as opening one for writing
    // waits for a reader and would hang the window. A regular file, or a link
    // to one, is replaced atomically.
    if (info.exists() && !info.isFile() && !info.isDir()) {
        if (!isDevice(AFilename))
            return failure(NotRegularFileReason);
        QFile file(AFilename);
        if (!file.open(mode))
            return failure(file.errorString());
        if (!SaveToStream(file))
            return failure(file.errorString());
        return {};
    }
    if (info.isDir())
        return failure(IsFolderReason);
    // QSaveFile follows symbolic links (chains too), so a link keeps pointing
    // at the file it replaces.
    QSaveFile file(AFilename);
    if (!file.open(mode))
        return failure(file.errorString());
    if (!SaveToStream(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return {};
}

} // namespace hmk
