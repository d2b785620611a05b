#include "link/password.h"

namespace qtx {

std::string NormalisePassword(std::string_view text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

std::string RadioPasswordFromBlock(std::span<const uint8_t> block)
{
    std::string text;
    if (block.size() < kPasswordOffset + kPasswordLength)
        return text;
    for (uint8_t b : block.subspan(kPasswordOffset, kPasswordLength)) {
        if (b == 0x00 || b == 0xFF)
            break;
        text.push_back(static_cast<char>(b));
    }
    return NormalisePassword(text);
}

bool PasswordPasses(const std::string& radioPassword, const std::string& enteredPassword)
{
    return radioPassword.empty() || radioPassword == enteredPassword;
}

} // namespace qtx
