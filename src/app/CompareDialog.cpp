#include "CompareDialog.h"

#include "params/ConfigOpener.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace hmk {

int askCompareSource(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, ToolTitle, CompareQuestion, QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("dlgCompareSource"));
    std::array<QAbstractButton*, 3> buttons{};
    for (int i = 0; i < 3; ++i)
        buttons[i] = box.addButton(CompareSourceCaptions[i], QMessageBox::AcceptRole);
    box.setDefaultButton(static_cast<QPushButton*>(buttons[0]));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.exec();
    for (int i = 0; i < 3; ++i)
        if (box.clickedButton() == buttons[i])
            return i;
    return Dialogs::CompareCancelled;
}

DifferencesDialog::DifferencesDialog(const QString& title, const QString& note,
                                     const QList<Dialogs::DifferenceRow>& rows, QWidget* parent)
    : QDialog(parent), FList(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("dlgDifferences"));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    if (!note.isEmpty()) {
        auto* label = new QLabel(note, this);
        label->setObjectName(QStringLiteral("lblCompareNote"));
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    FList->setObjectName(QStringLiteral("lvDifferences"));
    FList->setColumnCount(3);
    FList->setHeaderLabels(
        {QStringLiteral("参数名称"), QStringLiteral("当前值"), QStringLiteral("对比值")});
    FList->setRootIsDecorated(false);
    FList->setIndentation(0);
    FList->setSelectionMode(QAbstractItemView::NoSelection);
    FList->setColumnWidth(0, 170);
    FList->setColumnWidth(1, 170);
    FList->header()->setStretchLastSection(true);
    for (const Dialogs::DifferenceRow& row : rows) {
        auto* item = new QTreeWidgetItem(FList, {row.name, row.ours, row.theirs});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        for (int c = 1; c < 3; ++c)
            item->setToolTip(c, item->text(c));
    }
    layout->addWidget(FList, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* take = buttons->addButton(TakeSelectedCaption, QDialogButtonBox::AcceptRole);
    take->setObjectName(QStringLiteral("btnTakeSelected"));
    QPushButton* close = buttons->addButton(CloseCaption, QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("btnCloseDifferences"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, std::min(160 + 24 * int(rows.size()), 560));
}

QList<int> DifferencesDialog::checkedRows() const
{
    QList<int> rows;
    for (int i = 0; i < FList->topLevelItemCount(); ++i)
        if (FList->topLevelItem(i)->checkState(0) == Qt::Checked)
            rows << i;
    return rows;
}

} // namespace hmk
