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
    im::Area area;
    std::string I::*member;
    const char* name;
    bool stopAtFF = false;

    int offset() const { return area.start - im::kEmbeddedInfo.start; }
    template <class View>
    void get(View& v, I& info) const
    {
        info.*member = TrimFixed(v.collect(offset(), area.size, true, stopAtFF).text);
    }
    void spans(const SpanSink& sink) const { sink({name, offset(), 0, 8 * area.size}); }
};

// The radio password at 0x004C is not shown.
constexpr std::tuple kInfoFields{
    InfoText{im::kInfoAreaCode, &I::AreaCode, "AreaCode", true},
    InfoText{im::kInfoSerialNumber, &I::SerialNumber, "SerialNumber"},
    InfoText{im::kInfoProductionDate, &I::ProductionDate, "ProductionDate"},
    InfoText{im::kInfoManufactureCode, &I::ManufactureCode, "ManufactureCode"},
    InfoText{im::kInfoUserCode, &I::UserCode, "UserCode"},
    InfoText{im::kInfoMaintenanceDate, &I::MaintenanceDate, "MaintenanceDate"},
    InfoText{im::kInfoDealerCode, &I::DealerCode, "DealerCode"},
    InfoText{im::kInfoStockDate, &I::StockDate, "StockDate"},
    InfoText{im::kInfoSellDate, &I::SellDate, "SellDate"},
    InfoText{im::kInfoSeller, &I::Seller, "Seller"},
    InfoText{im::kInfoDescription, &I::Description, "Description"},
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
