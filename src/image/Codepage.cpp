#include "Codepage.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

#include <cstring>

namespace hmk::cp936 {

namespace {

#ifndef _WIN32
// One conversion descriptor per direction and thread; iconv_open is not free
// and the descriptors keep no state between whole-buffer conversions.
class Converter
{
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t get() const { return cd_; }
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

private:
    iconv_t cd_;
};

Converter& toGbk()
{
    thread_local Converter c("CP936", "UTF-16LE");
    return c;
}

Converter& fromGbk()
{
    thread_local Converter c("UTF-16LE", "CP936");
    return c;
}

// Converts one character (one or two UTF-16 units) to code page bytes;
// appends "?" for a character the code page does not have.
void encodeUnit(const char16_t* units, int count, QByteArray& out)
{
    Converter& c = toGbk();
    char inBuf[4];
    std::memcpy(inBuf, units, static_cast<size_t>(count) * 2);
    char outBuf[8];
    char* in = inBuf;
    size_t inLeft = static_cast<size_t>(count) * 2;
    char* outp = outBuf;
    size_t outLeft = sizeof outBuf;
    iconv(c.get(), nullptr, nullptr, nullptr, nullptr);
    if (!c.valid() || iconv(c.get(), &in, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) {
        out += '?';
        return;
    }
    out.append(outBuf, static_cast<qsizetype>(outp - outBuf));
}
#endif

} // namespace

QByteArray encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
#ifdef _WIN32
    if (text.isEmpty())
        return out;
    const int n = WideCharToMultiByte(936, 0, reinterpret_cast<const wchar_t*>(text.utf16()),
                                      int(text.size()), nullptr, 0, nullptr, nullptr);
    out.resize(n);
    WideCharToMultiByte(936, 0, reinterpret_cast<const wchar_t*>(text.utf16()), int(text.size()),
                        out.data(), n, nullptr, nullptr);
#else
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = units[i];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(units[i + 1])) {
            encodeUnit(units + i, 2, out);
            ++i;
        } else {
            encodeUnit(units + i, 1, out);
        }
    }
#endif
    return out;
}

QString decode(QByteArrayView bytes)
{
#ifdef _WIN32
    if (bytes.isEmpty())
        return {};
    const int n = MultiByteToWideChar(936, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    QString out(n, Qt::Uninitialized);
    MultiByteToWideChar(936, 0, bytes.data(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
#else
    QString out;
    out.reserve(bytes.size());
    Converter& c = fromGbk();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char b = data[i];
        if (b < 0x80) {
            out += QChar(b);
            ++i;
            continue;
        }
        // Try the byte alone (0x80, the euro sign), then as a lead byte.
        bool done = false;
        for (int len = 1; len <= 2 && !done && i + len <= size; ++len) {
            char inBuf[2] = {static_cast<char>(data[i]),
                             len == 2 ? static_cast<char>(data[i + 1]) : '\0'};
            char outBuf[8];
            char* in = inBuf;
            size_t inLeft = static_cast<size_t>(len);
            char* outp = outBuf;
            size_t outLeft = sizeof outBuf;
            iconv(c.get(), nullptr, nullptr, nullptr, nullptr);
            if (c.valid() &&
                iconv(c.get(), &in, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1) &&
                inLeft == 0 && outp > outBuf) {
                out += QString::fromUtf16(reinterpret_cast<const char16_t*>(outBuf),
                                          (outp - outBuf) / 2);
                i += len;
                done = true;
            }
        }
        if (!done) {
            out += QChar(QChar::ReplacementCharacter);
            ++i;
        }
    }
    return out;
#endif
}

int byteCount(QStringView text)
{
    return static_cast<int>(encode(text).size());
}

QByteArray encodeTruncated(QStringView text, int maxBytes)
{
    QByteArray out;
    if (maxBytes <= 0)
        return out;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        const qsizetype len =
            (text[i].isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) ? 2 : 1;
        const QByteArray piece = encode(text.mid(i, len));
        if (out.size() + piece.size() > maxBytes)
            break;
        out += piece;
        i += len;
    }
    return out;
}

QString truncateToBytes(const QString& text, int maxBytes)
{
    if (byteCount(text) <= maxBytes)
        return text;
    return decode(encodeTruncated(text, maxBytes));
}

} // namespace hmk::cp936
