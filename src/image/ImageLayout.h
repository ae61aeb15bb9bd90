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
// name, image offset and width in bytes. A field of width 4 is a 32-bit
// little-endian value; the product tag and the name (8 bytes), the version
// and the checksum bytes (1 byte) are read and written bytewise, so that no
// accessor ever touches a byte beyond its field (FileCRC2 and ParameterCRC2
// are the last bytes of their blocks, ParameterCRC2 of the image).
#define HMK_PUBLISHED_FIELDS(X)                                                                    \
    X(ProductName, 0x000, 8)                                                                       \
    X(FileVersion, 0x008, 1)                                                                       \
    X(ParamInput, 0x00A, 4)                                                                        \
    X(ConfigName, 0x010, 8)                                                                        \
    X(IncludeScreen, 0x018, 4)                                                                     \
    X(IncludeParam, 0x01C, 4)                                                                      \
    X(FileCRC1, 0x1FE, 1)                                                                          \
    X(FileCRC2, 0x1FF, 1)                                                                          \
    X(Logo1Len, 0x740, 4)                                                                          \
    X(Logo2Len, 0x760, 4)                                                                          \
    X(Logo1FontLen, 0x780, 4)                                                                      \
    X(Logo2FontLen, 0x7B0, 4)                                                                      \
    X(LogoUsePic, 0x7F0, 4)                                                                        \
    X(PunchHeight, 0x800, 4)                                                                       \
    X(CyrusCoordinate, 0x804, 4)                                                                   \
    X(StayCoordinate, 0x808, 4)                                                                    \
    X(ZRange, 0x80C, 4)                                                                            \
    X(FollowType, 0x810, 4)                                                                        \
    X(PunchDelay, 0x814, 4)                                                                        \
    X(PunchSpeed, 0x818, 4)                                                                        \
    X(MoveSpeed, 0x81C, 4)                                                                         \
    X(FollowSpeed, 0x820, 4)                                                                       \
    X(Acceleration, 0x824, 4)                                                                      \
    X(ORGWhenPower, 0x828, 4)                                                                      \
    X(ReturnStayPosAfterORG, 0x82C, 4)                                                             \
    X(ORGSpeed, 0x830, 4)                                                                          \
    X(ReturnDistance, 0x834, 4)                                                                    \
    X(JogSpeedLow, 0x838, 4)                                                                       \
    X(JogSpeedHigh, 0x83C, 4)                                                                      \
    X(SoftwareLimit, 0x840, 4)                                                                     \
    X(LeadScrewThread, 0x844, 4)                                                                   \
    X(MaxRPM, 0x848, 4)                                                                            \
    X(SpeedGain, 0x84C, 4)                                                                         \
    X(PulsePerRound, 0x850, 4)                                                                     \
    X(ServoDirection, 0x854, 4)                                                                    \
    X(EncodeDirection, 0x858, 4)                                                                   \
    X(ServoType, 0x85C, 4)                                                                         \
    X(ZLimitInputLogic, 0x860, 4)                                                                  \
    X(GenerailInputLogic, 0x864, 4)                                                                \
    X(UseLiftUpInput, 0x868, 4)                                                                    \
    X(IPAddress, 0x86C, 4)                                                                         \
    X(SubnetMask, 0x870, 4)                                                                        \
    X(Gateway, 0x874, 4)                                                                           \
    X(NetEnable, 0x878, 4)                                                                         \
    X(HitBoardDelay, 0x87C, 4)                                                                     \
    X(FollowErrorAlarm, 0x880, 4)                                                                  \
    X(FollowErrorDelay, 0x884, 4)                                                                  \
    X(LimitAlarm, 0x888, 4)                                                                        \
    X(EdgeSensitive, 0x88C, 4)                                                                     \
    X(CalibrateRange, 0x890, 4)                                                                    \
    X(IntelligentCheck, 0x894, 4)                                                                  \
    X(Application, 0x898, 4)                                                                       \
    X(Language, 0x89C, 4)                                                                          \
    X(ConfigWord, 0x8A0, 4)                                                                        \
    X(ParameterEncrypt, 0x8A4, 4)                                                                  \
    X(DifferentialConstant, 0x8A8, 4)                                                              \
    X(IntegrationConstant, 0x8B8, 4)                                                               \
    X(FollowGain, 0x8AC, 4)                                                                        \
    X(SpeedFeedforword, 0x8B0, 4)                                                                  \
    X(FollowLevel, 0x8B4, 4)                                                                       \
    X(ParameterCRC1, 0xFFE, 1)                                                                     \
    X(ParameterCRC2, 0xFFF, 1)

#define HMK_LAYOUT_OFFSET(name, offset, width) inline constexpr int name = offset;
HMK_PUBLISHED_FIELDS(HMK_LAYOUT_OFFSET)
#undef HMK_LAYOUT_OFFSET

struct PublishedField
{
    const char* name;
    int offset;
    int width; // bytes
};
#define HMK_LAYOUT_ENTRY(name, offset, width) PublishedField{#name, offset, width},
inline constexpr std::array PublishedFields{HMK_PUBLISHED_FIELDS(HMK_LAYOUT_ENTRY)};
#undef HMK_LAYOUT_ENTRY
static_assert(PublishedFields.size() == 62);

constexpr bool fieldsLieInImage()
{
    for (const PublishedField& f : PublishedFields) {
        if (f.offset < 0 || f.offset + f.width > ImageSize)
            return false;
    }
    return true;
}
static_assert(fieldsLieInImage());

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

// The four stored texts, each beside its 32-bit length field: the two
// titles and the names of their faces.
struct StoredTextField
{
    const char* lengthName; // the length field's published name
    int lengthField;
    const char* textName; // the room's published name
    int room;
    int roomSize;
};
inline constexpr std::array<StoredTextField, 4> StoredTexts{{
    {"Logo1Len", Logo1Len, "Logo1Desc", Logo1Desc, TitleRoom},
    {"Logo2Len", Logo2Len, "Logo2Desc", Logo2Desc, TitleRoom},
    {"Logo1FontLen", Logo1FontLen, "Logo1FontName", Logo1FontName, Logo1FontRoom},
    {"Logo2FontLen", Logo2FontLen, "Logo2FontName", Logo2FontName, Logo2FontRoom},
}};

} // namespace hmk::layout
