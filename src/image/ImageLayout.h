#pragma once

// The 4096-byte configuration image: where every field lives. A .hkf file is
// exactly this image, byte 0 of the file being offset 0x000. Every other
// module addresses the image through these names, never through bare numbers.

#include <array>
#include <cstdint>

namespace hmk::layout {

inline constexpr int ImageSize = 4096;

// The three blocks. Each ends with a CRC-16 over every byte before it,
// reserved bytes included, stored low byte first in its last two bytes.
struct Block
{
    const char* name; // as hkftool reports it
    int start;
    int size;
    constexpr int covered() const { return size - 2; }
    constexpr int crcLow() const { return start + size - 2; }
    constexpr int crcHigh() const { return start + size - 1; }
};
inline constexpr Block HeaderBlock{"header", 0x000, 0x200};
inline constexpr Block ScreenBlock{"boot screen", 0x200, 0x600};
inline constexpr Block ParamBlock{"parameters", 0x800, 0x800};
inline constexpr std::array<Block, 3> Blocks{HeaderBlock, ScreenBlock, ParamBlock};

// The published fields of the image object, in their declaration order:
// name and image offset. A published field always moves four bytes at its
// offset; the product tag, version, name and checksum bytes are written
// bytewise instead (see THMK725ConfigData).
#define HMK_PUBLISHED_FIELDS(X)                                                                    \
    X(ProductName, 0x000)                                                                          \
    X(FileVersion, 0x008)                                                                          \
    X(ParamInput, 0x00A)                                                                           \
    X(ConfigName, 0x010)                                                                           \
    X(IncludeScreen, 0x018)                                                                        \
    X(IncludeParam, 0x01C)                                                                         \
    X(FileCRC1, 0x1FE)                                                                             \
    X(FileCRC2, 0x1FF)                                                                             \
    X(Logo1Len, 0x740)                                                                             \
    X(Logo2Len, 0x760)                                                                             \
    X(Logo1FontLen, 0x780)                                                                         \
    X(Logo2FontLen, 0x7B0)                                                                         \
    X(LogoUsePic, 0x7F0)                                                                           \
    X(PunchHeight, 0x800)                                                                          \
    X(CyrusCoordinate, 0x804)                                                                      \
    X(StayCoordinate, 0x808)                                                                       \
    X(ZRange, 0x80C)                                                                               \
    X(FollowType, 0x810)                                                                           \
    X(PunchDelay, 0x814)                                                                           \
    X(PunchSpeed, 0x818)                                                                           \
    X(MoveSpeed, 0x81C)                                                                            \
    X(FollowSpeed, 0x820)                                                                          \
    X(Acceleration, 0x824)                                                                         \
    X(ORGWhenPower, 0x828)                                                                         \
    X(ReturnStayPosAfterORG, 0x82C)                                                                \
    X(ORGSpeed, 0x830)                                                                             \
    X(ReturnDistance, 0x834)                                                                       \
    X(JogSpeedLow, 0x838)                                                                          \
    X(JogSpeedHigh, 0x83C)                                                                         \
    X(SoftwareLimit, 0x840)                                                                        \
    X(LeadScrewThread, 0x844)                                                                      \
    X(MaxRPM, 0x848)                                                                               \
    X(SpeedGain, 0x84C)                                                                            \
    X(PulsePerRound, 0x850)                                                                        \
    X(ServoDirection, 0x854)                                                                       \
    X(EncodeDirection, 0x858)                                                                      \
    X(ServoType, 0x85C)                                                                            \
    X(ZLimitInputLogic, 0x860)                                                                     \
    X(GenerailInputLogic, 0x864)                                                                   \
    X(UseLiftUpInput, 0x868)                                                                       \
    X(IPAddress, 0x86C)                                                                            \
    X(SubnetMask, 0x870)                                                                           \
    X(Gateway, 0x874)                                                                              \
    X(NetEnable, 0x878)                                                                            \
    X(HitBoardDelay, 0x87C)                                                                        \
    X(FollowErrorAlarm, 0x880)                                                                     \
    X(FollowErrorDelay, 0x884)                                                                     \
    X(LimitAlarm, 0x888)                                                                           \
    X(EdgeSensitive, 0x88C)                                                                        \
    X(CalibrateRange, 0x890)                                                                       \
    X(IntelligentCheck, 0x894)                                                                     \
    X(Application, 0x898)                                                                          \
    X(Language, 0x89C)                                                                             \
    X(ConfigWord, 0x8A0)                                                                           \
    X(ParameterEncrypt, 0x8A4)                                                                     \
    X(DifferentialConstant, 0x8A8)                                                                 \
    X(IntegrationConstant, 0x8B8)                                                                  \
    X(FollowGain, 0x8AC)                                                                           \
    X(SpeedFeedforword, 0x8B0)                                                                     \
    X(FollowLevel, 0x8B4)                                                                          \
    X(ParameterCRC1, 0xFFE)                                                                        \
    X(ParameterCRC2, 0xFFF)

#define HMK_LAYOUT_OFFSET(name, offset) inline constexpr int name = offset;
HMK_PUBLISHED_FIELDS(HMK_LAYOUT_OFFSET)
#undef HMK_LAYOUT_OFFSET

struct PublishedField
{
    const char* name;
    int offset;
};
#define HMK_LAYOUT_ENTRY(name, offset) PublishedField{#name, offset},
inline constexpr std::array PublishedFields{HMK_PUBLISHED_FIELDS(HMK_LAYOUT_ENTRY)};
#undef HMK_LAYOUT_ENTRY
static_assert(PublishedFields.size() == 62);

// Widths of the fields that are not plain 32-bit values.
inline constexpr int ProductNameSize = 8;
inline constexpr char ProductTag[] = "HMK725  "; // the model word and two spaces
inline constexpr int ConfigNameSize = 8;

// Boot-screen block: the 192 x 32 bitmap as four bands of eight rows. Byte c
// of band b is column c; bit r is row 8*b + r; a set bit is ink.
inline constexpr int ScreenWidth = 192;
inline constexpr int ScreenHeight = 32;
inline constexpr int LogoPixelFonts = 0x200;
inline constexpr int BandRows = 8;
inline constexpr int BandSize = ScreenWidth; // bytes per band
inline constexpr int BandCount = ScreenHeight / BandRows;
inline constexpr int LogoPixelFontsSize = BandSize * BandCount;       // 768
inline constexpr int TitleStripSize = 2 * BandSize;                   // one title: two bands
inline constexpr int MainTitleStrip = LogoPixelFonts;                 // bands 0 and 1
inline constexpr int SubTitleStrip = LogoPixelFonts + TitleStripSize; // bands 2 and 3

constexpr int bandOffset(int band)
{
    return LogoPixelFonts + BandSize * band;
}

// Text rooms beside their 32-bit length fields.
inline constexpr int Logo1Desc = 0x748;
inline constexpr int Logo2Desc = 0x768;
inline constexpr int TitleRoom = 24; // also the title byte limit
inline constexpr int Logo1FontName = 0x788;
inline constexpr int Logo1FontRoom = 40;
inline constexpr int Logo2FontName = 0x7B8;
inline constexpr int Logo2FontRoom = 56;

// The parameter fields start here; their offsets are the published fields
// above, named after the parameters of the catalogue.
inline constexpr int ParameterFields = 0x800;

// The width of a 32-bit field.
inline constexpr int WordSize = 4;

// The reserved spans, zero in every image the system writes: from `start`
// up to, not including, `end`.
struct Span
{
    int start;
    int end;
};
inline constexpr std::array<Span, 9> ReservedSpans{{
    {ParamInput + WordSize, ConfigName},
    {IncludeParam + WordSize, HeaderBlock.crcLow()},
    {LogoPixelFonts + LogoPixelFontsSize, Logo1Len},
    {Logo1Len + WordSize, Logo1Desc},
    {Logo2Len + WordSize, Logo2Desc},
    {Logo1FontLen + WordSize, Logo1FontName},
    {Logo2FontLen + WordSize, Logo2FontName},
    {LogoUsePic + WordSize, ScreenBlock.crcLow()},
    {IntegrationConstant + WordSize, ParamBlock.crcLow()},
}};

} // namespace hmk::layout
