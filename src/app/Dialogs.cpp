#include "Dialogs.h"

#include "CompareDialog.h"
#include "ConfigMain.h"
#include "FileSelect.h"
#include "PictureImportDialog.h"

#include <QFileDialog>
#include <QMessageBox>

namespace hmk {

QString QtDialogs::openFile(QWidget* parent, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString QtDialogs::saveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtDialogs::message(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, ToolTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

int QtDialogs::startupChoice(QWidget* parent)
{
    // Closed with its close box, the dialog leaves the factory values.
    int choice = 0;
    TfrmOpenFile dialog(choice, parent);
    // The main window is placed but not shown yet: centre on where it will be.
    if (parent)
        dialog.move(parent->geometry().center() - dialog.rect().center());
    dialog.exec();
    return choice;
}

std::optional<PictureOptions> QtDialogs::pictureOptions(QWidget* parent, const QImage& picture)
{
    PictureImportDialog dialog(picture, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.options();
}

int QtDialogs::compareSource(QWidget* parent)
{
    return askCompareSource(parent);
}

QList<int> QtDialogs::chooseDifferences(QWidget* parent, const QString& title, const QString& note,
                                        const QList<DifferenceRow>& rows)
{
    DifferencesDialog dialog(title, note, rows, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.checkedRows() : QList<int>{};
}

} // namespace hmk
