#pragma once
// The Codeplug: everything QTX edits for one radio. Records hold the stored
// values exactly as the data file keeps them; meaning and display belong to
// the editors.

#include "convert/bcd.h"
#include "model/band_limits.h"
#include "model/fields.h"
#include "model/fixed_text.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace qtx {

inline constexpr int16_t kModelBandType = 7;
inline constexpr int kMaxChannels = 203;
inline constexpr int kMemoryChannels = 200;
inline constexpr int16_t kChannelPA = 201;
inline constexpr int16_t kChannelPB = 202;
inline constexpr int16_t kChannelVfo = 203;
// The DTMF own ID of a new Codeplug, and what an own ID that is not a
// number is sent and kept as.
inline constexpr std::string_view kDefaultDtmfOwnId = "000";

// One byte per programmable key action, the row of the chosen function:
// 0-4 short press P1-P5, 5-9 long press P1-P5, 10-14 FUNC+P1-P5.
struct KeySettings {
    std::array<uint8_t, 15> Keys{};

    template <class Ar> void serialize(Ar& ar) { field(ar, "Keys", Keys); }
    friend bool operator==(const KeySettings&, const KeySettings&) = default;
};

// A DTMF code: digits 0-9, A-D, E for '*', F for '#'; Length digits in use.
template <size_t N>
struct DtmfCode {
    FixedText<N> Code;
    int16_t Length = 0;

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "Code", Code);
        field(ar, "Length", Length);
    }
    friend bool operator==(const DtmfCode&, const DtmfCode&) = default;
};

struct DtmfSettings {
    std::array<DtmfCode<24>, 16> Codes{};
    DtmfCode<24> PttIdBegin;
    DtmfCode<24> PttIdEnd;
    DtmfCode<14> KillCode;
    DtmfCode<14> StunCode;
    int16_t Ani = 0;
    int16_t SendTime = 1;
    int16_t PttIdMode = 3;
    FixedText<3> OwnId;
    int16_t Separator = 14;
    int16_t GroupCode = 10; // 10-15, 255 = off
    int16_t DecodeResponse = 0;
    int16_t FirstDigitDelay = 20;
    int16_t PreSendDelay = 20;
    int16_t ResetTime = 0;
    int16_t PostSendDelay = 20;
    int16_t PauseTime = 10;
    int16_t SideTone = 0;

    DtmfSettings() { OwnId.setPadded(kDefaultDtmfOwnId); }

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "Codes", Codes);
        field(ar, "PttIdBegin", PttIdBegin);
        field(ar, "PttIdEnd", PttIdEnd);
        field(ar, "KillCode", KillCode);
        field(ar, "StunCode", StunCode);
        field(ar, "Ani", Ani);
        field(ar, "SendTime", SendTime);
        field(ar, "PttIdMode", PttIdMode);
        field(ar, "OwnId", OwnId);
        field(ar, "Separator", Separator);
        field(ar, "GroupCode", GroupCode);
        field(ar, "DecodeResponse", DecodeResponse);
        field(ar, "FirstDigitDelay", FirstDigitDelay);
        field(ar, "PreSendDelay", PreSendDelay);
        field(ar, "ResetTime", ResetTime);
        field(ar, "PostSendDelay", PostSendDelay);
        field(ar, "PauseTime", PauseTime);
        field(ar, "SideTone", SideTone);
    }
    friend bool operator==(const DtmfSettings&, const DtmfSettings&) = default;
};

// 2-tone call entry. The four values are stored high byte first.
struct TwoToneEntry {
    int16_t Empty = 1; // 0 = in use, 1 = empty
    uint16_t FirstDivider = 0;
    uint16_t SecondDivider = 0;
    uint16_t FirstTone = 0;  // Hz x 10
    uint16_t SecondTone = 0; // Hz x 10
    FixedText<7> Name;

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "Empty", Empty);
        ar.u16be("FirstDivider", FirstDivider);
        ar.u16be("SecondDivider", SecondDivider);
        ar.u16be("FirstTone", FirstTone);
        ar.u16be("SecondTone", SecondTone);
        field(ar, "Name", Name);
    }
    friend bool operator==(const TwoToneEntry&, const TwoToneEntry&) = default;
};

