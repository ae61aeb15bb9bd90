#include "ToolCommands.h"

#include "CompareCommands.h"
#include "ImageBuild.h"
#include "ImageFields.h"
#include "ImageSource.h"
#include "PictureArgs.h"
#include "ReportCommand.h"
#include "ToolSupport.h"
#include "bootscreen/DeviceView.h"
#include "bootscreen/LcdColors.h"
#include "image/CfgHMK725.h"
#include "params/ConfigOpener.h"
#include "params/IniFile.h"
#include "params/SettingsLocation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <functional>
#include <optional>
#include <vector>

namespace hmk::tool {

namespace {

const char* const MainUsage = R"(Usage: hkftool COMMAND [ARGUMENTS]

Checks, shows, compares and builds HMK725 configuration images (.hkf) with the
same code as HMK725Config, without a screen.

Commands:
  verify FILE...        check size and the three block checksums
  dump FILE [--json]    every field of an image by its name
  render FILE -o PNG    the boot screen as a picture
  build -o FILE ...     build an image from the settings file and edits
  diff A B              the fields in which two images differ
  diff A --factory      what differs from the settings file's factory values
  diff A --last         what differs from its last-saved values
  check FILE...         values the window or the controller would not take
  report FILE -o PDF    the service report of an image, as an A4 PDF

"hkftool COMMAND --help" describes a command.
Exit status: 0 success, 1 a failed check or differing files, 2 bad usage or
input that cannot be read.
)";

const char* const VerifyUsage = R"(Usage: hkftool verify FILE...

Checks that each file is one configuration image: exactly 4096 bytes, with
matching checksums of the header, boot screen and parameter blocks. Prints one
line per file: "FILE: ok", or the first check it fails. Exit status 1 when a
file fails, 2 when one cannot be read.
)";

const char* const DumpUsage = R"(Usage: hkftool dump FILE [--json]

Prints every field of the image by its name: the header, the boot screen
(style, title texts and font names, their lengths), the 47 parameters in the
window's order with their labels and values in their units, and the 192 x 32
boot screen as 32 lines ("#" ink, "." background).

  --json   the same content as one JSON object

An image whose checksums do not match is shown all the same, with a warning
and exit status 1.
)";

const char* const RenderUsage =
    R"(Usage: hkftool render FILE -o OUT.png [--scale N] [--lcd] [--grid]

Writes the 192 x 32 boot screen stored in the image as a PNG picture, black
ink on white: each pixel as the controller shows it.

  -o, --output OUT.png   the picture to write
  --scale N              pixels per screen pixel, 1-64 (default 4)
  --lcd                  white ink on the LCD blue of the controller
  --grid                 a faint line along the top and left edge of every
                         screen pixel (needs --scale 3 or more)
)";

const char* const BuildUsage =
    R"(Usage: hkftool build -o FILE [--settings INI [--last] | --from SOURCE]
                     [--set NAME=VALUE]... [--picture IMAGE
                     [--threshold N] [--invert] [--fit]]

Builds a configuration image as the window saves it after reading a settings
file: the factory values of the shipped HMK725Config.ini (beside hkftool,
else the installed one in ../share/hmk725config), or of the file given. Then
each --set, then the picture. The configuration name comes from FILE's name,
as in the window.

  -o, --output FILE    the image to write (replaced atomically)
  --settings INI       the settings file to read
  --last               its last-saved sections instead of the factory ones
  --from SOURCE        start from a template instead of a settings file: a
                       .hkf image (its values as the window takes them in
                       when it opens the file) or the JSON of "hkftool dump
                       --json". Rebuilt unchanged under the source's own
                       name, it gives the source byte for byte.
  --set NAME=VALUE     a parameter by its settings-file name (PunchHeight=3.5,
                       FollowType=1 or FollowType=分段穿孔, IPAddress=10.1.1.20),
                       or MainTitle, SubTitle, MainTitleFont, SubTitleFont,
                       DefaultTitle (0/1, also named UseDefaultScreen),
                       NotEnableParam (0/1).
                       Values are checked: within the parameter's limits,
                       no more decimals than its field shows, a valid address.
  --picture IMAGE      a 192 x 32 bitmap; switches to the picture boot screen.
                       Its pure black pixels are ink, unless:
  --threshold N        pixels darker than brightness N (1-254) are ink
  --invert             ink and background exchanged
  --fit                a picture of another size is scaled to fit 192 x 32,
                       keeping its aspect ratio, centred on background
                       (without it, such a picture is refused)
)";

} // namespace

int usageError(Context& ctx, const QString& message)
{
    ctx.fail(BadUsage, message);
    ctx.err << "Try \"hkftool " << ctx.command << " --help\"." << Qt::endl;
    return BadUsage;
}

