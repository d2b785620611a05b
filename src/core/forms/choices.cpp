#include "forms/choices.h"

#include "convert/frequency.h"

namespace qtx {

const Choice& ChoiceAt(Choices choices, int value, int fallback)
{
    const auto at = [&](int i) { return i >= 0 && static_cast<size_t>(i) < choices.size(); };
    return choices[static_cast<size_t>(at(value) ? value : fallback)];
}

Choices ToneChoices(int toneType)
{
    static const auto ctcss = [] {
        std::array<Choice, kCtcssCount> out{};
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = LiteralChoice(kCtcssTexts[i]);
        return out;
    }();
    static const std::array<std::string, kDcsCodeCount> dcsTexts = [] {
        std::array<std::string, kDcsCodeCount> out;
        for (int v = 0; v < kDcsCodeCount; ++v)
            out[static_cast<size_t>(v)] = DcsText(v);
        return out;
    }();
    static const auto dcs = [] {
        std::array<Choice, kDcsCodeCount> out{};
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = LiteralChoice(dcsTexts[i]);
        return out;
    }();
    switch (toneType) {
    case 1: return ctcss;
    case 2: return dcs;
    default: return {};
    }
}

} // namespace qtx
