#include "image/embedded_info.h"

#include "image/image_access.h"
#include "image/image_map.h"
#include "model/fixed_text.h"

namespace qtx {

namespace im = imagemap;

namespace {

std::string InfoText(const RadioImage& image, im::Area area, bool stopAtFF = false)
{
    return TrimFixed(ImageReader(image, area).collect(0, area.size, true, stopAtFF).text);
}

} // namespace

EmbeddedInfo ParseEmbeddedInfo(const RadioImage& image)
{
    EmbeddedInfo info;
    info.AreaCode = InfoText(image, im::kInfoAreaCode, true);
    info.SerialNumber = InfoText(image, im::kInfoSerialNumber);
    info.ProductionDate = InfoText(image, im::kInfoProductionDate);
    info.ManufactureCode = InfoText(image, im::kInfoManufactureCode);
    info.UserCode = InfoText(image, im::kInfoUserCode);
    info.MaintenanceDate = InfoText(image, im::kInfoMaintenanceDate);
    info.DealerCode = InfoText(image, im::kInfoDealerCode);
    info.StockDate = InfoText(image, im::kInfoStockDate);
    info.SellDate = InfoText(image, im::kInfoSellDate);
    info.Seller = InfoText(image, im::kInfoSeller);
    info.Description = InfoText(image, im::kInfoDescription);
    return info;
}

} // namespace qtx
