#include "ReportCommand.h"

#include "ToolCommands.h"
#include "params/ConfigOpener.h"
#include "params/IniFile.h"
#include "params/SettingsLoader.h"
#include "report/ServiceReport.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>

namespace hmk::tool {

namespace {

const char* const ReportUsage = R"(Usage: hkftool report FILE -o REPORT.pdf [--settings INI]

Writes the service report of a configuration image as an A4 PDF: the
configuration name, file name, date and the three block checksums; the boot
screen as the controller shows it, with the title texts and their faces; and
all 47 parameters by group with value, unit and factory value, the values
that differ from the factory ones marked. The factory values come from the
shipped HMK725Config.ini beside hkftool, or from the settings file given.

  -o, --output REPORT.pdf   the report to write (replaced atomically)
  --settings INI            the settings file with the factory values

An image whose checksums do not match gets no report (exit status 1).
)";

} // namespace

int runReport(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto fail = [&](int status, const QString& message) {
        err << "hkftool report: " << message << Qt::endl;
        return status;
    };
    const auto usage = [&](const QString& message) {
        fail(BadUsage, message);
        err << "Try \"hkftool report --help\"." << Qt::endl;
        return int(BadUsage);
    };

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("PDF"));
    const QCommandLineOption settings(QStringLiteral("settings"), {}, QStringLiteral("INI"));
    parser.addOptions({help, output, settings});
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    if (!parser.parse(QStringList{QStringLiteral("hkftool")} + args))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        out << ReportUsage;
        return Success;
    }
    if (parser.positionalArguments().size() != 1)
        return usage(QStringLiteral("give exactly one file"));
    if (!parser.isSet(output))
        return usage(QStringLiteral("no output file given (-o REPORT.pdf)"));

    const QString path = parser.positionalArguments().first();
    const ImageFileOpen image = openImageFile(path);
    if (!image.status.ok())
        return fail(BadUsage, image.status.error);
    if (image.check == ImageCheck::TooShort)
        return fail(BadUsage, QStringLiteral("%1: %2 bytes, shorter than 4096 bytes: not a "
                                             "configuration image")
                                  .arg(path)
                                  .arg(image.fileSize));
    if (image.check != ImageCheck::Ok)
        return fail(CheckFailed, QStringLiteral("%1: %2 block checksum does not match; no "
                                                "report of a damaged image")
                                     .arg(path, QLatin1String(describe(image.check))));

    const QString iniPath = parser.isSet(settings) ? parser.value(settings) : defaultSettingsPath();
    const IniFileLoad ini = IniFile::load(iniPath);
    if (!ini.status.ok())
        return fail(
            BadUsage,
            QStringLiteral("%1: the settings file cannot be read: %2").arg(iniPath, ini.reason));
    if (!ini)
        return fail(BadUsage, QStringLiteral("%1: the settings file cannot be read (no such "
                                             "file, or not a regular file)")
                                  .arg(iniPath));

    const ServiceReport report =
        reportOfImage(image.bytes, QFileInfo(path).fileName(), FactoryParamValues(*ini),
                      QDateTime::currentDateTime());
    const IoStatus written = writeServiceReport(report, parser.value(output));
    if (!written.ok())
        return fail(BadUsage, written.error);
    return Success;
}

} // namespace hmk::tool
