#include "link/frames.h"
#include "link/password.h"
#include "link/radio_ident.h"
#include "link/transfer_engine.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace qtx;

namespace {

Bytes withEcho(size_t echo, const Bytes& reply)
{
    Bytes b(echo, 0x55);
    b.insert(b.end(), reply.begin(), reply.end());
    return b;
}

Bytes identReply(const char* model7, uint8_t band, const char* version4, uint8_t flags, uint8_t status)
{
    Bytes r{kIdentReplyLead};
    r.insert(r.end(), model7, model7 + 7);
    r.push_back(band);
    r.insert(r.end(), version4, version4 + 4);
    r.push_back(flags);
    r.push_back(status);
    r.push_back(kAck);
    return r;
}

} // namespace

TEST(Frames, ChecksumAndFrameBytes)
{
    const Bytes zeros(16, 0);
    Frame w = WriteFrame(0x0100, zeros);
    Bytes expected{0x57, 0x01, 0x00, 0x10};
    expected.insert(expected.end(), 16, 0x00);
    expected.push_back(0x11);
    expected.push_back(0x06);
    EXPECT_EQ(w.bytes, expected);
    EXPECT_EQ(w.threshold, 23);

    Bytes data(16);
    std::iota(data.begin(), data.end(), uint8_t{1});
    const Bytes reply = BlockFrame(0x0010, data);
    ASSERT_EQ(reply.size(), 22u);
    EXPECT_EQ(reply[20], 0xA8);
    EXPECT_EQ(FrameChecksum(std::span<const uint8_t>(reply).subspan(1, 19)), 0xA8);

    EXPECT_EQ(ProgramRequest().bytes, (Bytes{'P', 'R', 'O', 'G', 'R', 'A', 'M'}));
    EXPECT_EQ(ProgramRequest().threshold, 10);
    EXPECT_EQ(IdentRequest().bytes, Bytes{0x02});
    EXPECT_EQ(IdentRequest().threshold, 17);
    EXPECT_EQ(ReadRequest(0x3FF0, 16).bytes, (Bytes{0x52, 0x3F, 0xF0, 0x10}));
    EXPECT_EQ(ReadRequest(0x3FF0, 16).threshold, 26);
    EXPECT_EQ(EndRequest().bytes, (Bytes{'E', 'N', 'D'}));
    EXPECT_EQ(EndRequest().threshold, 4);
}

TEST(Frames, RepliesRecognisedInOrder)
{
    ReplyExpectation e;
    e.echoLength = 3;
    EXPECT_EQ(RecogniseReply(withEcho(3, {0x06}), e), ReplyKind::Acknowledge);
    EXPECT_EQ(RecogniseReply(withEcho(3, {0x0A}), e), ReplyKind::ResendRequest);
    EXPECT_EQ(RecogniseReply(withEcho(3, {0x07}), e), ReplyKind::None);
    EXPECT_EQ(RecogniseReply(withEcho(2, {0x06}), e), ReplyKind::None); // echo one short
    EXPECT_EQ(RecogniseReply(withEcho(3, {'H', 'V', 0x06}), e), ReplyKind::ProgramReply);
    EXPECT_EQ(RecogniseReply(withEcho(3, {'H', 'W', 0x06}), e), ReplyKind::None);
    EXPECT_EQ(RecogniseReply(withEcho(3, identReply("QM-5210", 7, "V100", 0, 0)), e), ReplyKind::IdentReply);

    // The echo is counted, never compared.
    e.echoLength = 1;
    Bytes id = withEcho(1, identReply("QM-5210", 7, "V100", 0, 0));
    id[0] = 0xEE;
    EXPECT_EQ(RecogniseReply(id, e), ReplyKind::IdentReply);
    id.push_back(0x00); // a byte too many
    EXPECT_EQ(RecogniseReply(id, e), ReplyKind::None);
}

TEST(Frames, ReadReplyRules)
{
    Bytes data(16);
    std::iota(data.begin(), data.end(), uint8_t{0x30});
    const Bytes good = withEcho(4, BlockFrame(0x0010, data));
    ReplyExpectation e;
    e.echoLength = 4;
    e.readAddress = 0x0010;
    EXPECT_EQ(RecogniseReply(good, e), ReplyKind::ReadBlock);
    EXPECT_EQ(ReadReplyData(good, 4)[0], 0x30);

    // A correct reply for 0x0020 while 0x0010 was asked for.
    EXPECT_EQ(RecogniseReply(withEcho(4, BlockFrame(0x0020, data)), e), ReplyKind::None);
    // Each rule in turn.
    auto broken = [&](auto change) {
        Bytes b = good;
        change(b);
        return RecogniseReply(b, e);
    };
    EXPECT_EQ(broken([](Bytes& b) { b[4] = 0x52; }), ReplyKind::None);               // not 'W'
    EXPECT_EQ(broken([](Bytes& b) { b[24]++; }), ReplyKind::None);                   // checksum
    EXPECT_EQ(broken([](Bytes& b) { b[25] = 0x0A; }), ReplyKind::None);              // trailer
    EXPECT_EQ(broken([](Bytes& b) { b[10] ^= 0x40; }), ReplyKind::None);             // data
    EXPECT_EQ(broken([](Bytes& b) { b.push_back(0x06); }), ReplyKind::None);          // too long
    EXPECT_EQ(broken([](Bytes& b) { b.pop_back(); }), ReplyKind::None);               // too short
    const Bytes shortBlock = withEcho(4, BlockFrame(0x0010, std::span<const uint8_t>(data).first(8)));
    EXPECT_EQ(RecogniseReply(shortBlock, e), ReplyKind::None);                        // L = 8

    // The password block takes the reply's own length, 16 or more.
    e.readAddress = kPasswordBlockAddress;
    e.awaitingPasswordBlock = true;
    Bytes longer(20, 0x41);
    EXPECT_EQ(RecogniseReply(withEcho(4, BlockFrame(0x0040, longer)), e), ReplyKind::PasswordBlock);
    EXPECT_EQ(RecogniseReply(withEcho(4, BlockFrame(0x0040, data)), e), ReplyKind::PasswordBlock);
    EXPECT_EQ(RecogniseReply(withEcho(4, BlockFrame(0x0050, data)), e), ReplyKind::None);
}

