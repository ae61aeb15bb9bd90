#pragma once

#include <QWidget>

class QTabBar;
class QStackedWidget;

namespace hmk {

// Tabs along the top over a stack of pages. Every actual change of page, by
// a tab click or by code, emits changing() with the new index before the new
// page is shown; asking for the page already shown changes nothing.
class PageControl : public QWidget
{
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);

    void addPage(QWidget* page, const QString& caption);
    int activePageIndex() const;
    void setActivePageIndex(int index);
    int pageCount() const;
    QWidget* page(int index) const;
    QTabBar* tabBar() const { return FTabs; }

signals:
    void changing(int newIndex);
    void changed(int index);

private:
    void showPage(int index);

    QTabBar* FTabs;
    QStackedWidget* FPages;
};

} // namespace hmk
