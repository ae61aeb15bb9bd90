#include "PictureArgs.h"

namespace hmk::tool {

QString PictureArgs::read(const QCommandLineParser& parser, bool hasPicture,
                          PictureOptions& options) const
{
    options = {};
    const bool any = parser.isSet(threshold) || parser.isSet(invert) || parser.isSet(fit);
    if (any && !hasPicture)
        return QStringLiteral("--threshold, --invert and --fit apply to a picture; give it with "
                              "--picture IMAGE");
    if (parser.isSet(threshold)) {
        bool numeric = false;
        const int n = parser.value(threshold).toInt(&numeric);
        if (!numeric || n < PictureOptions::MinThreshold || n > PictureOptions::MaxThreshold)
            return QStringLiteral("--threshold takes a whole number from %1 to %2, not \"%3\"")
                .arg(PictureOptions::MinThreshold)
                .arg(PictureOptions::MaxThreshold)
                .arg(parser.value(threshold));
        options.ink = PictureOptions::InkRule::Threshold;
        options.threshold = n;
    }
    options.invert = parser.isSet(invert);
    options.fit = parser.isSet(fit);
    return {};
}

} // namespace hmk::tool
