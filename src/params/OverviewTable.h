#pragma once

// The rows of the overview list: fixed row names, grouped much as on the
// pages. Each row names its source: an entry of the catalogue, or one of
// the two boot-screen titles. The list shows only these rows: the servo
// type, the two hidden fields and the other boot-screen settings have none.

#include "Pages.h"
#include "ParamCatalogue.h"

#include <array>

namespace hmk {

struct OverviewGroup
{
    const char* header; // "工艺参数"
    Page page;          // the page a double-clicked row of the group shows
};

enum class OverviewSource
{
    Parameter,
    MainTitle,
    SubTitle,
};

struct OverviewRow
{
    int group;        // index into overviewGroups(), the row's group ID
    const char* name; // row name, "穿孔高度"
    OverviewSource source;
    const ParamEntry* param = nullptr; // the catalogue entry of a parameter row
};

inline constexpr int OverviewGroupCount = 12;
inline constexpr int OverviewRowCount = 46;

const std::array<OverviewGroup, OverviewGroupCount>& overviewGroups();
const std::array<OverviewRow, OverviewRowCount>& overviewRows();

} // namespace hmk
