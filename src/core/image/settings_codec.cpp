#include "image/settings_codec.h"

#include "convert/code_text.h"
#include "image/codec_support.h"
#include "image/image_access.h"
#include "image/image_map.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <string>

namespace qtx {

namespace im = imagemap;
namespace op = imagemap::option;

namespace {

struct OptionByte {
    int offset;
    int16_t OptionSettings::*field;
    const char* name;
};

// The options that occupy a whole byte each.
constexpr std::array<OptionByte, 16> kOptionBytes{{
    {op::kItem1702, &OptionSettings::Item1702, "Item1702"},
    {op::kItem1703, &OptionSettings::Item1703, "Item1703"},
    {op::kChannelSelect, &OptionSettings::ChannelSelect, "ChannelSelect"},
    {op::kItem1705, &OptionSettings::Item1705, "Item1705"},
    {op::kItem1707, &OptionSettings::Item1707, "Item1707"},
    {op::kItem1703Alt, &OptionSettings::Item1703Alt, "Item1703Alt"},
    {op::kItem1709, &OptionSettings::Item1709, "Item1709"},
    {op::kItem1710, &OptionSettings::Item1710, "Item1710"},
    {op::kToneBurst, &OptionSettings::ToneBurst, "ToneBurst"},
    {op::kItem1712, &OptionSettings::Item1712, "Item1712"},
    {op::kItem1713, &OptionSettings::Item1713, "Item1713"},
    {op::kItem1714, &OptionSettings::Item1714, "Item1714"},
    {op::kItem1717, &OptionSettings::Item1717, "Item1717"},
    {op::kTailTonePhase, &OptionSettings::TailTonePhase, "TailTonePhase"},
    {op::kItem1719, &OptionSettings::Item1719, "Item1719"},
    {op::kPowerOnPasswordEnabled, &OptionSettings::PowerOnPasswordEnabled, "PowerOnPasswordEnabled"},
}};

struct OptionBit {
    int shift;
    int16_t value;
    const char* name;
};

std::optional<std::string> CheckFlags(std::initializer_list<OptionBit> bits)
{
    for (const OptionBit& b : bits)
        if (b.value != 0 && b.value != 1)
            return std::string(b.name) + " " + std::to_string(b.value) + " is neither 0 nor 1";
    return std::nullopt;
}

uint8_t CombineFlags(std::initializer_list<OptionBit> bits)
{
    unsigned v = 0;
    for (const OptionBit& b : bits)
        v |= static_cast<unsigned>(b.value) << b.shift;
    return static_cast<uint8_t>(v);
}

// Position i holds character i of the text, 0x00 after its end.
void PutPowerOnText(RadioImage& image, im::Area area, const std::string& trimmed)
{
    ImageWriter(image, area).setChars(0, area.size, trimmed, 0x00);
}

template <size_t N>
void GetPowerOnText(const RadioImage& image, im::Area area, FixedText<N>& field)
{
    const auto got = ImageReader(image, area).collect(0, area.size, true, true);
    StoreCollected(field, got.text, got.stopped);
}

// One-based numbers with 0 for none travel as zero-based bytes with 0xFF.
uint8_t OneBasedToImage(uint8_t v) { return ToImageByte(static_cast<int>(v) - 1); }
uint8_t OneBasedFromImage(uint8_t b) { return ToImageByte(static_cast<int>(b) + 1); }

} // namespace

void EncodeKeys(const KeySettings& keys, RadioImage& image)
{
    ImageWriter w(image, im::kKeys);
    for (int i = 0; i < im::kKeys.size; ++i)
        w.setByte(i, keys.Keys[i]);
}

void ParseKeys(const RadioImage& image, KeySettings& keys)
{
    ImageReader r(image, im::kKeys);
    for (int i = 0; i < im::kKeys.size; ++i)
        keys.Keys[i] = r.byte(i);
}

void EncodeScan(const ScanSettings& s, RadioImage& image)
{
    ImageWriter w(image, im::kScan);
    const uint8_t plain[im::scan::kPlainByteCount] = {s.PriorityScan,  s.PriorityMode,  s.RevertChannel,
                                                      s.LookBackTimeA, s.LookBackTimeB, s.RxResumeDelay,
                                                      s.TxResumeDelay, s.ScanType,      s.ScanStartBeep,
                                                      s.WaitTime};
    for (int i = 0; i < im::scan::kPlainByteCount; ++i)
        w.setByte(im::scan::kPlainBytes + i, plain[i]);
    w.setByte(im::scan::kPriority1Group, OneBasedToImage(s.Priority1Group));
    w.setByte(im::scan::kPriority1Channel, OneBasedToImage(s.Priority1Channel));
    w.setByte(im::scan::kPriority2Group, OneBasedToImage(s.Priority2Group));
    w.setByte(im::scan::kPriority2Channel, OneBasedToImage(s.Priority2Channel));
}

void ParseScan(const RadioImage& image, ScanSettings& s)
{
    ImageReader r(image, im::kScan);
    uint8_t* plain[im::scan::kPlainByteCount] = {&s.PriorityScan,  &s.PriorityMode,  &s.RevertChannel,
                                                 &s.LookBackTimeA, &s.LookBackTimeB, &s.RxResumeDelay,
                                                 &s.TxResumeDelay, &s.ScanType,      &s.ScanStartBeep,
                                                 &s.WaitTime};
    for (int i = 0; i < im::scan::kPlainByteCount; ++i)
        *plain[i] = r.byte(im::scan::kPlainBytes + i);
    s.Priority1Group = OneBasedFromImage(r.byte(im::scan::kPriority1Group));
    s.Priority1Channel = OneBasedFromImage(r.byte(im::scan::kPriority1Channel));
    s.Priority2Group = OneBasedFromImage(r.byte(im::scan::kPriority2Group));
    s.Priority2Channel = OneBasedFromImage(r.byte(im::scan::kPriority2Channel));
}

void EncodeEmergency(const EmergencySettings& e, RadioImage& image)
{
    ImageWriter w(image, im::kEmergency);
    const uint8_t first[im::emergency::kFirstByteCount] = {e.AlarmType, e.IdType, e.IdGroup,      e.AlarmTime,
                                                           e.TxTime,    e.RxTime, e.ChannelChoice};
    const uint8_t last[im::emergency::kLastByteCount] = {e.Period, e.AutoDetect, e.PreAlertTime, e.LoneWorkerTime};
    for (int i = 0; i < im::emergency::kFirstByteCount; ++i)
        w.setByte(im::emergency::kFirstBytes + i, first[i]);
    w.setByte(im::emergency::kEmergencyChannel, OneBasedToImage(e.EmergencyChannel));
    for (int i = 0; i < im::emergency::kLastByteCount; ++i)
        w.setByte(im::emergency::kLastBytes + i, last[i]);
}

void ParseEmergency(const RadioImage& image, EmergencySettings& e)
{
    ImageReader r(image, im::kEmergency);
    uint8_t* first[im::emergency::kFirstByteCount] = {&e.AlarmType, &e.IdType, &e.IdGroup,      &e.AlarmTime,
                                                      &e.TxTime,    &e.RxTime, &e.ChannelChoice};
    uint8_t* last[im::emergency::kLastByteCount] = {&e.Period, &e.AutoDetect, &e.PreAlertTime, &e.LoneWorkerTime};
    for (int i = 0; i < im::emergency::kFirstByteCount; ++i)
        *first[i] = r.byte(im::emergency::kFirstBytes + i);
    e.EmergencyChannel = OneBasedFromImage(r.byte(im::emergency::kEmergencyChannel));
    for (int i = 0; i < im::emergency::kLastByteCount; ++i)
        *last[i] = r.byte(im::emergency::kLastBytes + i);
}

Result<void> SetCommDataByOption(const OptionSettings& o, const DtmfSettings& dtmf, RadioImage& image)
{
    for (const OptionByte& b : kOptionBytes) {
        const int v = o.*b.field;
        if (v < 0 || v > 255)
            return CodecError(kStepOption, std::string("option ") + b.name + " " + std::to_string(v) +
                                               " is outside 0-255");
    }
    if (dtmf.SendTime < 0 || dtmf.SendTime > 255)
        return CodecError(kStepOption, "DTMF SendTime " + std::to_string(dtmf.SendTime) + " is outside 0-255");
    const std::initializer_list<OptionBit> flags = {
        {0, o.Item1716, "option Item1716"}, {1, o.TailToneElimination, "option TailToneElimination"},
        {2, dtmf.Ani, "DTMF Ani"}};
    const std::initializer_list<OptionBit> functionFlags = {
        {0, o.FunctionOperation, "option FunctionOperation"},
        {1, o.InternalFunctionOperation, "option InternalFunctionOperation"},
        {3, o.InitialiseKeys, "option InitialiseKeys"}};
    if (auto problem = CheckFlags(flags))
        return CodecError(kStepOption, *problem);
    if (auto problem = CheckFlags(functionFlags))
        return CodecError(kStepOption, *problem);

    ImageWriter w(image, im::kOptions);
    for (const OptionByte& b : kOptionBytes)
        w.setByte(b.offset, static_cast<uint8_t>(o.*b.field));
    w.setByte(op::kZero1, 0);
    w.setByte(op::kZero2, 0);
    w.setByte(op::kZero3, 0);
    w.setByte(op::kFlags, CombineFlags(flags));
    w.setByte(op::kDtmfSendTime, static_cast<uint8_t>(dtmf.SendTime));
    w.setByte(op::kFunctionFlags, CombineFlags(functionFlags));

    PutPowerOnText(image, im::kPowerOnPassword, o.PowerOnPassword.trimmed());
    PutPowerOnText(image, im::kPowerOnMessage, o.PowerOnMessage.trimmed());
    return {};
}

void ParseOptions(const RadioImage& image, OptionSettings& o, DtmfSettings& dtmf)
{
    ImageReader r(image, im::kOptions);
    for (const OptionByte& b : kOptionBytes)
        o.*b.field = r.byte(b.offset);
    if (o.Item1703Alt > 1)
        o.Item1703Alt = 0;
    o.Item1716 = static_cast<int16_t>(r.bits(op::kFlags, 0, 1));
    o.TailToneElimination = static_cast<int16_t>(r.bits(op::kFlags, 1, 1));
    dtmf.Ani = static_cast<int16_t>(r.bits(op::kFlags, 2, 1));
    dtmf.SendTime = r.byte(op::kDtmfSendTime);
    o.FunctionOperation = static_cast<int16_t>(r.bits(op::kFunctionFlags, 0, 1));
    o.InternalFunctionOperation = static_cast<int16_t>(r.bits(op::kFunctionFlags, 1, 1));
    o.InitialiseKeys = static_cast<int16_t>(r.bits(op::kFunctionFlags, 3, 1));

    GetPowerOnText(image, im::kPowerOnPassword, o.PowerOnPassword);
    GetPowerOnText(image, im::kPowerOnMessage, o.PowerOnMessage);
}

} // namespace qtx
