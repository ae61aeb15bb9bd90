#include "NumericValue.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace hmk {

namespace {

Thousandths saturate(long double value)
{
    if (value >= static_cast<long double>(ThousandthsLimit))
        return ThousandthsLimit;
    if (value <= -static_cast<long double>(ThousandthsLimit))
        return -ThousandthsLimit;
    return static_cast<Thousandths>(value);
}

// Divides by a power of ten, rounding half away from zero.
Thousandths divideRounded(Thousandths value, Thousandths divisor)
{
    Thousandths q = value / divisor;
    const Thousandths r = value % divisor;
    if ((r < 0 ? -r : r) * 2 >= divisor)
        q += value < 0 ? -1 : 1;
    return q;
}

QString groupDigits(const QString& digits, const QString& separator)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

} // namespace

const char* formatPattern(NumberFormat format)
{
    switch (format) {
    case NumberFormat::TwoDecimals:
        return ",0.00";
    case NumberFormat::OneDecimal:
        return ",0.0";
    case NumberFormat::ThreeDecimals:
        return ",0.000";
    case NumberFormat::Whole:
        return ",0;(,0)";
    }
    return "";
}

Thousandths roundToDecimals(Thousandths value, int decimals)
{
    if (decimals >= 3)
        return value;
    const Thousandths unit = powerOfTen(3 - decimals);
    const Thousandths q = divideRounded(value, unit);
    if (q > ThousandthsLimit / unit)
        return ThousandthsLimit / unit * unit;
    if (q < -ThousandthsLimit / unit)
        return -(ThousandthsLimit / unit * unit);
    return q * unit;
}

Thousandths thousandthsFromDouble(double value, int decimals)
{
    if (std::isnan(value))
        return 0;
    if (std::isinf(value) || std::fabs(value) >= 9.0e15)
        return roundToDecimals(saturate(static_cast<long double>(value) * 1000), decimals);

    // Read the double as the decimal of 15 significant digits that it was
    // most likely written as: mantissa digits times a power of ten.
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", value);
    const char* p = text;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    Thousandths digits = 0;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits = digits * 10 + (*p - '0');
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    // value = digits * 10^(exponent - 14); in thousandths: 10^(exponent - 11).
    const int shift = exponent - 11;
    Thousandths result;
    if (shift >= 0) {
        result = digits; // shift is at most 4 here, as |value| < 9e15
        for (int i = 0; i < shift; ++i)
            result *= 10;
        result = roundToDecimals(result, decimals);
    } else {
        // Round once, straight to the field's decimals.
        const int drop = -shift + (3 - decimals);
        if (drop > 18)
            result = 0;
        else
            result = divideRounded(digits, powerOfTen(drop)) * powerOfTen(3 - decimals);
    }
    return negative ? -result : result;
}

QString formatNumber(Thousandths value, NumberFormat format, const QLocale& locale)
{
    const int decimals = decimalsOf(format);
    const Thousandths rounded = roundToDecimals(value, decimals);
    const bool negative = rounded < 0;
    const Thousandths magnitude = negative ? -rounded : rounded;
    QString text = groupDigits(QString::number(magnitude / 1000), locale.groupSeparator());
    if (decimals > 0) {
        const Thousandths fraction = (magnitude % 1000) / powerOfTen(3 - decimals);
        text += locale.decimalPoint();
        text += QStringLiteral("%1").arg(fraction, decimals, 10, QLatin1Char('0'));
    }
    if (!negative)
        return text;
    if (format == NumberFormat::Whole)
        return QLatin1Char('(') + text + QLatin1Char(')');
    return locale.negativeSign() + text;
}

std::optional<Thousandths> parseNumber(QStringView text, const QLocale& locale, int decimals)
{
    QString s = text.trimmed().toString();
    if (s.isEmpty())
        return std::nullopt;
    bool negative = false;
    if (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'))) {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    const QString group = locale.groupSeparator();
    if (!group.isEmpty())
        s.remove(group);
    if (s.startsWith(locale.negativeSign()) || s.startsWith(QLatin1Char('-'))) {
        negative = !negative;
        s.remove(0, 1);
    } else if (s.startsWith(locale.positiveSign()) || s.startsWith(QLatin1Char('+'))) {
        s.remove(0, 1);
    }
    const QString point = locale.decimalPoint();
    const qsizetype pointAt = s.indexOf(point);
    const QString whole = pointAt < 0 ? s : s.left(pointAt);
    const QString fraction = pointAt < 0 ? QString() : s.mid(pointAt + point.size());
    const auto allDigits = [](const QString& part) {
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        return true;
    };
    if ((whole.isEmpty() && fraction.isEmpty()) || !allDigits(whole) || !allDigits(fraction))
        return Thousandths{0};

    long double units = 0;
    Thousandths result = 0;
    bool overflow = false;
    for (QChar c : whole) {
        units = units * 10 + (c.unicode() - '0');
        if (units * 1000 >= static_cast<long double>(ThousandthsLimit)) {
            overflow = true;
            break;
        }
    }
    if (overflow) {
        result = ThousandthsLimit;
    } else {
        // The kept decimals, then whether the first dropped digit rounds
        // them up: the digits after it cannot change the half-way decision.
        const int kept = std::clamp(decimals, 0, 3);
        const Thousandths unit = powerOfTen(3 - kept);
        result = static_cast<Thousandths>(units) * 1000;
        result += (fraction + QStringLiteral("000")).left(kept).toLongLong() * unit;
        if (fraction.size() > kept && fraction[kept] >= QLatin1Char('5'))
            result += unit;
    }
    return negative ? -result : result;
}

QString generalFormat(Thousandths value, const QLocale& locale)
{
    if (value == 0)
        return QStringLiteral("0");
    const bool negative = value < 0;
    // All significant digits of |value| * 10^-3, and where the point goes.
    QString digits = QString::number(negative ? -value : value);
    int pointPos = static_cast<int>(digits.size()) - 3; // digits before the point
    while (digits.startsWith(QLatin1Char('0'))) {
        digits.remove(0, 1);
        --pointPos;
    }
    // At most 15 significant digits, rounded half up on the decimal digits.
    if (digits.size() > 15) {
        const bool up = digits[15] >= QLatin1Char('5');
        digits.truncate(15);
        if (up) {
            int i = 14;
            while (i >= 0 && digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
                --i;
            }
            if (i < 0) {
                digits.prepend(QLatin1Char('1'));
                digits.truncate(15);
                ++pointPos;
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
            }
        }
    }
    while (digits.endsWith(QLatin1Char('0')) && digits.size() > 1)
        digits.chop(1);

    QString text;
    if (pointPos > 15) {
        text = digits.left(1);
        if (digits.size() > 1)
            text += locale.decimalPoint() + digits.mid(1);
        text += QStringLiteral("E%1").arg(pointPos - 1);
    } else if (pointPos <= 0) {
        text = QStringLiteral("0") + locale.decimalPoint() + QString(-pointPos, QLatin1Char('0')) +
               digits;
    } else if (digits.size() <= pointPos) {
        text = digits + QString(pointPos - digits.size(), QLatin1Char('0'));
    } else {
        text = digits.left(pointPos) + locale.decimalPoint() + digits.mid(pointPos);
    }
    return negative ? locale.negativeSign() + text : text;
}

} // namespace hmk