// Parses a command's options. Returns an exit status when the command is
// to end here (help shown, or bad usage).
std::optional<int> parse(Context& ctx, QCommandLineParser& parser, const QStringList& args,
                         const char* usage)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    if (!parser.parse(QStringList{QStringLiteral("hkftool")} + args))
        return usageError(ctx, parser.errorText());
    if (parser.isSet(help)) {
        ctx.out << usage;
        return Success;
    }
    return std::nullopt;
}

std::optional<ImageFileOpen> loadImage(Context& ctx, const QString& path, int& status)
{
    ImageFileOpen image = openImageFile(path);
    if (!image.status.ok()) {
        status = ctx.fail(BadUsage, image.status.error);
        return std::nullopt;
    }
    if (image.check == ImageCheck::TooShort) {
        status = ctx.fail(BadUsage, QStringLiteral("%1: %2 bytes, shorter than 4096 bytes: not a "
                                                   "configuration image")
                                        .arg(path)
                                        .arg(image.bytes.size()));
        return std::nullopt;
    }
    if (image.check != ImageCheck::Ok)
        ctx.err << "hkftool " << ctx.command << ": warning: " << path << ": "
                << describe(image.check) << " block checksum does not match" << Qt::endl;
    return image;
}

namespace {

int verify(Context& ctx, const QStringList& args)
{
    QCommandLineParser parser;
    if (auto status = parse(ctx, parser, args, VerifyUsage))
        return *status;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usageError(ctx, QStringLiteral("no file given"));

    int status = Success;
    for (const QString& path : files) {
        const ImageFileOpen image = openImageFile(path);
        if (!image.status.ok()) {
            ctx.fail(BadUsage, image.status.error);
            status = BadUsage;
            continue;
        }
        // A .hkf file is exactly the image; the window reads the first 4096
        // bytes of a longer one, but a file from the field that has grown is
        // not what was written and is reported.
        QString result;
        if (image.check == ImageCheck::TooShort)
            result =
                QStringLiteral("failed: shorter than 4096 bytes (%1 bytes)").arg(image.fileSize);
        else if (image.longer())
            result =
                QStringLiteral("failed: longer than 4096 bytes (%1 bytes)").arg(image.fileSize);
        else if (image.check != ImageCheck::Ok)
            result = QStringLiteral("failed: %1 block checksum does not match")
                         .arg(QString::fromLatin1(describe(image.check)));
        else
            result = QStringLiteral("ok");
        ctx.out << path << ": " << result << Qt::endl;
        if (result != QLatin1String("ok") && status == Success)
            status = CheckFailed;
    }
    return status;
}

int dump(Context& ctx, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"));
    parser.addOption(json);
    if (auto status = parse(ctx, parser, args, DumpUsage))
        return *status;
    if (parser.positionalArguments().size() != 1)
        return usageError(ctx, QStringLiteral("give exactly one file"));

    int status = Success;
    const auto image = loadImage(ctx, parser.positionalArguments().first(), status);
    if (!image)
        return status;
    const QList<ImageField> fields = imageFields(image->data());
    if (parser.isSet(json))
        ctx.out << dumpJson(fields, QString::fromLatin1(describe(image->check)));
    else
        ctx.out << dumpText(fields);
    ctx.out.flush();
    return image->check == ImageCheck::Ok ? Success : CheckFailed;
}

int render(Context& ctx, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("OUT"));
    const QCommandLineOption scaleOption(QStringLiteral("scale"), {}, QStringLiteral("N"),
                                         QStringLiteral("4"));
    const QCommandLineOption lcd(QStringLiteral("lcd"));
    const QCommandLineOption grid(QStringLiteral("grid"));
    parser.addOptions({output, scaleOption, lcd, grid});
    if (auto status = parse(ctx, parser, args, RenderUsage))
        return *status;
    if (parser.positionalArguments().size() != 1)
        return usageError(ctx, QStringLiteral("give exactly one file"));
    if (!parser.isSet(output))
        return usageError(ctx, QStringLiteral("no output picture given (-o OUT.png)"));
    bool numeric = false;
    const int scale = parser.value(scaleOption).toInt(&numeric);
    if (!numeric || scale < 1 || scale > 64)
        return usageError(ctx,
                          QStringLiteral("--scale takes a whole number from 1 to 64, not \"%1\"")
                              .arg(parser.value(scaleOption)));
    if (parser.isSet(grid) && scale < MinGridScale)
        return usageError(ctx, QStringLiteral("--grid needs --scale %1 or more, or the grid "
                                              "would hide the pixels")
                                   .arg(MinGridScale));

    int status = Success;
    const auto image = loadImage(ctx, parser.positionalArguments().first(), status);
    if (!image)
        return status;

