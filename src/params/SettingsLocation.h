#pragma once

// Where a program finds the shipped settings file. Beside the executable
// (as on Windows, and in a build tree) it wins; an installed program has
// none there and reads the copy in the data folder of its installation
// prefix, <prefix>/share/hmk725config/HMK725Config.ini, found from the
// executable's own folder so that the installation can be moved.

#include <QString>

namespace hmk {

// The name of the shipped settings file, which is also that of the installed copy.
inline const QString ShippedSettingsName = QStringLiteral("HMK725Config.ini");

// The settings file for an executable in `executableDir` whose own settings
// file is named `besideName` (the program: "HMK725Config.ini" from its own
// name; hkftool: the program's): that file beside the executable when it is
// a regular file, else the installed copy when that is one, else the file
// beside the executable, where loading then finds nothing.
QString locateSettingsFile(const QString& executableDir, const QString& besideName);

// The same for the running executable.
QString locateSettingsFile(const QString& besideName);

} // namespace hmk
