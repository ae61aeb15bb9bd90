#pragma once

// A reader for the settings file with the semantics of the Windows
// private-profile functions, which is what the file has always been read
// with: [Section] headers and Key=Value lines, names matched without regard
// to letter case, the first of duplicate keys wins, blanks around keys and
// values trimmed, one pair of matching quotes around a value dropped, no
// inline comments, ";" starting a comment line, values cut to 2047
// characters. QSettings reads differently and is not used for it.
//
// Encodings: UTF-16 with a byte-order mark, UTF-8 (with or without a BOM),
// otherwise code page 936.

#include "image/CfgHMK725.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <optional>

namespace hmk {

struct IniFileLoad;

class IniFile
{
public:
    // Parses text already in memory (the bytes of a file).
    static IniFile fromBytes(QByteArrayView bytes);
    // Reads and parses a file. Only a regular file (or a link to one) is
    // opened: a pipe or a device could block or never end.
    static IniFileLoad load(const QString& path);

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // A decimal integer, or hexadecimal after "0x"/"0X"; the whole value must
    // be the number ("12abc" gives the default).
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // An integer as ReadInteger takes it: 0 false, anything else true.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // A decimal number with the locale's decimal separator, optional exponent.
    double ReadFloat(const QString& section, const QString& key, double def) const;

    bool hasKey(const QString& section, const QString& key) const;

private:
    std::optional<QString> value(const QString& section, const QString& key) const;

    // lower-cased section -> lower-cased key -> value (first occurrence)
    QHash<QString, QHash<QString, QString>> sections_;
};

// What IniFile::load found at a path.
struct IniFileLoad
{
    // The parsed file; nothing when there is no file there or it cannot be
    // read.
    std::optional<IniFile> file;
    // Not ok when something is at the path but cannot be read (a folder, a
    // pipe or device, no permission, an I/O error): names the file and the
    // reason. A path where nothing is, or an empty one, is no error.
    IoStatus status;
    // That reason alone in English, for hkftool: "is a folder", "is not a
    // regular file" or the system's own words.
    QString reason;

    explicit operator bool() const { return file.has_value(); }
    const IniFile& operator*() const { return *file; }
    const IniFile* operator->() const { return &*file; }
};

// The settings file of this program: the executable's full path with its
// extension replaced by ".ini" (appended where it has none), worked out
// afresh on every call.
QString settingsFilePath();

} // namespace hmk
