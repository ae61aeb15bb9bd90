// The byte rules of the two title fields, counted in code page 936 bytes:
// the 24-byte cut, the centring pad and the key rule.

#include "BootScreenModel.h"

#include "image/Codepage.h"
#include "image/ImageLayout.h"

#include <algorithm>

namespace hmk {

QString TruncateTitle(const QString& Text, int MaxBytes)
{
    // A double-byte character the cut would split is dropped whole: half a
    // character would decode to a replacement sign and take a byte that the
    // device would draw as garbage.
    return cp936::truncateToBytes(Text, MaxBytes);
}

QString CenterTitle(const QString& Title)
{
    const int d = layout::TitleRoom - cp936::byteCount(Title);
    if (d == 0)
        return Title;
    if (d % 2 == 0) {
        const QString pad(std::max(0, d / 2), QLatin1Char(' '));
        return pad + Title + pad;
    }
    // An odd gap puts the extra space behind; a 23-byte title still gets one
    // space in front, and what runs past the screen's edge is dropped.
    const QString pad(std::max(1, (d - 1) / 2), QLatin1Char(' '));
    return pad + Title + pad + QLatin1Char(' ');
}

bool titleKeyAccepted(const QString& currentText, char16_t key)
{
    constexpr char16_t CtrlV = 22;
    const bool grows = key >= 32 || key == CtrlV;
    return !grows || cp936::byteCount(currentText) < layout::TitleRoom;
}

QString titleCommitAccepted(const QString& before, const QString& kept, const QString& committed)
{
    QString taken;
    for (const char32_t c : committed.toUcs4()) {
        if (c < 32)
            continue;
        const QString current = taken.isEmpty() ? before : kept + taken;
        // Every character from a space up counts alike; only its bytes differ.
        if (titleKeyAccepted(current, char16_t(std::min<char32_t>(c, 0xFFFF))))
            taken += QString::fromUcs4(&c, 1);
    }
    return taken;
}

} // namespace hmk