// The 24-byte 2-tone header (bytes 0-23) followed by the 32 call entries.
// Own-code values are held high byte first, tones A-D low byte first.
struct TwoToneSettings {
    uint16_t OwnFirstTone = 0x0C91;     // bytes 0,1: 321.7 Hz
    uint16_t OwnSecondTone = 0x2441;    // bytes 2,3: 928.1 Hz, 0 = long tone
    uint8_t OwnFormat = 0;              // byte 4: 0-14
    uint16_t OwnFirstDivider = 0x3A48;  // bytes 5,6
    uint16_t OwnSecondDivider = 0x1434; // bytes 7,8
    uint8_t Timer = 0;                  // byte 9: 0-250
    uint8_t DecodeResponse = 0;         // byte 10: 0-2
    uint8_t SideTone = 0;               // byte 11
    uint16_t ToneA = 0x0C91;            // bytes 12,13: Hz x 10
    uint16_t ToneB = 0x2441;            // bytes 14,15
    uint16_t ToneC = 0;                 // bytes 16,17
    uint16_t ToneD = 0;                 // bytes 18,19
    uint8_t Duration1 = 5;              // byte 20: 5-100
    uint8_t Duration2 = 5;              // byte 21
    uint8_t Duration3 = 10;             // byte 22
    uint8_t Delay = 0;                  // byte 23: 0-20
    std::array<TwoToneEntry, 32> Entries{};

    TwoToneSettings();

    template <class Ar> void serialize(Ar& ar)
    {
        ar.u16be("OwnFirstTone", OwnFirstTone);
        ar.u16be("OwnSecondTone", OwnSecondTone);
        field(ar, "OwnFormat", OwnFormat);
        ar.u16be("OwnFirstDivider", OwnFirstDivider);
        ar.u16be("OwnSecondDivider", OwnSecondDivider);
        field(ar, "Timer", Timer);
        field(ar, "DecodeResponse", DecodeResponse);
        field(ar, "SideTone", SideTone);
        ar.u16le("ToneA", ToneA);
        ar.u16le("ToneB", ToneB);
        ar.u16le("ToneC", ToneC);
        ar.u16le("ToneD", ToneD);
        field(ar, "Duration1", Duration1);
        field(ar, "Duration2", Duration2);
        field(ar, "Duration3", Duration3);
        field(ar, "Delay", Delay);
        field(ar, "Entries", Entries);
    }
    friend bool operator==(const TwoToneSettings&, const TwoToneSettings&) = default;
};

struct FiveToneInfoCode {
    uint8_t DecodeFunction = 0; // 0-6
    uint8_t DecodeResponse = 0; // 0-2
    uint8_t CodeLength = 0;     // 0-12
    FixedText<12> Code;
    FixedText<7> Name;

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "DecodeFunction", DecodeFunction);
        field(ar, "DecodeResponse", DecodeResponse);
        field(ar, "CodeLength", CodeLength);
        field(ar, "Code", Code);
        field(ar, "Name", Name);
    }
    friend bool operator==(const FiveToneInfoCode&, const FiveToneInfoCode&) = default;
};

struct FiveToneCode {
    int16_t Empty = 1;      // 0 = in use, 1 = empty
    uint8_t Reserved = 0;   // not set by the editor, not carried by the image
    uint8_t Standard = 0;   // 0-15
    uint8_t CodeLength = 0; // 0-40
    uint8_t ToneLength = 70; // milliseconds, 30-100
    FixedText<40> Code;
    FixedText<7> Name;

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "Empty", Empty);
        field(ar, "Reserved", Reserved);
        field(ar, "Standard", Standard);
        field(ar, "CodeLength", CodeLength);
        field(ar, "ToneLength", ToneLength);
        field(ar, "Code", Code);
        field(ar, "Name", Name);
    }
    friend bool operator==(const FiveToneCode&, const FiveToneCode&) = default;
};

