#include "PageControl.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace hmk {

PageControl::PageControl(QWidget* parent)
    : QWidget(parent), FTabs(new QTabBar(this)), FPages(new QStackedWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FTabs->setDrawBase(true);
    FTabs->setExpanding(false);
    FTabs->setUsesScrollButtons(false);
    FPages->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(FTabs);
    layout->addWidget(FPages, 1);
    // The tab bar has already switched when it reports the change, but the
    // page under it has not: changing() runs while the old page still shows.
    connect(FTabs, &QTabBar::currentChanged, this, &PageControl::showPage);
}

void PageControl::addPage(QWidget* page, const QString& caption)
{
    // A page added before any tab becomes current without a change of page.
    const QSignalBlocker blocker(FTabs);
    FPages->addWidget(page);
    FTabs->addTab(caption);
}

int PageControl::activePageIndex() const
{
    return FPages->currentIndex();
}

void PageControl::setActivePageIndex(int index)
{
    if (index < 0 || index >= pageCount() || index == activePageIndex())
        return;
    FTabs->setCurrentIndex(index);
}

int PageControl::pageCount() const
{
    return FPages->count();
}

QWidget* PageControl::page(int index) const
{
    return FPages->widget(index);
}

void PageControl::showPage(int index)
{
    if (index < 0 || index == FPages->currentIndex())
        return;
    emit changing(index);
    FPages->setCurrentIndex(index);
    emit changed(index);
}

} // namespace hmk
