#include "ImageSource.h"

#include "ImageFields.h"
#include "image/Codepage.h"
#include "params/ConfigBuilder.h"
#include "params/ConfigOpener.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <cmath>
#include <limits>

namespace hmk::tool {

namespace {

void putWord(QByteArray& image, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        image[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// Reads one JSON object field by field; the first fault becomes the error,
// named by its path ("parameters.PunchHeight.value").
class Reader
{
public:
    QString error;

    bool fail(const QString& path, const QString& message)
    {
        if (error.isEmpty())
            error = QStringLiteral("%1: %2").arg(path, message);
        return false;
    }

    // Every key of `object` must be one of `known`.
    bool onlyKnown(const QJsonObject& object, const QString& path, const QSet<QString>& known)
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!known.contains(it.key()))
                return fail(path.isEmpty() ? it.key() : path + QLatin1Char('.') + it.key(),
                            QStringLiteral("no such field"));
        }
        return true;
    }

    bool object(const QJsonObject& parent, const QString& key, const QString& path,
                QJsonObject& out)
    {
        const QJsonValue v = parent.value(key);
        if (v.isUndefined())
            return fail(path, QStringLiteral("missing"));
        if (!v.isObject())
            return fail(path, QStringLiteral("is not an object"));
        out = v.toObject();
        return true;
    }

    // A whole number from `min` to `max`.
    bool whole(const QJsonValue& v, const QString& path, double min, double max, qint64& out)
    {
        if (v.isUndefined())
            return fail(path, QStringLiteral("missing"));
        const double d = v.toDouble();
        if (!v.isDouble() || d != std::floor(d) || d < min || d > max)
            return fail(path, QStringLiteral("takes a whole number from %1 to %2")
                                  .arg(qint64(min))
                                  .arg(qint64(max)));
        out = qint64(d);
        return true;
    }