struct FiveToneSettings {
    // Header bytes 0-4.
    uint8_t HeaderReserved = 0; // not set by the editor
    uint8_t DecodeResponse = 0; // 0-2
    uint8_t Standard = 0;       // 0-13
    uint8_t OwnIdLength = 0;    // digits
    uint8_t ToneLength = 70;    // milliseconds, 30-100
    FixedText<6> OwnCode;
    // Setting bytes 0-3, named after their editor texts.
    uint8_t Setting60307 = 0;  // 0-250
    uint8_t Setting60081 = 20; // 1-255
    uint8_t Setting60308 = 20; // 1-255
    uint8_t Setting60309 = 10; // 0, or 5-75
    // Header values 1-6.
    int16_t FirstDigitDelay = 20;
    int16_t PauseTime = 20;
    int16_t PauseCode = 0;
    int16_t FirstCodeDelay = 20; // first-code delay after pause
    int16_t SideTone = 0;
    int16_t Value6 = 13;         // not set by the editor
    std::array<FiveToneInfoCode, 8> InfoCodes{};
    FiveToneCode PttIdBegin;
    FiveToneCode PttIdEnd;
    std::array<FiveToneCode, 100> CallList{};
    std::array<int16_t, 16> UserToneTable{24000, 10600, 11600, 12700, 14000, 15300, 16700, 18300,
                                          20000, 22000, 28000, 8100,  9700,  8850,  26000, 9300};

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "HeaderReserved", HeaderReserved);
        field(ar, "DecodeResponse", DecodeResponse);
        field(ar, "Standard", Standard);
        field(ar, "OwnIdLength", OwnIdLength);
        field(ar, "ToneLength", ToneLength);
        field(ar, "OwnCode", OwnCode);
        field(ar, "Setting60307", Setting60307);
        field(ar, "Setting60081", Setting60081);
        field(ar, "Setting60308", Setting60308);
        field(ar, "Setting60309", Setting60309);
        field(ar, "FirstDigitDelay", FirstDigitDelay);
        field(ar, "PauseTime", PauseTime);
        field(ar, "PauseCode", PauseCode);
        field(ar, "FirstCodeDelay", FirstCodeDelay);
        field(ar, "SideTone", SideTone);
        field(ar, "Value6", Value6);
        field(ar, "InfoCodes", InfoCodes);
        field(ar, "PttIdBegin", PttIdBegin);
        field(ar, "PttIdEnd", PttIdEnd);
        field(ar, "CallList", CallList);
        field(ar, "UserToneTable", UserToneTable);
    }
    friend bool operator==(const FiveToneSettings&, const FiveToneSettings&) = default;
};

// Radio-wide options; fields known only by their editor label are named
// after the label's text ID.
struct OptionSettings {
    int16_t Item1702 = 0;
    int16_t Item1703 = 0;
    int16_t ChannelSelect = 0; // radio slot: channel number - 1 (200 = PA, 201 = PB)
    int16_t Item1705 = 0;
    int16_t Item1707 = 0;
    int16_t Item1703Alt = 0;
    int16_t Item1709 = 0;
    int16_t Item1710 = 0;
    int16_t ToneBurst = 0;
    int16_t Item1712 = 0;
    int16_t Item1713 = 0;
    int16_t Item1714 = 0;
    int16_t Item1716 = 0;
    int16_t TailToneElimination = 0;
    int16_t Item1717 = 0;
    int16_t FunctionOperation = 0;
    int16_t InternalFunctionOperation = 0;
    int16_t InitialiseKeys = 0;
    int16_t TailTonePhase = 0;
    int16_t Item1719 = 0;
    int16_t Item1706 = 0; // kept in the file only
    int16_t Item1708 = 0; // kept in the file only
    int16_t Item1715 = 0; // kept in the file only
    FixedText<7> PowerOnMessage;
    int16_t PowerOnPasswordEnabled = 0;
    FixedText<6> PowerOnPassword;

