#include "FontList.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <array>

namespace hmk {

namespace {

// The pixel height of a title line: 12 points at 96 dots per inch, the
// height the device's 16-row title bands are made for.
constexpr int TitlePixelSize = 16;

// Stand-ins by style, best first. The first of each has hand-made 16-pixel
// bitmap strikes, which give clean glyphs at exactly the title height.
const QStringList& songStandIns()
{
    static const QStringList list{
        QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
        QStringLiteral("AR PL UMing HK"), QStringLiteral("Noto Serif CJK SC")};
    return list;
}

const QStringList& heiStandIns()
{
    static const QStringList list{QStringLiteral("WenQuanYi Zen Hei Sharp"),
                                  QStringLiteral("WenQuanYi Zen Hei"),
                                  QStringLiteral("Noto Sans CJK SC")};
    return list;
}

struct WindowsFace
{
    const char16_t* name;
    const QStringList& (*standIns)();
};

// Windows faces met in images and settings files, by their Chinese and
// their English names (Windows accepts either).
const std::array<WindowsFace, 8> WindowsFaces{{
    {u"宋体", songStandIns},
    {u"SimSun", songStandIns},
    {u"新宋体", songStandIns},
    {u"NSimSun", songStandIns},
    {u"黑体", heiStandIns},
    {u"SimHei", heiStandIns},
    {u"微软雅黑", heiStandIns},
    {u"Microsoft YaHei", heiStandIns},
}};

QString installedFamily(const QString& faceName)
{
    // Face names compare without regard to case, as on Windows.
    const QStringList families = QFontDatabase::families();
    const auto it = std::find_if(families.begin(), families.end(), [&](const QString& family) {
        return family.compare(faceName, Qt::CaseInsensitive) == 0;
    });
    return it == families.end() ? QString() : *it;
}

QString standIn(const QString& faceName)
{
    for (const WindowsFace& face : WindowsFaces) {
        if (faceName.compare(QString::fromUtf16(face.name), Qt::CaseInsensitive) != 0)
            continue;
        for (const QString& candidate : face.standIns()) {
            const QString family = installedFamily(candidate);
            if (!family.isEmpty())
                return family;
        }
        return {};
    }
    return {};
}

} // namespace

QString installedFaceName(const QString& faceName)
{
    if (faceName.isEmpty())
        return {};
    const QString family = installedFamily(faceName);
    if (!family.isEmpty())
        return family;
    return standIn(faceName).isEmpty() ? QString() : faceName;
}

QString drawingFamily(const QString& faceName)
{
    if (faceName.isEmpty())
        return {};
    const QString family = installedFamily(faceName);
    return family.isEmpty() ? standIn(faceName) : family;
}

QFont titleFont(const QString& faceName)
{
    QFont font;
    const QString family = drawingFamily(faceName);
    if (!family.isEmpty())
        font.setFamilies({family});
    font.setPixelSize(TitlePixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

int titleBaseline(const QFont& font)
{
    const QFontMetrics metrics(font);
    return std::max(0, std::min(metrics.ascent(), TitlePixelSize - metrics.descent()));
}

} // namespace hmk