    bool text(const QJsonValue& v, const QString& path, QString& out)
    {
        if (v.isUndefined())
            return fail(path, QStringLiteral("missing"));
        if (!v.isString())
            return fail(path, QStringLiteral("is not a string"));
        out = v.toString();
        return true;
    }
};

bool readHeader(Reader& r, const QJsonObject& root, QByteArray& image)
{
    QJsonObject header;
    if (!r.object(root, QStringLiteral("header"), QStringLiteral("header"), header))
        return false;
    if (!r.onlyKnown(header, QStringLiteral("header"),
                     {QStringLiteral("ProductName"), QStringLiteral("FileVersion"),
                      QStringLiteral("ParamInput"), QStringLiteral("ConfigName"),
                      QStringLiteral("IncludeScreen"), QStringLiteral("IncludeParam")}))
        return false;
    // The product tag, version and name are what every build writes, the
    // name from the file built; they are read only to refuse another kind
    // of file.
    const QJsonValue product = header.value(QStringLiteral("ProductName"));
    if (!product.isUndefined() && product.toString() != QLatin1String(layout::ProductTag))
        return r.fail(QStringLiteral("header.ProductName"),
                      QStringLiteral("\"%1\" is not the product tag \"%2\"")
                          .arg(product.toString(), QLatin1String(layout::ProductTag)));
    for (const auto& [name, offset] : {std::pair{"IncludeScreen", layout::IncludeScreen},
                                       std::pair{"IncludeParam", layout::IncludeParam}}) {
        qint64 flag = 0;
        if (!r.whole(header.value(QLatin1String(name)),
                     QStringLiteral("header.%1").arg(QLatin1String(name)), 0, 1, flag))
            return false;
        putWord(image, offset, quint32(flag));
    }
    return true;
}

bool readScreenLines(Reader& r, const QJsonValue& v, QByteArray& image)
{
    const QString path = QStringLiteral("bootScreen.LogoPixelFonts");
    if (v.isUndefined())
        return r.fail(path, QStringLiteral("missing"));
    const QJsonArray lines = v.toArray();
    if (!v.isArray() || lines.size() != layout::ScreenHeight)
        return r.fail(path, QStringLiteral("takes 32 lines of 192 characters (\"#\" ink, \".\" "
                                           "background)"));
    for (int y = 0; y < layout::ScreenHeight; ++y) {
        const QString line = lines[y].toString();
        if (!lines[y].isString() || line.size() != layout::ScreenWidth)
            return r.fail(QStringLiteral("%1[%2]").arg(path).arg(y),
                          QStringLiteral("takes 192 characters \"#\" or \".\""));
        for (int x = 0; x < layout::ScreenWidth; ++x) {
            if (line[x] == QLatin1Char('#'))
                image[layout::bandOffset(y / layout::BandRows) + x] |=
                    char(1u << (y % layout::BandRows));
            else if (line[x] != QLatin1Char('.'))
                return r.fail(
                    QStringLiteral("%1[%2]").arg(path).arg(y),
                    QStringLiteral("column %1 is \"%2\", not \"#\" or \".\"").arg(x).arg(line[x]));
        }
    }
    return true;
}

bool readBootScreen(Reader& r, const QJsonObject& root, QByteArray& image)
{
    QJsonObject screen;
    if (!r.object(root, QStringLiteral("bootScreen"), QStringLiteral("bootScreen"), screen))
        return false;
    QSet<QString> known{QStringLiteral("LogoUsePic"), QStringLiteral("LogoPixelFonts")};
    for (const layout::StoredTextField& t : layout::StoredTexts)
        known << QLatin1String(t.lengthName) << QLatin1String(t.textName);
    if (!r.onlyKnown(screen, QStringLiteral("bootScreen"), known))
        return false;

    QJsonObject style;
    if (!r.object(screen, QStringLiteral("LogoUsePic"), QStringLiteral("bootScreen.LogoUsePic"),
                  style))
        return false;
    qint64 styleIndex = 0;
    if (!r.whole(style.value(QStringLiteral("value")),
                 QStringLiteral("bootScreen.LogoUsePic.value"), 0, 1, styleIndex))
        return false;
    putWord(image, layout::LogoUsePic, quint32(styleIndex));

    for (const layout::StoredTextField& t : layout::StoredTexts) {
        const QString path = QStringLiteral("bootScreen.%1").arg(QLatin1String(t.textName));
        QString text;
        if (!r.text(screen.value(QLatin1String(t.textName)), path, text))
            return false;
        const QByteArray bytes = cp936::encode(text);
        if (cp936::decode(bytes) != text)
            return r.fail(path, QStringLiteral("\"%1\" holds characters that code page 936 "
                                               "cannot store")
                                    .arg(text));
        if (bytes.size() > t.roomSize)
            return r.fail(path, QStringLiteral("\"%1\" takes %2 bytes; its room holds %3")
                                    .arg(text)
                                    .arg(bytes.size())
                                    .arg(t.roomSize));
        // The length is the text's; a stated one that disagrees is a slip
        // of a hand edit that would otherwise go unnoticed.
        const QJsonValue length = screen.value(QLatin1String(t.lengthName));
        if (!length.isUndefined() && length.toDouble(-1) != double(bytes.size()))
            return r.fail(QStringLiteral("bootScreen.%1").arg(QLatin1String(t.lengthName)),
                          QStringLiteral("%1 does not match %2, which takes %3 bytes")
                              .arg(length.toVariant().toString(), QLatin1String(t.textName))
                              .arg(bytes.size()));
        putWord(image, t.lengthField, quint32(bytes.size()));
        image.replace(t.room, bytes.size(), bytes);
    }
    return readScreenLines(r, screen.value(QStringLiteral("LogoPixelFonts")), image);
}

bool readAddress(Reader& r, const QJsonValue& v, const QString& path, quint32& word)
{
    QString text;
    if (!r.text(v, path, text))
        return false;
    const QStringList parts = text.split(QLatin1Char('.'));
    bool ok = parts.size() == 4;
    word = 0;
    for (const QString& part : parts) {
        bool digits = !part.isEmpty() && part.size() <= 3;
        for (QChar c : part)
            digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const uint value = part.toUInt();
        ok = ok && digits && value <= 255;
        word = (word << 8) | (value & 0xFF);
    }
    if (!ok)
        return r.fail(
            path,
            QStringLiteral("\"%1\" is not four whole numbers 0-255 joined by dots").arg(text));
    return true;
}

bool readParameter(Reader& r, const ParamEntry& entry, const QJsonObject& field, quint32& word)
{
    const QString path = QStringLiteral("parameters.%1.value").arg(entry.nameText());
    const QJsonValue v = field.value(QStringLiteral("value"));
    qint64 n = 0;
    switch (entry.kind) {
    case ControlKind::Numeric:
        if (entry.integersOnly()) {
            if (!r.whole(v, path, 0, std::numeric_limits<quint32>::max(), n))
                return false;
            word = quint32(n);
            return true;
        } else {
            if (v.isUndefined())
                return r.fail(path, QStringLiteral("missing"));
            const double thousandths = v.toDouble() * 1000;
            const double rounded = std::round(thousandths);
            const double min = entry.storedSigned() ? std::numeric_limits<qint32>::min() : 0;
            const double max = entry.storedSigned() ? std::numeric_limits<qint32>::max()
                                                    : std::numeric_limits<quint32>::max();
            if (!v.isDouble() || std::fabs(thousandths - rounded) > 1e-6 * std::max(1.0, rounded))
                return r.fail(path, QStringLiteral("takes a number with at most three decimals"));
            if (rounded < min || rounded > max)
                return r.fail(path,
                              QStringLiteral("%1 is outside what the field stores, %2 to %3")
                                  .arg(v.toDouble())
                                  .arg(decimalText(qint64(min), 3), decimalText(qint64(max), 3)));
            word = quint32(qint64(rounded));
            return true;
        }
    case ControlKind::Choice:
        if (!r.whole(v, path, std::numeric_limits<qint32>::min(),
                     std::numeric_limits<qint32>::max(), n))
            return false;
        word = quint32(qint32(n));
        return true;
    case ControlKind::Address:
        return readAddress(r, v, path, word);
    }
    return false;
}

bool readParameters(Reader& r, const QJsonObject& root, QByteArray& image)
{
    QJsonObject params;
    if (!r.object(root, QStringLiteral("parameters"), QStringLiteral("parameters"), params))
        return false;
    QSet<QString> known;
    for (const ParamEntry& entry : catalogue())
        known << entry.nameText();
    if (!r.onlyKnown(params, QStringLiteral("parameters"), known))
        return false;
    for (const ParamEntry& entry : catalogue()) {
        const QString path = QStringLiteral("parameters.%1").arg(entry.nameText());
        QJsonObject field;
        if (!r.object(params, entry.nameText(), path, field))
            return false;
        // label, unit and caption are there for the reader; the value counts.
        if (!r.onlyKnown(field, path,
                         {QStringLiteral("label"), QStringLiteral("value"), QStringLiteral("unit"),
                          QStringLiteral("caption")}))
            return false;
        quint32 word = 0;
        if (!readParameter(r, entry, field, word))
            return false;
        putWord(image, entry.offset, word);
    }
    return true;
}

} // namespace