    OptionSettings()
    {
        PowerOnMessage.setPadded("Welcome");
        PowerOnPassword.setTerminated("");
    }

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "Item1702", Item1702);
        field(ar, "Item1703", Item1703);
        field(ar, "ChannelSelect", ChannelSelect);
        field(ar, "Item1705", Item1705);
        field(ar, "Item1707", Item1707);
        field(ar, "Item1703Alt", Item1703Alt);
        field(ar, "Item1709", Item1709);
        field(ar, "Item1710", Item1710);
        field(ar, "ToneBurst", ToneBurst);
        field(ar, "Item1712", Item1712);
        field(ar, "Item1713", Item1713);
        field(ar, "Item1714", Item1714);
        field(ar, "Item1716", Item1716);
        field(ar, "TailToneElimination", TailToneElimination);
        field(ar, "Item1717", Item1717);
        field(ar, "FunctionOperation", FunctionOperation);
        field(ar, "InternalFunctionOperation", InternalFunctionOperation);
        field(ar, "InitialiseKeys", InitialiseKeys);
        field(ar, "TailTonePhase", TailTonePhase);
        field(ar, "Item1719", Item1719);
        field(ar, "Item1706", Item1706);
        field(ar, "Item1708", Item1708);
        field(ar, "Item1715", Item1715);
        field(ar, "PowerOnMessage", PowerOnMessage);
        field(ar, "PowerOnPasswordEnabled", PowerOnPasswordEnabled);
        field(ar, "PowerOnPassword", PowerOnPassword);
    }
    friend bool operator==(const OptionSettings&, const OptionSettings&) = default;
};

struct ScanSettings {
    uint8_t PriorityScan = 0;
    uint8_t PriorityMode = 0;
    uint8_t RevertChannel = 0;
    uint8_t LookBackTimeA = 5; // tenths of a second, 5-50
    uint8_t LookBackTimeB = 5;
    uint8_t RxResumeDelay = 0; // tenths, 1-50
    uint8_t TxResumeDelay = 0;
    uint8_t ScanType = 0;
    uint8_t ScanStartBeep = 0;
    uint8_t WaitTime = 0; // units of 25 ms, 2-255
    uint8_t Priority1Group = 0;
    uint8_t Priority1Channel = 0; // 1-based channel number, 0 = none
    uint8_t Priority2Group = 0;
    uint8_t Priority2Channel = 0;

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "PriorityScan", PriorityScan);
        field(ar, "PriorityMode", PriorityMode);
        field(ar, "RevertChannel", RevertChannel);
        field(ar, "LookBackTimeA", LookBackTimeA);
        field(ar, "LookBackTimeB", LookBackTimeB);
        field(ar, "RxResumeDelay", RxResumeDelay);
        field(ar, "TxResumeDelay", TxResumeDelay);
        field(ar, "ScanType", ScanType);
        field(ar, "ScanStartBeep", ScanStartBeep);
        field(ar, "WaitTime", WaitTime);
        field(ar, "Priority1Group", Priority1Group);
        field(ar, "Priority1Channel", Priority1Channel);
        field(ar, "Priority2Group", Priority2Group);
        field(ar, "Priority2Channel", Priority2Channel);
    }
    friend bool operator==(const ScanSettings&, const ScanSettings&) = default;
};

