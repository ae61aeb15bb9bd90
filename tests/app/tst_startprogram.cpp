// The built program under a real X server: the start-up dialog comes first,
// captioned "文件选择"; confirming it with Return opens the main window with
// the tool's title as caption and the designed client size. A file given on
// the command line, as a file manager starts the program, opens with no
// dialog. Looked at and driven from the outside, with the X utilities, as a
// user's desktop does.

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // UTF-8 names verbatim
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        process.kill();
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct XWindow
{
    QString id;
    QSize size;
};

// A mapped top-level window of the program with exactly this caption.
XWindow findWindow(const QString& caption)
{
    // No raw string here: moc does not read past one that holds )".
    static const QRegularExpression windowLine(
        QStringLiteral("^\\s*(0x[0-9a-f]+) \"([^\"]*)\": \\(\"HMK725Config\" \"HMK725Config\"\\)"
                       "\\s+(\\d+)x(\\d+)\\+"),
        QRegularExpression::MultilineOption);
    auto it = windowLine.globalMatch(run(QStringLiteral("xwininfo"), {"-root", "-tree"}));
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(2) != caption)
            continue;
        const QString state = run(QStringLiteral("xwininfo"), {"-id", m.captured(1)});
        if (state.contains(QStringLiteral("Map State: IsViewable")))
            return {m.captured(1), QSize(m.captured(3).toInt(), m.captured(4).toInt())};
    }
    return {};
}

XWindow waitForWindow(const QString& caption, const QProcess& program)
{
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && program.state() == QProcess::Running) {
        const XWindow window = findWindow(caption);
        if (!window.id.isEmpty())
            return window;
        QTest::qWait(200);
    }
    return {};
}

} // namespace

class TestStartProgram : public QObject
{
    Q_OBJECT
private slots:
    void startUpDialogThenMainWindow();
    void fileOnCommandLine();
    void version();
};

void TestStartProgram::startUpDialogThenMainWindow()
{
    for (const char* tool : {"xwininfo", "xprop", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("xwininfo, xprop (x11-utils) and xdotool are needed");

    QProcess program;
    program.setProgram(QStringLiteral(HMK_BIN_DIR "/HMK725Config"));
    program.start();
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    const auto stop = qScopeGuard([&] {
        program.kill();
        program.waitForFinished();
    });

    const XWindow dialog = waitForWindow(QStringLiteral("文件选择"), program);
    QVERIFY2(!dialog.id.isEmpty(), "no start-up dialog appeared");
    QCOMPARE(dialog.size, QSize(345, 172));
    // The main window is shown only after the start-up choice.
    QVERIFY(findWindow(QStringLiteral("HMK725配置文件生成工具")).id.isEmpty());

    // Return presses "确定": the factory values.
    run(QStringLiteral("xdotool"), {"windowfocus", "--sync", dialog.id, "key", "Return"});

    const XWindow main = waitForWindow(QStringLiteral("HMK725配置文件生成工具"), program);
    QVERIFY2(!main.id.isEmpty(), "no main window appeared");
    QCOMPARE(main.size, QSize(895, 682));
    const QString title = run(QStringLiteral("xprop"), {"-id", main.id, "_NET_WM_NAME"});
    QVERIFY2(title.contains(QStringLiteral("= \"HMK725配置文件生成工具\"")), qPrintable(title));
    QVERIFY(findWindow(QStringLiteral("文件选择")).id.isEmpty());
}

void TestStartProgram::fileOnCommandLine()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
        QSKIP("xwininfo (x11-utils) is needed");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // An image as the window saves it, named after its file.
    QProcess build;
    build.start(QStringLiteral(HMK_BIN_DIR "/hkftool"),
                {QStringLiteral("build"), QStringLiteral("-o"),
                 dir.filePath(QStringLiteral("station4.hkf"))});
    QVERIFY(build.waitForFinished(10000));
    QCOMPARE(build.exitCode(), 0);

    // Given relative to the working folder, as a shell passes it.
    QProcess program;
    program.setProgram(QStringLiteral(HMK_BIN_DIR "/HMK725Config"));
    program.setWorkingDirectory(dir.path());
    program.setArguments({QStringLiteral("station4.hkf")});
    program.start();
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    const auto stop = qScopeGuard([&] {
        program.kill();
        program.waitForFinished();
    });

    const XWindow main =
        waitForWindow(QStringLiteral("HMK725配置文件生成工具--station4.hkf"), program);
    QVERIFY2(!main.id.isEmpty(), "the main window did not open with the file");
    QCOMPARE(main.size, QSize(895, 682));
    QVERIFY(findWindow(QStringLiteral("文件选择")).id.isEmpty());
}

void TestStartProgram::version()
{
    QProcess program;
    program.start(QStringLiteral(HMK_BIN_DIR "/HMK725Config"), {QStringLiteral("--version")});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()).trimmed(),
             QStringLiteral("HMK725Config " HMK_VERSION));
}

QTEST_GUILESS_MAIN(TestStartProgram)
#include "tst_startprogram.moc"
