#pragma once
// Where everything lives in the radio image. Every address the codecs use is
// named here, block by block; the codecs only ever add a named offset to the
// start of the block they were handed.

#include "image/radio_image.h"

namespace qtx::imagemap {

// A run of image bytes: the unit a codec is allowed to touch.
struct Area {
    int start = 0;
    int size = 0;
    constexpr int end() const { return start + size; }
    constexpr bool contains(const Area& inner) const { return inner.start >= start && inner.end() <= end(); }
};

// Equal entries one after another. size is what one entry occupies, stride the
// distance between entries (the difference is unused).
struct Table {
    int start = 0;
    int stride = 0;
    int count = 0;
    int size = 0;
    constexpr Area entry(int i) const { return Area{start + stride * i, size}; }
    constexpr Area whole() const { return Area{start, stride * count}; }
};

inline constexpr Area kWholeImage{0x0000, kImageSize};

// ---- Embedded information (read only, never written by a build) ----------
inline constexpr Area kEmbeddedInfo{0x0010, 0x00F0};
inline constexpr Area kInfoAreaCode{0x0019, 4};
inline constexpr Area kInfoSerialNumber{0x0020, 16};
inline constexpr Area kInfoProductionDate{0x0030, 16};
inline constexpr Area kInfoManufactureCode{0x0040, 8};
inline constexpr Area kInfoUserCode{0x0048, 4};
inline constexpr Area kRadioPassword{0x004C, 4};
inline constexpr Area kInfoMaintenanceDate{0x0050, 16};
inline constexpr Area kInfoDealerCode{0x0060, 16};
inline constexpr Area kInfoStockDate{0x0070, 16};
inline constexpr Area kInfoSellDate{0x0080, 16};
inline constexpr Area kInfoSeller{0x0090, 16};
inline constexpr Area kInfoDescription{0x00A0, 96};

// ---- Channels ------------------------------------------------------------
// Bit (slot % 8) of byte (slot / 8); slots 0-201, the VFO slot has no bits.
inline constexpr Area kChannelPresentBitmap{0x0100, 32}; // 0 = programmed
inline constexpr Area kChannelScanSkipBitmap{0x0120, 32}; // 1 = skipped
inline constexpr int kBitmapSlots = 202;

inline constexpr Area kBandLimits{0x0200, 16}; // RxLow, RxHigh, TxLow, TxHigh
inline constexpr int kBandLimitSize = 4;

inline constexpr int kChannelEntrySize = 31;
inline constexpr Table kMemoryChannels{0x2000, 32, 200, kChannelEntrySize};
inline constexpr Area kChannelPA{0x0280, kChannelEntrySize};  // slot 200
inline constexpr Area kChannelPB{0x0260, kChannelEntrySize};  // slot 201
inline constexpr Area kChannelVfo{0x02C0, kChannelEntrySize}; // slot 202
inline constexpr int kSlotPA = 200;
inline constexpr int kSlotPB = 201;
inline constexpr int kSlotVfo = 202;
inline constexpr int kSlotCount = 203;

// The area of a radio slot's channel entry (slot = Number - 1).
constexpr Area ChannelEntry(int slot)
{
    if (slot == kSlotPA)
        return kChannelPA;
    if (slot == kSlotPB)
        return kChannelPB;
    if (slot == kSlotVfo)
        return kChannelVfo;
    return kMemoryChannels.entry(slot);
}

// Offsets inside a channel entry.
namespace channel {
inline constexpr int kRxFrequency = 0; // 4 packed digits
inline constexpr int kOffset = 4;      // 4 packed digits
inline constexpr int kStep = 8;
inline constexpr int kFlagsA = 9;      // TxInhibit, Reverse, Bandwidth, TxDcsInverted, TxDcs bit 8, PttIdDecode
inline constexpr int kFlagsB = 10;     // direction, TxPower, RxDcsInverted, RxDcs bit 8, Compander, TalkAround
inline constexpr int kToneTypes = 11;  // TxToneType, RxToneType, DtmfCode
inline constexpr int kTxCtcss = 12;
inline constexpr int kRxCtcss = 13;
inline constexpr int kTxDcsLow = 14;
inline constexpr int kRxDcsLow = 15;
inline constexpr int kOptionalSignal = 16;
inline constexpr int kTwoToneCall = 17;
inline constexpr int kFiveToneCall = 18;
inline constexpr int kName = 19;
inline constexpr int kNameSize = 7;
inline constexpr int kBusyLock = 26;
inline constexpr int kRadioExtra = 27;
inline constexpr int kPttIdModes = 28;  // DtmfPttId, FiveTonePttId
inline constexpr int kSquelchMode = 29;
inline constexpr int kScrambler = 30;
} // namespace channel

// One hexadecimal digit per byte, memory channels only.
inline constexpr int kChannelPttIdDigits = 5;
inline constexpr Table kChannelPttIdCodes{0x0600, kChannelPttIdDigits, 200, kChannelPttIdDigits};

// ---- Keys, options, scan, emergency ---------------------------------------
inline constexpr Area kKeys{0x01F0, 15};
inline constexpr Area kPowerOnPassword{0x0210, 6};
inline constexpr Area kPowerOnMessage{0x03E0, 7};

inline constexpr Area kOptions{0x0220, 25};
namespace option {
inline constexpr int kItem1702 = 0x00;
inline constexpr int kItem1703 = 0x01;
inline constexpr int kChannelSelect = 0x02;
inline constexpr int kItem1705 = 0x03;
inline constexpr int kItem1707 = 0x05;
inline constexpr int kItem1703Alt = 0x06;
inline constexpr int kItem1709 = 0x07;
inline constexpr int kItem1710 = 0x08;
inline constexpr int kZero1 = 0x09;
inline constexpr int kZero2 = 0x0A;
inline constexpr int kToneBurst = 0x0B;
inline constexpr int kItem1712 = 0x0C;
inline constexpr int kZero3 = 0x0D;
inline constexpr int kItem1713 = 0x0E;
inline constexpr int kItem1714 = 0x0F;
inline constexpr int kFlags = 0x10; // Item1716, TailToneElimination, DTMF Ani
inline constexpr int kItem1717 = 0x11;
inline constexpr int kDtmfSendTime = 0x12;
inline constexpr int kFunctionFlags = 0x13; // FunctionOperation, InternalFunctionOperation, InitialiseKeys
inline constexpr int kTailTonePhase = 0x14;
inline constexpr int kItem1719 = 0x15;
inline constexpr int kPowerOnPasswordEnabled = 0x18;
} // namespace option

inline constexpr Area kEmergency{0x03A0, 13}; // field offsets: settings_codec.cpp
inline constexpr Area kScan{0x03B0, 14};      // field offsets: settings_codec.cpp

// ---- DTMF -----------------------------------------------------------------
inline constexpr Area kDtmfSettings{0x02E0, 32};
namespace dtmf {
inline constexpr int kSeparator = 0x00;
inline constexpr int kGroupCode = 0x01;
inline constexpr int kDecodeResponse = 0x02;
inline constexpr int kPreSendDelay = 0x03;
inline constexpr int kFirstDigitDelay = 0x04;
inline constexpr int kResetTime = 0x05;
inline constexpr int kOwnId = 0x07; // three bytes, one decimal digit each
inline constexpr int kOwnIdSize = 3;
inline constexpr int kSideTone = 0x0D;
inline constexpr int kPostSendDelay = 0x0E;
inline constexpr int kPauseTime = 0x0F;
} // namespace dtmf

// A DTMF code: packed digits from the area's start, one length byte.
struct DtmfCodeArea {
    Area area;
    int maxDigits = 0;
    int lengthOffset = 0;
};
inline constexpr DtmfCodeArea kDtmfKillCode{{0x02F0, 8}, 14, 7};
inline constexpr DtmfCodeArea kDtmfStunCode{{0x02F8, 8}, 14, 7};
inline constexpr DtmfCodeArea kDtmfPttIdBegin{{0x0340, 13}, 24, 12};
inline constexpr DtmfCodeArea kDtmfPttIdEnd{{0x0350, 13}, 24, 12};
inline constexpr Table kDtmfCodes{0x0400, 16, 16, 13}; // M1-M16
constexpr DtmfCodeArea DtmfCode(int k) { return DtmfCodeArea{kDtmfCodes.entry(k), 24, 12}; }

// ---- Communication book ---------------------------------------------------
inline constexpr Table kBookCallIds{0x1980, 5, 128, 5};
inline constexpr Table kBookNames{0x1C00, 8, 128, 8}; // 7 written, 8 read
inline constexpr int kBookNameWritten = 7;

// ---- 2-tone ---------------------------------------------------------------
inline constexpr Area kTwoToneHeader{0x0300, 24};
namespace twotone {
inline constexpr int kOwnFirstTone = 0x00;     // low byte first
inline constexpr int kOwnSecondTone = 0x02;    // low byte first
inline constexpr int kOwnFirstDivider = 0x04;  // low byte first
inline constexpr int kOwnSecondDivider = 0x06; // low byte first
inline constexpr int kDecodeResponse = 0x08;
inline constexpr int kDuration1 = 0x09;
inline constexpr int kDuration2 = 0x0A;
inline constexpr int kDuration3 = 0x0B;
inline constexpr int kDelay = 0x0C;
inline constexpr int kTimer = 0x0D;
inline constexpr int kSideTone = 0x0E;
inline constexpr int kOwnFormat = 0x0F;
inline constexpr int kToneA = 0x10; // high byte first
inline constexpr int kToneB = 0x12;
inline constexpr int kToneC = 0x14;
inline constexpr int kToneD = 0x16;

// Entry offsets; each value low byte first.
inline constexpr int kFirstDivider = 0;
inline constexpr int kSecondDivider = 2;
inline constexpr int kFirstTone = 4;
inline constexpr int kSecondTone = 6;
inline constexpr int kName = 8;
inline constexpr int kNameSize = 7;
} // namespace twotone
inline constexpr Area kTwoToneEmptyBitmap{0x0380, 4}; // 1 = empty
inline constexpr Table kTwoToneEntries{0x0B00, 16, 32, 15};

// ---- 5-tone ---------------------------------------------------------------
inline constexpr Area kFiveToneHeader{0x0320, 22};
namespace fivetone {
inline constexpr int kHeaderReserved = 0x00;
inline constexpr int kDecodeResponse = 0x01;
inline constexpr int kStandard = 0x02;
inline constexpr int kOwnIdLength = 0x03;
inline constexpr int kToneLength = 0x04;
inline constexpr int kOwnId = 0x05; // five bytes, one decimal digit each
inline constexpr int kOwnIdSize = 5;
inline constexpr int kSetting60081 = 0x0B;
inline constexpr int kSetting60308 = 0x0C;
inline constexpr int kSetting60309 = 0x0D;
inline constexpr int kSetting60307 = 0x0E;
inline constexpr int kFirstDigitDelay = 0x0F;
inline constexpr int kSideTone = 0x10;
inline constexpr int kValue6 = 0x11;
inline constexpr int kPauseCode = 0x12;
inline constexpr int kPauseTime = 0x13;
inline constexpr int kCodeFormat = 0x14; // decode time, kept outside the 5-tone record
inline constexpr int kFirstCodeDelay = 0x15;

// Code area offsets (PTT-ID codes and call entries).
inline constexpr int kCodeStandard = 1;
inline constexpr int kCodeLength = 2;
inline constexpr int kCodeToneLength = 3;
inline constexpr int kCodeDigits = 4;
inline constexpr int kCallName = 24; // call entries only
inline constexpr int kCallNameSize = 7;

// Information code offsets.
inline constexpr int kInfoFunction = 0;
inline constexpr int kInfoResponse = 1;
inline constexpr int kInfoLength = 2;
inline constexpr int kInfoDigits = 3; // one digit per byte
inline constexpr int kInfoMaxDigits = 12;
inline constexpr int kInfoName = 16;
inline constexpr int kInfoNameSize = 7;
} // namespace fivetone

struct FiveToneCodeArea {
    Area area;
    int maxDigits = 0;
};
inline constexpr FiveToneCodeArea kFiveTonePttIdBegin{{0x0360, 16}, 24};
inline constexpr FiveToneCodeArea kFiveTonePttIdEnd{{0x0370, 16}, 24};
inline constexpr Table kFiveToneCalls{0x0D00, 32, 100, 31};
constexpr FiveToneCodeArea FiveToneCall(int k) { return FiveToneCodeArea{kFiveToneCalls.entry(k), 40}; }
inline constexpr Area kFiveToneEmptyBitmap{0x0390, 13}; // 1 = empty
inline constexpr Table kFiveToneInfoCodes{0x0500, 32, 8, 23};
inline constexpr Area kUserToneTable{0x03C0, 32}; // digits 0-F, low byte first
inline constexpr int kUserToneCount = 16;
inline constexpr int kUserToneSize = 2;

// ---- Map sanity ------------------------------------------------------------
static_assert(kMemoryChannels.whole().end() == 0x3900);
static_assert(kChannelPttIdCodes.entry(199).end() == 0x09E8);
static_assert(kFiveToneCalls.whole().end() == 0x1980);
static_assert(kBookCallIds.whole().end() == 0x1C00);
static_assert(kBookNames.whole().end() == 0x2000);
static_assert(kDtmfKillCode.area.size * 2 - 2 == kDtmfKillCode.maxDigits);
static_assert(fivetone::kCodeDigits + 12 == kFiveTonePttIdBegin.area.size);
static_assert(fivetone::kCodeDigits + 20 == fivetone::kCallName);
static_assert(fivetone::kInfoDigits + fivetone::kInfoMaxDigits < fivetone::kInfoName);
static_assert(kDtmfSettings.contains(kDtmfKillCode.area) && kDtmfSettings.contains(kDtmfStunCode.area));

} // namespace qtx::imagemap