struct EmergencySettings {
    uint8_t AlarmType = 0;
    uint8_t IdType = 0;  // 0 none, 1 DTMF, 2 5-tone
    uint8_t IdGroup = 0; // DTMF code M1-M16 minus 1, or 5-tone call entry number
    uint8_t AlarmTime = 0;
    uint8_t TxTime = 0;
    uint8_t RxTime = 0;
    uint8_t ChannelChoice = 0;
    uint8_t EmergencyChannel = 0; // 1-based channel number, 0 = none
    uint8_t Period = 0;
    uint8_t AutoDetect = 0;
    uint8_t PreAlertTime = 1;   // seconds, 1-254
    uint8_t LoneWorkerTime = 5; // seconds, 5-255

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "AlarmType", AlarmType);
        field(ar, "IdType", IdType);
        field(ar, "IdGroup", IdGroup);
        field(ar, "AlarmTime", AlarmTime);
        field(ar, "TxTime", TxTime);
        field(ar, "RxTime", RxTime);
        field(ar, "ChannelChoice", ChannelChoice);
        field(ar, "EmergencyChannel", EmergencyChannel);
        field(ar, "Period", Period);
        field(ar, "AutoDetect", AutoDetect);
        field(ar, "PreAlertTime", PreAlertTime);
        field(ar, "LoneWorkerTime", LoneWorkerTime);
    }
    friend bool operator==(const EmergencySettings&, const EmergencySettings&) = default;
};

struct RadioSettings {
    KeySettings Keys;
    DtmfSettings Dtmf;
    TwoToneSettings TwoTone;
    FiveToneSettings FiveTone;
    OptionSettings Options;
    ScanSettings Scan;
    EmergencySettings Emergency;

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "Keys", Keys);
        field(ar, "Dtmf", Dtmf);
        field(ar, "TwoTone", TwoTone);
        field(ar, "FiveTone", FiveTone);
        field(ar, "Options", Options);
        field(ar, "Scan", Scan);
        field(ar, "Emergency", Emergency);
    }
    friend bool operator==(const RadioSettings&, const RadioSettings&) = default;
};

struct CommBookEntry {
    int16_t Index = 0;
    FixedText<5> CallId;
    FixedText<7> Name;

    CommBookEntry()
    {
        CallId.setTerminated("");
        Name.setTerminated("");
    }

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "Index", Index);
        field(ar, "CallId", CallId);
        field(ar, "Name", Name);
    }
    friend bool operator==(const CommBookEntry&, const CommBookEntry&) = default;
};

using CommBook = std::array<CommBookEntry, 128>;

CommBook DefaultCommBook();

struct CodeplugBody {
    int16_t BandType = kModelBandType;
    BandPlan Band;
    RadioSettings Settings;
    int16_t ChannelCount = 0;
    CommBook Book = DefaultCommBook();
    uint8_t FiveToneCodeFormat = 2; // 5-tone decode time, list row 0-200

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "BandType", BandType);
        field(ar, "Band", Band);
        field(ar, "Settings", Settings);
        field(ar, "ChannelCount", ChannelCount);
        field(ar, "CommBook", Book);
        field(ar, "FiveToneCodeFormat", FiveToneCodeFormat);
    }
    friend bool operator==(const CodeplugBody&, const CodeplugBody&) = default;
};

struct ChannelRecord {
    int16_t Number = 0; // 1-200 memory, 201 PA, 202 PB, 203 VFO
    int16_t InUse = 0;
    int16_t ScanSkip = 0;
    FixedText<9> RxFrequency;  // nine digits, 10 Hz units; kNoFrequencyDigits = none
    FixedText<9> Offset;       // nine digits, magnitude of TX - RX
    FixedText<7> Name;
    int16_t Step = 5;
    int16_t TxInhibit = 0;
    int16_t Bandwidth = 0;
    int16_t TxDcsInverted = 0;
    int16_t TxDcsHigh = 0;
    int16_t Reserved1 = 0;
    int16_t Reserved2 = 0;
    int16_t Reserved3 = 0;
    int16_t ShiftDirection = 0; // 0 simplex, 1 "-", 2 "+"
    int16_t TxPower = 0;
    int16_t TalkAround = 0;
    int16_t RxDcsInverted = 0;
    int16_t RxDcsHigh = 0;
    int16_t Compander = 0;
    int16_t Reserved4 = 0;
    int16_t TxToneType = 0; // 0 none, 1 CTCSS, 2 DCS
    int16_t RxToneType = 0;
    int16_t TxCtcss = 0; // 0-50
    int16_t RxCtcss = 0;
    int16_t TxDcsCode = 0; // 0-511
    int16_t RxDcsCode = 0;
    int16_t OptionalSignal = 0; // 0 none, 1 DTMF, 2 2-tone, 3 5-tone
    int16_t Reserved5 = 0;
    int16_t TwoToneCall = 0;  // 0-31
    int16_t FiveToneCall = 0; // 0-99
    int16_t PttIdFlag = 0;
    int16_t Reverse = 0;
    int16_t Scrambler = 0;
    int16_t DtmfPttId = 0;
    int16_t FiveTonePttId = 0;
    int16_t SquelchMode = 0;
    int16_t DtmfCode = 0; // M1-M16 as 0-15
    int16_t ExtraDisplay = 0;
    int16_t BusyLock = 0;
    int16_t RadioExtra = 0;
    int16_t PttIdDecode = 0;
    FixedText<5> PttIdCode;

