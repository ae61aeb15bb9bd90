#include "ConfigBuilder.h"

#include "bootscreen/BootScreenModel.h"

#include <QStringList>
#include <algorithm>

namespace hmk {

namespace {

const ParamValue& valueOf(const ParamValues& values, const char* name)
{
    return values[paramIndex(*findParam(QString::fromLatin1(name)))];
}

void exportParams(const ParamValues& values, THMK725ConfigData& config)
{
    for (const ParamEntry& entry : catalogue()) {
        const ParamValue& value = values[paramIndex(entry)];
        switch (entry.kind) {
        case ControlKind::Numeric: {
            // Decimal fields store their thousandths as they are, a negative
            // coordinate as its two's complement; whole fields their units.
            // A coordinate is read back signed, so one beyond 32 signed bits
            // is held at its own end: above 2147483.647 it would otherwise be
            // held at FF FF FF FF and come back as -0.001.
            Thousandths stored = value.number;
            if (entry.storedSigned())
                stored = std::clamp<Thousandths>(stored, INT32_MIN, INT32_MAX);
            else if (entry.integersOnly())
                stored /= 1000;
            config.SetByIndex(entry.offset, imageWord(stored));
            break;
        }
        case ControlKind::Choice:
            // Nothing selected is -1, stored as FF FF FF FF.
            config.SetByIndex(entry.offset, static_cast<quint32>(value.choice));
            break;
        case ControlKind::Address:
            // The group's three addresses go in together when the first
            // comes up, before NetEnable.
            if (entry.offset == layout::IPAddress)
                config.ExportNet(valueOf(values, "IPAddress").text,
                                 valueOf(values, "SubnetMask").text,
                                 valueOf(values, "Gateway").text);
            break;
        }
    }
}

} // namespace

bool CheckNetAddress(const QString& text, bool mask)
{
    // Split as a text list splits lines: a break at the very end starts no
    // extra part.
    QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() > 1 && parts.last().isEmpty())
        parts.removeLast();
    if (parts.size() != 4)
        return false;
    const int highest = mask ? 255 : 254;
    for (const QString& part : parts) {
        if (part.isEmpty())
            return false;
        int value = 0;
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
            value = value * 10 + (c.unicode() - '0');
            if (value > highest)
                return false;
        }
    }
    return true;
}

ExportResult ExportConfig(const QString& path, const ParamValues& values, BootScreenModel& boot,
                          THMK725ConfigData& config)
{
    const bool screenOnly = boot.notEnableParam();
    if (!screenOnly) {
        if (!CheckNetAddress(valueOf(values, "IPAddress").text, false) ||
            !CheckNetAddress(valueOf(values, "SubnetMask").text, true) ||
            !CheckNetAddress(valueOf(values, "Gateway").text, false))
            return ExportResult::RefusedNetAddress;
    }
    config.ExportHeadFile(path, boot.useDefaultScreen(), screenOnly);
    boot.exportScreen(config);
    if (!screenOnly)
        exportParams(values, config);
    config.ExportCRC();
    return ExportResult::Built;
}

} // namespace hmk
