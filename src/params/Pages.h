#pragma once

// The pages of the main window, in the order of its page control. The
// catalogue puts each parameter group on one of them, the overview list
// sends a double-clicked row to one, and the window's page commands show
// them; all three name a page by this enum.

#include <QString>

namespace hmk {

enum class Page
{
    Overview,
    Technics,
    Motion,
    Machine,
    Net,
    Other,
    SeniorParam,
    BootScreen,
};

inline constexpr int PageCount = 8;

// The page control's index of a page.
constexpr int pageIndex(Page page)
{
    return static_cast<int>(page);
}

// The caption of a page, "工艺参数": its tab, its ribbon button and its
// navigation group all show it.
QString pageCaption(Page page);

// The boot-screen page's two titles, as the page, the overview, the
// comparison, the fit warning and the report name them.
inline constexpr const char MainTitleLabel[] = "主标题";
inline constexpr const char SubTitleLabel[] = "副标题";

} // namespace hmk
