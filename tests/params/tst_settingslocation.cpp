// Which settings file a program reads: the one beside its executable, else
// the installed copy in the data folder, else (neither there) the one beside,
// which then loads nothing.

#include "params/SettingsLocation.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace hmk;

namespace {

enum class Entry
{
    Missing,
    File,
    Folder,
};

bool make(const QString& path, Entry entry)
{
    switch (entry) {
    case Entry::Missing:
        return true;
    case Entry::Folder:
        return QDir().mkpath(path);
    case Entry::File: {
        QFile file(path);
        return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
               file.write("[LogoDef]\n") > 0;
    }
    }
    return false;
}

} // namespace

class TestSettingsLocation : public QObject
{
    Q_OBJECT
private slots:
    void besideThenInstalled_data();
    void besideThenInstalled();
};

void TestSettingsLocation::besideThenInstalled_data()
{
    QTest::addColumn<Entry>("beside");
    QTest::addColumn<Entry>("installed");
    QTest::addColumn<bool>("expectInstalled");

    QTest::newRow("beside only") << Entry::File << Entry::Missing << false;
    QTest::newRow("installed only") << Entry::Missing << Entry::File << true;
    QTest::newRow("both: beside wins") << Entry::File << Entry::File << false;
    QTest::newRow("neither: beside") << Entry::Missing << Entry::Missing << false;
    QTest::newRow("folder beside: installed") << Entry::Folder << Entry::File << true;
    QTest::newRow("installed is a folder: beside") << Entry::Missing << Entry::Folder << false;
}

void TestSettingsLocation::besideThenInstalled()
{
    QFETCH(Entry, beside);
    QFETCH(Entry, installed);
    QFETCH(bool, expectInstalled);

    // An installation prefix as the build lays it out: bin and, relative to
    // it, the data folder.
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QDir bin(prefix.filePath(QStringLiteral("bin")));
    QVERIFY(QDir().mkpath(bin.path()));
    const QString besidePath = bin.filePath(QStringLiteral("HMK725Config.ini"));
    const QString installedPath = QDir::cleanPath(
        bin.filePath(QStringLiteral(HMK_SETTINGS_FROM_BIN "/") + ShippedSettingsName));
    QVERIFY(make(besidePath, beside));
    QVERIFY(make(installedPath, installed));

    QCOMPARE(locateSettingsFile(bin.path(), QStringLiteral("HMK725Config.ini")),
             expectInstalled ? installedPath : besidePath);
}

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