TEST(Ident, FieldsAndBandCode)
{
    RadioIdent id = ParseIdentReply(identReply("QM-5210", 0x38, "V100", 0x10, 0x03));
    EXPECT_EQ(id.model, "QM-5210");
    EXPECT_EQ(id.version, "V100");
    EXPECT_EQ(id.bandCode, 0x30);
    EXPECT_EQ(id.radioFlag, 1);
    EXPECT_TRUE(id.killed);
    EXPECT_TRUE(id.stunned);

    EXPECT_EQ(BandCodeFromByte(0x05), 0x05);
    EXPECT_EQ(BandCodeFromByte(0x37), 0x37);
    EXPECT_EQ(BandCodeFromByte(0x38), 0x30);
    EXPECT_EQ(BandCodeFromByte(0x0F), 0x30);
    EXPECT_EQ(BandCodeFromByte(0x40), 0x30);

    id = ParseIdentReply(identReply("QM-521\0", 7, "V1\xFF" "0", 0xEF, 0x00));
    EXPECT_EQ(id.model, "QM-521");
    EXPECT_EQ(id.version, "V1");
    EXPECT_EQ(id.radioFlag, 0);
    EXPECT_FALSE(id.killed);
}

TEST(Ident, Checks)
{
    RadioIdent id{"QM-5210", 7, "V100", 0, false, false};
    EXPECT_EQ(CheckIdent(id, false), std::nullopt);
    EXPECT_EQ(CheckIdent(id, true), std::nullopt);

    RadioIdent six = id;
    six.model = "QM-521";
    EXPECT_EQ(CheckIdent(six, false), "ModelWrong");
    six.version = "V101"; // the model is reported first
    EXPECT_EQ(CheckIdent(six, true), "ModelWrong");

    RadioIdent v101 = id;
    v101.version = "V101";
    EXPECT_EQ(CheckIdent(v101, false), "VersionWrong");
    EXPECT_EQ(CheckIdent(v101, true), "VersionWrong");

    RadioIdent dead = id;
    dead.killed = dead.stunned = true;
    EXPECT_EQ(CheckIdent(dead, false), std::nullopt);
    EXPECT_EQ(CheckIdent(dead, true), "RadioKilled");
    dead.killed = false;
    EXPECT_EQ(CheckIdent(dead, false), std::nullopt);
    EXPECT_EQ(CheckIdent(dead, true), "RadioStunned");
}

TEST(Password, FromBlock)
{
    Bytes block(16, 0x20);
    auto pw = [&](std::initializer_list<uint8_t> four) {
        std::copy(four.begin(), four.end(), block.begin() + 12);
        return RadioPasswordFromBlock(block);
    };
    EXPECT_EQ(pw({0xFF, 0xFF, 0xFF, 0xFF}), "");
    EXPECT_EQ(pw({0x00, 'a', 'b', 'c'}), "");
    EXPECT_EQ(pw({'a', 'b', 0xFF, 'c'}), "ab");
    EXPECT_EQ(pw({'A', 'b', '1', '9'}), "Ab19");
    EXPECT_EQ(pw({'a', 'b', ' ', ' '}), "ab");
    // A blank before the end mark is trailing too, so the typed "a" matches.
    EXPECT_EQ(pw({'a', ' ', 0xFF, 0xFF}), "a");
    EXPECT_EQ(pw({' ', 'a', 0x00, 0x00}), " a");

    EXPECT_EQ(NormalisePassword("ab  "), "ab");
    EXPECT_EQ(NormalisePassword(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(NormalisePassword(std::string("a \0c", 4)), "a");

    EXPECT_TRUE(PasswordPasses("", "anything"));
    EXPECT_TRUE(PasswordPasses("Ab19", "Ab19"));
    EXPECT_FALSE(PasswordPasses("Ab19", "ab19"));
    EXPECT_FALSE(PasswordPasses("Ab19", ""));
    EXPECT_FALSE(PasswordPasses("Ab19", "Ab190"));
}

TEST(Progress, HalvesToEvenWithTheModeDenominators)
{
    // Write: 0x08E0 is 2016 bytes into 16128, exactly 12.5 %.
    EXPECT_EQ(ProgressPercent(0x08E0 - 0x0100, 16128), 12);
    EXPECT_EQ(ProgressPercent(0x08F0 - 0x0100, 16128), 13);
    EXPECT_EQ(ProgressPercent(3 * 2016, 16128), 38); // 37.5
    EXPECT_EQ(ProgressPercent(5 * 2016, 16128), 62); // 62.5
    // 100 % first shows at block 0x3FB0, for a read and for a write.
    EXPECT_EQ(ProgressPercent(0x3FA0 - 0x0010, 16368), 99);
    EXPECT_EQ(ProgressPercent(0x3FB0 - 0x0010, 16368), 100);
    EXPECT_EQ(ProgressPercent(0x3FA0 - 0x0100, 16128), 99);
    EXPECT_EQ(ProgressPercent(0x3FB0 - 0x0100, 16128), 100);
    EXPECT_EQ(ProgressPercent(0, 16368), 0);
}