    // Two colours (four with the grid), as the window's device view draws.
    const DeviceViewStyle style{scale, parser.isSet(lcd) ? LcdInk : QColor(Qt::black),
                                parser.isSet(lcd) ? LcdBlue : QColor(Qt::white),
                                parser.isSet(grid)};
    const QImage picture =
        deviceView(image->bytes.sliced(layout::LogoPixelFonts, layout::LogoPixelFontsSize), style);
    const QString path = parser.value(output);
    if (!picture.save(path, "PNG"))
        return ctx.fail(BadUsage, QStringLiteral("%1: the picture cannot be written").arg(path));
    return image->check == ImageCheck::Ok ? Success : CheckFailed;
}

int build(Context& ctx, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("FILE"));
    const QCommandLineOption settings(QStringLiteral("settings"), {}, QStringLiteral("INI"));
    const QCommandLineOption last(QStringLiteral("last"));
    const QCommandLineOption set(QStringLiteral("set"), {}, QStringLiteral("NAME=VALUE"));
    const QCommandLineOption picture(QStringLiteral("picture"), {}, QStringLiteral("IMAGE"));
    const PictureArgs pictureArgs;
    const QCommandLineOption from(QStringLiteral("from"), {}, QStringLiteral("SOURCE"));
    parser.addOptions({output, settings, last, set, picture, from});
    parser.addOptions(pictureArgs.all());
    if (auto status = parse(ctx, parser, args, BuildUsage))
        return *status;
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            ctx,
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    if (!parser.isSet(output))
        return usageError(ctx, QStringLiteral("no output file given (-o FILE)"));

    BuildRequest request;
    request.output = parser.value(output);
    request.last = parser.isSet(last);
    request.picture = parser.value(picture);
    if (const QString wrong =
            pictureArgs.read(parser, parser.isSet(picture), request.pictureOptions);
        !wrong.isEmpty())
        return usageError(ctx, wrong);
    for (const QString& assignment : parser.values(set)) {
        const qsizetype eq = assignment.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return usageError(ctx,
                              QStringLiteral("--set takes NAME=VALUE, not \"%1\"").arg(assignment));
        request.sets.append({assignment.left(eq), assignment.mid(eq + 1)});
    }

    IniFileLoad ini;
    if (parser.isSet(from)) {
        if (parser.isSet(settings) || parser.isSet(last))
            return usageError(ctx,
                              QStringLiteral("--from starts from its source instead of a "
                                             "settings file; leave out --settings and --last"));
        const SourceImage source = readSourceImage(parser.value(from));
        if (!source.ok())
            return ctx.fail(BadUsage, source.error);
        request.from = source.bytes;
        ini.file = IniFile();
    } else {
        const QString iniPath =
            parser.isSet(settings) ? parser.value(settings) : defaultSettingsPath();
        ini = IniFile::load(iniPath);
        if (!ini.status.ok())
            return ctx.fail(BadUsage, QStringLiteral("%1: the settings file cannot be read: %2")
                                          .arg(iniPath, ini.reason));
        if (!ini)
            return ctx.fail(BadUsage, QStringLiteral("%1: the settings file cannot be read (no "
                                                     "such file, or not a regular file)")
                                          .arg(iniPath));
    }

    THMK725ConfigData config;
    const BuildResult result = buildImage(request, *ini, config);
    for (const QString& warning : result.warnings)
        ctx.err << "hkftool build: warning: " << warning << Qt::endl;
    if (!result.ok())
        return ctx.fail(BadUsage, result.error);
    const IoStatus saved = config.SaveToFile(request.output);
    if (!saved.ok())
        return ctx.fail(BadUsage, saved.error);
    return Success;
}

int report(Context& ctx, const QStringList& args)
{
    return runReport(args, ctx.out, ctx.err);
}

} // namespace

QString defaultSettingsPath()
{
    return locateSettingsFile(ShippedSettingsName);
}

namespace {

struct Command
{
    const char* name;
    std::function<int(Context&, const QStringList&)> run;
    bool needsGui;
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> list{{"verify", verify, false}, {"dump", dump, false},
                                           {"render", render, true},  {"build", build, true},
                                           {"diff", diff, false},     {"check", check, false},
                                           {"report", report, true}};
    return list;
}

} // namespace

bool commandNeedsGui(const QStringList& args)
{
    if (args.isEmpty())
        return false;
    // Comparing with the settings file builds a fresh window's boot screen,
    // which takes the fonts.
    if (args.first() == QLatin1String("diff"))
        return args.contains(QLatin1String("--factory")) || args.contains(QLatin1String("--last"));
    for (const Command& c : commands()) {
        if (args.first() == QLatin1String(c.name))
            return c.needsGui;
    }
    return false;
}

int runTool(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        err << MainUsage;
        return BadUsage;
    }
    const QString& name = args.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        out << MainUsage;
        return Success;
    }
    for (const Command& command : commands()) {
        if (name == QLatin1String(command.name)) {
            Context ctx{out, err, name};
            return command.run(ctx, args.mid(1));
        }
    }
    err << "hkftool: unknown command \"" << name << "\"" << Qt::endl << Qt::endl << MainUsage;
    return BadUsage;
}

} // namespace hmk::tool
