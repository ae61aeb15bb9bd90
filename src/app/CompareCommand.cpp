#include "CompareCommand.h"

#include "CompareDialog.h"
#include "bootscreen/BootScreenModel.h"
#include "params/ConfigOpener.h"
#include "params/DocumentCompare.h"
#include "params/OverviewTable.h"

#include <QFileInfo>

namespace hmk {

namespace {

// The overview's row name where the list has a row, otherwise the label of
// the page control.
QString rowName(const Difference& d)
{
    for (const OverviewRow& row : overviewRows()) {
        const bool same =
            d.param
                ? row.param == d.param
                : (d.bootItem == BootItem::MainTitle && row.source == OverviewSource::MainTitle) ||
                      (d.bootItem == BootItem::SubTitle && row.source == OverviewSource::SubTitle);
        if (same)
            return QString::fromUtf8(row.name);
    }
    return d.label;
}

} // namespace

bool runCompare(const CompareTarget& t)
{
    const int source = t.dialogs->compareSource(t.parent);
    if (source < Dialogs::CompareFactory || source > Dialogs::CompareFile)
        return false;

    const Document current = documentOf(t.readControls(), *t.boot);
    const ShowMessage show = [&](const QString& m) { t.dialogs->message(t.parent, m); };
    OtherDocument other;
    QString sourceName = CompareSourceCaptions[source];
    if (source == Dialogs::CompareFile) {
        const QString path = t.dialogs->openFile(t.parent, t.fileFilter);
        // Cancelled, or a name that the open command ignores as well.
        if (path.isEmpty() || !hasHkfExtension(path))
            return false;
        sourceName = QFileInfo(path).fileName();
        other = fileDocument(current, path);
    } else {
        const auto ini = IniFile::load(t.settingsPath);
        other = settingsDocument(ini ? &*ini : nullptr, source == Dialogs::CompareFactory, show);
    }
    if (!other.document) {
        show(other.error);
        return false;
    }

    const QList<Difference> diffs =
        compareDocuments(current, *other.document, other.paramsIncluded);
    if (diffs.isEmpty()) {
        QString text = NoDifferencesMessage.arg(sourceName);
        if (!other.note.isEmpty())
            text += QLatin1Char('\n') + other.note;
        show(text);
        return false;
    }
    QList<Dialogs::DifferenceRow> rows;
    for (const Difference& d : diffs) {
        const bool picture = !d.param && d.bootItem == BootItem::Picture;
        rows.append({rowName(d), d.ours, picture ? PixelsDifferText.arg(d.pixels) : d.theirs});
    }
    const QList<int> chosen =
        t.dialogs->chooseDifferences(t.parent, CompareTitle.arg(sourceName), other.note, rows);
    if (chosen.isEmpty())
        return false;

    ParamValues values = current.params;
    bool paramsTaken = false;
    for (const BootItemInfo& info : bootItems()) {
        for (int i : chosen) {
            if (i >= 0 && i < diffs.size() && !diffs[i].param && diffs[i].bootItem == info.item)
                applyBootItem(*t.boot, info.item, other.document->boot);
        }
    }
    for (int i : chosen) {
        if (i < 0 || i >= diffs.size() || !diffs[i].param)
            continue;
        const int p = paramIndex(*diffs[i].param);
        values[p] = other.document->params[p];
        paramsTaken = true;
    }
    if (paramsTaken)
        t.writeControls(values);
    return true;
}

} // namespace hmk
