#include "image/embedded_info.h"

#include "image/field_table.h"
#include "image/image_map.h"
#include "model/fixed_text.h"

namespace qtx {

namespace im = imagemap;
using namespace image;
using I = EmbeddedInfo;

namespace {

// A text of the information block, read only: up to the first 0x00 (and
// 0xFF when stopAtFF), trimmed.
struct InfoText {
    int offset;
    int size;
    std::string I::*member;
    const char* name;
    bool stopAtFF = false;

    template <class View>
    void get(View& v, I& info) const
    {
        info.*member = TrimFixed(v.collect(offset, size, true, stopAtFF).text);
    }
    void spans(const SpanSink& sink) const { sink({name, offset, 0, 8 * size}); }
};

// Bytes 0x3C-0x3F hold the radio password, which is not shown.
constexpr std::tuple kInfoFields{
    InfoText{0x09, 4, &I::AreaCode, "AreaCode", true},
    InfoText{0x10, 16, &I::SerialNumber, "SerialNumber"},
    InfoText{0x20, 16, &I::ProductionDate, "ProductionDate"},
    InfoText{0x30, 8, &I::ManufactureCode, "ManufactureCode"},
    InfoText{0x38, 4, &I::UserCode, "UserCode"},
    InfoText{0x40, 16, &I::MaintenanceDate, "MaintenanceDate"},
    InfoText{0x50, 16, &I::DealerCode, "DealerCode"},
    InfoText{0x60, 16, &I::StockDate, "StockDate"},
    InfoText{0x70, 16, &I::SellDate, "SellDate"},
    InfoText{0x80, 16, &I::Seller, "Seller"},
    InfoText{0x90, 96, &I::Description, "Description"},
};

} // namespace

BlockLayout EmbeddedInfoLayout() { return DescribeBlock("embedded information", im::kEmbeddedInfo.size, kInfoFields); }

EmbeddedInfo ParseEmbeddedInfo(const RadioImage& image)
{
    EmbeddedInfo info;
    DecodeArea(kInfoFields, image, im::kEmbeddedInfo, info);
    return info;
}

} // namespace qtx
