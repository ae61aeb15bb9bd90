// Saving and opening again, as a property: for many random documents (every
// parameter anywhere within its field's limits and decimals, any choice or
// none, valid addresses, titles of up to 24 code page 936 bytes, both boot
// screen styles and both states of the two switches), a file saved from one
// window and opened in a fresh one gives back the same controls, caption and
// boot screen.

#include "ConfigMain.h"
#include "DocumentState.h"
#include "ScriptedDialogs.h"
#include "bootscreen/FontList.h"
#include "image/Codepage.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace hmk;

namespace {

constexpr int DocumentCount = 200;
constexpr quint32 Seed = 725;

// A settings path that does not exist: both windows start from the form values.
const QString NoSettings = QStringLiteral("/nonexistent/HMK725Config.ini");

class RandomDocuments
{
public:
    explicit RandomDocuments(quint32 seed) : FRandom(seed) {}

    int between(int low, int high) { return FRandom.bounded(low, high + 1); }
    qint64 between64(qint64 low, qint64 high)
    {
        return low + qint64(FRandom.bounded(quint64(high - low + 1)));
    }
    bool coin() { return FRandom.bounded(2) == 1; }

    ParamValues values()
    {
        ParamValues values;
        for (const ParamEntry& entry : catalogue()) {
            ParamValue& v = values[paramIndex(entry)];
            switch (entry.kind) {
            case ControlKind::Numeric: {
                // Any value the field can show: a multiple of its last decimal.
                qint64 step = 1;
                for (int i = entry.decimals(); i < 3; ++i)
                    step *= 10;
                // The coordinates have no limits; the image holds 32 bits.
                const qint64 low = entry.hasLimits() ? entry.min : qint64(INT32_MIN) + step;
                const qint64 high = entry.hasLimits() ? entry.max : qint64(INT32_MAX);
                // Division truncates toward zero: up for the negative low.
                const qint64 lowSteps = low >= 0 ? (low + step - 1) / step : low / step;
                v.number = between64(lowSteps, high / step) * step;
                break;
            }
            case ControlKind::Choice:
                v.choice = between(-1, entry.choiceCount() - 1);
                break;
            case ControlKind::Address: {
                const int highest = qstrcmp(entry.name, "SubnetMask") == 0 ? 255 : 254;
                v.text = QStringLiteral("%1.%2.%3.%4")
                             .arg(between(0, highest))
                             .arg(between(0, highest))
                             .arg(between(0, highest))
                             .arg(between(0, highest));
                break;
            }
            }
        }
        return values;
    }

    // Up to 24 code page 936 bytes of ASCII and Chinese.
    QString title()
    {
        static const QString chinese =
            QStringLiteral("调高器独立式配置文件生成工具开机画面参数切割机");
        const int room = between(0, 24);
        QString text;
        while (true) {
            const QChar c = coin() ? chinese[between(0, int(chinese.size()) - 1)]
                                   : QChar(char16_t(between(0x20, 0x7e)));
            if (cp936::encode(text + c).size() > room)
                return text;
            text += c;
        }
    }

    QString pick(const QStringList& list) { return list[between(0, int(list.size()) - 1)]; }

    // A 192 x 32 bitmap with random black pixels.
    QImage picture()
    {
        QImage image(layout::ScreenWidth, layout::ScreenHeight, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, coin() ? 0xff000000 : 0xffffffff);
        return image;
    }

private:
    QRandomGenerator FRandom;
};

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void saveThenOpenGivesTheDocumentBack();
};

void TestRoundTrip::saveThenOpenGivesTheDocumentBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList faces;
    for (const QString& face : {QStringLiteral("宋体"), QStringLiteral("黑体"),
                                QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("DejaVu Sans")})
        if (!installedFaceName(face).isEmpty())
            faces << installedFaceName(face);
    QVERIFY2(!faces.isEmpty(), "no font to draw titles with");

    RandomDocuments random(Seed);
    ScriptedDialogs dialogs;
    TfrmConfig source(dialogs, NoSettings);
    BootScreenModel& boot = source.bootScreen();

    for (int n = 0; n < DocumentCount; ++n) {
        source.writeControls(random.values());
        boot.setNotEnableParam(random.coin());
        boot.setStyleIndex(random.coin() ? 1 : 0);
        if (boot.styleIndex() == 1) {
            const QString bitmap = dir.filePath(QStringLiteral("p%1.bmp").arg(n));
            QVERIFY(random.picture().save(bitmap, "BMP"));
            dialogs.openAnswers << bitmap;
            source.btnLoadPicClick();
        } else {
            boot.setUseDefaultScreen(random.coin());
            if (!boot.useDefaultScreen()) {
                boot.setMainTitle(random.title());
                boot.setSubTitle(random.title());
                boot.setMainFontList(random.pick(faces));
                boot.cbFontMainChange();
                boot.setSubFontList(random.pick(faces));
                boot.cbFontSubChange();
            }
        }
        // File names of up to 8 bytes come back whole in the caption.
        const QString name = random.coin() ? QStringLiteral("rt%1").arg(n, 3, 10, QLatin1Char('0'))
                                           : QStringLiteral("调高%1").arg(n % 100);
        const QString path = dir.filePath(name + QStringLiteral(".hkf"));
        dialogs.saveAnswers << path;
        source.btnSaveClick();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
        const DocumentState saved = documentOf(source);

        TfrmConfig fresh(dialogs, NoSettings);
        const ParamValues before = fresh.readControls();
        dialogs.openAnswers << path;
        fresh.btnOpenFileClick();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
        const DocumentState opened = documentOf(fresh);

        const QString context = QStringLiteral("document %1: ").arg(n);
        QCOMPARE(opened.caption, ToolTitle + QStringLiteral("--") + name + QStringLiteral(".hkf"));
        const QString difference = documentDifference(saved, opened, !saved.notEnableParam);
        QVERIFY2(difference.isEmpty(), qPrintable(context + difference));
        // A boot-screen-only file leaves the parameters as they were.
        if (saved.notEnableParam) {
            const QString kept = paramDifference(before, opened.values);
            QVERIFY2(kept.isEmpty(), qPrintable(context + kept));
        }
    }
}

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
