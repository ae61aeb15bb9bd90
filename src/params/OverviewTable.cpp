#include "OverviewTable.h"

#include "CatalogueTable.h"

namespace hmk {

namespace {

consteval OverviewRow row(int group, const char* name, std::string_view param)
{
    return {group, name, OverviewSource::Parameter, catalogue_table::entryNamed(param)};
}

constexpr OverviewRow title(int group, const char* name, OverviewSource source)
{
    return {group, name, source};
}

constexpr std::array<OverviewGroup, OverviewGroupCount> Groups{{
    {"开机画面", Page::BootScreen},
    {"工艺参数", Page::Technics},
    {"速度参数", Page::Motion},
    {"复位参数", Page::Motion},
    {"点动参数", Page::Motion},
    {"机械参数", Page::Machine},
    {"网络参数", Page::Net},
    {"报警参数", Page::Other},
    {"寻边参数", Page::Other},
    {"标定参数", Page::Other},
    {"系统参数", Page::SeniorParam},
    {"高级随动参数", Page::SeniorParam},
}};

constexpr std::array<OverviewRow, OverviewRowCount> Rows{{
    title(0, MainTitleLabel, OverviewSource::MainTitle),
    title(0, SubTitleLabel, OverviewSource::SubTitle),

    row(1, "穿孔高度", "PunchHeight"),
    row(1, "回中坐标", "CyrusCoordinate"),
    row(1, "停靠坐标", "StayCoordinate"),
    row(1, "Z轴行程", "ZRange"),
    row(1, "穿孔延时", "PunchDelay"),
    row(1, "渐进速度", "PunchSpeed"),
    row(1, "跟随方式", "FollowType"),

    row(2, "空移速度", "MoveSpeed"),
    row(2, "加速度", "Acceleration"),

    row(3, "上电是否复位", "ORGWhenPower"),
    row(3, "复位后回停靠", "ReturnStayPosAfterORG"),
    row(3, "复位速度", "ORGSpeed"),
    row(3, "返回距离", "ReturnDistance"),

    row(4, "手动低速", "JogSpeedLow"),
    row(4, "手动高速", "JogSpeedHigh"),
    row(4, "软限保护", "SoftwareLimit"),

    row(5, "丝杆螺距", "LeadScrewThread"),
    row(5, "转速上限", "MaxRPM"),
    row(5, "速度增益", "SpeedGain"),
    row(5, "每转脉冲数", "PulsePerRound"),
    row(5, "伺服方向", "ServoDirection"),
    row(5, "编码器方向", "EncodeDirection"),
    row(5, "限位输入逻辑", "ZLimitInputLogic"),
    row(5, "通用输入逻辑", "GenerailInputLogic"),
    row(5, "启用上抬信号", "UseLiftUpInput"),

    row(6, "IP地址", "IPAddress"),
    row(6, "子网掩码", "SubnetMask"),
    row(6, "网关", "Gateway"),
    row(6, "网络是否开", "NetEnable"),

    row(7, "碰板报警延时", "HitBoardDelay"),
    row(7, "跟随误差报警", "FollowErrorAlarm"),
    row(7, "跟随误差延时", "FollowErrorDelay"),
    row(7, "上下限位报警", "LimitAlarm"),

    row(8, "入边敏感", "EdgeSensitive"),

    row(9, "标定范围", "CalibrateRange"),
    row(9, "智能碰板检测", "IntelligentCheck"),

    row(10, "应用场合", "Application"),
    row(10, "语言选择", "Language"),
    row(10, "用户配置字", "ConfigWord"),
    row(10, "参数加密", "ParameterEncrypt"),

    row(11, "微分时间常数", "DifferentialConstant"),
    row(11, "下行跟随增益", "FollowGain"),
    row(11, "速度前馈系数", "SpeedFeedforword"),
    row(11, "跟随等级", "FollowLevel"),
}};

} // namespace

const std::array<OverviewGroup, OverviewGroupCount>& overviewGroups()
{
    return Groups;
}

const std::array<OverviewRow, OverviewRowCount>& overviewRows()
{
    return Rows;
}

} // namespace hmk
