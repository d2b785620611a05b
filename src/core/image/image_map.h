#pragma once
// Where every block lives in the radio image. The places of the fields
// inside a block are in that block's field table, next to its codec; a
// codec only ever adds such an offset to the start of the block it was
// handed.

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

// ---- Channels ------------------------------------------------------------
// Bit (slot % 8) of byte (slot / 8); slots 0-201, the VFO slot has no bits.
inline constexpr Area kChannelPresentBitmap{0x0100, 32}; // 0 = programmed
inline constexpr Area kChannelScanSkipBitmap{0x0120, 32}; // 1 = skipped
inline constexpr int kBitmapSlots = 202;

inline constexpr Area kBandLimits{0x0200, 16}; // RxLow, RxHigh, TxLow, TxHigh

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

// One hexadecimal digit per byte, memory channels only.
inline constexpr int kChannelPttIdDigits = 5;
inline constexpr Table kChannelPttIdCodes{0x0600, kChannelPttIdDigits, 200, kChannelPttIdDigits};

// ---- Keys, options, scan, emergency ---------------------------------------
inline constexpr Area kKeys{0x01F0, 15};
inline constexpr Area kPowerOnPassword{0x0210, 6};
inline constexpr Area kPowerOnMessage{0x03E0, 7};

inline constexpr Area kOptions{0x0220, 25};

inline constexpr Area kEmergency{0x03A0, 13};
inline constexpr Area kScan{0x03B0, 14};

// ---- DTMF -----------------------------------------------------------------
inline constexpr Area kDtmfSettings{0x02E0, 32};

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

inline constexpr Area kTwoToneEmptyBitmap{0x0380, 4}; // 1 = empty
inline constexpr Table kTwoToneEntries{0x0B00, 16, 32, 15};

// ---- 5-tone ---------------------------------------------------------------
inline constexpr Area kFiveToneHeader{0x0320, 22};

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
static_assert(kDtmfSettings.contains(kDtmfKillCode.area) && kDtmfSettings.contains(kDtmfStunCode.area));

} // namespace qtx::imagemap
