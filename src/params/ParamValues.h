#pragma once

// The values of the 47 parameters as the editing controls hold them, in
// catalogue order. The window reads its controls into this and writes it
// back; the settings loader, the save builder, the opener and hkftool work
// on it without any widget.

#include "ParamCatalogue.h"

#include <QString>
#include <array>

namespace hmk {

struct ParamValue
{
    Thousandths number = 0; // numeric fields: the value the field shows
    int choice = -1;        // choice groups: selected index, -1 = none
    QString text;           // address fields
};

using ParamValues = std::array<ParamValue, ParamCount>;

// What the controls hold when the window is created.
ParamValues formValues();

// A choice group given an index: above the last choice selects the last,
// below -1 selects nothing.
int limitChoiceIndex(qint64 index, int choiceCount);

// What a numeric field holds after a value is put into it: the value rounded
// to the field's display decimals. No limits are applied.
Thousandths putNumber(const ParamEntry& entry, Thousandths value);

// A numeric field's limits, applied when the user leaves the field: below
// Min gives Min, above Max gives Max; a field without limits keeps any value.
Thousandths applyLimits(const ParamEntry& entry, Thousandths value);

// A parameter's value as its page shows it: a numeric field's text, a
// choice caption ("" when none is selected), an address text.
QString shownValue(const ParamEntry& entry, const ParamValue& value);

} // namespace hmk
