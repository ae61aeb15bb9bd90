#pragma once

// Reading and writing whole files, for the tests that compare saved bytes or
// put prepared bytes on disk.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace hmk {

// The file's bytes; empty when it cannot be opened.
inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// True when every byte was written.
inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace hmk
