// hkftool builds with the window's own code: what it writes must be, byte for
// byte, what a freshly started window saves after the same settings and the
// same edits. Both run here on the same machine, so the same fonts draw the
// titles.

#include "ScriptedDialogs.h"
#include "WindowDriving.h"

#include "bootscreen/BootScreenModel.h"

#include <QAbstractButton>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace hmk;

namespace {

const QString Settings = QStringLiteral(HMK_BIN_DIR "/HMK725Config.ini");
const QString Tool = QStringLiteral(HMK_BIN_DIR "/hkftool");

using Edit = std::function<void(TfrmConfig&, const QString& dir)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestToolParity : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameBytes_data();
    void sameBytes();

private:
    QTemporaryDir dir;
    QString picture;
};

void TestToolParity::initTestCase()
{
    QVERIFY(QFile::exists(Settings));
    QVERIFY(QFile::exists(Tool));
    QImage image(192, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < 192; x += 3)
        image.setPixel(x, (x / 3) % 32, qRgb(0, 0, 0));
    picture = dir.filePath(QStringLiteral("pic.bmp"));
    QVERIFY(image.save(picture));
}

void TestToolParity::sameBytes_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("toolArgs");

    QTest::newRow("factory values") << Edit([](TfrmConfig&, const QString&) {}) << QStringList{};
    QTest::newRow("last values") << Edit([](TfrmConfig& w, const QString&) {
        w.btnReadLastClick();
    }) << QStringList{QStringLiteral("--last")};
    QTest::newRow("edited titles and parameters") << Edit([](TfrmConfig& w, const QString&) {
        click(child<QAbstractButton>(w, "cbUseDefaultScreen"));
        type(child<QLineEdit>(w, "edtMainTitle"), QStringLiteral("测试标题ABC"));
        type(child<QLineEdit>(w, "edtSubTitle"), QStringLiteral("Service 2026"));
        type(child<QLineEdit>(w, "edtPunchHeight"), QStringLiteral("4.25"));
        type(child<QLineEdit>(w, "edtCyrusCoordinate"), QStringLiteral("-12.5"));
        type(child<QLineEdit>(w, "edtIPAddress"), QStringLiteral("192.168.0.10"));
    }) << QStringList{QStringLiteral("--set"), QStringLiteral("UseDefaultScreen=0"),
                      QStringLiteral("--set"), QStringLiteral("MainTitle=测试标题ABC"),
                      QStringLiteral("--set"), QStringLiteral("SubTitle=Service 2026"),
                      QStringLiteral("--set"), QStringLiteral("PunchHeight=4.25"),
                      QStringLiteral("--set"), QStringLiteral("CyrusCoordinate=-12.5"),
                      QStringLiteral("--set"), QStringLiteral("IPAddress=192.168.0.10")};
    QTest::newRow("picture") << Edit([](TfrmConfig& w, const QString& dir) {
        w.bootScreen().setStyleIndex(1);
        QCOMPARE(w.bootScreen().LoadLogoPicture(dir + QStringLiteral("/pic.bmp")).outcome,
                 PictureResult::Loaded);
    }) << QStringList{QStringLiteral("--picture"), dir.filePath(QStringLiteral("pic.bmp"))};
}

void TestToolParity::sameBytes()
{
    QFETCH(Edit, edit);
    QFETCH(QStringList, toolArgs);

    // The configuration name comes from the file name: both files get one.
    QDir(dir.path()).mkpath(QStringLiteral("window"));
    QDir(dir.path()).mkpath(QStringLiteral("tool"));
    const QString fromWindow = dir.filePath(QStringLiteral("window/machine7.hkf"));
    const QString fromTool = dir.filePath(QStringLiteral("tool/machine7.hkf"));
    QFile::remove(fromWindow);
    QFile::remove(fromTool);

    ScriptedDialogs dialogs;
    TfrmConfig window(dialogs, Settings);
    QVERIFY(activate(window));
    edit(window, dir.path());
    dialogs.saveAnswers << fromWindow;
    window.btnSaveClick();
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(QLatin1Char('\n'))));

    QProcess tool;
    tool.start(Tool, QStringList{QStringLiteral("build"), QStringLiteral("-o"), fromTool,
                                 QStringLiteral("--settings"), Settings} +
                         toolArgs);
    QVERIFY(tool.waitForFinished(30000));
    QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());

    const QByteArray a = readAll(fromWindow);
    const QByteArray b = readAll(fromTool);
    QCOMPARE(a.size(), 4096);
    QCOMPARE(b.size(), 4096);
    for (int i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            QFAIL(qPrintable(QStringLiteral("first difference at offset 0x%1: window %2, tool %3")
                                 .arg(i, 3, 16, QLatin1Char('0'))
                                 .arg(quint8(a[i]), 2, 16, QLatin1Char('0'))
                                 .arg(quint8(b[i]), 2, 16, QLatin1Char('0'))));
    }
}

QTEST_MAIN(TestToolParity)
#include "tst_toolparity.moc"
