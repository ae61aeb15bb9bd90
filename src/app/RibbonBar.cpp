#include "RibbonBar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace hmk {

RibbonBar::RibbonBar(QWidget* parent)
    : QWidget(parent), FGroups(new QHBoxLayout(this)), FChevron(new QToolButton(this))
{
    setObjectName(QStringLiteral("dxRibbon1"));
    setFixedHeight(ExpandedHeight);
    FGroups->setContentsMargins(4, 2, 4, 0);
    FGroups->setSpacing(0);

    FChevron->setObjectName(QStringLiteral("btnRibbonMinimize"));
    FChevron->setAutoRaise(true);
    FChevron->setArrowType(Qt::UpArrow);
    FChevron->setFixedSize(16, 16);
    connect(FChevron, &QToolButton::clicked, this, [this] { setMinimized(!FMinimized); });
    FGroups->addWidget(FChevron, 0, Qt::AlignBottom);
    FGroups->addStretch();
}

void RibbonBar::addGroup(const QString& title)
{
    // Groups go before the chevron and the closing stretch.
    const int at = FGroups->count() - 2;
    if (!FButtonRows.isEmpty()) {
        auto* separator = new QFrame(this);
        separator->setFrameShape(QFrame::VLine);
        separator->setFrameShadow(QFrame::Sunken);
        FGroups->insertWidget(at, separator);
    }
    auto* group = new QWidget(this);
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(2, 0, 2, 1);
    column->setSpacing(0);
    auto* buttons = new QWidget(group);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    column->addWidget(buttons, 1);
    FButtonRows.append(buttons);
    auto* caption = new QLabel(title, group);
    caption->setAlignment(Qt::AlignCenter);
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, QColor(70, 80, 100));
    caption->setPalette(palette);
    column->addWidget(caption, 0, Qt::AlignBottom);
    FGroups->insertWidget(FGroups->count() - 2, group);
}

QToolButton* RibbonBar::addButton(const QString& objectName, const QString& caption,
                                  const QIcon& icon)
{
    Q_ASSERT(!FButtonRows.isEmpty());
    QWidget* row = FButtonRows.constLast();
    auto* button = new QToolButton(row);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    row->layout()->addWidget(button);
    return button;
}

void RibbonBar::setMinimized(bool minimized)
{
    if (minimized == FMinimized)
        return;
    FMinimized = minimized;
    for (QWidget* row : FButtonRows)
        row->setVisible(!minimized);
    FChevron->setArrowType(minimized ? Qt::DownArrow : Qt::UpArrow);
    setFixedHeight(minimized ? MinimizedHeight : ExpandedHeight);
    emit minimizedChanged(minimized);
}

void RibbonBar::paintEvent(QPaintEvent*)
{
    // The silver of the ribbon: a light vertical gradient and a rule below.
    QPainter p(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(246, 247, 250));
    gradient.setColorAt(1, QColor(218, 222, 230));
    p.fillRect(rect(), gradient);
    p.setPen(QColor(170, 175, 185));
    p.drawLine(0, height() - 1, width(), height() - 1);
}

} // namespace hmk
