#include "Dialogs.h"

#include "ConfigMain.h"

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

int QtDialogs::startupChoice(QWidget*)
{
    // The start-up dialog is not built yet: start from the factory values.
    return 0;
}

} // namespace hmk
