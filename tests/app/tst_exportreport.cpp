// "导出报告" in the window: the service report of the document as it stands,
// written through the save dialog, read back with pdftotext.

#include "ScriptedDialogs.h"
#include "WindowDriving.h"

#include "params/ConfigBuilder.h"

#include <QLayout>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace hmk;

namespace {

const QString Settings = QStringLiteral(HMK_BIN_DIR "/HMK725Config.ini");

QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

ParamValue& at(ParamValues& values, const char* name)
{
    return values[paramIndex(*findParam(QString::fromLatin1(name)))];
}

} // namespace

class TestExportReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmConfig> window;

    QString path(const QString& name) const { return dir.filePath(name); }

    // A document with a title of its own and one changed parameter.
    void edit(const QString& ipAddress = QStringLiteral("10.1.1.188"))
    {
        ParamValues values = formValues();
        at(values, "PunchHeight").number = 7770;
        at(values, "IPAddress").text = ipAddress;
        window->writeControls(values);
        window->bootScreen().setNotEnableParam(false);
        window->bootScreen().setUseDefaultScreen(false);
        window->bootScreen().setMainTitle(QStringLiteral("报告标题"));
    }

    void exportReport() { child<QToolButton>(*window, "btnExportReport")->click(); }

private slots:
    void init()
    {
        dialogs = ScriptedDialogs();
        window = std::make_unique<TfrmConfig>(dialogs, Settings);
    }

    void commandFollowsSave()
    {
        auto* save = child<QToolButton>(*window, "btnSave");
        auto* report = child<QToolButton>(*window, "btnExportReport");
        QCOMPARE(report->text(), QStringLiteral("导出报告"));
        QCOMPARE(report->parentWidget(), save->parentWidget());
        QVERIFY(report->parentWidget()->layout()->indexOf(report) ==
                report->parentWidget()->layout()->indexOf(save) + 1);
    }

    void writesTheDocumentAsItStands()
    {
        edit();
        const QString pdf = path("line7.pdf");
        dialogs.saveAnswers << pdf;
        exportReport();
        QCOMPARE(dialogs.saveFilters, QStringList{QStringLiteral("PDF 文档 (*.pdf)")});
        QCOMPARE(dialogs.saveSuffixes, QStringList{QStringLiteral("pdf")});
        QCOMPARE(dialogs.messages, QStringList{});
        const QString text = pdfText(pdf);
        // Not saved yet: named after the report, factory values from the
        // settings file.
        for (const QString& part :
             {QStringLiteral("line7"), QStringLiteral("（尚未保存）"), QStringLiteral("报告标题"),
              QStringLiteral("7.77"), QStringLiteral("已修改")})
            QVERIFY2(text.contains(part), qPrintable(part));
        // The window's own image is not touched: no save happened.
        QCOMPARE(window->config().bytes(), QByteArray(layout::ImageSize, '\0'));
    }

    void namesTheSavedFileAndItsChecksums()
    {
        edit();
        const QString hkf = path("machine9.hkf");
        const QString pdf = path("machine9-report.pdf");
        dialogs.saveAnswers << hkf << pdf;
        window->btnSaveClick();
        exportReport();
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("machine9.hkf")), qPrintable(text));
        const QByteArray saved = readAll(hkf);
        for (const layout::Block& block : layout::Blocks) {
            const int crc = quint8(saved[block.crcLow()]) | (quint8(saved[block.crcHigh()]) << 8);
            const QString hex = QStringLiteral("%1").arg(crc, 4, 16, QLatin1Char('0')).toUpper();
            QVERIFY2(text.contains(hex), qPrintable(hex));
        }
    }

    void cancelledOrRefusedWritesNothing()
    {
        edit();
        exportReport(); // the dialog cancelled
        QCOMPARE(dialogs.messages, QStringList{});

        edit(QStringLiteral("10.1.1.255"));
        const QString pdf = path("refused.pdf");
        dialogs.saveAnswers << pdf;
        exportReport();
        QCOMPARE(dialogs.messages, QStringList{NetAddressInvalidMessage});
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestExportReport)
#include "tst_exportreport.moc"
