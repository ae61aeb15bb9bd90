#pragma once

// The rows of the overview list: fixed row names, grouped much as on the
// pages. Each row names its source: a parameter of the catalogue, or one of
// the two boot-screen titles. The list shows only these rows: the servo
// type, the two hidden fields and the other boot-screen settings have none.

#include "params/SettingsLoader.h"

#include <array>

namespace hmk {

struct OverviewGroup
{
    const char* header;
    int page; // the page a double-clicked row of the group shows
};

struct OverviewRow
{
    int group;          // index into overviewGroups(), the row's group ID
    const char* name;   // row name, "穿孔高度"
    const char* source; // catalogue name, or MainTitleKey / SubTitleKey
};

inline constexpr int OverviewGroupCount = 12;
inline constexpr int OverviewRowCount = 46;

const std::array<OverviewGroup, OverviewGroupCount>& overviewGroups();
const std::array<OverviewRow, OverviewRowCount>& overviewRows();

} // namespace hmk
