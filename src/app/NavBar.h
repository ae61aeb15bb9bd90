#pragma once

#include <QLabel>
#include <QScrollArea>

class QToolButton;
class QVBoxLayout;

namespace hmk {

// A text link in a navigation group.
class NavLink : public QLabel
{
    Q_OBJECT
public:
    NavLink(const QString& caption, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

// An explorer-bar group: a caption bar that collapses and expands the list
// of links under it.
class NavGroup : public QWidget
{
    Q_OBJECT
public:
    NavGroup(const QString& caption, QWidget* parent = nullptr);

    NavLink* addItem(const QString& objectName, const QString& caption);
    bool isExpanded() const { return FExpanded; }
    void setExpanded(bool expanded);
    QString caption() const;

signals:
    // The user collapsed the group with its caption bar.
    void collapsed();

private:
    QToolButton* FHeader;
    QWidget* FBody;
    QVBoxLayout* FItems;
    bool FExpanded = true;
};

// The navigation bar: groups from top to bottom, scrolled when they do not
// fit.
class NavBar : public QScrollArea
{
    Q_OBJECT
public:
    explicit NavBar(QWidget* parent = nullptr);

    NavGroup* addGroup(const QString& objectName, const QString& caption);

private:
    QVBoxLayout* FGroups;
};

} // namespace hmk
