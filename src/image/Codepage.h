#pragma once

// Code page 936 (GBK), the code page of every text stored in the image and of
// every byte count of a title or font name. Never the locale's encoding: an
// image made on a Chinese Windows machine must read the same everywhere.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace hmk::cp936 {

// Characters that the code page lacks become "?", as the Windows conversion
// does.
QByteArray encode(QStringView text);

// Bytes that do not decode (a lone lead byte, an undefined pair) become
// U+FFFD; decoding never fails.
QString decode(QByteArrayView bytes);

// Number of bytes `text` takes in the code page.
int byteCount(QStringView text);

// The first `maxBytes` bytes of `text` converted back to text; `text`
// itself when it is no longer. A double-byte character that the cut would
// split is dropped whole, so the result never takes more than `maxBytes`.
QString truncateToBytes(const QString& text, int maxBytes);

// The first bytes of `text`, at most `maxBytes`, never ending in half a
// double-byte character.
QByteArray encodeTruncated(QStringView text, int maxBytes);

} // namespace hmk::cp936
