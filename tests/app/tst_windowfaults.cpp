// Faults met through the window's own commands, with the user's answers
// scripted: saving where the file system refuses, opening what is no
// readable image, importing what is no readable picture. Each must end in
// one message that names the chosen file and the reason, leave everything
// the window shows as it was, and leave any file already there untouched.

#include "ConfigMain.h"
#include "DocumentState.h"
#include "ScriptedDialogs.h"
#include "WindowDriving.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace hmk;

namespace {

const QString Fixture = QStringLiteral(HMK_TEST_DATA_DIR "/app/settings.ini");
const QString ChecksumMessage = QStringLiteral("读取错误：CRC校验失败！");
const QString FolderReason = QStringLiteral("这是一个文件夹");
const QString NotRegularReason = QStringLiteral("不是普通文件");

enum class Fault
{
    FullDevice,       // /dev/full: every write fails for want of space
    LinkToFullDevice, // a link in the folder that points at /dev/full
    ReadOnlyFolder,   // an existing file in a folder that may not be written
    MissingFolder,    // the chosen folder does not exist
    ParentIsFile,     // a "folder" in the name is a regular file
    Folder,           // a folder with the file's name
    Pipe,             // a pipe with the file's name, nobody at its other end
    LinkToPipe,       // a link with the file's name that points at such a pipe
    NoReadPermission, // a file that may not be read
    Empty,            // an empty regular file
    Damaged,          // a saved image with one bit of its parameters flipped
    Garbage,          // bytes that are no picture
    ReadError,        // a regular file whose reading fails (EIO)
    Missing,          // nothing at the path
};

QString reason(int osError)
{
    return QString::fromLocal8Bit(std::strerror(osError));
}

bool isRoot()
{
    return ::geteuid() == 0;
}

// If the command under test is still running after a few seconds, it is
// blocked in opening a pipe: this opens the other end, which frees it, so
// the test fails with a message instead of hanging.
class PipeWatchdog
{
public:
    explicit PipeWatchdog(const QString& pipe) : FPipe(QFile::encodeName(pipe))
    {
        FThread = std::thread([this] {
            std::unique_lock lock(FMutex);
            if (FDone.wait_for(lock, std::chrono::seconds(3), [this] { return FFinished; }))
                return;
            FFired = true;
            // A reader frees a blocked writer, a writer a blocked reader.
            const int reader = ::open(FPipe.constData(), O_RDONLY | O_NONBLOCK);
            const int writer = ::open(FPipe.constData(), O_WRONLY | O_NONBLOCK);
            FDone.wait_for(lock, std::chrono::seconds(3), [this] { return FFinished; });
            for (const int fd : {reader, writer})
                if (fd >= 0)
                    ::close(fd);
        });
    }
    ~PipeWatchdog()
    {
        {
            const std::lock_guard lock(FMutex);
            FFinished = true;
        }
        FDone.notify_all();
        FThread.join();
    }
    PipeWatchdog(const PipeWatchdog&) = delete;
    PipeWatchdog& operator=(const PipeWatchdog&) = delete;

    bool fired() const { return FFired; }

private:
    const QByteArray FPipe;
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FFinished = false;
    std::atomic<bool> FFired = false;
    std::thread FThread;
};

// All the window shows of the document, the picture holder and preview
// included.
struct WindowState
{
    DocumentState document;
    QString picFileName;
    QImage holder;
    QImage preview;
    QByteArray pictureBytes;
};

WindowState stateOf(TfrmConfig& window)
{
    BootScreenModel& boot = window.bootScreen();
    return {documentOf(window), boot.picFileName(), boot.imgScreen(), boot.imgLcd(),
            boot.pictureBytes()};
}

QString stateDifference(const WindowState& a, const WindowState& b)
{
    if (a.document.caption != b.document.caption)
        return QStringLiteral("caption: %1 / %2").arg(a.document.caption, b.document.caption);
    if (const QString d = documentDifference(a.document, b.document); !d.isEmpty())
        return d;
    if (a.picFileName != b.picFileName)
        return QStringLiteral("picture file: %1 / %2").arg(a.picFileName, b.picFileName);
    if (a.holder != b.holder)
        return QStringLiteral("picture holder differs");
    if (a.pictureBytes != b.pictureBytes)
        return QStringLiteral("picture bytes differ");
    if (a.preview != b.preview)
        return QStringLiteral("preview differs");
    return {};
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

class TestWindowFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void saveFails_data();
    void saveFails();
    void saveOverLinkReplacesItsTarget();
    void openFails_data();
    void openFails();
    void importFails_data();
    void importFails();
    void settingsUnreadable_data();
    void settingsUnreadable();

private:
    QString path(const QString& name) const { return FDir.filePath(name); }
    // A window far from its first state (busy.hkf is the image it opened): an opened image in its
    // caption, changed values, the picture style with a picture.
    std::unique_ptr<TfrmConfig> busyWindow();
    // Makes `name` into the fault; the path the user would choose.
    QString makeFault(Fault fault, const QString& name);
    // Checks that exactly one message came, naming `file` and `why`.
    void checkOneMessage(const QString& file, const QString& why);

    QTemporaryDir FDir;
    ScriptedDialogs dialogs;
};

void TestWindowFaults::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    // A pipe freed by the watchdog may lose its reader: fail, don't die.
    std::signal(SIGPIPE, SIG_IGN);
    QVERIFY(FDir.isValid());
}

