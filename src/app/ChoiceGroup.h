#pragma once

#include <QStringList>
#include <QWidget>

class QButtonGroup;

namespace hmk {

// A row of radio buttons with at most one selected, addressed by index.
// Setting an index beyond the last choice selects the last one; -1 and below
// select nothing.
class ChoiceGroup : public QWidget
{
    Q_OBJECT
public:
    explicit ChoiceGroup(const QStringList& captions, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(qint64 index);
    int count() const;
    QString caption(int index) const;

signals:
    // The user picked a choice.
    void itemClicked(int index);

private:
    QButtonGroup* FButtons;
};

} // namespace hmk
