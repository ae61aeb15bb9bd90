// The window's "导出报告": the service report of the document as it stands.

#include "ConfigMain.h"
#include "PageControl.h"

#include "params/ConfigBuilder.h"
#include "params/IniFile.h"
#include "params/SettingsLoader.h"
#include "report/ServiceReport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

using namespace hmk;

namespace {

const QString PdfFilter = QStringLiteral("PDF 文档 (*.pdf)");
const QString PdfSuffix = QStringLiteral("pdf");
// The report's file name before the document was opened from or saved to one.
const QString NotSavedYet = QStringLiteral("（尚未保存）");

} // namespace

void TfrmConfig::btnExportReportClick()
{
    // As for a save: leaving a title field cuts it before anything is read.
    FPages->setFocus();
    const QString pdfPath = FDialogs.saveFile(this, PdfFilter, PdfSuffix);
    if (pdfPath.isEmpty())
        return;

    // What a save would write now, built into a copy of the image object so
    // that the fields earlier saves left are there as in a save, and the
    // window's own image stays as it was. The configuration name is that of
    // the file last opened or saved; without one, the report's own name.
    const QString documentFile =
        !FDocumentFile.isEmpty()
            ? FDocumentFile
            : QFileInfo(pdfPath).dir().filePath(QFileInfo(pdfPath).completeBaseName() +
                                                QStringLiteral(".hkf"));
    const ParamValues values = readControls();
    THMK725ConfigData image = *FConfig;
    if (ExportConfig(documentFile, values, *FBootScreen, image) ==
        ExportResult::RefusedNetAddress) {
        FDialogs.message(this, NetAddressInvalidMessage);
        return;
    }

    const IniFileLoad ini = IniFile::load(settingsPath());
    if (!reportError(ini.status))
        return;
    const QString fileName =
        FDocumentFile.isEmpty() ? NotSavedYet : QFileInfo(FDocumentFile).fileName();
    const ServiceReport report{fileName, QDateTime::currentDateTime(), image.bytes(), values,
                               ini ? FactoryParamValues(*ini) : formValues()};
    reportError(writeServiceReport(report, pdfPath));
}
