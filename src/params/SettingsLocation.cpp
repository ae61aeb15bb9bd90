#include "SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace hmk {

QString locateSettingsFile(const QString& executableDir, const QString& besideName)
{
    const QDir dir(executableDir);
    const QString beside = dir.filePath(besideName);
    if (QFileInfo(beside).isFile())
        return beside;
    // The build gives the data folder relative to the program folder.
    const QString installed = QDir::cleanPath(
        dir.filePath(QStringLiteral(HMK_SETTINGS_FROM_BIN "/") + ShippedSettingsName));
    if (QFileInfo(installed).isFile())
        return installed;
    return beside;
}

QString locateSettingsFile(const QString& besideName)
{
    return locateSettingsFile(QCoreApplication::applicationDirPath(), besideName);
}

} // namespace hmk
