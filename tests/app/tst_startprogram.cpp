// The built program under a real X server: its main window appears with the
// tool's title as caption and the designed client size. Looked at from the
// outside, with the X utilities, as a user's desktop sees it.

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // UTF-8 names verbatim
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestStartProgram : public QObject
{
    Q_OBJECT
private slots:
    void mainWindowAppearsWithTitle();
};

void TestStartProgram::mainWindowAppearsWithTitle()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        QSKIP("xwininfo and xprop (x11-utils) are needed");

    QProcess program;
    program.setProgram(QStringLiteral(HMK_BIN_DIR "/HMK725Config"));
    program.start();
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

    // The program's top-level windows carry its class; the main window is
    // the one of the designed client size.
    static const QRegularExpression windowLine(
        QStringLiteral(R"(^\s*(0x[0-9a-f]+) .*\("HMK725Config" "HMK725Config"\)\s+(\d+)x(\d+)\+)"),
        QRegularExpression::MultilineOption);
    QString id;
    QSize size;
    const QDeadlineTimer deadline(20000);
    while (id.isEmpty() && !deadline.hasExpired() && program.state() == QProcess::Running) {
        const QString tree = run(QStringLiteral("xwininfo"), {"-root", "-tree"});
        auto it = windowLine.globalMatch(tree);
        while (it.hasNext()) {
            const auto m = it.next();
            const QSize s(m.captured(2).toInt(), m.captured(3).toInt());
            if (s.width() > 100) {
                id = m.captured(1);
                size = s;
            }
        }
        if (id.isEmpty())
            QTest::qWait(200);
    }
    const QString title =
        id.isEmpty() ? QString() : run(QStringLiteral("xprop"), {"-id", id, "_NET_WM_NAME"});
    program.kill();
    program.waitForFinished();

    QVERIFY2(!id.isEmpty(), "no main window appeared");
    QCOMPARE(size, QSize(895, 682));
    QVERIFY2(title.contains(QStringLiteral("= \"HMK725配置文件生成工具\"")), qPrintable(title));
}

QTEST_GUILESS_MAIN(TestStartProgram)
#include "tst_startprogram.moc"
