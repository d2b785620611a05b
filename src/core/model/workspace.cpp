#include "model/workspace.h"

#include <algorithm>

namespace qtx {

void CopyCodeplug(const Codeplug& from, Codeplug& to)
{
    to.body = from.body;
    const int count = std::clamp<int>(from.body.ChannelCount, 0, kMaxChannels);
    to.body.ChannelCount = static_cast<int16_t>(count);
    std::copy_n(from.channels.begin(), count, to.channels.begin());
    std::fill(to.channels.begin() + count, to.channels.end(), ChannelRecord{});
}

void TakeSnapshot(Workspace& ws)
{
    ws.live.body.BandType = ws.bandType;
    CopyCodeplug(ws.live, ws.baseline);
}

void RestoreSnapshot(Workspace& ws)
{
    CopyCodeplug(ws.baseline, ws.live);
    ws.bandType = ws.live.body.BandType;
}

} // namespace qtx
