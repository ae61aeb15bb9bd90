#include "ImageFields.h"

#include "bootscreen/BootScreenModel.h"
#include "image/CfgHMK725.h"
#include "params/ConfigOpener.h"
#include "params/ParamCatalogue.h"
#include "params/ParamValues.h"

#include <QStringList>
#include <algorithm>

namespace hmk::tool {

namespace {

QString quoted(const QString& text)
{
    // Control characters (a NUL in a damaged name) are shown, not printed.
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

ImageField numberField(FieldSection section, const QString& name, qint64 value)
{
    return {section, name, QString::number(value), QString::number(value), {}, {}, {}};
}

ImageField textField(FieldSection section, const QString& name, const QString& value)
{
    return {section, name, quoted(value), jsonString(value), {}, {}, {}};
}

// A stored choice index as the window shows it: its choice group selects the
// last choice for an index beyond it ("7 → 东元伺服") and none for a negative
// one.
ImageField choiceField(FieldSection section, const QString& name, qint32 index,
                       const QStringList& choices)
{
    const int selected = limitChoiceIndex(index, int(choices.size()));
    const QString caption = selected >= 0 ? choices[selected] : QString();
    QString text;
    if (selected < 0)
        text = QStringLiteral("%1 (none)").arg(index);
    else if (selected == index)
        text = QStringLiteral("%1 %2").arg(index).arg(caption);
    else
        text = QStringLiteral("%1 → %2").arg(index).arg(caption);
    return {section, name, text, QString::number(index), {}, {}, caption};
}

// Columns a text takes in a terminal: East Asian wide and full-width
// characters take two.
int displayWidth(const QString& text)
{
    int width = 0;
    for (const uint c : text.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) ||
                          (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
        width += wide ? 2 : 1;
    }
    return width;
}

// `text` padded with blanks to `columns` display columns.
QString padded(const QString& text, int columns)
{
    return text + QString(std::max(0, columns - displayWidth(text)), QLatin1Char(' '));
}

ImageField paramField(const quint8* image, const ParamEntry& entry)
{
    const quint32 word = readWord(image, entry.offset);
    ImageField field;
    switch (entry.kind) {
    case ControlKind::Numeric:
        if (entry.integersOnly()) {
            field = numberField(FieldSection::Parameters, entry.nameText(), word);
        } else {
            const qint64 value = entry.storedSigned() ? qint64(qint32(word)) : qint64(word);
            const QString text = decimalText(value, entry.decimals());
            field = {FieldSection::Parameters, entry.nameText(), text, text, {}, {}, {}};
        }
        break;
    case ControlKind::Choice: {
        QStringList choices;
        for (int i = 0; i < entry.choiceCount(); ++i)
            choices << QString::fromUtf8(entry.choices[i]);
        field = choiceField(FieldSection::Parameters, entry.nameText(), qint32(word), choices);
        break;
    }
    case ControlKind::Address:
        field =
            textField(FieldSection::Parameters, entry.nameText(), AddressText(image, entry.offset));
        field.text = AddressText(image, entry.offset);
        break;
    }
    field.label = labelOf(entry);
    field.unit = unitOf(entry);
    return field;
}

} // namespace

QString decimalText(qint64 thousandths, int decimals)
{
    if (thousandths % powerOfTen(3 - decimals) != 0)
        decimals = 3;
    const bool negative = thousandths < 0;
    const qint64 magnitude = negative ? -thousandths : thousandths;
    QString text = QString::number(magnitude / 1000);
    if (decimals > 0) {
        const qint64 fraction = magnitude % 1000 / powerOfTen(3 - decimals);
        text +=
            QLatin1Char('.') + QStringLiteral("%1").arg(fraction, decimals, 10, QLatin1Char('0'));
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString unitOf(const ParamEntry& entry)
{
    return QString::fromUtf8(entry.unit);
}

QString labelOf(const ParamEntry& entry)
{
    return QString::fromUtf8(entry.label);
}

const char* sectionName(FieldSection section)
{
    switch (section) {
    case FieldSection::Header:
        return "header";
    case FieldSection::BootScreen:
        return "boot screen";
    case FieldSection::Parameters:
        return "parameters";
    case FieldSection::Screen:
        return "screen";
    }
    return "";
}

bool screenPixel(const quint8* image, int x, int y)
{
    const quint8 column = image[layout::bandOffset(y / layout::BandRows) + x];
    return column & (1u << (y % layout::BandRows));
}

QString screenLines(const quint8* image)
{
    QStringList lines;
    for (int y = 0; y < layout::ScreenHeight; ++y) {
        QString line(layout::ScreenWidth, QLatin1Char('.'));
        for (int x = 0; x < layout::ScreenWidth; ++x) {
            if (screenPixel(image, x, y))
                line[x] = QLatin1Char('#');
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QList<ImageField> imageFields(const quint8* image)
{
    using S = FieldSection;
    QList<ImageField> fields;

    const auto bytes = [image](int offset, int size) {
        return QByteArrayView(reinterpret_cast<const char*>(image) + offset, size);
    };
    fields << textField(S::Header, QStringLiteral("ProductName"),
                        QString::fromLatin1(bytes(layout::ProductName, layout::ProductNameSize)));
    fields << numberField(S::Header, QStringLiteral("FileVersion"),
                          image[layout::FileVersion] | (image[layout::FileVersion + 1] << 8));
    fields << numberField(S::Header, QStringLiteral("ParamInput"),
                          readWord(image, layout::ParamInput));
    fields << textField(S::Header, QStringLiteral("ConfigName"), configNameFromImage(image));
    fields << numberField(S::Header, QStringLiteral("IncludeScreen"),
                          readWord(image, layout::IncludeScreen));
    fields << numberField(S::Header, QStringLiteral("IncludeParam"),
                          readWord(image, layout::IncludeParam));

    const qint32 style = qint32(readWord(image, layout::LogoUsePic));
    fields << choiceField(S::BootScreen, QStringLiteral("LogoUsePic"), style,
                          {StyleCaptions.begin(), StyleCaptions.end()});
    for (const layout::StoredTextField& t : layout::StoredTexts) {
        fields << numberField(S::BootScreen, QString::fromLatin1(t.lengthName),
                              readWord(image, t.lengthField));
        fields << textField(S::BootScreen, QString::fromLatin1(t.textName),
                            storedText(image, t.lengthField, t.room, t.roomSize));
    }

    for (const ParamEntry& entry : catalogue())
        fields << paramField(image, entry);

    const QString screen = screenLines(image);
    QStringList rows;
    for (const QString& line : screen.split(QLatin1Char('\n')))
        rows << jsonString(line);
    fields << ImageField{S::Screen,
                         QStringLiteral("LogoPixelFonts"),
                         screen,
                         QStringLiteral("[\n      ") + rows.join(QStringLiteral(",\n      ")) +
                             QStringLiteral("\n    ]"),
                         {},
                         {},
                         {}};
    return fields;
}

QString dumpText(const QList<ImageField>& fields)
{
    QString out;
    FieldSection current{};
    bool first = true;
    for (const ImageField& f : fields) {
        if (first || f.section != current) {
            out += QStringLiteral("[%1]\n").arg(QString::fromLatin1(sectionName(f.section)));
            current = f.section;
            first = false;
        }
        if (f.section == FieldSection::Screen) {
            out += f.text + QLatin1Char('\n');
            continue;
        }
        QString value = f.text;
        if (!f.unit.isEmpty())
            value += QLatin1Char(' ') + f.unit;
        if (f.label.isEmpty())
            out += padded(f.name, 22) + value + QLatin1Char('\n');
        else
            out += padded(f.name, 22) + padded(value, 20) + f.label + QLatin1Char('\n');
    }
    return out;
}

QString jsonString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString dumpJson(const QList<ImageField>& fields, const QString& check)
{
    // Written by hand, because QJsonObject sorts its keys and the fields are
    // to come in image and catalogue order.
    QString out = QStringLiteral("{\n  \"check\": ") + jsonString(check);
    const struct
    {
        FieldSection section;
        const char* key;
    } groups[] = {{FieldSection::Header, "header"},
                  {FieldSection::BootScreen, "bootScreen"},
                  {FieldSection::Parameters, "parameters"}};
    for (const auto& group : groups) {
        QStringList members;
        for (const ImageField& f : fields) {
            const bool inGroup =
                f.section == group.section ||
                (group.section == FieldSection::BootScreen && f.section == FieldSection::Screen);
            if (!inGroup)
                continue;
            QString value = f.json;
            if (f.section == FieldSection::Parameters) {
                value = QStringLiteral("{\"label\": %1, \"value\": %2")
                            .arg(jsonString(f.label), f.json);
                if (!f.unit.isEmpty())
                    value += QStringLiteral(", \"unit\": ") + jsonString(f.unit);
                if (!f.caption.isEmpty())
                    value += QStringLiteral(", \"caption\": ") + jsonString(f.caption);
                value += QLatin1Char('}');
            } else if (f.name == QLatin1String("LogoUsePic")) {
                value = QStringLiteral("{\"value\": %1, \"caption\": %2}")
                            .arg(f.json, f.caption.isEmpty() ? QStringLiteral("null")
                                                             : jsonString(f.caption));
            }
            members << QStringLiteral("    ") + jsonString(f.name) + QStringLiteral(": ") + value;
        }
        out += QStringLiteral(",\n  \"%1\": {\n").arg(QString::fromLatin1(group.key)) +
               members.join(QStringLiteral(",\n")) + QStringLiteral("\n  }");
    }
    return out + QStringLiteral("\n}\n");
}

} // namespace hmk::tool
