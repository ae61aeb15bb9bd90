#pragma once

#include "bootscreen/BootPicture.h"

#include <QImage>
#include <QList>
#include <QString>
#include <optional>

class QWidget;

namespace hmk {

// Everything the window asks the user outside its own controls. The program
// uses QtDialogs; tests hand the window a scripted implementation.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A file to open, or an empty string when the user cancelled. The filter
    // is in Qt's form: "HMK725配置文件 (*.hkf)".
    virtual QString openFile(QWidget* parent, const QString& filter) = 0;
    // A file to save to, or an empty string when the user cancelled. A name
    // typed without an extension gets defaultSuffix ("hkf"). An existing file
    // is replaced without a question.
    virtual QString saveFile(QWidget* parent, const QString& filter,
                             const QString& defaultSuffix) = 0;
    // A modal message with one OK button, captioned with the tool's title.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // Where the first values come from: 0 = the factory values, any other
    // value = open an existing file.
    virtual int startupChoice(QWidget* parent) = 0;
    // How to import a boot picture just read, shown as it will be stored;
    // nothing when the user cancelled.
    virtual std::optional<PictureOptions> pictureOptions(QWidget* parent,
                                                         const QImage& picture) = 0;

    // What to compare the window with.
    enum CompareSource
    {
        CompareCancelled = -1,
        CompareFactory = 0, // "出厂设定值"
        CompareLast = 1,    // "上次保存"
        CompareFile = 2,    // "已有文件…"
    };
    virtual int compareSource(QWidget* parent) = 0;

    // One row of the differences dialog.
    struct DifferenceRow
    {
        QString name;   // the overview's row name, or the page control's label
        QString ours;   // the current value
        QString theirs; // the value compared with
    };
    // Shows the differences, each with a check box (unchecked at first), and
    // `note` above them when it is not empty. The indices of the rows
    // checked when the user pressed "采用所选"; nothing for "关闭".
    virtual QList<int> chooseDifferences(QWidget* parent, const QString& title, const QString& note,
                                         const QList<DifferenceRow>& rows) = 0;
};

class QtDialogs : public Dialogs
{
public:
    QString openFile(QWidget* parent, const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix) override;
    void message(QWidget* parent, const QString& text) override;
    int startupChoice(QWidget* parent) override;
    std::optional<PictureOptions> pictureOptions(QWidget* parent, const QImage& picture) override;
    int compareSource(QWidget* parent) override;
    QList<int> chooseDifferences(QWidget* parent, const QString& title, const QString& note,
                                 const QList<DifferenceRow>& rows) override;
};

} // namespace hmk
