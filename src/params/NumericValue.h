#pragma once

// Values of the numeric parameter fields. A field's value is exactly what its
// text shows, and no field shows more than three decimals, so a value is held
// as a whole number of thousandths of its unit: 16.3 is 16300, never a binary
// fraction that could round below the exact product when it is saved.

#include <QLocale>
#include <QString>
#include <QStringView>
#include <algorithm>
#include <limits>
#include <optional>

namespace hmk {

using Thousandths = qint64;

// The display formats in use: ",0.00", ",0.0", ",0.000" and ",0;(,0)". All
// show the locale's thousands separator; the whole-number one shows negative
// values in parentheses.
enum class NumberFormat
{
    TwoDecimals,
    OneDecimal,
    ThreeDecimals,
    Whole,
};

constexpr int decimalsOf(NumberFormat format)
{
    switch (format) {
    case NumberFormat::TwoDecimals:
        return 2;
    case NumberFormat::OneDecimal:
        return 1;
    case NumberFormat::ThreeDecimals:
        return 3;
    case NumberFormat::Whole:
        return 0;
    }
    return 0;
}

const char* formatPattern(NumberFormat format);

// 10 to the power n; 1 for n <= 0. powerOfTen(3 - decimals) is one step of
// the last decimal a field shows, in thousandths.
constexpr Thousandths powerOfTen(int n)
{
    Thousandths p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

// Values far outside anything a field can sensibly hold (a settings file may
// say 1e300) are held at this bound instead of overflowing.
inline constexpr Thousandths ThousandthsLimit = 9'000'000'000'000'000'000LL;

// Rounds to the given number of decimals (0-3), half away from zero, as a
// field does when a value is put into it.
Thousandths roundToDecimals(Thousandths value, int decimals);

// The decimal that a double stands for (read to 15 significant digits, so
// 999.999 is 999.999 and not 999.998999...), rounded to `decimals`.
Thousandths thousandthsFromDouble(double value, int decimals);

// The field's text for a value: thousands separators of `locale`, exactly
// decimalsOf(format) decimals, negative whole numbers in parentheses.
QString formatNumber(Thousandths value, NumberFormat format, const QLocale& locale = QLocale());

// Reads a field's text back: thousands separators are dropped, a text in
// parentheses is negative, and a text with more decimals than `decimals`
// (0-3) is rounded to them half away from zero, once and from all its digits,
// as a value put into the field is: 1.2345 at three decimals is 1.235.
// Returns nothing for an empty text (the field then reads as its Min) and 0
// for a text that does not parse.
std::optional<Thousandths> parseNumber(QStringView text, const QLocale& locale = QLocale(),
                                       int decimals = 3);

// The general floating-point format of the overview list: at most 15
// significant digits, no trailing zeros, no thousands separator, the locale's
// decimal separator; scientific notation beyond 15 integer digits.
QString generalFormat(Thousandths value, const QLocale& locale = QLocale());

// A value as the image stores it in 32 bits: a negative value becomes its
// two's complement. A value beyond what 32 bits hold (a huge number from the
// settings file, or an opened 4294967295 thousandths that its field rounds
// up) is held at the nearest end instead of keeping only its low bits, which
// would save 4294967.3 as 0.004.
constexpr quint32 imageWord(Thousandths value)
{
    constexpr Thousandths lowest = std::numeric_limits<qint32>::min();
    constexpr Thousandths highest = std::numeric_limits<quint32>::max();
    return static_cast<quint32>(std::clamp(value, lowest, highest));
}

} // namespace hmk
