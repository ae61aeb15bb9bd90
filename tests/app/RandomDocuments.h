#pragma once

// Random documents for window tests: every parameter anywhere within its
// field's limits and decimals, any choice or none, valid addresses, titles
// of ASCII and Chinese, and 192 x 32 pictures, from a seeded generator so a
// failing run can be repeated.

#include "image/Codepage.h"
#include "image/ImageLayout.h"
#include "params/ParamCatalogue.h"
#include "params/ParamValues.h"

#include <QImage>
#include <QRandomGenerator>
#include <QStringList>

namespace hmk {

class RandomDocuments
{
public:
    explicit RandomDocuments(quint32 seed) : FRandom(seed) {}

    int between(int low, int high) { return FRandom.bounded(low, high + 1); }
    qint64 between64(qint64 low, qint64 high)
    {
        return low + qint64(FRandom.bounded(quint64(high - low + 1)));
    }
    bool coin() { return FRandom.bounded(2) == 1; }

    ParamValues values()
    {
        ParamValues values;
        for (const ParamEntry& entry : catalogue()) {
            ParamValue& v = values[paramIndex(entry)];
            switch (entry.kind) {
            case ControlKind::Numeric: {
                // Any value the field can show: a multiple of its last decimal.
                qint64 step = 1;
                for (int i = entry.decimals(); i < 3; ++i)
                    step *= 10;
                // The coordinates have no limits; the image holds 32 bits.
                const qint64 low = entry.hasLimits() ? entry.min : qint64(INT32_MIN) + step;
                const qint64 high = entry.hasLimits() ? entry.max : qint64(INT32_MAX);
                // Division truncates toward zero: up for the negative low.
                const qint64 lowSteps = low >= 0 ? (low + step - 1) / step : low / step;
                v.number = between64(lowSteps, high / step) * step;
                break;
            }
            case ControlKind::Choice:
                v.choice = between(-1, entry.choiceCount() - 1);
                break;
            case ControlKind::Address:
                v.text = address(entry);
                break;
            }
        }
        return values;
    }

    // A dotted quad that a save accepts for this address field.
    QString address(const ParamEntry& entry)
    {
        const int highest = qstrcmp(entry.name, "SubnetMask") == 0 ? 255 : 254;
        return QStringLiteral("%1.%2.%3.%4")
            .arg(between(0, highest))
            .arg(between(0, highest))
            .arg(between(0, highest))
            .arg(between(0, highest));
    }

    // Up to maxBytes code page 936 bytes of ASCII and Chinese.
    QString title(int maxBytes = layout::TitleRoom)
    {
        static const QString chinese =
            QStringLiteral("调高器独立式配置文件生成工具开机画面参数切割机");
        const int room = between(0, maxBytes);
        QString text;
        while (true) {
            const QChar c = coin() ? chinese[between(0, int(chinese.size()) - 1)]
                                   : QChar(char16_t(between(0x20, 0x7e)));
            if (cp936::encode(text + c).size() > room)
                return text;
            text += c;
        }
    }

    QString pick(const QStringList& list) { return list[between(0, int(list.size()) - 1)]; }

    // A 192 x 32 bitmap with random black pixels.
    QImage picture()
    {
        QImage image(layout::ScreenWidth, layout::ScreenHeight, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, coin() ? 0xff000000 : 0xffffffff);
        return image;
    }

private:
    QRandomGenerator FRandom;
};

} // namespace hmk
