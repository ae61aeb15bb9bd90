#include "ConfigOpener.h"

#include "image/Codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace hmk {

bool hasHkfExtension(const QString& path)
{
    // Both separators end a folder here, as a Windows path may come in.
    const qsizetype nameStart =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return false;
    return path.mid(dot).toLower() == QLatin1String(".hkf");
}

ImageFileRead readImageFile(const QString& path)
{
    const auto failure = [&](const QString& reason) {
        return ImageFileRead{{},
                             IoStatus{QStringLiteral("无法读取文件“%1”：%2")
                                          .arg(QDir::toNativeSeparators(path), reason)}};
    };
    const QFileInfo info(path);
    if (!info.exists())
        return failure(QStringLiteral("文件不存在"));
    if (info.isDir())
        return failure(IsFolderReason);
    if (!info.isFile())
        return failure(NotRegularFileReason);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    QByteArray bytes = file.read(layout::ImageSize);
    if (file.error() != QFileDevice::NoError)
        return failure(file.errorString());
    return {bytes, {}};
}

namespace {

ImageFileOpen checkedImage(QByteArray bytes, qint64 fileSize, const QString& path)
{
    ImageFileOpen open;
    open.check = checkImage(bytes);
    open.fileSize = fileSize;
    if (open.check != ImageCheck::Ok) {
        const QString reason = open.check == ImageCheck::TooShort
                                   ? QStringLiteral("只有 %1 字节，配置文件应有 %2 字节")
                                         .arg(bytes.size())
                                         .arg(layout::ImageSize)
                                   : QStringLiteral("块校验和不符");
        open.checkMessage = QStringLiteral("读取错误：CRC校验失败！\n“%1”：%2")
                                .arg(QDir::toNativeSeparators(path), reason);
    }
    open.bytes = std::move(bytes);
    return open;
}

} // namespace

ImageFileOpen openImageFile(const QString& path)
{
    ImageFileRead read = readImageFile(path);
    if (!read.status) {
        ImageFileOpen open;
        open.status = read.status;
        return open;
    }
    return checkedImage(std::move(read.bytes), QFileInfo(path).size(), path);
}

ImageFileOpen openImageBytes(QByteArrayView content, const QString& path)
{
    const qsizetype read = std::min<qsizetype>(content.size(), layout::ImageSize);
    return checkedImage(content.first(read).toByteArray(), content.size(), path);
}

QString configNameFromImage(const quint8* image)
{
    const QString name =
        cp936::decode(QByteArrayView(image + layout::ConfigName, layout::ConfigNameSize));
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && name[first].unicode() <= 0x20)
        ++first;
    while (last > first && name[last - 1].unicode() <= 0x20)
        --last;
    return name.mid(first, last - first);
}

QString configCaption(const QString& configName)
{
    return ToolTitle + QStringLiteral("--") + configName + QStringLiteral(".hkf");
}

QString AddressText(const quint8* image, int offset)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(int{image[offset + 3]})
        .arg(int{image[offset + 2]})
        .arg(int{image[offset + 1]})
        .arg(int{image[offset]});
}

ParamValues RestoreParams(const quint8* image)
{
    ParamValues values;
    for (const ParamEntry& entry : catalogue()) {
        ParamValue& v = values[paramIndex(entry)];
        const quint32 word = readWord(image, entry.offset);
        switch (entry.kind) {
        case ControlKind::Numeric:
            if (entry.integersOnly()) {
                v.number = Thousandths{word} * 1000;
            } else {
                // A negative coordinate was saved as two's complement; read
                // signed, -1.50 survives a save and an open.
                const Thousandths stored =
                    entry.storedSigned() ? Thousandths{qint32(word)} : Thousandths{word};
                v.number = putNumber(entry, stored);
            }
            break;
        case ControlKind::Choice:
            v.choice = limitChoiceIndex(qint32(word), entry.choiceCount());
            break;
        case ControlKind::Address:
            v.text = AddressText(image, entry.offset);
            break;
        }
    }
    return values;
}

} // namespace hmk
