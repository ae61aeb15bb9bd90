// The service report read back the way a customer's PDF viewer and a search
// read it: its text through pdftotext, its first page as pixels through
// pdftoppm. What it shows must be the image's: the values, the titles, the
// marks of changed values and the stored screen pixels.

#include "TestFiles.h"
#include "bootscreen/BootScreenModel.h"
#include "bootscreen/LcdColors.h"
#include "params/ConfigBuilder.h"
#include "params/OverviewTable.h"
#include "report/ServiceReport.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace hmk;

namespace {

QString poppler(const char* tool)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(tool));
}

// The output of a poppler tool, or "" when it fails.
QByteArray run(const char* tool, const QStringList& args)
{
    QProcess process;
    process.start(poppler(tool), args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

QString despaced(QString text)
{
    text.remove(QLatin1Char(' '));
    return text;
}

ParamValue& valueOf(ParamValues& values, const char* name)
{
    return values[paramIndex(*findParam(QString::fromLatin1(name)))];
}

struct Document
{
    QByteArray image;
    ParamValues values;
};

enum class Screen
{
    Titles,
    Picture,
    TitlesOnly, // the boot screen without parameters
};

Document build(Screen screen)
{
    BootScreenModel boot;
    boot.setNotEnableParam(screen == Screen::TitlesOnly);
    ParamValues values = formValues();
    if (screen == Screen::Picture) {
        // A picture is restored from bytes: a checkerboard of 1-pixel cells
        // in the top half and a solid bar in the bottom half.
        QByteArray image(layout::ImageSize, '\0');
        for (int b = 0; b < layout::BandCount; ++b)
            for (int c = 0; c < layout::ScreenWidth; ++c)
                image[layout::bandOffset(b) + c] = char(b < 2 ? (c % 2 ? 0x55 : 0xAA) : 0x0F);
        image[layout::LogoUsePic] = 1;
        image[layout::IncludeScreen] = 1;
        image[layout::IncludeParam] = 1;
        boot.RestoreLogo(reinterpret_cast<const quint8*>(image.constData()));
    } else {
        boot.setUseDefaultScreen(false);
        boot.setMainTitle(QStringLiteral("等离子切割机"));
        boot.setSubTitle(QStringLiteral("Line 3"));
        boot.setSubFontList(QStringLiteral("黑体"));
        boot.cbFontSubChange();
    }
    valueOf(values, "PunchHeight").number = 4500;
    valueOf(values, "ServoType").choice = 2;
    valueOf(values, "IPAddress").text = QStringLiteral("192.168.1.20");
    THMK725ConfigData config;
    if (ExportConfig(QStringLiteral("/x/machine7.hkf"), values, boot, config) !=
        ExportResult::Built)
        return {};
    return {config.bytes(), values};
}

bool stored(const QByteArray& image, int x, int y)
{
    return quint8(image[layout::bandOffset(y / 8) + x]) & (1u << (y % 8));
}

bool near(QRgb a, QColor b)
{
    return std::abs(qRed(a) - b.red()) <= 3 && std::abs(qGreen(a) - b.green()) <= 3 &&
           std::abs(qBlue(a) - b.blue()) <= 3;
}

} // namespace

Q_DECLARE_METATYPE(Screen)

class TestServiceReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    // The report of a document whose factory values differ from it in
    // PunchHeight, ServoType and IPAddress.
    QString write(Screen screen, Document& document)
    {
        document = build(screen);
        const ServiceReport report{QStringLiteral("machine7.hkf"),
                                   QDateTime(QDate(2026, 12, 11), QTime(9, 30)), document.image,
                                   document.values, formValues()};
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        const IoStatus written = writeServiceReport(report, pdf);
        return written.ok() ? pdf : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!poppler("pdftotext").isEmpty() && !poppler("pdftoppm").isEmpty(),
                 "poppler-utils is not installed (scripts/setup.sh installs it)");
    }

    void textHoldsTheDocument_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::newRow("titles") << Screen::Titles;
        QTest::newRow("picture") << Screen::Picture;
        QTest::newRow("boot screen only") << Screen::TitlesOnly;
    }

    void textHoldsTheDocument()
    {
        QFETCH(Screen, screen);
        Document document;
        const QString pdf = write(screen, document);
        QVERIFY(!pdf.isEmpty());
        QVERIFY(run("pdfinfo", {pdf}).contains("(A4)"));
        const QString text = QString::fromUtf8(run("pdftotext", {"-layout", pdf, "-"}));
        QVERIFY(!text.isEmpty());

        const auto hex = [&](const layout::Block& block) {
            const int crc = quint8(document.image[block.crcLow()]) |
                            (quint8(document.image[block.crcHigh()]) << 8);
            return QStringLiteral("%1").arg(crc, 4, 16, QLatin1Char('0')).toUpper();
        };
        for (const QString& part :
             {ReportTitle, QStringLiteral("machine7"), QStringLiteral("machine7.hkf"),
              QStringLiteral("2026-12-11 09:30"), hex(layout::HeaderBlock),
              hex(layout::ScreenBlock), hex(layout::ParamBlock)})
            QVERIFY2(text.contains(part), qPrintable(part));

        if (screen == Screen::Picture) {
            QVERIFY(text.contains(StyleCaptions[1]));
            QVERIFY(!text.contains(QStringLiteral("主标题")));
        } else {
            for (const QString& part :
                 {StyleCaptions[0], QStringLiteral("等离子切割机"), QStringLiteral("Line 3"),
                  QStringLiteral("字体：宋体"), QStringLiteral("字体：黑体")})
                QVERIFY2(text.contains(part), qPrintable(part));
        }

        // One line per parameter: label, value, unit, factory value, and the
        // mark exactly where the value is not the factory one.
        const QStringList lines = despaced(text).split(QLatin1Char('\n'));
        const ParamValues factory = formValues();
        int marks = 0;
        for (const ParamEntry& entry : catalogue()) {
            const QString label = despaced(QString::fromUtf8(entry.label));
            const int i = paramIndex(entry);
            const QString unit = QString::fromUtf8(entry.unit);
            const bool changed =
                shownValue(entry, document.values[i]) != shownValue(entry, factory[i]);
            const QString expected =
                despaced(label + shownValue(entry, document.values[i]) + unit +
                         shownValue(entry, factory[i]) + (changed ? ReportChangedMark : QString()));
            const bool found = lines.contains(expected);
            if (screen == Screen::TitlesOnly)
                QVERIFY2(!found, qPrintable(expected));
            else
                QVERIFY2(found, qPrintable(expected));
            marks += changed;
        }
        // Grouped as the overview groups them.
        for (const OverviewGroup& group : overviewGroups()) {
            if (group.page != Page::BootScreen)
                QCOMPARE(text.contains(QString::fromUtf8(group.header)),
                         screen != Screen::TitlesOnly);
        }
        if (screen == Screen::TitlesOnly) {
            QVERIFY(text.contains(ReportNoParamsNote));
            QVERIFY(!text.contains(ReportChangedMark));
        } else {
            QCOMPARE(marks, 3);
            QCOMPARE(text.count(ReportChangedMark), 3);
        }
    }

    // The first page at the PDF's own resolution: every screen pixel is a
    // square of white ink or LCD blue, as stored.
    void screenIsTheStoredPixels_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::newRow("titles") << Screen::Titles;
        QTest::newRow("picture") << Screen::Picture;
    }

    void screenIsTheStoredPixels()
    {
        QFETCH(Screen, screen);
        Document document;
        const QString pdf = write(screen, document);
        QVERIFY(!pdf.isEmpty());
        const QString prefix = dir.filePath(QStringLiteral("page"));
        run("pdftoppm", {"-png", "-r", "300", "-f", "1", "-l", "1", "-singlefile", pdf, prefix});
        const QImage page(prefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());

        // The bezel's top-left corner (the first row with a long run of its
        // grey; anti-aliased text has grey pixels too, but no such runs),
        // then the screen inside it.
        QPoint bezel(-1, -1);
        for (int y = 0; y < page.height() && bezel.x() < 0; ++y) {
            int run = 0;
            for (int x = 0; x < page.width() && bezel.x() < 0; ++x) {
                run = near(page.pixel(x, y), LcdShadow) ? run + 1 : 0;
                if (run == 200)
                    bezel = QPoint(x - run + 1, y);
            }
        }
        QVERIFY(bezel.x() >= 0);
        int left = bezel.x();
        while (near(page.pixel(left, bezel.y() + 60), LcdShadow))
            ++left;
        int top = bezel.y();
        while (near(page.pixel(bezel.x() + 60, top), LcdShadow))
            ++top;

        constexpr int cell = 9;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 192; ++x) {
                const QRgb pixel =
                    page.pixel(left + x * cell + cell / 2, top + y * cell + cell / 2);
                const QColor expected = stored(document.image, x, y) ? LcdInk : LcdBlue;
                if (!near(pixel, expected))
                    QFAIL(qPrintable(QStringLiteral("screen pixel (%1, %2) is %3")
                                         .arg(x)
                                         .arg(y)
                                         .arg(pixel, 8, 16)));
            }
        }
    }

    void unwritablePathLeavesNothing()
    {
        const Document document = build(Screen::Titles);
        const ServiceReport report{QStringLiteral("m.hkf"), QDateTime::currentDateTime(),
                                   document.image, document.values, formValues()};
        const QString pdf = dir.filePath(QStringLiteral("no/such/folder/r.pdf"));
        const IoStatus written = writeServiceReport(report, pdf);
        QVERIFY(!written.ok());
        QVERIFY2(written.error.contains(QStringLiteral("r.pdf")), qPrintable(written.error));
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestServiceReport)
#include "tst_servicereport.moc"
