// What a read from the radio makes of the Codeplug being edited.

#include "files/adopt_read.h"
#include "files/change_tracking.h"
#include "image/image_codec.h"

#include "support/random_codeplug.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qtx;
using namespace qtx::testing;

TEST(AdoptReadImage, TheRadiosCodeplugReplacesTheEditedOneAsUnchanged)
{
    CodeplugGenerator gen(31);
    auto sent = std::make_unique<Codeplug>(gen.make());
    auto image = std::make_unique<RadioImage>();
    ASSERT_TRUE(BuildImage(*sent, *image).ok());
    TempDir empty; // a program directory without a factory file
    auto expected = std::make_unique<Workspace>();
    NewCodeplug(*expected, empty.path().string(), NewOptions{});
    auto expectedImage = std::make_unique<RadioImage>(*image);
    ParseImage(*expectedImage, expected->live);

    auto ws = std::make_unique<Workspace>();
    ws->live = gen.make();
    ws->fileName = "site.dat";
    ws->bookFileName = "site.cb";
    ws->isUntitled = false;
    ws->bandType = 3;
    RadioIdent ident;
    ident.bandCode = 0x35;
    EmbeddedInfo info;
    AdoptReadImage(*ws, *image, ident, empty.path().string(), NewOptions{}, &info);

    EXPECT_EQ(ws->live.body.Settings, expected->live.body.Settings);
    ASSERT_EQ(ws->live.body.ChannelCount, expected->live.body.ChannelCount);
    for (int i = 0; i < ws->live.count(); ++i)
        EXPECT_EQ(ws->live.channels[i], expected->live.channels[i]) << i;
    EXPECT_EQ(ws->bandType, 0x35);
    EXPECT_EQ(ws->bookFileName, "site.cb");
    EXPECT_EQ(ws->fileName, kUntitledFileName);
    EXPECT_TRUE(ws->isUntitled);
    EXPECT_FALSE(IsModified(*ws));
    EXPECT_EQ(info.SerialNumber, ParseEmbeddedInfo(*image).SerialNumber);

    // Without an identification the band type stays.
    ws->bandType = 3;
    AdoptReadImage(*ws, *image, std::nullopt, empty.path().string(), NewOptions{});
    EXPECT_EQ(ws->bandType, 3);
}
