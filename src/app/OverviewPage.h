#pragma once

// The overview page: the list lvDesc with one row per overview row of the
// core's table, under its group's header. A row shows its name, the value
// its control holds and its hint; the window builds the list again whenever
// the page is entered or the values change underneath.

#include "WindowParts.h"
#include "params/OverviewTable.h"

#include <QWidget>
#include <functional>
#include <optional>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace hmk {

class ChoiceGroup;
class NumericEdit;

class OverviewPage : public QWidget
{
    Q_OBJECT
public:
    // The notes of the rows are read from `hints`, which outlives the page.
    explicit OverviewPage(const HintMap& hints, QWidget* parent = nullptr);

    QTreeWidget* lvDesc() const { return FList; }

    // The control a row reads its value from: a parameter control or a title
    // field.
    using ControlOf = std::function<QWidget*(const OverviewRow&)>;
    // Empties the list and fills it anew, every row with its control's value.
    void BuildOverview(const ControlOf& controlOf);
    void AddNumberRow(QTreeWidgetItem* group, const QString& name, NumericEdit* control);
    void AddChoiceRow(QTreeWidgetItem* group, const QString& name, const ChoiceGroup* control);
    void AddTextRow(QTreeWidgetItem* group, const QString& name, const QLineEdit* control);

    // The row at a point of the list's viewport; nullptr on a group header
    // or where there is no row.
    QTreeWidgetItem* rowAt(const QPoint& pos) const;
    // The page a row leads to.
    std::optional<Page> pageOf(const QTreeWidgetItem* row) const;

signals:
    // A row lost (false) or gained (true) the selection; the one that loses
    // it reports first.
    void rowSelected(QTreeWidgetItem* row, bool selected);

private:
    QTreeWidgetItem* addRow(QTreeWidgetItem* group, const QString& name, const QString& value,
                            const QWidget* control);

    const HintMap& FHints;
    QTreeWidget* FList = nullptr;
};

} // namespace hmk
