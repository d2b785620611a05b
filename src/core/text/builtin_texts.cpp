#include "text/builtin_texts.h"

#include <array>
#include <charconv>

namespace qtx {

namespace {

struct Entry {
    BuiltIn id;
    std::string_view name;
    std::string_view english;
    std::string_view chinese;
};

#define QTX_ENTRY(id, en, zh) Entry{BuiltIn::id, #id, en, zh}

constexpr std::array kEntries{
    QTX_ENTRY(ReadTitle, "Read data from radio", "从对讲机读取数据"),
    QTX_ENTRY(WriteTitle, "Write data to radio", "向对讲机写入数据"),
    QTX_ENTRY(ProgressLabel, "Completion percentage:", "完成进度:"),
    QTX_ENTRY(ReadConfirm, "Read data from radio.\nDo you wish continue?", "从对讲机读取数据。\n是否继续？"),
    QTX_ENTRY(WriteConfirm, "Write data to radio.\nDo you wish continue?", "向对讲机写入数据。\n是否继续？"),
    // The Chinese model and version messages carry no question; both are
    // shown with an OK button only.
    QTX_ENTRY(ModelWrong, "Model type is wrong. Overwrite?", "机型类型错误。"),
    QTX_ENTRY(RadioKilled, "Radio is killed,can't be written!", "对讲机被遥毙，不能写入！"),
    QTX_ENTRY(RadioStunned, "Radio is fainted,can't be written!", "对讲机被遥晕，不能写入！"),
    QTX_ENTRY(VersionWrong, "Version is wrong. Overwrite?", "版本错误。"),
    QTX_ENTRY(AllDataCleared, "All data will be cleared.", "所有数据将被清空。"),
    QTX_ENTRY(FileError, "file error.", "文件错误。"),
    // Follows the quoted bare file name: "new.dat"file will be Overwrite,Continue?
    QTX_ENTRY(FileOverwrite, "file will be Overwrite,Continue?", "文件将被覆盖，是否继续？"),
    QTX_ENTRY(FileModified, "File has been modify,save it now?", "当前文件已被修改，是否现在保存？"),
    // Followed by " (*.dat)" in the file dialogs' type filter.
    QTX_ENTRY(DataFileFilter, "Data File", "数据文件"),
    QTX_ENTRY(CloseCaption, "&Close", "关闭(&C)"),
    QTX_ENTRY(HelpCaption, "&Help", "帮助(&H)"),

    QTX_ENTRY(InfoTitle, "Embedded Message", "嵌入信息"),
    QTX_ENTRY(InfoAreaCode, "Area Code", "销售区号"),
    QTX_ENTRY(InfoManufactureCode, "Manufacture Code", "生产批号"),
    QTX_ENTRY(InfoUserCode, "User Code", "客户代码"),
    QTX_ENTRY(InfoRadioType, "Radio Type", "机型"),
    QTX_ENTRY(InfoSerialNumber, "Serial Number", "序列号"),
    QTX_ENTRY(InfoProductionDate, "Producted Date", "出厂日期"),
    QTX_ENTRY(InfoMaintenanceDate, "Maintained Date", "维修日期"),
    // One label over two lines beside the multi-line description box.
    QTX_ENTRY(InfoMaintenanceDescription, "Maintained\nDescription", "维修原因"),
    QTX_ENTRY(InfoVersion, "Version", "固件版本"),
    QTX_ENTRY(InfoBand, "Frequency", "频段"),
    QTX_ENTRY(InfoDealerGroup, "Dealer Information", "经销商信息"),
    QTX_ENTRY(InfoDealerCode, "Dealer Code", "经销商代码"),
    QTX_ENTRY(InfoStockDate, "Stock Date", "入库时间"),
    QTX_ENTRY(InfoSellDate, "Sell Date", "销售时间"),
    QTX_ENTRY(InfoSeller, "Seller", "经手人"),

    // Fixed texts that read the same in both languages.
    QTX_ENTRY(NotNumeric, "Not IsNumeric", "Not IsNumeric"),
    QTX_ENTRY(VfoEmpty, "VFO can't be null!", "VFO can't be null!"),
    QTX_ENTRY(NameTooLong, "Name is too long!", "Name is too long!"),
    QTX_ENTRY(ResetSpecialCall, "Reset Special Call of this channel,OK or Not?",
              "Reset Special Call of this channel,OK or Not?"),
    QTX_ENTRY(UnknownOs, "Unknown operating system", "未知操作系统"),
    QTX_ENTRY(SystemInfoUnavailable, "System information is not available now.", "此时系统信息不可用"),
    // %1 channels read, %2 channels the data file lists.
    QTX_ENTRY(ChannelFileIncomplete,
              "The channel file holds only %1 of the %2 channels this data file lists.\nThe channels found were loaded.",
              "信道文件只包含此数据文件所列 %2 个信道中的 %1 个。\n已载入找到的信道。"),
    // %1 records left out.
    QTX_ENTRY(ChannelRecordsDropped,
              "%1 channel records with an invalid or repeated channel number were left out.",
              "已略去 %1 条信道号无效或重复的信道记录。"),
    QTX_ENTRY(AboutSystemInfo, "System &Info...", "系统信息(&I)..."),
    QTX_ENTRY(SystemInfoTitle, "System Information", "系统信息"),
    QTX_ENTRY(SystemInfoProgram, "Program", "程序"),
    QTX_ENTRY(SystemInfoQt, "Qt library", "Qt 库"),
    QTX_ENTRY(SystemInfoSystem, "Operating system", "操作系统"),
    QTX_ENTRY(SystemInfoPorts, "Serial ports", "串口"),
    QTX_ENTRY(SystemInfoNoPorts, "(none found)", "（未找到）"),
    QTX_ENTRY(HelpTitle, "QTX Help", "QTX 帮助"),
    // %1 the help page looked for.
    QTX_ENTRY(HelpMissing, "The help page %1 could not be found.", "找不到帮助页面 %1。"),
};

#undef QTX_ENTRY

constexpr bool entriesInOrder()
{
    for (size_t i = 0; i < kEntries.size(); ++i)
        if (static_cast<size_t>(kEntries[i].id) != i)
            return false;
    return true;
}
static_assert(entriesInOrder(), "built-in texts must follow the order of BuiltIn");
static_assert(kEntries.back().id == BuiltIn::HelpMissing, "every BuiltIn needs its texts");

constexpr std::array<BuiltIn, kEntries.size()> allIds()
{
    std::array<BuiltIn, kEntries.size()> ids{};
    for (size_t i = 0; i < kEntries.size(); ++i)
        ids[i] = kEntries[i].id;
    return ids;
}
constexpr auto kAllIds = allIds();

const Entry& entry(BuiltIn id) { return kEntries[static_cast<size_t>(id)]; }

// A text ID of section "OTHER": plain decimal digits within 16 bits.
std::optional<int> textId(std::string_view s)
{
    if (s.empty() || s.size() > 5)
        return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.front() == '-' || value > 32767)
        return std::nullopt;
    return value;
}

std::string orMessage(std::string text, std::string_view message)
{
    return text.empty() ? std::string(message) : text;
}

} // namespace