void TestWindowFaults::init()
{
    dialogs = ScriptedDialogs();
}

void TestWindowFaults::cleanup()
{
    const QString locked = path(QStringLiteral("locked"));
    if (QFileInfo::exists(locked))
        ::chmod(QFile::encodeName(locked).constData(), 0755);
    for (const QString& name : entriesOf(FDir.path())) {
        const QFileInfo info(path(name));
        if (info.isDir() && !info.isSymLink())
            QDir(path(name)).removeRecursively();
        else
            QFile::remove(path(name));
    }
}

std::unique_ptr<TfrmConfig> TestWindowFaults::busyWindow()
{
    // An image to open, saved from a window of its own.
    const QString image = path(QStringLiteral("busy.hkf"));
    {
        ScriptedDialogs own;
        TfrmConfig maker(own, Fixture);
        ParamValues values = maker.readControls();
        values[paramIndex(*findParam(QStringLiteral("PunchHeight")))].number = 7770;
        maker.writeControls(values);
        own.saveAnswers << image;
        maker.btnSaveClick();
        if (!own.messages.isEmpty())
            qFatal("%s", qPrintable(own.messages.join(u'|')));
    }
    QImage picture(layout::ScreenWidth, layout::ScreenHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < picture.width(); x += 3)
        picture.setPixel(x, x % picture.height(), 0xff000000);
    const QString bitmap = path(QStringLiteral("busy.bmp"));
    if (!picture.save(bitmap, "BMP"))
        qFatal("cannot write %s", qPrintable(bitmap));

    auto window = std::make_unique<TfrmConfig>(dialogs, Fixture);
    dialogs.openAnswers << image;
    window->btnOpenFileClick();
    window->bootScreen().setStyleIndex(1);
    dialogs.openAnswers << bitmap;
    window->btnLoadPicClick();
    if (!dialogs.messages.isEmpty() || !window->bootScreen().hasPicture())
        qFatal("busy window: %s", qPrintable(dialogs.messages.join(u'|')));
    return window;
}

QString TestWindowFaults::makeFault(Fault fault, const QString& name)
{
    const QString file = path(name);
    switch (fault) {
    case Fault::FullDevice:
        return QStringLiteral("/dev/full");
    case Fault::LinkToFullDevice:
        return QFile::link(QStringLiteral("/dev/full"), file) ? file : QString();
    case Fault::ReadOnlyFolder: {
        const QString locked = path(QStringLiteral("locked"));
        const QString inside = locked + u'/' + name;
        return QDir().mkdir(locked) && writeAll(inside, "the file saved before") &&
                       ::chmod(QFile::encodeName(locked).constData(), 0555) == 0
                   ? inside
                   : QString();
    }
    case Fault::MissingFolder:
        return path(QStringLiteral("missing/") + name);
    case Fault::ParentIsFile:
        return writeAll(path(QStringLiteral("plain")), "a file, not a folder")
                   ? path(QStringLiteral("plain/") + name)
                   : QString();
    case Fault::Folder:
        return QDir().mkdir(file) ? file : QString();
    case Fault::Pipe:
        return ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0 ? file : QString();
    case Fault::LinkToPipe:
        return ::mkfifo(QFile::encodeName(path(QStringLiteral("pipe"))).constData(), 0600) == 0 &&
                       QFile::link(QStringLiteral("pipe"), file)
                   ? file
                   : QString();
    case Fault::NoReadPermission:
        return writeAll(file, QByteArray(4096, 'x')) &&
                       QFile::setPermissions(file, QFileDevice::WriteOwner)
                   ? file
                   : QString();
    case Fault::Empty:
        return writeAll(file, {}) ? file : QString();
    case Fault::Damaged: {
        QByteArray bytes = readAll(path(QStringLiteral("busy.hkf")));
        bytes[0x900] = char(bytes[0x900] ^ 0x10);
        return bytes.size() == layout::ImageSize && writeAll(file, bytes) ? file : QString();
    }
    case Fault::Garbage:
        return writeAll(file, QByteArray("BM") + QByteArray(300, '\x5a')) ? file : QString();
    case Fault::ReadError:
        // The unmapped first page of the process's own memory.
        return QFileInfo(QStringLiteral("/proc/self/mem")).isFile()
                   ? QStringLiteral("/proc/self/mem")
                   : QString();
    case Fault::Missing:
        return file;
    }
    return {};
}

