#include "image/settings_codec.h"

#include "convert/code_text.h"
#include "image/codec_support.h"
#include "image/field_table.h"
#include "image/image_map.h"

#include <string>

namespace qtx {

namespace im = imagemap;
using namespace image;
using O = OptionSettings;
using S = ScanSettings;
using E = EmergencySettings;

namespace {

// One-based numbers with 0 for none travel as zero-based bytes with 0xFF.
int OneBasedToImage(int v) { return ToImageByte(v - 1); }
int OneBasedFromImage(int b) { return ToImageByte(b + 1); }
int ZeroAboveOne(int b) { return b > 1 ? 0 : b; }

constexpr std::tuple kKeyFields{ByteRun{0, &KeySettings::Keys, "Keys"}};

constexpr std::tuple kScanFields{
    Byte{0x00, &S::PriorityScan, "PriorityScan"},
    Byte{0x01, &S::PriorityMode, "PriorityMode"},
    Byte{0x02, &S::RevertChannel, "RevertChannel"},
    Byte{0x03, &S::LookBackTimeA, "LookBackTimeA"},
    Byte{0x04, &S::LookBackTimeB, "LookBackTimeB"},
    Byte{0x05, &S::RxResumeDelay, "RxResumeDelay"},
    Byte{0x06, &S::TxResumeDelay, "TxResumeDelay"},
    Byte{0x07, &S::ScanType, "ScanType"},
    Byte{0x08, &S::ScanStartBeep, "ScanStartBeep"},
    Byte{0x09, &S::WaitTime, "WaitTime"},
    Byte{0x0A, &S::Priority1Group, "Priority1Group", 255, OneBasedToImage, OneBasedFromImage},
    Byte{0x0B, &S::Priority1Channel, "Priority1Channel", 255, OneBasedToImage, OneBasedFromImage},
    Byte{0x0C, &S::Priority2Group, "Priority2Group", 255, OneBasedToImage, OneBasedFromImage},
    Byte{0x0D, &S::Priority2Channel, "Priority2Channel", 255, OneBasedToImage, OneBasedFromImage},
};

// Byte 7 is not carried.
constexpr std::tuple kEmergencyFields{
    Byte{0x00, &E::AlarmType, "AlarmType"},
    Byte{0x01, &E::IdType, "IdType"},
    Byte{0x02, &E::IdGroup, "IdGroup"},
    Byte{0x03, &E::AlarmTime, "AlarmTime"},
    Byte{0x04, &E::TxTime, "TxTime"},
    Byte{0x05, &E::RxTime, "RxTime"},
    Byte{0x06, &E::ChannelChoice, "ChannelChoice"},
    Byte{0x08, &E::EmergencyChannel, "EmergencyChannel", 255, OneBasedToImage, OneBasedFromImage},
    Byte{0x09, &E::Period, "Period"},
    Byte{0x0A, &E::AutoDetect, "AutoDetect"},
    Byte{0x0B, &E::PreAlertTime, "PreAlertTime"},
    Byte{0x0C, &E::LoneWorkerTime, "LoneWorkerTime"},
};

// Bytes 0x04, 0x16 and 0x17 are not carried; 0x10 bit 2 and 0x12 belong to
// the DTMF settings (below).
constexpr std::tuple kOptionFields{
    Byte{0x00, &O::Item1702, "Item1702"},
    Byte{0x01, &O::Item1703, "Item1703"},
    Byte{0x02, &O::ChannelSelect, "ChannelSelect"},
    Byte{0x03, &O::Item1705, "Item1705"},
    Byte{0x05, &O::Item1707, "Item1707"},
    Byte{0x06, &O::Item1703Alt, "Item1703Alt", 255, nullptr, ZeroAboveOne},
    Byte{0x07, &O::Item1709, "Item1709"},
    Byte{0x08, &O::Item1710, "Item1710"},
    Fixed{0x09, 0, 8},
    Fixed{0x0A, 0, 8},
    Byte{0x0B, &O::ToneBurst, "ToneBurst"},
    Byte{0x0C, &O::Item1712, "Item1712"},
    Fixed{0x0D, 0, 8},
    Byte{0x0E, &O::Item1713, "Item1713"},
    Byte{0x0F, &O::Item1714, "Item1714"},
    Flag{0x10, 0, &O::Item1716, "Item1716"},
    Flag{0x10, 1, &O::TailToneElimination, "TailToneElimination"},
    Fixed{0x10, 3, 5},
    Byte{0x11, &O::Item1717, "Item1717"},
    Flag{0x13, 0, &O::FunctionOperation, "FunctionOperation"},
    Flag{0x13, 1, &O::InternalFunctionOperation, "InternalFunctionOperation"},
    Fixed{0x13, 2, 1},
    Flag{0x13, 3, &O::InitialiseKeys, "InitialiseKeys"},
    Fixed{0x13, 4, 4},
    Byte{0x14, &O::TailTonePhase, "TailTonePhase"},
    Byte{0x15, &O::Item1719, "Item1719"},
    Byte{0x18, &O::PowerOnPasswordEnabled, "PowerOnPasswordEnabled"},
};

constexpr std::tuple kOptionDtmfFields{
    Flag{0x10, 2, &DtmfSettings::Ani, "Ani"},
    Byte{0x12, &DtmfSettings::SendTime, "SendTime"},
};

// Each in its own area: character i at byte i, 0x00 after the end.
constexpr std::tuple kPowerOnPasswordFields{
    Text{0, im::kPowerOnPassword.size, &O::PowerOnPassword, "PowerOnPassword", Pad::Zero}};
constexpr std::tuple kPowerOnMessageFields{
    Text{0, im::kPowerOnMessage.size, &O::PowerOnMessage, "PowerOnMessage", Pad::Zero}};

} // namespace

std::vector<BlockLayout> SettingsLayouts()
{
    return {DescribeBlock("keys", im::kKeys.size, kKeyFields),
            DescribeBlock("scan", im::kScan.size, kScanFields),
            DescribeBlock("emergency", im::kEmergency.size, kEmergencyFields),
            DescribeBlock("options", im::kOptions.size, std::tuple_cat(kOptionFields, kOptionDtmfFields)),
            DescribeBlock("power-on password", im::kPowerOnPassword.size, kPowerOnPasswordFields),
            DescribeBlock("power-on message", im::kPowerOnMessage.size, kPowerOnMessageFields)};
}

// Keys, scan and emergency values always fit their bytes.
void EncodeKeys(const KeySettings& keys, RadioImage& image) { (void)EncodeArea(kKeyFields, image, im::kKeys, keys); }
void ParseKeys(const RadioImage& image, KeySettings& keys) { DecodeArea(kKeyFields, image, im::kKeys, keys); }
void EncodeScan(const ScanSettings& s, RadioImage& image) { (void)EncodeArea(kScanFields, image, im::kScan, s); }
void ParseScan(const RadioImage& image, ScanSettings& s) { DecodeArea(kScanFields, image, im::kScan, s); }
void EncodeEmergency(const EmergencySettings& e, RadioImage& image)
{
    (void)EncodeArea(kEmergencyFields, image, im::kEmergency, e);
}
void ParseEmergency(const RadioImage& image, EmergencySettings& e)
{
    DecodeArea(kEmergencyFields, image, im::kEmergency, e);
}

Result<void> SetCommDataByOption(const OptionSettings& o, const DtmfSettings& dtmf, RadioImage& image)
{
    if (auto problem = CheckFields(kOptionFields, o))
        return CodecError(kStepOption, "option " + *problem);
    if (auto problem = CheckFields(kOptionDtmfFields, dtmf))
        return CodecError(kStepOption, "DTMF " + *problem);

    Notices none;
    ImageWriter w(image, im::kOptions);
    PutFields(kOptionFields, w, o, none);
    PutFields(kOptionDtmfFields, w, dtmf, none);
    (void)EncodeArea(kPowerOnPasswordFields, image, im::kPowerOnPassword, o);
    (void)EncodeArea(kPowerOnMessageFields, image, im::kPowerOnMessage, o);
    return {};
}

void ParseOptions(const RadioImage& image, OptionSettings& o, DtmfSettings& dtmf)
{
    DecodeArea(kOptionFields, image, im::kOptions, o);
    DecodeArea(kOptionDtmfFields, image, im::kOptions, dtmf);
    DecodeArea(kPowerOnPasswordFields, image, im::kPowerOnPassword, o);
    DecodeArea(kPowerOnMessageFields, image, im::kPowerOnMessage, o);
}

} // namespace qtx
