#pragma once

// What every hkftool command shares: its streams and name, option parsing
// with --help and usage errors, and reading a whole image.

#include "ToolCommands.h"
#include "image/CfgHMK725.h"
#include "params/ConfigOpener.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace hmk::tool {

struct Context
{
    QTextStream& out;
    QTextStream& err;
    QString command;

    int fail(int status, const QString& message)
    {
        err << "hkftool " << command << ": " << message << Qt::endl;
        return status;
    }
};

// The message, then how to get the command's help; returns BadUsage.
int usageError(Context& ctx, const QString& message);

// Parses a command's options. Returns an exit status when the command is
// to end here (help shown, or bad usage).
std::optional<int> parse(Context& ctx, QCommandLineParser& parser, const QStringList& args,
                         const char* usage);

// A whole image from a file. A file that cannot be read or is shorter than
// an image ends the command with BadUsage in `status`; a checksum that does
// not match is warned about.
std::optional<ImageFileOpen> loadImage(Context& ctx, const QString& path, int& status);

} // namespace hmk::tool
