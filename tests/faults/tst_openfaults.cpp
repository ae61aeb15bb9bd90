// Faults on the input paths that take a file name: opening a .hkf file and
// importing the boot picture. Whatever the name points at, the call returns
// at once (a pipe is never opened, as that would wait for a writer) with a
// message that names the file and the reason, or, for a file that reads but
// is too short, with bytes that the image check refuses.

#include "bootscreen/BootScreenModel.h"
#include "params/ConfigOpener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace hmk;

namespace {

enum class Fault
{
    NoPermission, // a file that may not be read (not for root)
    Folder,       // a folder with the file's name
    Pipe,         // a pipe nobody writes to
    Empty,        // an empty regular file
    Missing,      // nothing of that name
};

// Makes `name` in `dir` into the fault; false when the fault cannot be made.
bool makeFault(const QTemporaryDir& dir, const QString& name, Fault fault)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    switch (fault) {
    case Fault::NoPermission:
        return file.open(QIODevice::WriteOnly) && file.write("some bytes") == 10 &&
               file.setPermissions(QFileDevice::WriteOwner);
    case Fault::Folder:
        return QDir(dir.path()).mkdir(name);
    case Fault::Pipe:
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case Fault::Empty:
        return file.open(QIODevice::WriteOnly);
    case Fault::Missing:
        return true;
    }
    return false;
}

void addRows()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("reason"); // empty: the file reads

    QTest::newRow("no read permission")
        << Fault::NoPermission << QString::fromLocal8Bit(std::strerror(EACCES));
    QTest::newRow("folder") << Fault::Folder << QStringLiteral("这是一个文件夹");
    QTest::newRow("pipe") << Fault::Pipe << QStringLiteral("不是普通文件");
    QTest::newRow("empty file") << Fault::Empty << QString();
    QTest::newRow("missing file") << Fault::Missing << QString();
}

} // namespace

class TestOpenFaults : public QObject
{
    Q_OBJECT

private slots:
    void openImage_data() { addRows(); }
    void openImage();
    void importPicture_data() { addRows(); }
    void importPicture();
};

void TestOpenFaults::openImage()
{
    QFETCH(Fault, fault);
    QFETCH(QString, reason);
    if (fault == Fault::NoPermission && ::geteuid() == 0)
        QSKIP("root reads a file without read permission anyway (CI runs as root)");
    if (fault == Fault::Missing)
        reason = QStringLiteral("文件不存在");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("x.hkf"));
    QVERIFY(makeFault(dir, QStringLiteral("x.hkf"), fault));
    // The name alone lets every one of them through to reading.
    QVERIFY(hasHkfExtension(path));

    const ImageFileRead read = readImageFile(path);
    if (reason.isEmpty()) {
        QVERIFY2(read.status.ok(), qPrintable(read.status.error));
        QCOMPARE(checkImage(read.bytes), ImageCheck::TooShort);
        return;
    }
    QVERIFY(!read.status.ok());
    QVERIFY(read.bytes.isEmpty());
    QVERIFY2(read.status.error.contains(QDir::toNativeSeparators(path)),
             qPrintable(read.status.error));
    QVERIFY2(read.status.error.contains(reason), qPrintable(read.status.error));
}

// The picture dialog offers bitmaps, but the settings file may name
// anything: the import refuses it and keeps the picture it had.
void TestOpenFaults::importPicture()
{
    QFETCH(Fault, fault);
    QFETCH(QString, reason);
    if (fault == Fault::NoPermission && ::geteuid() == 0)
        QSKIP("root reads a file without read permission anyway (CI runs as root)");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("x.bmp"));
    QVERIFY(makeFault(dir, QStringLiteral("x.bmp"), fault));

    BootScreenModel model;
    model.setStyleIndex(1);
    const QString before = model.picFileName();
    const PictureResult result = model.LoadLogoPicture(path);
    QCOMPARE(result.outcome, PictureResult::Unreadable);
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
    // An empty or missing file gets the picture reader's own reason.
    QVERIFY2(result.error.size() > path.size() + 8, qPrintable(result.error));
    if (!reason.isEmpty() && fault != Fault::NoPermission)
        QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    QCOMPARE(model.picFileName(), before);
    QVERIFY(!model.hasPicture());
}

QTEST_MAIN(TestOpenFaults)
#include "tst_openfaults.moc"
