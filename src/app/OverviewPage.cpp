#include "OverviewPage.h"

#include "ChoiceGroup.h"
#include "NumericEdit.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace hmk {

namespace {

// Overview rows carry their group ID here; group headers carry none.
constexpr int GroupIdRole = Qt::UserRole;

} // namespace

OverviewPage::OverviewPage(const HintMap& hints, QWidget* parent) : QWidget(parent), FHints(hints)
{
    FList = new QTreeWidget;
    FList->setObjectName(QStringLiteral("lvDesc"));
    FList->setColumnCount(3);
    FList->setHeaderLabels(
        {QStringLiteral("参数名称"), QStringLiteral("参数值"), QStringLiteral("注释")});
    FList->setColumnWidth(0, 120);
    FList->setColumnWidth(1, 150);
    FList->setColumnWidth(2, 450);
    FList->header()->setStretchLastSection(false);
    FList->setRootIsDecorated(false);
    FList->setItemsExpandable(false);
    FList->setExpandsOnDoubleClick(false);
    FList->setIndentation(0);
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    FList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FList->setFrameShape(QFrame::NoFrame);
    FList->setStyleSheet(QStringLiteral(
        "QTreeWidget::item { border-right: 1px solid #e3e3e3; border-bottom: 1px solid #e3e3e3;"
        " padding: 1px 2px; }"
        // A style sheet on the items replaces the style's selection colours:
        // give the selected row its own, or its text turns invisible.
        "QTreeWidget::item:selected { background: #cfe2f8; color: black; }"));
    connect(FList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                for (const QModelIndex& index : deselected.indexes())
                    if (index.column() == 0)
                        emit rowSelected(FList->itemFromIndex(index), false);
                for (const QModelIndex& index : selected.indexes())
                    if (index.column() == 0)
                        emit rowSelected(FList->itemFromIndex(index), true);
            });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FList);
}

void OverviewPage::BuildOverview(const ControlOf& controlOf)
{
    FList->clear();
    std::array<QTreeWidgetItem*, OverviewGroupCount> groups{};
    for (int g = 0; g < OverviewGroupCount; ++g) {
        auto* header = new QTreeWidgetItem(FList, {QString::fromUtf8(overviewGroups()[g].header)});
        header->setFlags(Qt::ItemIsEnabled);
        header->setFirstColumnSpanned(true);
        QFont bold = header->font(0);
        bold.setBold(true);
        header->setFont(0, bold);
        header->setForeground(0, QColor(0x1c, 0x4f, 0x9c));
        groups[g] = header;
    }
    for (const OverviewRow& row : overviewRows()) {
        QTreeWidgetItem* group = groups[row.group];
        const QString name = QString::fromUtf8(row.name);
        QWidget* control = controlOf(row);
        if (row.source != OverviewSource::Parameter) {
            AddTextRow(group, name, static_cast<QLineEdit*>(control));
            continue;
        }
        switch (row.param->kind) {
        case ControlKind::Numeric:
            AddNumberRow(group, name, static_cast<NumericEdit*>(control));
            break;
        case ControlKind::Choice:
            AddChoiceRow(group, name, static_cast<ChoiceGroup*>(control));
            break;
        case ControlKind::Address:
            AddTextRow(group, name, static_cast<QLineEdit*>(control));
            break;
        }
    }
    FList->expandAll();
}

QTreeWidgetItem* OverviewPage::addRow(QTreeWidgetItem* group, const QString& name,
                                      const QString& value, const QWidget* control)
{
    const QString hint = FHints.value(control->property(HintKeyProperty).toString());
    auto* row = new QTreeWidgetItem(group, {name, value, hint});
    row->setData(0, GroupIdRole, FList->indexOfTopLevelItem(group));
    return row;
}

void OverviewPage::AddNumberRow(QTreeWidgetItem* group, const QString& name, NumericEdit* control)
{
    addRow(group, name, generalFormat(control->value()), control);
}

void OverviewPage::AddChoiceRow(QTreeWidgetItem* group, const QString& name,
                                const ChoiceGroup* control)
{
    // A group with nothing selected shows an empty value.
    addRow(group, name, control->caption(control->itemIndex()), control);
}

void OverviewPage::AddTextRow(QTreeWidgetItem* group, const QString& name, const QLineEdit* control)
{
    addRow(group, name, control->text(), control);
}

QTreeWidgetItem* OverviewPage::rowAt(const QPoint& pos) const
{
    QTreeWidgetItem* item = FList->itemAt(pos);
    // Group headers are no rows.
    return item && item->parent() ? item : nullptr;
}

std::optional<Page> OverviewPage::pageOf(const QTreeWidgetItem* row) const
{
    const int group = row->data(0, GroupIdRole).toInt();
    if (group < 0 || group >= OverviewGroupCount)
        return std::nullopt;
    return overviewGroups()[group].page;
}

} // namespace hmk
