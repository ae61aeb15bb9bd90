#include "ServiceReport.h"

#include "bootscreen/BootScreenModel.h"
#include "bootscreen/FontList.h"
#include "bootscreen/LcdColors.h"
#include "params/ConfigOpener.h"
#include "params/OverviewTable.h"

#include <QBuffer>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRegion>
#include <QSaveFile>
#include <algorithm>
#include <functional>

namespace hmk {

namespace {

constexpr int Dpi = 300;
// Each screen pixel becomes a square of this many device pixels: 192 columns
// then take 146 mm.
constexpr int ScreenScale = 9;

double mm(double millimetres)
{
    return millimetres * Dpi / 25.4;
}

// The face the report's own text is set in: an installed CJK face with
// outlines, so the PDF embeds it and Chinese text stays text.
QString reportFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const char* candidate : {"WenQuanYi Zen Hei", "AR PL UMing CN", "Noto Sans CJK SC",
                                  "Noto Serif CJK SC", "WenQuanYi Zen Hei Sharp"}) {
        if (families.contains(QLatin1String(candidate)))
            return QLatin1String(candidate);
    }
    return {};
}

QFont reportFont(double points, bool bold = false)
{
    QFont font;
    const QString family = reportFamily();
    if (!family.isEmpty())
        font.setFamilies({family});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// "加  速  度" -> "加速度": the page pads labels with blanks to line them
// up under each other; a table column does that itself.
QString bareLabel(const ParamEntry& entry)
{
    return QString::fromUtf8(entry.label).remove(QStringLiteral("  "));
}

// The overview's name for a parameter group: the header of the overview
// group its rows are in ("系统参数"), the group box's caption for a group
// without rows.
QString groupHeader(int group)
{
    for (const OverviewRow& row : overviewRows()) {
        if (row.param && row.param->group == group)
            return QString::fromUtf8(overviewGroups()[row.group].header);
    }
    return QString::fromUtf8(paramGroups()[group].box);
}

quint16 storedChecksum(const QByteArray& image, const layout::Block& block)
{
    return quint16(quint8(image[block.crcLow()]) | (quint8(image[block.crcHigh()]) << 8));
}

// The ink of the stored screen as one outline in screen pixels. Filled as a
// vector shape, each pixel is a sharp square at any zoom, and the colours
// are exact: a picture would be stored with lossy compression and smoothed
// by viewers.
QPainterPath screenInk(const quint8* image)
{
    const auto set = [image](int x, int y) {
        const quint8 bits = image[layout::bandOffset(y / layout::BandRows) + x];
        return (bits & (1u << (y % layout::BandRows))) != 0;
    };
    QRegion ink;
    for (int y = 0; y < layout::ScreenHeight; ++y) {
        for (int x = 0; x < layout::ScreenWidth;) {
            if (!set(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < layout::ScreenWidth && set(x, y))
                ++x;
            ink += QRect(start, y, x - start, 1);
        }
    }
    QPainterPath path;
    path.addRegion(ink);
    return path.simplified();
}

// Lays the report out top to bottom, starting a new page when a line would
// not fit.
class Layout
{
public:
    Layout(QPdfWriter& writer, QPainter& painter) : writer_(writer), p_(painter)
    {
        width_ = writer.width();
        height_ = writer.height();
    }

    double width() const { return width_; }
    double y = 0;

    void ensure(double needed, const std::function<void()>& onNewPage = {})
    {
        if (y + needed <= height_ - mm(8))
            return;
        writer_.newPage();
        ++page_;
        y = 0;
        footer();
        if (onNewPage)
            onNewPage();
    }

    void footer()
    {
        p_.setFont(reportFont(8));
        p_.setPen(Qt::darkGray);
        p_.drawText(QRectF(0, height_ - mm(6), width_, mm(6)), Qt::AlignRight | Qt::AlignBottom,
                    QStringLiteral("第 %1 页").arg(page_));
        p_.setPen(Qt::black);
    }

    // One line of text at x, as high as the font needs.
    double line(const QString& text, const QFont& font, double x = 0,
                Qt::Alignment align = Qt::AlignLeft, double w = -1)
    {
        p_.setFont(font);
        const double h = QFontMetricsF(font, &writer_).height();
        p_.drawText(QRectF(x, y, w < 0 ? width_ - x : w, h), align | Qt::AlignVCenter, text);
        return h;
    }

private:
    QPdfWriter& writer_;
    QPainter& p_;
    double width_ = 0;
    double height_ = 0;
    int page_ = 1;
};

void drawHeader(Layout& l, QPainter& p, const ServiceReport& report, const quint8* image)
{
    l.y += l.line(ReportTitle, reportFont(18, true));
    l.y += mm(4);

    const QFont body = reportFont(10);
    const QString checksums =
        QStringLiteral("文件头 %1　开机画面 %2　参数 %3")
            .arg(storedChecksum(report.image, layout::HeaderBlock), 4, 16, QLatin1Char('0'))
            .arg(storedChecksum(report.image, layout::ScreenBlock), 4, 16, QLatin1Char('0'))
            .arg(storedChecksum(report.image, layout::ParamBlock), 4, 16, QLatin1Char('0'))
            .toUpper();
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("配置名称"), configNameFromImage(image)},
        {QStringLiteral("文件名"), QDir::toNativeSeparators(report.fileName)},
        {QStringLiteral("日期"), report.date.toString(QStringLiteral("yyyy-MM-dd HH:mm"))},
        {QStringLiteral("校验和"), checksums},
    };
    for (const auto& [label, value] : rows) {
        l.line(label + QStringLiteral("："), reportFont(10, true), 0, Qt::AlignLeft, mm(28));
        l.y += l.line(value, body, mm(28));
        l.y += mm(1);
    }
    l.y += mm(3);
    p.setPen(QPen(Qt::gray, mm(0.3)));
    p.drawLine(QPointF(0, l.y), QPointF(l.width(), l.y));
    p.setPen(Qt::black);
    l.y += mm(4);
}

