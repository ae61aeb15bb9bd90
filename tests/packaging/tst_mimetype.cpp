// The installed file type: a desktop that reads packaging/hmk725config.xml
// knows a saved image by its name and by its first bytes, and names the type
// in English and Chinese. Qt's MIME database reads the definition the way the
// desktop's shared-mime-info database does.

#include "image/CfgHMK725.h"

#include "TestFiles.h"

#include <QLocale>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QtTest>

using namespace hmk;

class TestMimeType : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void detected_data();
    void detected();
    void comments();

private:
    QTemporaryDir dir_;
    QByteArray saved_;
};

namespace {
const QString HkfType = QStringLiteral("application/x-hmk725-config");
} // namespace

void TestMimeType::initTestCase()
{
    QVERIFY(dir_.isValid());
    // Only this definition (and Qt's own) is known: nothing of the machine's.
    const QString packages = dir_.filePath(QStringLiteral("data/mime/packages"));
    QVERIFY(QDir().mkpath(packages));
    QVERIFY(QFile::copy(QStringLiteral(HMK_PACKAGING_DIR "/hmk725config.xml"),
                        packages + QStringLiteral("/hmk725config.xml")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dir_.filePath(QStringLiteral("data"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("home"))));

    // An image as the program saves it.
    THMK725ConfigData config;
    config.ExportHeadFile(QStringLiteral("machine1"), false, false);
    config.ExportCRC();
    const QString path = dir_.filePath(QStringLiteral("saved.hkf"));
    QVERIFY(config.SaveToFile(path).ok());
    saved_ = readAll(path);
    QCOMPARE(saved_.size(), qsizetype(layout::ImageSize));
}

void TestMimeType::detected_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("image");
    QTest::addColumn<bool>("contentOnly");
    QTest::addColumn<bool>("expected");

    QTest::newRow("saved image by name") << "a.hkf" << true << false << true;
    QTest::newRow("upper-case extension") << "B.HKF" << true << false << true;
    QTest::newRow("saved image without extension") << "machine7" << true << false << true;
    QTest::newRow("saved image by content") << "c.bin" << true << true << true;
    QTest::newRow("other bytes named .hkf: by name") << "d.hkf" << false << false << true;
    QTest::newRow("other bytes by content") << "e.hkf" << false << true << false;
}

void TestMimeType::detected()
{
    QFETCH(QString, name);
    QFETCH(bool, image);
    QFETCH(bool, contentOnly);
    QFETCH(bool, expected);

    // The model word alone, without its two spaces, is not the tag.
    const QString path = dir_.filePath(name);
    QVERIFY(writeAll(path, image ? saved_ : QByteArray("HMK725 config notes\n")));
    const QMimeType type = QMimeDatabase().mimeTypeForFile(
        path, contentOnly ? QMimeDatabase::MatchContent : QMimeDatabase::MatchDefault);
    QCOMPARE(type.name() == HkfType, expected);
}

void TestMimeType::comments()
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(HkfType);
    QVERIFY(type.isValid());
    QLocale::setDefault(QLocale(QLocale::English));
    QCOMPARE(type.comment(), QStringLiteral("HMK725 height controller configuration"));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QCOMPARE(type.comment(), QStringLiteral("HMK725调高器配置文件"));
    QLocale::setDefault(QLocale::c());
}

QTEST_GUILESS_MAIN(TestMimeType)
#include "tst_mimetype.moc"
