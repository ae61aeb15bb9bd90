#pragma once

// The overview's marks and its find-and-filter bar. A row whose value
// differs from the factory value is bold with a small marker in its name
// cell; a numeric row outside its field's limits is red, its tooltip naming
// the range. The bar above the list hides the rows that do not match the
// search text (row name, value or note, ignoring case) or, with
// "只显示已修改", are not marked as changed; a group without a row shown is
// hidden with them. Neither ever changes a value or a row's text.

#include "params/DocumentCompare.h"

#include <QStyledItemDelegate>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace hmk {

inline const QString OutOfRangeTip = QStringLiteral("超出范围：%1");
inline const QString FactoryValueTip = QStringLiteral("出厂设定值：%1");
inline const QString SearchPlaceholder = QStringLiteral("查找：参数名称、参数值或注释");
inline const QString OnlyChangedCaption = QStringLiteral("只显示已修改");

// Carried by column 0 of a marked row.
inline constexpr int ChangedRole = Qt::UserRole + 1;
inline constexpr int OutOfRangeRole = Qt::UserRole + 2;

// Marks the rows of a freshly built overview list (its groups and rows in
// the order of the overview table) from the document the controls hold and
// the factory document.
void markOverview(QTreeWidget* list, const Document& current, const Document& factory);

// Paints the changed-marker at the right end of a marked row's name cell.
class OverviewMarkDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

class OverviewFilterBar : public QWidget
{
    Q_OBJECT
public:
    explicit OverviewFilterBar(QTreeWidget* list, QWidget* parent = nullptr);

    QLineEdit* searchField() const { return FSearch; }
    QCheckBox* onlyChangedBox() const { return FOnlyChanged; }
    // Neither a search text nor "只显示已修改": every row is shown.
    bool isClear() const;

    // Shows and hides rows and groups for the current search and switch;
    // run after every rebuild of the list and on every change of the bar.
    void applyFilter();

private:
    QTreeWidget* FList;
    QLineEdit* FSearch;
    QCheckBox* FOnlyChanged;
};

} // namespace hmk
