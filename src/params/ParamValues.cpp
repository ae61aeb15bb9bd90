#include "ParamValues.h"

namespace hmk {

ParamValues formValues()
{
    ParamValues values;
    for (const ParamEntry& entry : catalogue()) {
        ParamValue& v = values[paramIndex(entry)];
        switch (entry.kind) {
        case ControlKind::Numeric:
            v.number = entry.formValue;
            break;
        case ControlKind::Choice:
            v.choice = static_cast<int>(entry.formValue);
            break;
        case ControlKind::Address:
            v.text = QString::fromLatin1(entry.addressDefault);
            break;
        }
    }
    return values;
}

int limitChoiceIndex(qint64 index, int choiceCount)
{
    if (index >= choiceCount)
        return choiceCount - 1;
    if (index < -1)
        return -1;
    return static_cast<int>(index);
}

Thousandths putNumber(const ParamEntry& entry, Thousandths value)
{
    return roundToDecimals(value, entry.decimals());
}

Thousandths applyLimits(const ParamEntry& entry, Thousandths value)
{
    if (!entry.hasLimits())
        return value;
    if (value < entry.min)
        return entry.min;
    if (value > entry.max)
        return entry.max;
    return value;
}

QString shownValue(const ParamEntry& entry, const ParamValue& value)
{
    switch (entry.kind) {
    case ControlKind::Numeric:
        return formatNumber(value.number, entry.format);
    case ControlKind::Choice:
        return value.choice >= 0 && value.choice < entry.choiceCount()
                   ? QString::fromUtf8(entry.choices[value.choice])
                   : QString();
    case ControlKind::Address:
        return value.text;
    }
    return {};
}

} // namespace hmk
