#include "forms/five_tone_special_form.h"

#include "convert/code_text.h"
#include "forms/key_rules.h"

#include <algorithm>

namespace qtx {

namespace {

constexpr int kListMessageLimit = 16;
constexpr int kPttIdMessageLimit = 8;

// Every character one the box's key rule keeps as it is.
bool takenAsIs(std::string_view text, KeyRule rule)
{
    return std::all_of(text.begin(), text.end(), [rule](char c) { return rule(c) == c; });
}

bool isOwnId(std::string_view ownId)
{
    return ownId.size() == static_cast<size_t>(kCalledCodeLength) && takenAsIs(ownId, DigitKey);
}

Error refused(std::string show, std::string why) { return Error{std::move(show), std::move(why)}; }

} // namespace

int OpeningSpecialEntry(int currentEntry)
{
    return currentEntry >= 0 && currentEntry < kSpecialEntryCount ? currentEntry : 0;
}

int SpecialMessageLimit(SpecialCallTarget target)
{
    return target == SpecialCallTarget::List ? kListMessageLimit : kPttIdMessageLimit;
}

bool ShowsDataFrame(int typeRow) { return typeRow == static_cast<int>(SpecialCallType::Data); }
bool ShowsAniFrame(int typeRow) { return typeRow == static_cast<int>(SpecialCallType::Ani); }

std::string CalledCodeLeaveMessage(std::string_view text)
{
    return text.size() < static_cast<size_t>(kCalledCodeLength) ? "900C" : "";
}

Result<std::string> ComposeSpecialCall(int typeRow, std::string_view calledCode, std::string_view message,
                                       int separatorRow, SpecialCallTarget target, std::string_view ownId)
{
    const auto type = static_cast<SpecialCallType>(typeRow);
    if (typeRow < 0 || typeRow >= kSpecialCallTypeCount)
        return refused("", "no call type chosen");
    if (type != SpecialCallType::PttId) {
        if (calledCode.size() != static_cast<size_t>(kCalledCodeLength))
            return refused("", "the called code needs 5 characters");
        if (!takenAsIs(calledCode, CalledCodeKey))
            return refused("", "the called code takes only 0-9 and A");
    }

    const bool list = target == SpecialCallTarget::List;
    if (type == SpecialCallType::Data) {
        if (message.size() > static_cast<size_t>(SpecialMessageLimit(target)))
            return refused("", "the message is longer than " + std::to_string(SpecialMessageLimit(target)) +
                                   " characters");
        if (!takenAsIs(message, UpperAlnumKey))
            return refused("", "the message takes only A-Z and 0-9");
        std::string code = "E1" + std::string(calledCode) + "E";
        for (char c : message)
            code += ByteToHex2(static_cast<uint8_t>(c));
        return code;
    }

    // A PTT-ID code carries the own ID written out; it must be complete,
    // since no later own-ID change reaches it in this form.
    if (!list && !isOwnId(ownId))
        return refused("900C", "the own ID is not five digits");
    const std::string own = list ? std::string(kOwnIdMark) : std::string(ownId);
    if (type == SpecialCallType::PttId)
        return "E6" + own;
    std::string code(calledCode);
    if (separatorRow >= 1 && separatorRow <= static_cast<int>(kSpecialSeparators.size()))
        code += kSpecialSeparators[separatorRow - 1];
    return code + own;
}

void StoreSpecialCall(FiveToneCode& entry, std::string_view code, std::string_view ownId)
{
    const std::string stored = EncodeFiveToneCode(code, ownId);
    entry.Code.setPadded(stored);
    entry.CodeLength = static_cast<uint8_t>(std::min(stored.size(), entry.Code.size));
    entry.Empty = 0;
}

} // namespace qtx
