// Faults on the save path, one row per way the file system can refuse the
// image: the save must fail with a message that names the file and the
// system's reason, an existing file must keep its old content, and no
// temporary file may be left beside it.

#include "TestFiles.h"
#include "image/CfgHMK725.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace hmk;

namespace {

enum class Fault
{
    FullDevice,     // /dev/full: every write fails with "no space"
    MissingFolder,  // the folder of the name does not exist
    ParentIsFile,   // a folder in the name is a regular file
    ReadOnlyFolder, // the folder may not be written (not for root)
    WriteFails,     // an existing file; the write stops at the file-size limit
    LinkWriteFails, // the same through a symbolic link to the file
    Folder,         // the name is a folder
    Pipe,           // the name is a pipe nobody reads: must not wait
};

const QByteArray OldContent("old content of the file");

QString reason(int osError)
{
    return QString::fromLocal8Bit(std::strerror(osError));
}

THMK725ConfigData someImage()
{
    THMK725ConfigData config;
    config.ExportHeadFile(QStringLiteral("machine1.hkf"), false, false);
    config.setPunchHeight(3500);
    config.ExportCRC();
    return config;
}

// Writes beyond `bytes` fail with EFBIG while it lives: a disk that fills up
// in the middle of the image, which root cannot talk its way past.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void failedSave_data();
    void failedSave();
    void saveOverLinkReplacesItsTarget();
};

void TestSaveFaults::failedSave_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("reason"); // what the message must say besides the name

    QTest::newRow("full device") << Fault::FullDevice << reason(ENOSPC);
    QTest::newRow("missing folder") << Fault::MissingFolder << reason(ENOENT);
    QTest::newRow("parent is a regular file") << Fault::ParentIsFile << reason(ENOTDIR);
    QTest::newRow("read-only folder") << Fault::ReadOnlyFolder << reason(EACCES);
    QTest::newRow("write fails over an existing file") << Fault::WriteFails << reason(EFBIG);
    QTest::newRow("write fails through a link") << Fault::LinkWriteFails << reason(EFBIG);
    QTest::newRow("name is a folder") << Fault::Folder << QStringLiteral("这是一个文件夹");
    QTest::newRow("pipe") << Fault::Pipe << QStringLiteral("不是普通文件");
}

void TestSaveFaults::failedSave()
{
    QFETCH(Fault, fault);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // An existing file in the folder, to see that nothing but the target is
    // touched, and which is the target itself where the fault allows one.
    const QString existing = dir.filePath(QStringLiteral("old.hkf"));
    QVERIFY(writeAll(existing, OldContent));
    QString path;
    switch (fault) {
    case Fault::FullDevice:
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("this system has no /dev/full");
        path = QStringLiteral("/dev/full");
        break;
    case Fault::MissingFolder:
        path = dir.filePath(QStringLiteral("missing/new.hkf"));
        break;
    case Fault::ParentIsFile:
        path = existing + QStringLiteral("/new.hkf");
        break;
    case Fault::ReadOnlyFolder:
        if (::geteuid() == 0)
            QSKIP("root writes into a read-only folder anyway (CI runs as root)");
        path = dir.filePath(QStringLiteral("locked/old.hkf"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(writeAll(path, OldContent));
        QCOMPARE(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("locked"))), 0555), 0);
        break;
    case Fault::WriteFails:
        path = existing;
        break;
    case Fault::LinkWriteFails:
        path = dir.filePath(QStringLiteral("link.hkf"));
        QVERIFY(QFile::link(QStringLiteral("old.hkf"), path));
        break;
    case Fault::Folder:
        path = dir.filePath(QStringLiteral("folder.hkf"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.hkf")));
        break;
    case Fault::Pipe:
        path = dir.filePath(QStringLiteral("pipe.hkf"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    }
    const QFileInfo targetBefore(path);
    const QByteArray targetContent = targetBefore.isFile() ? readAll(path) : QByteArray();
    const QStringList before =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);

    IoStatus status;
    if (fault == Fault::WriteFails || fault == Fault::LinkWriteFails) {
        const FileSizeLimit limit(1000);
        status = someImage().SaveToFile(path);
    } else {
        status = someImage().SaveToFile(path);
    }
    if (fault == Fault::ReadOnlyFolder)
        ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("locked"))), 0755);

    QVERIFY(!status.ok());
    QVERIFY2(status.error.contains(QDir::toNativeSeparators(path)), qPrintable(status.error));
    QVERIFY2(status.error.contains(reason), qPrintable(status.error));
    QCOMPARE(readAll(existing), OldContent);
    if (targetBefore.isFile())
        QCOMPARE(readAll(path), targetContent);
    if (fault == Fault::LinkWriteFails)
        QVERIFY(QFileInfo(path).isSymLink());
    QCOMPARE(QDir(dir.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             before);
    if (fault == Fault::ReadOnlyFolder) {
        QCOMPARE(QDir(dir.filePath(QStringLiteral("locked"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("old.hkf")});
    }
}

// A link stays a link: the file it points to gets the new image.
void TestSaveFaults::saveOverLinkReplacesItsTarget()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("target.hkf"));
    const QString link = dir.filePath(QStringLiteral("link.hkf"));
    QVERIFY(writeAll(target, OldContent));
    QVERIFY(QFile::link(QStringLiteral("target.hkf"), link));

    const THMK725ConfigData config = someImage();
    const IoStatus status = config.SaveToFile(link);
    QVERIFY2(status.ok(), qPrintable(status.error));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    QCOMPARE(readAll(target), config.bytes());
    QCOMPARE(QDir(dir.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("link.hkf"), QStringLiteral("target.hkf")}));
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
