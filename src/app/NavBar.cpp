#include "NavBar.h"

#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace hmk {

NavLink::NavLink(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("color: #1c4f9c; padding: 1px 0 1px 8px;"));
}

void NavLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void NavLink::enterEvent(QEnterEvent* event)
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QLabel::enterEvent(event);
}

void NavLink::leaveEvent(QEvent* event)
{
    QFont f = font();
    f.setUnderline(false);
    setFont(f);
    QLabel::leaveEvent(event);
}

NavGroup::NavGroup(const QString& caption, QWidget* parent)
    : QWidget(parent), FHeader(new QToolButton(this)), FBody(new QWidget(this)),
      FItems(new QVBoxLayout(FBody))
{
    FHeader->setText(caption);
    FHeader->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    FHeader->setArrowType(Qt::UpArrow);
    FHeader->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    FHeader->setStyleSheet(QStringLiteral(
        "QToolButton { border: none; border-top-left-radius: 4px; border-top-right-radius: 4px;"
        " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #ffffff, stop:1 #c6d3f7);"
        " color: #215dc6; font-weight: bold; padding: 4px 6px; text-align: left; }"));
    FBody->setObjectName(QStringLiteral("body"));
    FBody->setStyleSheet(QStringLiteral(
        "#body { background: #d6dff7; border: 1px solid #ffffff; border-top: none; }"));
    FItems->setContentsMargins(4, 6, 4, 6);
    FItems->setSpacing(4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FHeader);
    layout->addWidget(FBody);
    connect(FHeader, &QToolButton::clicked, this, [this] {
        setExpanded(!FExpanded);
        if (!FExpanded)
            emit collapsed();
    });
}

NavLink* NavGroup::addItem(const QString& objectName, const QString& caption)
{
    auto* link = new NavLink(caption, FBody);
    link->setObjectName(objectName);
    FItems->addWidget(link);
    return link;
}

void NavGroup::setExpanded(bool expanded)
{
    FExpanded = expanded;
    FBody->setVisible(expanded);
    FHeader->setArrowType(expanded ? Qt::UpArrow : Qt::DownArrow);
}

QString NavGroup::caption() const
{
    return FHeader->text();
}

NavBar::NavBar(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("dxitMachine"));
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("navContent"));
    content->setStyleSheet(
        QStringLiteral("#navContent { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                       " stop:0 #7ba2e7, stop:1 #6375d6); }"));
    FGroups = new QVBoxLayout(content);
    FGroups->setContentsMargins(8, 8, 8, 8);
    FGroups->setSpacing(10);
    FGroups->addStretch();
    setWidget(content);
}

NavGroup* NavBar::addGroup(const QString& objectName, const QString& caption)
{
    auto* group = new NavGroup(caption, widget());
    group->setObjectName(objectName);
    FGroups->insertWidget(FGroups->count() - 1, group);
    return group;
}

} // namespace hmk
