#include "ToolCommands.h"

#include "ImageBuild.h"
#include "ImageFields.h"
#include "bootscreen/LcdColors.h"
#include "image/CfgHMK725.h"
#include "params/ConfigOpener.h"
#include "params/IniFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <functional>
#include <optional>

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

const char* const RenderUsage = R"(Usage: hkftool render FILE -o OUT.png [--scale N] [--lcd]

Writes the 192 x 32 boot screen stored in the image as a PNG picture, black
ink on white.

  -o, --output OUT.png   the picture to write
  --scale N              pixels per screen pixel, 1-64 (default 4)
  --lcd                  white ink on the LCD blue of the controller
)";

const char* const BuildUsage = R"(Usage: hkftool build -o FILE [--settings INI] [--last]
                     [--set NAME=VALUE]... [--picture IMAGE]

Builds a configuration image as the window saves it after reading a settings
file: the factory values of the shipped HMK725Config.ini beside hkftool, or
of the file given. Then each --set, then the picture. The configuration name
comes from FILE's name, as in the window.

  -o, --output FILE    the image to write (replaced atomically)
  --settings INI       the settings file to read
  --last               its last-saved sections instead of the factory ones
  --set NAME=VALUE     a parameter by its settings-file name (PunchHeight=3.5,
                       FollowType=1 or FollowType=分段穿孔, IPAddress=10.1.1.20),
                       or MainTitle, SubTitle, MainTitleFont, SubTitleFont,
                       DefaultTitle (0/1, also named UseDefaultScreen),
                       NotEnableParam (0/1).
                       Values are checked: within the parameter's limits,
                       no more decimals than its field shows, a valid address.
  --picture IMAGE      a 192 x 32 bitmap; switches to the picture boot screen
)";

const char* const DiffUsage = R"(Usage: hkftool diff A B

Lists the fields in which two images differ, by name, with both values.
Exit status 0 when none differ, 1 when some do.
)";

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

// A whole image from a file, or the exit status to end with.
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
    parser.addOptions({output, scaleOption, lcd});
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

    int status = Success;
    const auto image = loadImage(ctx, parser.positionalArguments().first(), status);
    if (!image)
        return status;

    // Two colours, written as a 1-bit picture: ink on background.
    QImage picture(layout::ScreenWidth * scale, layout::ScreenHeight * scale, QImage::Format_Mono);
    const QRgb background = parser.isSet(lcd) ? LcdBlue.rgb() : qRgb(0xFF, 0xFF, 0xFF);
    const QRgb ink = parser.isSet(lcd) ? LcdInk.rgb() : qRgb(0, 0, 0);
    picture.setColorTable({background, ink});
    picture.fill(0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (screenPixel(image->data(), x / scale, y / scale))
                picture.setPixel(x, y, 1);
        }
    }
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
    parser.addOptions({output, settings, last, set, picture});
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
    for (const QString& assignment : parser.values(set)) {
        const qsizetype eq = assignment.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return usageError(ctx,
                              QStringLiteral("--set takes NAME=VALUE, not \"%1\"").arg(assignment));
        request.sets.append({assignment.left(eq), assignment.mid(eq + 1)});
    }

    const QString iniPath = parser.isSet(settings) ? parser.value(settings) : defaultSettingsPath();
    const IniFileLoad ini = IniFile::load(iniPath);
    if (!ini.status.ok())
        return ctx.fail(
            BadUsage,
            QStringLiteral("%1: the settings file cannot be read: %2").arg(iniPath, ini.reason));
    if (!ini)
        return ctx.fail(BadUsage, QStringLiteral("%1: the settings file cannot be read (no such "
                                                 "file, or not a regular file)")
                                      .arg(iniPath));

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

int diff(Context& ctx, const QStringList& args)
{
    QCommandLineParser parser;
    if (auto status = parse(ctx, parser, args, DiffUsage))
        return *status;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return usageError(ctx, QStringLiteral("give exactly two files"));

    int status = Success;
    const auto a = loadImage(ctx, files[0], status);
    if (!a)
        return status;
    const auto b = loadImage(ctx, files[1], status);
    if (!b)
        return status;

    const QList<ImageField> fa = imageFields(a->data());
    const QList<ImageField> fb = imageFields(b->data());
    const auto shown = [](const ImageField& f) {
        return f.unit.isEmpty() ? f.text : f.text + QLatin1Char(' ') + f.unit;
    };
    bool differ = false;
    for (qsizetype i = 0; i < fa.size(); ++i) {
        if (fa[i].text == fb[i].text)
            continue;
        differ = true;
        if (fa[i].section == FieldSection::Screen) {
            int pixels = 0;
            for (int y = 0; y < layout::ScreenHeight; ++y)
                for (int x = 0; x < layout::ScreenWidth; ++x)
                    pixels += screenPixel(a->data(), x, y) != screenPixel(b->data(), x, y);
            ctx.out << fa[i].name << ": " << pixels << " of 6144 pixels differ" << Qt::endl;
        } else {
            ctx.out << fa[i].name << ": " << shown(fa[i]) << " -> " << shown(fb[i]) << Qt::endl;
        }
    }
    return differ ? CheckFailed : Success;
}

} // namespace

QString defaultSettingsPath()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("HMK725Config.ini"));
}

int runTool(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const std::pair<const char*, std::function<int(Context&, const QStringList&)>> commands[] = {
        {"verify", verify}, {"dump", dump}, {"render", render}, {"build", build}, {"diff", diff}};

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
    for (const auto& [command, run] : commands) {
        if (name == QLatin1String(command)) {
            Context ctx{out, err, name};
            return run(ctx, args.mid(1));
        }
    }
    err << "hkftool: unknown command \"" << name << "\"" << Qt::endl << Qt::endl << MainUsage;
    return BadUsage;
}

} // namespace hmk::tool
