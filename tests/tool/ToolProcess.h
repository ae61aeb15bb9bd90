#pragma once

// hkftool run as a separate process, as engineers and scripts run it.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace hmk {

inline const QString Tool = QStringLiteral(HMK_BIN_DIR "/hkftool");

// What a run gave; status -1 when it did not end normally within 30 s.
struct Run
{
    int status = -1;
    QString out;
    QString err;
};

inline Run hkftool(const QStringList& args,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(Tool, args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace hmk
