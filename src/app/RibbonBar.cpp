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
    : QWidget(parent), FGroupArea(new QWidget(this)), FGroups(new QHBoxLayout(FGroupArea)),
      FChevron(new QToolButton(this))
{
    setObjectName(QStringLiteral("dxRibbon1"));
    setFixedHeight(ExpandedHeight);
    FGroups->setContentsMargins(4, 2, 4, 0);
    FGroups->setSpacing(0);
    FGroups->addStretch();

    FChevron->setObjectName(QStringLiteral("btnRibbonMinimize"));
    FChevron->setAutoRaise(true);
    FChevron->setArrowType(Qt::UpArrow);
    FChevron->setFixedSize(16, 16);
    connect(FChevron, &QToolButton::clicked, this, [this] { setMinimized(!FMinimized); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(FGroupArea, 1);
    layout->addWidget(FChevron, 0, Qt::AlignBottom);
}

void RibbonBar::addGroup(const QString& title)
{
    if (FGroups->count() > 1) {
        auto* separator = new QFrame(FGroupArea);
        separator->setFrameShape(QFrame::VLine);
        separator->setFrameShadow(QFrame::Sunken);
        FGroups->insertWidget(FGroups->count() - 1, separator);
    }
    auto* group = new QWidget(FGroupArea);
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(3, 0, 3, 1);
    column->setSpacing(0);
    FCurrentButtons = new QHBoxLayout;
    FCurrentButtons->setSpacing(1);
    column->addLayout(FCurrentButtons, 1);
    auto* caption = new QLabel(title, group);
    caption->setAlignment(Qt::AlignCenter);
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, QColor(70, 80, 100));
    caption->setPalette(palette);
    column->addWidget(caption);
    FGroups->insertWidget(FGroups->count() - 1, group);
}

QToolButton* RibbonBar::addButton(const QString& objectName, const QString& caption,
                                  const QIcon& icon)
{
    Q_ASSERT(FCurrentButtons);
    auto* button = new QToolButton(FCurrentButtons->parentWidget());
    button->setObjectName(objectName);
    button->setText(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(54);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    FCurrentButtons->addWidget(button);
    return button;
}

void RibbonBar::setMinimized(bool minimized)
{
    if (minimized == FMinimized)
        return;
    FMinimized = minimized;
    FGroupArea->setVisible(!minimized);
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
