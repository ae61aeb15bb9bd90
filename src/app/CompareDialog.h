#pragma once

// The two dialogs of the compare command: what to compare with, and the
// differences with a check box each.

#include "Dialogs.h"

#include <QDialog>
#include <array>

class QTreeWidget;

namespace hmk {

// The sources in the order of Dialogs::CompareSource.
inline const std::array<QString, 3> CompareSourceCaptions{
    QStringLiteral("出厂设定值"), QStringLiteral("上次保存"), QStringLiteral("已有文件…")};
inline const QString CompareQuestion = QStringLiteral("与哪一份参数对比？");
inline const QString TakeSelectedCaption = QStringLiteral("采用所选");
inline const QString CloseCaption = QStringLiteral("关闭");

// What to compare with: one button per source, or CompareCancelled when the
// dialog is closed.
int askCompareSource(QWidget* parent);

class DifferencesDialog : public QDialog
{
    Q_OBJECT
public:
    DifferencesDialog(const QString& title, const QString& note,
                      const QList<Dialogs::DifferenceRow>& rows, QWidget* parent = nullptr);

    // The rows whose check box is on.
    QList<int> checkedRows() const;
    QTreeWidget* list() const { return FList; }

private:
    QTreeWidget* FList;
};

} // namespace hmk