QByteArray imageFromDumpJson(const QByteArray& json, QString& error)
{
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("not valid JSON at character %1: %2")
                    .arg(parse.offset)
                    .arg(parse.errorString());
        return {};
    }
    if (!doc.isObject()) {
        error = QStringLiteral("not a JSON object as hkftool dump --json writes it");
        return {};
    }
    const QJsonObject root = doc.object();
    Reader r;
    if (!r.onlyKnown(root, QString(),
                     {QStringLiteral("check"), QStringLiteral("header"),
                      QStringLiteral("bootScreen"), QStringLiteral("parameters")})) {
        error = r.error;
        return {};
    }
    // A dump of an image that failed its check is no template: the window
    // would not open that image either.
    const QJsonValue check = root.value(QStringLiteral("check"));
    if (!check.isUndefined() && check.toString() != QLatin1String(describe(ImageCheck::Ok))) {
        error = QStringLiteral("check: the dumped image failed its check (%1)")
                    .arg(check.toVariant().toString());
        return {};
    }

    QByteArray image(layout::ImageSize, '\0');
    image.replace(layout::ProductName, layout::ProductNameSize, layout::ProductTag);
    if (!readHeader(r, root, image) || !readBootScreen(r, root, image) ||
        !readParameters(r, root, image)) {
        error = r.error;
        return {};
    }
    return image;
}

SourceImage readSourceImage(const QString& path)
{
    const ImageFileOpen image = openImageFile(path);
    if (!image.status.ok())
        return {{}, image.status.error};
    // openImageFile stops at 4096 bytes; JSON is read whole.
    if (image.bytes.trimmed().startsWith('{')) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {{}, QStringLiteral("%1: %2").arg(path, file.errorString())};
        QString error;
        QByteArray bytes = imageFromDumpJson(file.readAll(), error);
        if (bytes.isEmpty())
            return {{}, QStringLiteral("%1: %2").arg(path, error)};
        return {bytes, {}};
    }
    if (image.check == ImageCheck::TooShort)
        return {{},
                QStringLiteral("%1: %2 bytes, shorter than 4096 bytes: neither a configuration "
                               "image nor the JSON of hkftool dump --json")
                    .arg(path)
                    .arg(image.fileSize)};
    if (image.check != ImageCheck::Ok)
        return {{},
                QStringLiteral("%1: %2 block checksum does not match; the window would not open "
                               "it either")
                    .arg(path, QLatin1String(describe(image.check)))};
    return {image.bytes, {}};
}

void startFromImage(const QByteArray& image, BootScreenModel& boot, ParamValues& values,
                    THMK725ConfigData& seed)
{
    const auto* data = reinterpret_cast<const quint8*>(image.constData());
    boot.RestoreLogo(data);
    if (!boot.notEnableParam())
        values = RestoreParams(data);
    if (!boot.isPic() && boot.useDefaultScreen()) {
        boot.setMainFontList(
            storedText(data, layout::Logo1FontLen, layout::Logo1FontName, layout::Logo1FontRoom));
        boot.setMainTitleFont(boot.mainFontName());
        boot.setSubFontList(
            storedText(data, layout::Logo2FontLen, layout::Logo2FontName, layout::Logo2FontRoom));
        boot.setSubTitleFont(boot.subFontName());
    }

    for (const layout::StoredTextField& t : layout::StoredTexts) {
        seed.SetByIndex(t.lengthField, readWord(data, t.lengthField));
        seed.ExportLogoDesc(image.sliced(t.room, t.roomSize), quint32(t.room), t.roomSize);
    }
    for (const ParamEntry& entry : catalogue())
        seed.SetByIndex(entry.offset, readWord(data, entry.offset));
}

} // namespace hmk::tool
