#pragma once

// The sub-commands of hkftool. Each returns the process's exit status:
// 0 success, 1 a failed check (a checksum that does not match, files that
// differ), 2 bad usage or input that cannot be read. Results go to `out`,
// messages to `err`.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace hmk::tool {

enum ExitStatus
{
    Success = 0,
    CheckFailed = 1,
    BadUsage = 2,
};

// `args` are the arguments after the program name: the sub-command first.
int runTool(const QStringList& args, QTextStream& out, QTextStream& err);

// Whether the command line (the sub-command first) draws text or pictures
// and so needs the GUI application object (fonts, a platform plugin). The
// commands that only read and compare images run on a QCoreApplication:
// quicker to start, and they work where no platform plugin can load (a
// server, a container, CI).
bool commandNeedsGui(const QStringList& args);

// The shipped settings file: HMK725Config.ini beside the executable, else
// the installed copy.
QString defaultSettingsPath();

} // namespace hmk::tool
