#include "OverviewFilter.h"

#include "params/OverviewTable.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QTreeWidget>

namespace hmk {

namespace {

const QColor OutOfRangeColor(0xC0, 0x10, 0x10);
const QColor ChangedMarkColor(0xE0, 0x80, 0x00);
constexpr int MarkDiameter = 6;
constexpr int Columns = 3;

struct RowMark
{
    bool changed = false;
    QString factoryText;
    bool outside = false;
    QString range;
};

RowMark markOf(const OverviewRow& row, const Document& current, const Document& factory)
{
    RowMark mark;
    switch (row.source) {
    case OverviewSource::MainTitle:
        mark.changed = current.boot.mainTitle != factory.boot.mainTitle;
        mark.factoryText = factory.boot.mainTitle;
        break;
    case OverviewSource::SubTitle:
        mark.changed = current.boot.subTitle != factory.boot.subTitle;
        mark.factoryText = factory.boot.subTitle;
        break;
    case OverviewSource::Parameter: {
        const ParamEntry& entry = *row.param;
        const int i = paramIndex(entry);
        mark.changed = !sameValue(entry, current.params[i], factory.params[i]);
        mark.factoryText = shownValue(entry, factory.params[i]);
        mark.outside = outsideLimits(entry, current.params[i].number);
        if (mark.outside)
            mark.range = limitsText(entry);
        break;
    }
    }
    return mark;
}

void applyMark(QTreeWidgetItem* item, const RowMark& mark)
{
    item->setData(0, ChangedRole, mark.changed);
    item->setData(0, OutOfRangeRole, mark.outside);
    QStringList tips;
    if (mark.outside)
        tips << OutOfRangeTip.arg(mark.range);
    if (mark.changed)
        tips << FactoryValueTip.arg(mark.factoryText);
    for (int c = 0; c < Columns; ++c) {
        if (mark.changed) {
            QFont bold = item->font(c);
            bold.setBold(true);
            item->setFont(c, bold);
        }
        if (mark.outside)
            item->setForeground(c, OutOfRangeColor);
        if (!tips.isEmpty())
            item->setToolTip(c, tips.join(QLatin1Char('\n')));
    }
}

} // namespace

namespace {

void markRows(QTreeWidget* list, const Document& current, const Document& factory)
{
    const auto& rows = overviewRows();
    for (int g = 0; g < list->topLevelItemCount() && g < OverviewGroupCount; ++g) {
        QTreeWidgetItem* group = list->topLevelItem(g);
        int child = 0;
        for (const OverviewRow& row : rows) {
            if (row.group != g)
                continue;
            if (child >= group->childCount())
                break;
            applyMark(group->child(child++), markOf(row, current, factory));
        }
    }
}

} // namespace

void markOverview(QTreeWidget* list, const Document& current, const Document& factory)
{
    // One repaint for all marks instead of a change signal per font, colour
    // and tooltip of every cell.
    {
        const QSignalBlocker quiet(list->model());
        markRows(list, current, factory);
    }
    list->viewport()->update();
}

void OverviewMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (index.column() != 0 || !index.data(ChangedRole).toBool())
        return;
    const QRect r = option.rect;
    const QRect dot(r.right() - MarkDiameter - 4, r.center().y() - MarkDiameter / 2, MarkDiameter,
                    MarkDiameter);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(ChangedMarkColor);
    painter->drawEllipse(dot);
    painter->restore();
}

OverviewFilterBar::OverviewFilterBar(QTreeWidget* list, QWidget* parent)
    : QWidget(parent), FList(list), FSearch(new QLineEdit(this)),
      FOnlyChanged(new QCheckBox(OnlyChangedCaption, this))
{
    setObjectName(QStringLiteral("barOverviewFilter"));
    FSearch->setObjectName(QStringLiteral("edtOverviewSearch"));
    FSearch->setPlaceholderText(SearchPlaceholder);
    FSearch->setClearButtonEnabled(true);
    FOnlyChanged->setObjectName(QStringLiteral("cbOnlyChanged"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(8);
    layout->addWidget(FSearch, 1);
    layout->addWidget(FOnlyChanged);
    connect(FSearch, &QLineEdit::textChanged, this, &OverviewFilterBar::applyFilter);
    connect(FOnlyChanged, &QCheckBox::toggled, this, &OverviewFilterBar::applyFilter);
}

bool OverviewFilterBar::isClear() const
{
    return FSearch->text().isEmpty() && !FOnlyChanged->isChecked();
}

void OverviewFilterBar::applyFilter()
{
    const QString text = FSearch->text().trimmed();
    const bool onlyChanged = FOnlyChanged->isChecked();
    for (int g = 0; g < FList->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = FList->topLevelItem(g);
        bool anyShown = false;
        for (int r = 0; r < group->childCount(); ++r) {
            QTreeWidgetItem* row = group->child(r);
            bool shown = !onlyChanged || row->data(0, ChangedRole).toBool();
            if (shown && !text.isEmpty()) {
                shown = false;
                for (int c = 0; c < Columns && !shown; ++c)
                    shown = row->text(c).contains(text, Qt::CaseInsensitive);
            }
            // A row that is hidden gives up the selection: only rows shown
            // can be selected.
            if (!shown && row->isSelected())
                row->setSelected(false);
            // Only real changes: each one lays the list out again.
            if (row->isHidden() == shown)
                row->setHidden(!shown);
            anyShown = anyShown || shown;
        }
        if (group->isHidden() == anyShown)
            group->setHidden(!anyShown);
    }
}

} // namespace hmk