void drawBootScreen(Layout& l, QPainter& p, const quint8* image)
{
    l.y += l.line(QStringLiteral("开机画面"), reportFont(13, true));
    l.y += mm(2);

    const QSizeF screen(layout::ScreenWidth * ScreenScale, layout::ScreenHeight * ScreenScale);
    const double frame = mm(2);
    l.ensure(screen.height() + 2 * frame + mm(30));
    // A dark bezel around the display, as on the controller's panel.
    p.fillRect(QRectF(0, l.y, screen.width() + 2 * frame, screen.height() + 2 * frame), LcdShadow);
    p.save();
    p.translate(frame, l.y + frame);
    p.scale(ScreenScale, ScreenScale);
    p.fillRect(QRectF(0, 0, layout::ScreenWidth, layout::ScreenHeight), LcdBlue);
    p.fillPath(screenInk(image), LcdInk);
    p.restore();
    l.y += screen.height() + 2 * frame + mm(3);

    const QFont body = reportFont(10);
    const QFont bold = reportFont(10, true);
    const bool picture = readWord(image, layout::LogoUsePic) == 1;
    const auto row = [&](const QString& label, const QString& value, const QFont& valueFont) {
        l.line(label + QStringLiteral("："), bold, 0, Qt::AlignLeft, mm(28));
        l.y += std::max(l.line(value, valueFont, mm(28)), QFontMetricsF(body).height()) + mm(1);
    };
    row(QStringLiteral("样式"), StyleCaptions[picture ? 1 : 0], body);
    if (readWord(image, layout::IncludeScreen) == 0)
        row(QStringLiteral("说明"), QStringLiteral("使用默认的开机画面"), body);
    if (picture)
        return;
    const struct
    {
        const char* label;
        int lengthField, room, roomSize;
        int fontLengthField, fontRoom, fontRoomSize;
    } titles[] = {
        {MainTitleLabel, layout::Logo1Len, layout::Logo1Desc, layout::TitleRoom,
         layout::Logo1FontLen, layout::Logo1FontName, layout::Logo1FontRoom},
        {SubTitleLabel, layout::Logo2Len, layout::Logo2Desc, layout::TitleRoom,
         layout::Logo2FontLen, layout::Logo2FontName, layout::Logo2FontRoom},
    };
    for (const auto& t : titles) {
        const QString text = storedText(image, t.lengthField, t.room, t.roomSize);
        const QString face = storedText(image, t.fontLengthField, t.fontRoom, t.fontRoomSize);
        // The title in its own face, where one is installed that draws it.
        QFont titleFace = body;
        if (const QString family = drawingFamily(face); !family.isEmpty())
            titleFace.setFamilies({family});
        titleFace.setPointSizeF(12);
        l.line(QString::fromUtf8(t.label) + QStringLiteral("："), bold, 0, Qt::AlignLeft, mm(28));
        const double w = QFontMetricsF(titleFace, p.device()).horizontalAdvance(text);
        const double h = l.line(text.isEmpty() ? QStringLiteral("（空）") : text,
                                text.isEmpty() ? body : titleFace, mm(28));
        l.line(QStringLiteral("字体：%1").arg(face.isEmpty() ? QStringLiteral("（无）") : face),
               body, mm(28) + (text.isEmpty() ? mm(14) : w) + mm(6));
        l.y += h + mm(1);
    }
}

