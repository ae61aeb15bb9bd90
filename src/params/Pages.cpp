#include "Pages.h"

#include <array>

namespace hmk {

namespace {

const std::array<const char*, PageCount> Captions{
    "信息总览", "工艺参数", "运动参数", "机械参数", "网络参数", "其他参数", "高级参数", "开机画面",
};

} // namespace

QString pageCaption(Page page)
{
    return QString::fromUtf8(Captions[pageIndex(page)]);
}

} // namespace hmk
