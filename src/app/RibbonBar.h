#pragma once

#include <QWidget>

class QHBoxLayout;
class QToolButton;

namespace hmk {

// A ribbon of one tab: groups of large buttons side by side, each group's
// title under it. The small chevron after the last group minimises the
// ribbon to a strip of the group titles and restores it; every change of
// that state is reported.
class RibbonBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ExpandedHeight = 90;
    static constexpr int MinimizedHeight = 30;

    explicit RibbonBar(QWidget* parent = nullptr);

    // Groups are added left to right; buttons go into the last group added.
    void addGroup(const QString& title);
    QToolButton* addButton(const QString& objectName, const QString& caption, const QIcon& icon);

    bool isMinimized() const { return FMinimized; }
    void setMinimized(bool minimized);

signals:
    void minimizedChanged(bool minimized);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* FGroups;
    QList<QWidget*> FButtonRows;
    QToolButton* FChevron;
    bool FMinimized = false;
};

} // namespace hmk