void TestWindowFaults::checkOneMessage(const QString& file, const QString& why)
{
    QCOMPARE(dialogs.messages.size(), 1);
    const QString& message = dialogs.messages.first();
    QVERIFY2(message.contains(QDir::toNativeSeparators(file)), qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
}

// --- saving -------------------------------------------------------------

void TestWindowFaults::saveFails_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("why");

    QTest::newRow("full device") << Fault::FullDevice << reason(ENOSPC);
    QTest::newRow("link to a full device") << Fault::LinkToFullDevice << reason(ENOSPC);
    QTest::newRow("read-only folder") << Fault::ReadOnlyFolder << reason(EACCES);
    QTest::newRow("missing folder") << Fault::MissingFolder << reason(ENOENT);
    QTest::newRow("parent is a regular file") << Fault::ParentIsFile << reason(ENOTDIR);
    QTest::newRow("folder of that name") << Fault::Folder << FolderReason;
    QTest::newRow("pipe of that name") << Fault::Pipe << NotRegularReason;
    QTest::newRow("link to a pipe") << Fault::LinkToPipe << NotRegularReason;
}

void TestWindowFaults::saveFails()
{
    QFETCH(Fault, fault);
    QFETCH(QString, why);
    if (fault == Fault::FullDevice && !QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("this system has no /dev/full");
    if (fault == Fault::ReadOnlyFolder && isRoot())
        QSKIP("root writes into a read-only folder anyway (CI runs as root)");

    auto window = busyWindow();
    const QString file = makeFault(fault, QStringLiteral("x.hkf"));
    QVERIFY(!file.isEmpty());
    const QFileInfo target(file);
    const QByteArray targetBytes = target.isFile() ? readAll(file) : QByteArray();
    const QString folder = target.absolutePath();
    const QStringList entries = entriesOf(folder);
    const WindowState before = stateOf(*window);

    dialogs.saveAnswers << file;
    {
        const PipeWatchdog watchdog(file);
        window->btnSaveClick();
        QVERIFY2(!watchdog.fired(), "the save waited on a pipe");
    }

    checkOneMessage(file, why);
    const QString difference = stateDifference(before, stateOf(*window));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    // Nothing written or left behind: no half-written file, no temporary.
    if (target.isFile())
        QCOMPARE(readAll(file), targetBytes);
    QCOMPARE(entriesOf(folder), entries);
    if (fault == Fault::LinkToFullDevice || fault == Fault::LinkToPipe)
        QVERIFY(QFileInfo(file).isSymLink());
}

// A link stays a link; the file it points to gets the image.
void TestWindowFaults::saveOverLinkReplacesItsTarget()
{
    auto window = busyWindow();
    const QString target = path(QStringLiteral("target.hkf"));
    const QString link = path(QStringLiteral("link.hkf"));
    QVERIFY(writeAll(target, "the file saved before"));
    QVERIFY(QFile::link(QStringLiteral("target.hkf"), link));
    const QStringList entries = entriesOf(FDir.path());

    dialogs.saveAnswers << link;
    window->btnSaveClick();

    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    const QByteArray bytes = readAll(target);
    QCOMPARE(bytes, window->config().bytes());
    QVERIFY(VerifyImage(reinterpret_cast<const quint8*>(bytes.constData())));
    QCOMPARE(entriesOf(FDir.path()), entries);
}

// --- opening ------------------------------------------------------------

void TestWindowFaults::openFails_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("why");

    QTest::newRow("no read permission") << Fault::NoReadPermission << reason(EACCES);
    QTest::newRow("folder named x.hkf") << Fault::Folder << FolderReason;
    QTest::newRow("pipe named x.hkf") << Fault::Pipe << NotRegularReason;
    QTest::newRow("link to a pipe") << Fault::LinkToPipe << NotRegularReason;
    // The known text first, then the file and what is wrong with it.
    QTest::newRow("empty file") << Fault::Empty << QStringLiteral("：只有 0 字节");
    QTest::newRow("damaged image") << Fault::Damaged << QStringLiteral("：块校验和不符");
}