void drawParameters(Layout& l, QPainter& p, const ServiceReport& report, const quint8* image)
{
    l.y += mm(4);
    l.ensure(mm(20));
    l.y += l.line(QStringLiteral("参数"), reportFont(13, true));
    l.y += mm(2);
    if (readWord(image, layout::IncludeParam) == 0) {
        l.y += l.line(ReportNoParamsNote, reportFont(10));
        return;
    }

    const double columns[] = {0, mm(62), mm(104), mm(128), mm(162), l.width()};
    const QFont body = reportFont(9.5);
    const QFont bold = reportFont(9.5, true);
    const double rowHeight = QFontMetricsF(body, p.device()).height() + mm(1.2);
    const auto cells = [&](const QStringList& texts, const QFont& font) {
        for (int c = 0; c < texts.size(); ++c)
            l.line(texts[c], font, columns[c] + mm(1.5),
                   c == 1 || c == 3 ? Qt::AlignRight : Qt::AlignLeft,
                   columns[c + 1] - columns[c] - mm(3));
    };
    const auto heading = [&] {
        p.fillRect(QRectF(0, l.y, l.width(), rowHeight), QColor(0xE8, 0xE8, 0xE8));
        cells({QStringLiteral("参数"), QStringLiteral("值"), QStringLiteral("单位"),
               QStringLiteral("出厂值"), QString()},
              bold);
        l.y += rowHeight;
    };
    heading();

    for (int g = 0; g < ParamGroupCount; ++g) {
        l.ensure(2 * rowHeight, heading);
        l.y += mm(1);
        l.line(groupHeader(g), bold, 0);
        l.y += rowHeight;
        p.setPen(QPen(Qt::gray, mm(0.2)));
        p.drawLine(QPointF(0, l.y), QPointF(l.width(), l.y));
        p.setPen(Qt::black);
        for (const ParamEntry& entry : catalogue()) {
            if (entry.group != g)
                continue;
            l.ensure(rowHeight, heading);
            const int i = paramIndex(entry);
            const QString value = shownValue(entry, report.values[i]);
            const QString factory = shownValue(entry, report.factory[i]);
            const bool changed = value != factory;
            if (changed)
                p.fillRect(QRectF(0, l.y, l.width(), rowHeight), QColor(0xFF, 0xF4, 0xD6));
            cells({bareLabel(entry), value, QString::fromUtf8(entry.unit), factory,
                   changed ? ReportChangedMark : QString()},
                  changed ? bold : body);
            l.y += rowHeight;
        }
    }
}

} // namespace

ServiceReport reportOfImage(const QByteArray& image, const QString& fileName,
                            const ParamValues& factory, const QDateTime& date)
{
    const auto* data = reinterpret_cast<const quint8*>(image.constData());
    ServiceReport report{fileName, date, image, formValues(), factory};
    if (readWord(data, layout::IncludeParam) != 0)
        report.values = RestoreParams(data);
    return report;
}

IoStatus writeServiceReport(const ServiceReport& report, const QString& pdfPath)
{
    if (report.image.size() != layout::ImageSize)
        return IoStatus{QStringLiteral("no whole configuration image to report on")};
    const auto* image = reinterpret_cast<const quint8*>(report.image.constData());

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        writer.setResolution(Dpi);
        writer.setTitle(ReportTitle + QStringLiteral(" – ") + configNameFromImage(image));
        writer.setCreator(QStringLiteral("HMK725Config"));
        QPainter painter(&writer);
        Layout layout(writer, painter);
        layout.footer();
        drawHeader(layout, painter, report, image);
        drawBootScreen(layout, painter, image);
        drawParameters(layout, painter, report, image);
    }

    QSaveFile file(pdfPath);
    const auto failure = [&](const QString& reason) {
        return IoStatus{
            QStringLiteral("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(pdfPath), reason)};
    };
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    if (file.write(pdf.data()) != pdf.data().size())
        return failure(file.errorString());
    if (!file.commit())
        return failure(file.errorString());
    return {};
}

} // namespace hmk