std::span<const BuiltIn> AllBuiltIns() { return kAllIds; }

std::string_view BuiltInText(BuiltIn id, int language)
{
    const Entry& e = entry(id);
    return language == kLanguageChinese ? e.chinese : e.english;
}

std::string_view BuiltInName(BuiltIn id) { return entry(id).name; }

std::optional<BuiltIn> FindBuiltIn(std::string_view name)
{
    for (const auto& e : kEntries)
        if (e.name == name)
            return e.id;
    return std::nullopt;
}

std::string ResolveMessage(std::string_view message, int language, const LanguageTable& table)
{
    if (auto id = FindBuiltIn(message))
        return std::string(BuiltInText(*id, language));
    if (auto id = textId(message))
        return orMessage(table.TextLookup(*id), message);
    constexpr std::string_view msgPrefix = "MSG:";
    constexpr std::string_view optionPrefix = "OPTION:";
    if (message.starts_with(msgPrefix) && message.size() > msgPrefix.size())
        return orMessage(table.MessageLookup(message.substr(msgPrefix.size())), message);
    if (message.starts_with(optionPrefix) && message.size() > optionPrefix.size())
        return orMessage(table.OptionLookup(message.substr(optionPrefix.size())), message);
    return std::string(message);
}

} // namespace qtx