void TestWindowFaults::openFails()
{
    QFETCH(Fault, fault);
    QFETCH(QString, why);
    if (fault == Fault::NoReadPermission && isRoot())
        QSKIP("root reads a file without read permission anyway (CI runs as root)");

    auto window = busyWindow();
    const QString file = makeFault(fault, QStringLiteral("x.hkf"));
    QVERIFY(!file.isEmpty());
    const WindowState before = stateOf(*window);

    dialogs.openAnswers << file;
    {
        const PipeWatchdog watchdog(file);
        window->btnOpenFileClick();
        QVERIFY2(!watchdog.fired(), "the open waited on a pipe");
    }

    checkOneMessage(file, why);
    if (fault == Fault::Empty || fault == Fault::Damaged)
        QVERIFY2(dialogs.messages.first().startsWith(ChecksumMessage + u'\n'),
                 qPrintable(dialogs.messages.first()));
    const QString difference = stateDifference(before, stateOf(*window));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// --- importing the boot picture -------------------------------------------

void TestWindowFaults::importFails_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("why"); // empty: the picture reader's own words

    QTest::newRow("pipe") << Fault::Pipe << NotRegularReason;
    QTest::newRow("link to a pipe") << Fault::LinkToPipe << NotRegularReason;
    QTest::newRow("folder") << Fault::Folder << FolderReason;
    QTest::newRow("garbage bytes") << Fault::Garbage << QString();
    QTest::newRow("empty file") << Fault::Empty << QString();
}

void TestWindowFaults::importFails()
{
    QFETCH(Fault, fault);
    QFETCH(QString, why);

    auto window = busyWindow();
    const QString file = makeFault(fault, QStringLiteral("x.bmp"));
    QVERIFY(!file.isEmpty());
    const WindowState before = stateOf(*window);

    dialogs.openAnswers << file;
    {
        const PipeWatchdog watchdog(file);
        window->btnLoadPicClick();
        QVERIFY2(!watchdog.fired(), "the import waited on a pipe");
    }

    checkOneMessage(file, why);
    // Some reason follows the name.
    QVERIFY2(dialogs.messages.first().size() > QDir::toNativeSeparators(file).size() + 8,
             qPrintable(dialogs.messages.first()));
    const QString difference = stateDifference(before, stateOf(*window));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// --- reading the settings file ---------------------------------------------

void TestWindowFaults::settingsUnreadable_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("atStartUp"); // else by the read-defaults command
    QTest::addColumn<QString>("why");    // empty: no message at all

    for (const bool atStartUp : {true, false}) {
        const char* when = atStartUp ? "start-up" : "read command";
        QTest::addRow("%s: folder", when) << Fault::Folder << atStartUp << FolderReason;
        QTest::addRow("%s: pipe", when) << Fault::Pipe << atStartUp << NotRegularReason;
        QTest::addRow("%s: no read permission", when)
            << Fault::NoReadPermission << atStartUp << reason(EACCES);
        QTest::addRow("%s: missing, silent", when) << Fault::Missing << atStartUp << QString();
    }
    QTest::newRow("start-up: read error") << Fault::ReadError << true << reason(EIO);
}

// A settings file that is there but cannot be read is reported once, by
// name and reason, and nothing is taken from it: the window holds what it
// holds with no settings file at all. A missing one stays silent.
void TestWindowFaults::settingsUnreadable()
{
    QFETCH(Fault, fault);
    QFETCH(bool, atStartUp);
    QFETCH(QString, why);
    if (fault == Fault::NoReadPermission && isRoot())
        QSKIP("root reads a file without read permission anyway (CI runs as root)");

    const QString name = QStringLiteral("HMK725Config.ini");
    std::unique_ptr<TfrmConfig> window;
    DocumentState expected;
    QString file;
    if (atStartUp) {
        ScriptedDialogs none;
        expected = documentOf(*std::make_unique<TfrmConfig>(none, path(QStringLiteral("no.ini"))));
        file = makeFault(fault, name);
        QVERIFY(!file.isEmpty());
        const PipeWatchdog watchdog(file);
        window = std::make_unique<TfrmConfig>(dialogs, file);
        QVERIFY2(!watchdog.fired(), "the start-up waited on a pipe");
    } else {
        QVERIFY(QFile::copy(Fixture, path(name)));
        window = std::make_unique<TfrmConfig>(dialogs, path(name));
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
        // Values the read must not overwrite.
        ParamValues values = window->readControls();
        values[paramIndex(*findParam(QStringLiteral("PunchHeight")))].number = 7770;
        window->writeControls(values);
        expected = documentOf(*window);
        QVERIFY(QFile::remove(path(name)));
        file = makeFault(fault, name);
        QVERIFY(!file.isEmpty());
        const PipeWatchdog watchdog(file);
        window->btnReadDefaultClick();
        QVERIFY2(!watchdog.fired(), "the read waited on a pipe");
    }

    if (why.isEmpty()) {
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(u'|')));
    } else {
        checkOneMessage(file, why);
        QVERIFY2(dialogs.messages.first().startsWith(QStringLiteral("无法读取设置文件“")),
                 qPrintable(dialogs.messages.first()));
    }
    const QString difference = documentDifference(expected, documentOf(*window));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

QTEST_MAIN(TestWindowFaults)
#include "tst_windowfaults.moc"
