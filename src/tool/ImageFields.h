#pragma once

// Every field of a configuration image by its name, as hkftool shows it:
// the header, the boot screen (texts decoded from code page 936) and the 47
// parameters in catalogue order, each value in its unit. dump prints the
// list, dump --json writes it as one object and diff compares two lists
// field by field, so the three can never disagree about what a field holds.

#include <QList>
#include <QString>

namespace hmk {
struct ParamEntry;
}

namespace hmk::tool {

enum class FieldSection
{
    Header,
    BootScreen,
    Parameters,
    Screen, // LogoPixelFonts, as 32 lines of 192 "#"/"." characters
};

struct ImageField
{
    FieldSection section;
    QString name;    // the field name: "ConfigName", "Logo1Desc", "PunchHeight"
    QString text;    // the value as dump prints it (texts quoted)
    QString json;    // the value as a JSON fragment
    QString label;   // parameters: their label without the colon, "穿孔高度"
    QString unit;    // parameters: "mm", "ms"...; empty when none
    QString caption; // choices (and the boot-screen style): the chosen caption
};

// `image` is a whole 4096-byte image; its checksums need not match.
QList<ImageField> imageFields(const quint8* image);

const char* sectionName(FieldSection section);

// The 192 x 32 screen as 32 lines of 192 characters, "#" ink, "." background.
QString screenLines(const quint8* image);

// Ink at column x, row y of the stored screen.
bool screenPixel(const quint8* image, int x, int y);

// The text dump: "[header]" and the other sections, one field a line.
QString dumpText(const QList<ImageField>& fields);

// The same content as one JSON object, keys named as the fields, sections
// and parameters in image and catalogue order.
QString dumpJson(const QList<ImageField>& fields, const QString& check);

// A value in thousandths as plain text, without thousands separators: with
// `decimals` decimals, or all three when the value has more than that.
QString decimalText(qint64 thousandths, int decimals);

// A parameter's label, "穿孔高度", and its unit, "mm" (empty when it has
// none), as the catalogue holds them: the words without the window's colon
// and brackets.
QString labelOf(const hmk::ParamEntry& entry);
QString unitOf(const hmk::ParamEntry& entry);

// A JSON string literal.
QString jsonString(const QString& text);

} // namespace hmk::tool
