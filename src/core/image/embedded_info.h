#pragma once
// The radio's identity and service texts, bytes 0x0010-0x00FF of the image.
// Held apart from the Codeplug; never saved, never written to a radio.

#include "image/field_table.h"
#include "image/radio_image.h"

#include <string>

namespace qtx {

inline constexpr const char* kDefaultFirmwareVersion = "V1.00";

// Each text is the field's bytes up to the first 0x00 (the area code also
// ends at 0xFF), trimmed; single-byte characters as the radio holds them.
struct EmbeddedInfo {
    std::string AreaCode;        // "Area Code", 4
    std::string SerialNumber;    // "Serial Number", 16
    std::string ProductionDate;  // "Producted Date", 16
    std::string ManufactureCode; // "Manufacture Code", 8
    std::string UserCode;        // "User Code", 4
    std::string MaintenanceDate; // "Maintained Date", 16
    std::string DealerCode;      // "Dealer Code", 16
    std::string StockDate;       // "Stock Date", 16
    std::string SellDate;        // "Sell Date", 16
    std::string Seller;          // "Seller", 16
    std::string Description;     // "Description", 96
    std::string Version = kDefaultFirmwareVersion; // not in the image; no read replaces it

    friend bool operator==(const EmbeddedInfo&, const EmbeddedInfo&) = default;
};

// The field table of the information block (read only).
image::BlockLayout EmbeddedInfoLayout();

EmbeddedInfo ParseEmbeddedInfo(const RadioImage& image);

} // namespace qtx
