#include "files/adopt_read.h"

#include "image/image_codec.h"

namespace qtx {

void AdoptReadImage(Workspace& ws, RadioImage& image, const std::optional<RadioIdent>& ident,
                    const std::string& programDir, const NewOptions& options, EmbeddedInfo* info)
{
    const std::string book = ws.bookFileName;
    NewCodeplug(ws, programDir, options);
    ws.bookFileName = book;
    ParseImage(image, ws.live, info);
    if (ident)
        ws.bandType = ident->bandCode;
    TakeSnapshot(ws);
}

} // namespace qtx
