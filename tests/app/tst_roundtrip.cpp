// Saving and opening again, as a property: for many random documents (every
// parameter anywhere within its field's limits and decimals, any choice or
// none, valid addresses, titles of up to 24 code page 936 bytes, both boot
// screen styles and both states of the two switches), a file saved from one
// window and opened in a fresh one gives back the same controls, caption and
// boot screen.

#include "ConfigMain.h"
#include "DocumentState.h"
#include "RandomDocuments.h"
#include "ScriptedDialogs.h"
#include "bootscreen/FontList.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace hmk;

namespace {

constexpr int DocumentCount = 200;
constexpr quint32 Seed = 725;

// A settings path that does not exist: both windows start from the form values.
const QString NoSettings = QStringLiteral("/nonexistent/HMK725Config.ini");

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
