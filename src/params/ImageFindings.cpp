#include "ImageFindings.h"

#include "ConfigBuilder.h"
#include "ConfigOpener.h"
#include "DocumentCompare.h"
#include "image/CfgHMK725.h"
#include "image/Codepage.h"

namespace hmk {

namespace {

QString hex(int offset)
{
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(offset, 3, 16, QLatin1Char('0')).toUpper();
}

QString labelOf(const ParamEntry& entry)
{
    QString label = QString::fromUtf8(entry.label);
    if (label.endsWith(QChar(u'：')))
        label.chop(1);
    return label;
}

struct Switch
{
    const char* name;
    int offset;
};

const Switch Switches[] = {
    {"IncludeScreen", layout::IncludeScreen},
    {"IncludeParam", layout::IncludeParam},
    {"LogoUsePic", layout::LogoUsePic},
};

void checkParams(const quint8* image, QList<ImageFinding>& findings)
{
    const ParamValues values = RestoreParams(image);
    for (const ParamEntry& entry : catalogue()) {
        const ParamValue& v = values[paramIndex(entry)];
        const QString shown = shownValue(entry, v);
        const auto add = [&](const QString& value, const QString& problem) {
            findings.append({entry.nameText(), labelOf(entry), value, problem});
        };
        switch (entry.kind) {
        case ControlKind::Numeric:
            if (outsideLimits(entry, v.number))
                add(shown, QStringLiteral("outside its range %1 to %2")
                               .arg(formatNumber(entry.min, entry.format),
                                    formatNumber(entry.max, entry.format)));
            break;
        case ControlKind::Choice: {
            const qint32 index = qint32(readWord(image, entry.offset));
            if (index < 0)
                add(QString::number(index), QStringLiteral("selects no choice"));
            else if (index >= entry.choiceCount())
                add(QString::number(index),
                    QStringLiteral("beyond the last choice (%1, index %2)")
                        .arg(QString::fromUtf8(entry.choices[entry.choiceCount() - 1]))
                        .arg(entry.choiceCount() - 1));
            break;
        }
        case ControlKind::Address: {
            // Each part is one byte, so only the save check's own limit can
            // fail: 255 is a mask part, never an address part.
            const bool mask = entry.offset == layout::SubnetMask;
            if (!CheckNetAddress(v.text, mask))
                add(shown, QStringLiteral("a part is 255; an address takes parts 0-254, which "
                                          "the window checks before it saves"));
            break;
        }
        }
    }
}

} // namespace

QList<ImageFinding> imageFindings(const quint8* image)
{
    QList<ImageFinding> findings;
    for (const Switch& s : Switches) {
        const quint32 word = readWord(image, s.offset);
        if (word > 1)
            findings.append({QString::fromLatin1(s.name),
                             {},
                             QString::number(word),
                             QStringLiteral("neither 0 nor 1")});
    }
    for (const layout::StoredTextField& t : layout::StoredTexts) {
        const quint32 length = readWord(image, t.lengthField);
        if (length > quint32(t.roomSize))
            findings.append({QString::fromLatin1(t.lengthName),
                             {},
                             QString::number(length),
                             QStringLiteral("longer than its room of %1 bytes").arg(t.roomSize)});
        const QByteArray bytes(reinterpret_cast<const char*>(image + t.room),
                               std::min<qint64>(length, t.roomSize));
        if (cp936::encode(cp936::decode(bytes)) != bytes)
            findings.append({QString::fromLatin1(t.textName),
                             {},
                             QString::fromLatin1(bytes.toHex(' ')),
                             QStringLiteral("not valid code page 936 text")});
    }
    if (readWord(image, layout::IncludeParam) != 0)
        checkParams(image, findings);
    for (const layout::Span& span : layout::ReservedSpans) {
        int nonZero = 0;
        int first = -1;
        for (int i = span.start; i < span.end; ++i) {
            if (image[i] != 0) {
                ++nonZero;
                if (first < 0)
                    first = i;
            }
        }
        if (nonZero)
            findings.append(
                {QStringLiteral("reserved %1-%2").arg(hex(span.start), hex(span.end - 1)),
                 {},
                 QStringLiteral("%1 at %2")
                     .arg(int{image[first]}, 2, 16, QLatin1Char('0'))
                     .arg(hex(first)),
                 QStringLiteral("%1 of %2 bytes not zero")
                     .arg(nonZero)
                     .arg(span.end - span.start)});
    }
    return findings;
}

} // namespace hmk
