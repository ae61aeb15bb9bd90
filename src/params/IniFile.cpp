#include "IniFile.h"

#include "image/Codepage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <cmath>

namespace hmk {

namespace {

// The reader's buffer holds 2048 UTF-16 units, the last one the terminator.
constexpr qsizetype MaxValueLength = 2047;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

// Only the blanks the private-profile reader drops: a full-width space that
// opens a Chinese hint is part of the text.
QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QString decodeText(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes.sliced(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringDecoder::Utf8)(bytes.sliced(3));
    // A file saved by a Windows editor without a byte-order mark is in the
    // ANSI code page; one saved by anything newer is UTF-8. Text in code page
    // 936 is practically never valid UTF-8, so validity decides.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return cp936::decode(bytes);
}

// The private-profile reader drops one pair of matching quotes around a
// value, so a hint can keep blanks at its ends.
QStringView unquote(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QString cutToLimit(QStringView value)
{
    if (value.size() <= MaxValueLength)
        return value.toString();
    QStringView cut = value.left(MaxValueLength);
    // Never end in half a surrogate pair.
    if (cut.back().isHighSurrogate())
        cut.chop(1);
    return cut.toString();
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The whole text as a 32-bit integer: decimal with an optional sign, or up
// to eight hex digits after "0x". Anything else, "12abc" included, is not
// accepted, so a value that is not wholly a number falls back to the default
// instead of turning into a different number.
std::optional<int> parseInteger(QStringView text)
{
    bool ok = false;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const QStringView digits = text.mid(2);
        for (QChar c : digits)
            if (!isHexDigit(c))
                return std::nullopt;
        const qulonglong value = digits.toULongLong(&ok, 16);
        if (!ok || value > 0xFFFFFFFFull)
            return std::nullopt;
        return static_cast<int>(static_cast<quint32>(value));
    }
    // toInt would also take surrounding blanks; the value is trimmed already,
    // so blanks left inside ("1 2") correctly fail.
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

IniFile IniFile::fromBytes(QByteArrayView bytes)
{
    IniFile ini;
    const QString text = decodeText(bytes);
    QHash<QString, QString>* section = nullptr;
    for (QStringView rawLine : QStringView(text).split(u'\n')) {
        const QStringView line = trimBlanks(rawLine);
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.lastIndexOf(u']');
            if (close < 0) {
                section = nullptr;
                continue;
            }
            // A repeated section carries on the first one.
            const QString name = trimBlanks(line.mid(1, close - 1)).toString().toCaseFolded();
            section = &ini.sections_[name];
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!section || eq <= 0)
            continue;
        const QString key = trimBlanks(line.left(eq)).toString().toCaseFolded();
        if (key.isEmpty() || section->contains(key))
            continue; // the first of duplicate keys wins
        section->insert(key, cutToLimit(unquote(trimBlanks(line.mid(eq + 1)))));
    }
    return ini;
}

IniFileLoad IniFile::load(const QString& path)
{
    IniFileLoad load;
    const auto failure = [&](const QString& reason, const QString& english) {
        load.status = IoStatus{
            QStringLiteral("无法读取设置文件“%1”：%2").arg(QDir::toNativeSeparators(path), reason)};
        load.reason = english;
        return load;
    };
    const QFileInfo info(path);
    // A dangling link is nothing to read, as a missing file.
    if (path.isEmpty() || !info.exists())
        return load;
    if (info.isDir())
        return failure(IsFolderReason, QStringLiteral("is a folder"));
    if (!info.isFile())
        return failure(NotRegularFileReason, QStringLiteral("is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString(), file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(file.errorString(), file.errorString());
    load.file = fromBytes(bytes);
    return load;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    const auto s = sections_.constFind(section.trimmed().toCaseFolded());
    if (s == sections_.cend())
        return std::nullopt;
    const auto v = s->constFind(key.trimmed().toCaseFolded());
    if (v == s->cend())
        return std::nullopt;
    return *v;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return value(section, key).has_value();
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    return value(section, key).value_or(def);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const std::optional<QString> text = value(section, key);
    if (!text)
        return def;
    return parseInteger(*text).value_or(def);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    const std::optional<QString> text = value(section, key);
    if (!text || text->isEmpty())
        return def;
    // The user's locale decides the decimal separator; a group separator is
    // not part of a number here, so "3,5" under a point locale is refused
    // rather than read as 35.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double number = locale.toDouble(*text, &ok);
    if (!ok || !std::isfinite(number))
        return def;
    return number;
}

QString settingsFilePath()
{
    const QString exe = QCoreApplication::applicationFilePath();
    if (exe.isEmpty())
        return {};
    const QFileInfo info(exe);
    const QString suffix = info.suffix();
    const QString stem = suffix.isEmpty() ? exe : exe.left(exe.size() - suffix.size() - 1);
    return stem + QStringLiteral(".ini");
}

} // namespace hmk
