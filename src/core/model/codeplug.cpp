#include "model/codeplug.h"

namespace qtx {

TwoToneSettings::TwoToneSettings()
{
    TwoToneEntry& first = Entries[0];
    first.Empty = 0;
    first.FirstDivider = 0x3A48;
    first.SecondDivider = 0x1434;
    first.FirstTone = 0x0C91;
    first.SecondTone = 0x2441;
}

CommBook DefaultCommBook()
{
    CommBook book;
    for (size_t i = 0; i < book.size(); ++i)
        book[i].Index = static_cast<int16_t>(i);
    return book;
}

} // namespace qtx
