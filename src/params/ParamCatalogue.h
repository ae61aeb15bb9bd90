#pragma once

// The one list of the controller's 47 device parameters. The settings
// loader, the save builder, the file opener, the parameter pages, the
// overview list and hkftool all walk this table; nothing else lists the
// parameters. Catalogue order is the order of the table.

#include "NumericValue.h"
#include "Pages.h"

#include <QString>
#include <QStringView>
#include <array>

namespace hmk {

enum class ControlKind
{
    Numeric, // a numeric field with a display format and limits
    Choice,  // a choice group; the stored value is the 0-based index
    Address, // a dotted-quad text field
};

// A parameter group: the parameters sharing one section stem. Its factory
// section in the settings file is stem + "Def", its last-saved one the bare
// stem; on the window it is one group box on one page.
struct ParamGroup
{
    const char* stem; // "Technics"
    Page page;        // the window page that shows its box
    const char* box;  // group-box caption, "工艺参数"
};

inline constexpr int ParamGroupCount = 11;
const std::array<ParamGroup, ParamGroupCount>& paramGroups();

struct ParamEntry
{
    const char* name; // settings key, image field name, hint-key stem
    int group;        // index into paramGroups()
    ControlKind kind;
    const char* control; // "edtPunchHeight", "rgFollowType"
    const char* label;   // the label's words, "穿孔高度"
    const char* unit;    // the unit, "mm", or "" when the field has none
    int offset;          // image offset of its 32-bit field

    // Numeric fields. min == max == 0 means no limits.
    NumberFormat format = NumberFormat::Whole;
    Thousandths min = 0;
    Thousandths max = 0;

    // Numeric fields: thousandths; choice groups: the index. What the
    // settings loader puts in for a missing or unreadable key, and what the
    // control holds when the window is created.
    qint64 loaderDefault = 0;
    qint64 formValue = 0;
    const char* addressDefault = ""; // address fields: both defaults
    std::array<const char*, 3> choices{};

    bool hidden = false;                // loaded, saved and restored, but not shown
    int maxLength = 0;                  // typed characters, 0 = no limit
    bool hasHint = true;                // ServoType has no hint key
    const char* labelControl = nullptr; // where the label's control name is fixed

    bool isNumeric() const { return kind == ControlKind::Numeric; }
    bool integersOnly() const
    {
        return kind == ControlKind::Numeric && format == NumberFormat::Whole;
    }
    int decimals() const { return decimalsOf(format); }
    bool hasLimits() const { return min != 0 || max != 0; }
    // The two coordinates, the only fields without limits, may hold negative
    // values; the image keeps them as 32-bit two's complement.
    bool storedSigned() const { return isNumeric() && !hasLimits(); }
    int choiceCount() const
    {
        int n = 0;
        while (n < 3 && choices[n])
            ++n;
        return n;
    }
    QString nameText() const { return QString::fromLatin1(name); }
    QString hintKey() const { return nameText() + QStringLiteral("Hint"); }
    const ParamGroup& paramGroup() const { return paramGroups()[group]; }
};

inline constexpr int ParamCount = 47;
const std::array<ParamEntry, ParamCount>& catalogue();

// The entry of that name (exact spelling, as in the settings file and the
// image), or nullptr.
const ParamEntry* findParam(QStringView name);

// Index of an entry in catalogue order.
int paramIndex(const ParamEntry& entry);

} // namespace hmk
