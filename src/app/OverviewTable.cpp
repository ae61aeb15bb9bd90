#include "OverviewTable.h"

namespace hmk {

namespace {

const std::array<OverviewGroup, OverviewGroupCount> Groups{{
    {"开机画面", 7},
    {"工艺参数", 1},
    {"速度参数", 2},
    {"复位参数", 2},
    {"点动参数", 2},
    {"机械参数", 3},
    {"网络参数", 4},
    {"报警参数", 5},
    {"寻边参数", 5},
    {"标定参数", 5},
    {"系统参数", 6},
    {"高级随动参数", 6},
}};

const std::array<OverviewRow, OverviewRowCount> Rows{{
    {0, "主标题", MainTitleKey},
    {0, "副标题", SubTitleKey},

    {1, "穿孔高度", "PunchHeight"},
    {1, "回中坐标", "CyrusCoordinate"},
    {1, "停靠坐标", "StayCoordinate"},
    {1, "Z轴行程", "ZRange"},
    {1, "穿孔延时", "PunchDelay"},
    {1, "渐进速度", "PunchSpeed"},
    {1, "跟随方式", "FollowType"},

    {2, "空移速度", "MoveSpeed"},
    {2, "加速度", "Acceleration"},

    {3, "上电是否复位", "ORGWhenPower"},
    {3, "复位后回停靠", "ReturnStayPosAfterORG"},
    {3, "复位速度", "ORGSpeed"},
    {3, "返回距离", "ReturnDistance"},

    {4, "手动低速", "JogSpeedLow"},
    {4, "手动高速", "JogSpeedHigh"},
    {4, "软限保护", "SoftwareLimit"},

    {5, "丝杆螺距", "LeadScrewThread"},
    {5, "转速上限", "MaxRPM"},
    {5, "速度增益", "SpeedGain"},
    {5, "每转脉冲数", "PulsePerRound"},
    {5, "伺服方向", "ServoDirection"},
    {5, "编码器方向", "EncodeDirection"},
    {5, "限位输入逻辑", "ZLimitInputLogic"},
    {5, "通用输入逻辑", "GenerailInputLogic"},
    {5, "启用上抬信号", "UseLiftUpInput"},

    {6, "IP地址", "IPAddress"},
    {6, "子网掩码", "SubnetMask"},
    {6, "网关", "Gateway"},
    {6, "网络是否开", "NetEnable"},

    {7, "碰板报警延时", "HitBoardDelay"},
    {7, "跟随误差报警", "FollowErrorAlarm"},
    {7, "跟随误差延时", "FollowErrorDelay"},
    {7, "上下限位报警", "LimitAlarm"},

    {8, "入边敏感", "EdgeSensitive"},

    {9, "标定范围", "CalibrateRange"},
    {9, "智能碰板检测", "IntelligentCheck"},

    {10, "应用场合", "Application"},
    {10, "语言选择", "Language"},
    {10, "用户配置字", "ConfigWord"},
    {10, "参数加密", "ParameterEncrypt"},

    {11, "微分时间常数", "DifferentialConstant"},
    {11, "下行跟随增益", "FollowGain"},
    {11, "速度前馈系数", "SpeedFeedforword"},
    {11, "跟随等级", "FollowLevel"},
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
