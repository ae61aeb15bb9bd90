#pragma once

// Dialogs for window tests: answers are queued in advance, and every request
// is recorded so a test can check what the user would have seen.

#include "Dialogs.h"

#include <QList>
#include <QStringList>

namespace hmk {

class ScriptedDialogs : public Dialogs
{
public:
    // Next answers, taken first in first out. An empty queue answers like a
    // user who cancels (an empty file name) or keeps the start-up default (0).
    QStringList openAnswers;
    QStringList saveAnswers;
    QList<int> startupAnswers;
    // The picture import: an empty queue answers like a user who takes the
    // dialog's defaults (the plain import); nullopt cancels.
    QList<std::optional<PictureOptions>> pictureAnswers;
    // Compare: the source (an empty queue cancels) and the rows to take
    // (an empty queue closes the dialog).
    QList<int> compareAnswers;
    QList<QList<int>> differenceAnswers;

    // What was asked and shown, in order.
    QStringList openFilters;
    QStringList saveFilters;
    QStringList saveSuffixes;
    QStringList messages;
    int startupAsked = 0;
    QList<QImage> picturesShown;
    int compareAsked = 0;
    struct DifferencesShown
    {
        QString title;
        QString note;
        QList<DifferenceRow> rows;
    };
    QList<DifferencesShown> differencesShown;

    QString openFile(QWidget*, const QString& filter) override
    {
        openFilters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }

    QString saveFile(QWidget*, const QString& filter, const QString& defaultSuffix) override
    {
        saveFilters << filter;
        saveSuffixes << defaultSuffix;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }

    void message(QWidget*, const QString& text) override { messages << text; }

    int startupChoice(QWidget*) override
    {
        ++startupAsked;
        return startupAnswers.isEmpty() ? 0 : startupAnswers.takeFirst();
    }

    std::optional<PictureOptions> pictureOptions(QWidget*, const QImage& picture) override
    {
        picturesShown << picture;
        return pictureAnswers.isEmpty() ? PictureOptions{} : pictureAnswers.takeFirst();
    }

    int compareSource(QWidget*) override
    {
        ++compareAsked;
        return compareAnswers.isEmpty() ? CompareCancelled : compareAnswers.takeFirst();
    }

    QList<int> chooseDifferences(QWidget*, const QString& title, const QString& note,
                                 const QList<DifferenceRow>& rows) override
    {
        differencesShown.append({title, note, rows});
        return differenceAnswers.isEmpty() ? QList<int>{} : differenceAnswers.takeFirst();
    }
};

} // namespace hmk
