#pragma once
// Keys, options with the power-on password and message, scan and emergency
// settings <-> the radio image.

#include "image/field_table.h"
#include "image/radio_image.h"
#include "model/codeplug.h"
#include "model/result.h"

namespace qtx {

void EncodeKeys(const KeySettings& keys, RadioImage& image);
void EncodeScan(const ScanSettings& scan, RadioImage& image);
void EncodeEmergency(const EmergencySettings& emergency, RadioImage& image);

// The option bytes (with Ani and SendTime of the DTMF settings), the
// power-on password and message. Fails with "SetCommDataByOptionError" on a
// value that does not fit its byte or bits.
Result<void> SetCommDataByOption(const OptionSettings& options, const DtmfSettings& dtmf, RadioImage& image);

// The field tables of keys, scan, emergency, options and the power-on texts.
std::vector<image::BlockLayout> SettingsLayouts();

void ParseKeys(const RadioImage& image, KeySettings& keys);
void ParseScan(const RadioImage& image, ScanSettings& scan);
void ParseEmergency(const RadioImage& image, EmergencySettings& emergency);
// Also sets Ani and SendTime of dtmf.
void ParseOptions(const RadioImage& image, OptionSettings& options, DtmfSettings& dtmf);

} // namespace qtx
