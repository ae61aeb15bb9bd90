#include "CompareCommands.h"

#include "ImageFields.h"
#include "bootscreen/BootScreenModel.h"
#include "params/ConfigOpener.h"
#include "params/DocumentCompare.h"
#include "params/ImageFindings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace hmk::tool {

namespace {

const char* const DiffUsage = R"(Usage: hkftool diff A B [--json]
       hkftool diff A --factory|--last [--settings INI] [--json]

Lists the fields in which two images differ, by name, with both values.

With --factory or --last, compares image A as a fresh window opens it with
what a fresh window loads from the settings file: its factory values or its
last-saved ones. The shipped HMK725Config.ini beside hkftool is read, or the
file given. Parameters and boot screen are compared, each value as the
window's pages show it; the header's configuration name is not. An image
without parameters compares its boot screen only. An image that the window
would refuse to open (a checksum that does not match) is not compared.

  --factory        compare with the settings file's factory values
  --last           compare with its last-saved values
  --settings INI   the settings file to read
  --json           the differences as a JSON array of objects: name, label,
                   a (the value in A), b (in B, or in the settings file);
                   the picture adds pixels, the number that differ

Exit status 0 when none differ, 1 when some do, 2 when input cannot be read.
)";

const char* const CheckUsage = R"(Usage: hkftool check FILE... [--json]

Reports, per file, what the window or the controller would not take as it is:
parameter values the window shows outside their field's limits, choice
indices that select nothing or lie beyond the last choice, address parts the
window's save check refuses, title and font lengths beyond their rooms, title
and font bytes that are not valid code page 936, IncludeScreen, IncludeParam
or LogoUsePic other than 0 or 1, reserved bytes that are not zero, and block
checksums that do not match. Parameters are checked only in an image that
carries them (IncludeParam not 0).

  --json   the findings as a JSON array of objects: file, name, label,
           value, problem

Prints "FILE: ok" for a clean file. Exit status 0 when every file is clean,
1 when something is found, 2 when a file cannot be read.
)";

constexpr int ScreenPixels = layout::ScreenWidth * layout::ScreenHeight;

QString withUnit(const QString& value, const QString& unit)
{
    return unit.isEmpty() || value.isEmpty() ? value : value + QLatin1Char(' ') + unit;
}

void writeJson(Context& ctx, const QJsonArray& array)
{
    ctx.out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    ctx.out.flush();
}

int diffFiles(Context& ctx, const QStringList& files, bool json)
{
    int status = Success;
    const auto a = loadImage(ctx, files[0], status);
    if (!a)
        return status;
    const auto b = loadImage(ctx, files[1], status);
    if (!b)
        return status;

    const QList<ImageField> fa = imageFields(a->data());
    const QList<ImageField> fb = imageFields(b->data());
    QJsonArray array;
    bool differ = false;
    for (qsizetype i = 0; i < fa.size(); ++i) {
        if (fa[i].text == fb[i].text)
            continue;
        differ = true;
        QJsonObject object{{QStringLiteral("name"), fa[i].name},
                           {QStringLiteral("label"), fa[i].label}};
        if (fa[i].section == FieldSection::Screen) {
            int pixels = 0;
            for (int y = 0; y < layout::ScreenHeight; ++y)
                for (int x = 0; x < layout::ScreenWidth; ++x)
                    pixels += screenPixel(a->data(), x, y) != screenPixel(b->data(), x, y);
            if (!json)
                ctx.out << fa[i].name << ": " << pixels << " of " << ScreenPixels
                        << " pixels differ" << Qt::endl;
            object.insert(QStringLiteral("pixels"), pixels);
        } else {
            const QString va = withUnit(fa[i].text, fa[i].unit);
            const QString vb = withUnit(fb[i].text, fb[i].unit);
            if (!json)
                ctx.out << fa[i].name << ": " << va << " -> " << vb << Qt::endl;
            object.insert(QStringLiteral("a"), va);
            object.insert(QStringLiteral("b"), vb);
        }
        array.append(object);
    }
    if (json)
        writeJson(ctx, array);
    return differ ? CheckFailed : Success;
}

