#pragma once

// The picture import options of hkftool build, as the window's import
// dialog offers them: --threshold N, --invert, --fit.

#include "bootscreen/BootPicture.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

namespace hmk::tool {

struct PictureArgs
{
    QCommandLineOption threshold{QStringLiteral("threshold"), {}, QStringLiteral("N")};
    QCommandLineOption invert{QStringLiteral("invert")};
    QCommandLineOption fit{QStringLiteral("fit")};
    QList<QCommandLineOption> all() const { return {threshold, invert, fit}; }

    // The options given; the message when one is wrong or given without a
    // picture.
    QString read(const QCommandLineParser& parser, bool hasPicture, PictureOptions& options) const;
};

} // namespace hmk::tool
