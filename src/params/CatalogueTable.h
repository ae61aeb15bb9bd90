#pragma once

// The catalogue's table itself, for the files of the core that must name an
// entry while they are compiled (the overview table). Everyone else walks it
// through catalogue() in ParamCatalogue.h.

#include "ParamCatalogue.h"
#include "image/ImageLayout.h"

#include <string_view>

namespace hmk::catalogue_table {

namespace L = layout;
using F = NumberFormat;

constexpr const char* MM = "mm";
constexpr const char* MS = "ms";
constexpr const char* MMS = "mm/s";
constexpr const char* None = "";

enum Group
{
    Technics,
    Speed,
    ORG,
    Jog,
    Machine,
    Net,
    Alarm,
    Edge,
    Calibrate,
    System,
    Follow,
};

// Limits and defaults are written in thousandths: 3000 is 3.0.
constexpr ParamEntry num(const char* name, Group group, const char* control, const char* label,
                         const char* unit, int offset, NumberFormat format, Thousandths min,
                         Thousandths max, Thousandths loaderDefault, Thousandths formValue)
{
    ParamEntry e{name, group, ControlKind::Numeric, control, label, unit, offset};
    e.format = format;
    e.min = min;
    e.max = max;
    e.loaderDefault = loaderDefault;
    e.formValue = formValue;
    return e;
}

// Whole-number fields, with limits and defaults in units.
constexpr ParamEntry whole(const char* name, Group group, const char* control, const char* label,
                           const char* unit, int offset, qint64 min, qint64 max,
                           qint64 loaderDefault, qint64 formValue)
{
    return num(name, group, control, label, unit, offset, F::Whole, min * 1000, max * 1000,
               loaderDefault * 1000, formValue * 1000);
}

constexpr ParamEntry choice(const char* name, Group group, const char* control, const char* label,
                            int offset, std::array<const char*, 3> choices, int loaderDefault,
                            int formValue)
{
    ParamEntry e{name, group, ControlKind::Choice, control, label, None, offset};
    e.choices = choices;
    e.loaderDefault = loaderDefault;
    e.formValue = formValue;
    return e;
}

constexpr ParamEntry address(const char* name, const char* control, const char* label, int offset,
                             const char* value)
{
    ParamEntry e{name, Net, ControlKind::Address, control, label, None, offset};
    e.addressDefault = value;
    return e;
}

constexpr ParamEntry hidden(ParamEntry e)
{
    e.hidden = true;
    return e;
}

constexpr ParamEntry unhinted(ParamEntry e)
{
    e.hasHint = false;
    return e;
}

constexpr ParamEntry maxLength(ParamEntry e, int length)
{
    e.maxLength = length;
    return e;
}

constexpr ParamEntry labelControl(ParamEntry e, const char* name)
{
    e.labelControl = name;
    return e;
}

inline constexpr std::array<ParamGroup, ParamGroupCount> Groups{{
    {"Technics", Page::Technics, "工艺参数"},
    {"Speed", Page::Motion, "速度参数"},
    {"ORG", Page::Motion, "复位参数"},
    {"Jog", Page::Motion, "点动参数"},
    {"Machine", Page::Machine, "机械参数"},
    {"Net", Page::Net, "网络参数"},
    {"Alarm", Page::Other, "报警参数"},
    {"Edge", Page::Other, "寻边参数"},
    {"Calibrate", Page::Other, "标定参数"},
    {"System", Page::SeniorParam, "系统设置"},
    {"Follow", Page::SeniorParam, "高级随动参数"},
}};

inline constexpr std::array<ParamEntry, ParamCount> Catalogue{{
    num("PunchHeight", Technics, "edtPunchHeight", "穿孔高度", MM, L::PunchHeight, F::TwoDecimals,
        200, 10000, 3000, 3000),
    num("CyrusCoordinate", Technics, "edtCyrusCoordinate", "回中坐标", MM, L::CyrusCoordinate,
        F::TwoDecimals, 0, 0, 0, 0),
    num("StayCoordinate", Technics, "edtStayCoordinate", "停靠坐标", MM, L::StayCoordinate,
        F::TwoDecimals, 0, 0, 0, 0),
    num("ZRange", Technics, "edtZRange", "Z  轴行程", MM, L::ZRange, F::TwoDecimals, 0, 999990,
        999999, 999990),
    choice("FollowType", Technics, "rgFollowType", "跟随方式", L::FollowType,
           {"直接切割", "分段穿孔", "渐进穿孔"}, 0, 0),
    whole("PunchDelay", Technics, "edtPunchDelay", "穿孔延时", MS, L::PunchDelay, 0, 9999, 0, 0),
    num("PunchSpeed", Technics, "edtPunchSpeed", "渐进速度", MMS, L::PunchSpeed, F::OneDecimal, 100,
        99999, 5000, 5000),

    whole("MoveSpeed", Speed, "edtMoveSpeed", "空移速度", MMS, L::MoveSpeed, 1, 999, 200, 200),
    hidden(whole("FollowSpeed", Speed, "edtFollowSpeed", "随动速度", MMS, L::FollowSpeed, 1, 400,
                 100, 100)),
    whole("Acceleration", Speed, "edtAcceleration", "加  速  度", "mm/s²", L::Acceleration, 1, 9999,
          2000, 2000),

    choice("ORGWhenPower", ORG, "rgORGWhenPower", "上电是否复位", L::ORGWhenPower, {"否", "是"}, 0,
           0),
    choice("ReturnStayPosAfterORG", ORG, "rgReturnStayPos", "复位后回停靠",
           L::ReturnStayPosAfterORG, {"否", "是"}, 1, 1),
    whole("ORGSpeed", ORG, "edtORGSpeed", "复位速度", MMS, L::ORGSpeed, 2, 300, 50, 50),
    num("ReturnDistance", ORG, "edtReturnDistance", "返回距离", MM, L::ReturnDistance,
        F::OneDecimal, 1, 99999, 3000, 3000),

    whole("JogSpeedLow", Jog, "edtJogSpeedLow", "手动低速", MMS, L::JogSpeedLow, 1, 999, 10, 10),
    whole("JogSpeedHigh", Jog, "edtJogSpeedHigh", "手动高速", MMS, L::JogSpeedHigh, 1, 999, 50, 50),
    choice("SoftwareLimit", Jog, "rgSoftwareLimit", "限位保护", L::SoftwareLimit, {"关闭", "开启"},
           1, 1),

    num("LeadScrewThread", Machine, "edtLeadScrewThread", "丝杆螺距", MM, L::LeadScrewThread,
        F::ThreeDecimals, 1, 99999, 5000, 5000),
    whole("MaxRPM", Machine, "edtMaxRPM", "转速上限", "r/min", L::MaxRPM, 100, 9000, 4500, 4500),
    whole("SpeedGain", Machine, "edtSpeedGain", "速度增益", "r/min/v", L::SpeedGain, 1, 999, 500,
          500),
    whole("PulsePerRound", Machine, "edtPulsePerRound", "每转脉冲数", "p/r", L::PulsePerRound, 1,
          99999, 10000, 10000),
    whole("ServoDirection", Machine, "edtServoDirection", "伺服方向", None, L::ServoDirection, 0, 1,
          0, 0),
    whole("EncodeDirection", Machine, "edtEncodeDirection", "编码器方向", None, L::EncodeDirection,
          0, 1, 0, 0),
    unhinted(choice("ServoType", Machine, "rgServoType", "伺服类型", L::ServoType,
                    {"松下伺服", "安川/台达", "东元伺服"}, 0, 0)),
    choice("ZLimitInputLogic", Machine, "rgZLimitInputLogic", "限位输入逻辑", L::ZLimitInputLogic,
           {"常开", "常闭"}, 0, 0),
    choice("GenerailInputLogic", Machine, "rgGenerailInputLogic", "通用输入逻辑",
           L::GenerailInputLogic, {"常开", "常闭"}, 0, 0),
    choice("UseLiftUpInput", Machine, "rgUseLiftUpInput", "启用上抬信号", L::UseLiftUpInput,
           {"不启用", "启用"}, 0, 0),

    address("IPAddress", "edtIPAddress", "IP  地  址", L::IPAddress, "10.1.1.188"),
    address("SubnetMask", "edtSubnetMask", "子网掩码", L::SubnetMask, "255.255.255.0"),
    address("Gateway", "edtGateway", "网关设置", L::Gateway, "10.1.1.1"),
    choice("NetEnable", Net, "rgNetEnable", "网络连接", L::NetEnable, {"关闭", "开启"}, 1, 1),

    whole("HitBoardDelay", Alarm, "edtHitBoardDelay", "碰板报警延时", MS, L::HitBoardDelay, 0, 9999,
          200, 200),
    num("FollowErrorAlarm", Alarm, "edtFollowErrorAlarm", "跟随误差报警", MM, L::FollowErrorAlarm,
        F::OneDecimal, 0, 99999, 5000, 5000),
    whole("FollowErrorDelay", Alarm, "edtFollowErrorDelay", "跟随误差延时", MS, L::FollowErrorDelay,
          0, 9999, 100, 100),
    choice("LimitAlarm", Alarm, "rgLimitAlarm", "上下限位报警", L::LimitAlarm, {"关闭", "开启"}, 1,
           1),

    num("EdgeSensitive", Edge, "edtEdgeSensitive", "入边敏感", MM, L::EdgeSensitive, F::OneDecimal,
        0, 99999, 6000, 6000),

    num("CalibrateRange", Calibrate, "edtCalibrateRange", "标定范围", MM, L::CalibrateRange,
        F::ThreeDecimals, 0, 99999, 15000, 15000),
    // On is index 0 here, the reverse of the other on/off groups.
    choice("IntelligentCheck", Calibrate, "rgIntelligentCheck", "智能碰板检测", L::IntelligentCheck,
           {"开启", "关闭"}, 0, 1),

    choice("Application", System, "rgApplication", "应用场合", L::Application,
           {"平面切割", "三维切割"}, 0, 0),
    choice("Language", System, "rgLanguage", "语言选择", L::Language, {"中文", "英文"}, 0, 0),
    whole("ConfigWord", System, "edtConfigWord", "用户配置字", None, L::ConfigWord, 0, 99999999, 0,
          0),
    choice("ParameterEncrypt", System, "rgParameterEncrypt", "参数加密", L::ParameterEncrypt,
           {"不加密", "加密"}, 0, 0),

    whole("DifferentialConstant", Follow, "edtDifferentialConstant", "微分时间常数", None,
          L::DifferentialConstant, 10, 120, 50, 50),
    hidden(whole("IntegrationConstant", Follow, "edtIntegrationConstant", "积分时间常数", None,
                 L::IntegrationConstant, 200, 99999, 6000, 6000)),
    labelControl(whole("FollowGain", Follow, "edtFollowGain", "下行增益等级", None, L::FollowGain,
                       1, 30, 13, 13),
                 "lblMaxDeceleration"),
    whole("SpeedFeedforword", Follow, "edtSpeedFeedforword", "速度前馈系数", None,
          L::SpeedFeedforword, 0, 200, 100, 100),
    maxLength(whole("FollowLevel", Follow, "edtFollowLevel", "随动增益等级", None, L::FollowLevel,
                    1, 30, 5, 13),
              9),
}};

// The entry of that name, found while compiling: a name the table does not
// hold fails the build.
consteval const ParamEntry* entryNamed(std::string_view name)
{
    for (const ParamEntry& e : Catalogue) {
        if (name == e.name)
            return &e;
    }
    throw "no catalogue entry of that name";
}

} // namespace hmk::catalogue_table