    ChannelRecord()
    {
        RxFrequency.setPadded(kNoFrequencyDigits);
        Offset.setPadded("000000000");
        Name.setTerminated("");
        PttIdCode.setPadded("00000");
    }

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "Number", Number);
        field(ar, "InUse", InUse);
        field(ar, "ScanSkip", ScanSkip);
        field(ar, "RxFrequency", RxFrequency);
        field(ar, "Offset", Offset);
        field(ar, "Name", Name);
        field(ar, "Step", Step);
        field(ar, "TxInhibit", TxInhibit);
        field(ar, "Bandwidth", Bandwidth);
        field(ar, "TxDcsInverted", TxDcsInverted);
        field(ar, "TxDcsHigh", TxDcsHigh);
        field(ar, "Reserved1", Reserved1);
        field(ar, "Reserved2", Reserved2);
        field(ar, "Reserved3", Reserved3);
        field(ar, "ShiftDirection", ShiftDirection);
        field(ar, "TxPower", TxPower);
        field(ar, "TalkAround", TalkAround);
        field(ar, "RxDcsInverted", RxDcsInverted);
        field(ar, "RxDcsHigh", RxDcsHigh);
        field(ar, "Compander", Compander);
        field(ar, "Reserved4", Reserved4);
        field(ar, "TxToneType", TxToneType);
        field(ar, "RxToneType", RxToneType);
        field(ar, "TxCtcss", TxCtcss);
        field(ar, "RxCtcss", RxCtcss);
        field(ar, "TxDcsCode", TxDcsCode);
        field(ar, "RxDcsCode", RxDcsCode);
        field(ar, "OptionalSignal", OptionalSignal);
        field(ar, "Reserved5", Reserved5);
        field(ar, "TwoToneCall", TwoToneCall);
        field(ar, "FiveToneCall", FiveToneCall);
        field(ar, "PttIdFlag", PttIdFlag);
        field(ar, "Reverse", Reverse);
        field(ar, "Scrambler", Scrambler);
        field(ar, "DtmfPttId", DtmfPttId);
        field(ar, "FiveTonePttId", FiveTonePttId);
        field(ar, "SquelchMode", SquelchMode);
        field(ar, "DtmfCode", DtmfCode);
        field(ar, "ExtraDisplay", ExtraDisplay);
        field(ar, "BusyLock", BusyLock);
        field(ar, "RadioExtra", RadioExtra);
        field(ar, "PttIdDecode", PttIdDecode);
        field(ar, "PttIdCode", PttIdCode);
    }
    friend bool operator==(const ChannelRecord&, const ChannelRecord&) = default;
};

// 203 slots; the first ChannelCount (held in the body) are valid, in list
// order, identified by Number.
using ChannelList = std::array<ChannelRecord, kMaxChannels>;

struct Codeplug {
    CodeplugBody body;
    ChannelList channels{};

    int count() const { return body.ChannelCount; }
};

} // namespace qtx