int diffSettings(Context& ctx, const QString& path, bool factory, const QString& iniPath, bool json)
{
    int status = Success;
    const auto image = loadImage(ctx, path, status);
    if (!image)
        return status;
    if (image->check != ImageCheck::Ok)
        return ctx.fail(
            BadUsage,
            QStringLiteral("%1: the window refuses to open it; nothing compared").arg(path));
    const IniFileLoad ini = IniFile::load(iniPath);
    if (!ini.status.ok())
        return ctx.fail(
            BadUsage,
            QStringLiteral("%1: the settings file cannot be read: %2").arg(iniPath, ini.reason));
    if (!ini)
        return ctx.fail(BadUsage, QStringLiteral("%1: the settings file cannot be read (no such "
                                                 "file, or not a regular file)")
                                      .arg(iniPath));

    // Both sides as a fresh window holds them: opening A, or loading the
    // settings file.
    BootScreenModel fresh;
    const Document start = documentOf(formValues(), fresh);
    const OtherDocument opened = openedDocument(start, image->data());
    const OtherDocument loaded = settingsDocument(&*ini, factory, [&](const QString& m) {
        ctx.err << "hkftool diff: warning: " << m << Qt::endl;
    });
    if (!loaded.document)
        return ctx.fail(BadUsage, loaded.error);
    if (!opened.paramsIncluded)
        ctx.err << "hkftool diff: " << path
                << ": the image carries no parameters (IncludeParam 0); comparing the boot "
                   "screen only"
                << Qt::endl;

    const QList<Difference> diffs =
        compareDocuments(*opened.document, *loaded.document, opened.paramsIncluded);
    QJsonArray array;
    for (const Difference& d : diffs) {
        const QString unit = d.param ? unitOf(*d.param) : QString();
        const QString a = withUnit(d.ours, unit);
        const QString b = withUnit(d.theirs, unit);
        QJsonObject object{{QStringLiteral("name"), d.name}, {QStringLiteral("label"), d.label}};
        if (d.bootItem == BootItem::Picture && !d.param) {
            object.insert(QStringLiteral("pixels"), d.pixels);
            if (!json)
                ctx.out << d.name << ": " << d.pixels << " of " << ScreenPixels << " pixels differ"
                        << Qt::endl;
        } else {
            object.insert(QStringLiteral("a"), a);
            object.insert(QStringLiteral("b"), b);
            if (!json)
                ctx.out << d.name << " (" << d.label << "): " << a << " -> " << b << Qt::endl;
        }
        array.append(object);
    }
    if (json)
        writeJson(ctx, array);
    return diffs.isEmpty() ? Success : CheckFailed;
}

} // namespace

int diff(Context& ctx, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption factory(QStringLiteral("factory"));
    const QCommandLineOption last(QStringLiteral("last"));
    const QCommandLineOption settings(QStringLiteral("settings"), {}, QStringLiteral("INI"));
    const QCommandLineOption json(QStringLiteral("json"));
    parser.addOptions({factory, last, settings, json});
    if (auto status = parse(ctx, parser, args, DiffUsage))
        return *status;
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(factory) && parser.isSet(last))
        return usageError(ctx, QStringLiteral("give --factory or --last, not both"));
    if (parser.isSet(factory) || parser.isSet(last)) {
        if (files.size() != 1)
            return usageError(ctx, QStringLiteral("give exactly one file with --%1")
                                       .arg(parser.isSet(factory) ? QStringLiteral("factory")
                                                                  : QStringLiteral("last")));
        const QString iniPath =
            parser.isSet(settings) ? parser.value(settings) : defaultSettingsPath();
        return diffSettings(ctx, files[0], parser.isSet(factory), iniPath, parser.isSet(json));
    }
    if (parser.isSet(settings))
        return usageError(ctx, QStringLiteral("--settings goes with --factory or --last"));
    if (files.size() != 2)
        return usageError(ctx, QStringLiteral("give exactly two files"));
    return diffFiles(ctx, files, parser.isSet(json));
}

int check(Context& ctx, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"));
    parser.addOption(json);
    if (auto status = parse(ctx, parser, args, CheckUsage))
        return *status;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usageError(ctx, QStringLiteral("no file given"));

    int status = Success;
    QJsonArray array;
    for (const QString& path : files) {
        int fileStatus = Success;
        const auto image = loadImage(ctx, path, fileStatus);
        if (!image) {
            status = BadUsage;
            continue;
        }
        QList<ImageFinding> findings;
        if (image->check != ImageCheck::Ok)
            findings.append({QStringLiteral("checksum"),
                             {},
                             QString::fromLatin1(describe(image->check)),
                             QStringLiteral("block checksum does not match")});
        if (image->longer())
            findings.append({QStringLiteral("size"),
                             {},
                             QString::number(image->fileSize),
                             QStringLiteral("longer than 4096 bytes")});
        findings += imageFindings(image->data());
        if (findings.isEmpty() && !parser.isSet(json))
            ctx.out << path << ": ok" << Qt::endl;
        for (const ImageFinding& f : findings) {
            if (!parser.isSet(json)) {
                const QString label = f.label.isEmpty() ? QString() : " (" + f.label + ")";
                ctx.out << path << ": " << f.name << label << ": " << f.value << ": " << f.problem
                        << Qt::endl;
            }
            array.append(QJsonObject{{QStringLiteral("file"), path},
                                     {QStringLiteral("name"), f.name},
                                     {QStringLiteral("label"), f.label},
                                     {QStringLiteral("value"), f.value},
                                     {QStringLiteral("problem"), f.problem}});
        }
        if (!findings.isEmpty() && status == Success)
            status = CheckFailed;
    }
    if (parser.isSet(json))
        writeJson(ctx, array);
    return status;
}

} // namespace hmk::tool
