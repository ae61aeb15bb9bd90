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

    // What was asked and shown, in order.
    QStringList openFilters;
    QStringList saveFilters;
    QStringList saveSuffixes;
    QStringList messages;
    int startupAsked = 0;
    QList<QImage> picturesShown;

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
};

} // namespace hmk
