#include "sim/radio_simulator.h"

#include <gtest/gtest.h>

#include <string>

using namespace qtx;

namespace {

const Bytes kProgram{'P', 'R', 'O', 'G', 'R', 'A', 'M'};
const Bytes kEnd{'E', 'N', 'D'};

// The answer after the echo of `frame`.
Bytes answer(RadioSimulator& r, const Bytes& frame)
{
    const Bytes line = r.receive(frame);
    EXPECT_GE(line.size(), frame.size());
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), line.begin())) << "echo";
    return Bytes(line.begin() + static_cast<long>(frame.size()), line.end());
}

std::string text(const RadioImage& m, int at, int length)
{
    std::string s(m.begin() + at, m.begin() + at + length);
    return s.substr(0, s.find('\0'));
}

} // namespace

TEST(Simulator, HandshakeIdentificationAndEnd)
{
    RadioSimulator r;
    // Outside programming mode only "PROGRAM" is answered.
    EXPECT_TRUE(answer(r, IdentRequest().bytes).empty());
    EXPECT_TRUE(answer(r, ReadRequest(0x0010, 16).bytes).empty());
    EXPECT_EQ(answer(r, kProgram), (Bytes{'H', 'V', 0x06}));
    EXPECT_TRUE(r.inProgramMode());

    r.identity().bandCode = 0x38;
    r.identity().flags = 0x10;
    r.identity().killed = true;
    r.identity().version = "V1";
    const Bytes id = answer(r, IdentRequest().bytes);
    const Bytes expected{0x49, 'Q', 'M', '-', '5', '2', '1', '0', 0x38, 'V', '1', 0xFF, 0xFF, 0x10, 0x01, 0x06};
    EXPECT_EQ(id, expected);

    EXPECT_EQ(answer(r, kEnd), Bytes{0x06});
    EXPECT_FALSE(r.inProgramMode());
    EXPECT_EQ(answer(r, kEnd), Bytes{0x06}); // also outside programming mode
    EXPECT_EQ(r.framesReceived(SimFrame::Program), 1);
    EXPECT_EQ(r.framesReceived(SimFrame::Ident), 2);
    EXPECT_EQ(r.framesReceived(SimFrame::Any), 6);
}

TEST(Simulator, ReadsAndWrites)
{
    RadioSimulator r;
    r.receive(kProgram);
    for (int i = 0; i < 16; ++i)
        r.memory()[0x0010 + i] = static_cast<uint8_t>(i + 1);
    const Bytes reply = answer(r, ReadRequest(0x0010, 16).bytes);
    ASSERT_EQ(reply.size(), 22u);
    EXPECT_EQ(reply[0], 0x57);
    EXPECT_EQ(reply[20], 0xA8);
    EXPECT_EQ(reply[21], 0x06);
    EXPECT_TRUE(answer(r, ReadRequest(0x3FF8, 16).bytes).empty()); // past the end of memory

    Bytes data(16, 0x5A);
    Bytes frame = WriteFrame(0x0200, data).bytes;
    Bytes bad = frame;
    bad[10] ^= 0x01; // line noise: the checksum no longer fits
    const RadioImage before = r.memory();
    EXPECT_EQ(answer(r, bad), Bytes{0x0A});
    EXPECT_EQ(r.memory(), before);
    EXPECT_FALSE(r.memoryChanged());
    EXPECT_EQ(answer(r, frame), Bytes{0x06});
    EXPECT_EQ(r.memory()[0x0200], 0x5A);
    EXPECT_EQ(r.memory()[0x020F], 0x5A);
    EXPECT_EQ(r.memory()[0x0210], 0x00);
    EXPECT_TRUE(r.memoryChanged());
    r.clearMemoryChanged();
    EXPECT_EQ(answer(r, frame), Bytes{0x06}); // the same bytes again change nothing
    EXPECT_FALSE(r.memoryChanged());
}

TEST(Simulator, ResynchronisesAfterBrokenFrames)
{
    RadioSimulator r;
    // Noise, then a "PROGRAM" that breaks off and starts over.
    EXPECT_EQ(answer(r, Bytes{0x00, 0x13, 'P', 'R', 'O', 'P', 'R', 'O', 'G', 'R', 'A', 'M'}), (Bytes{'H', 'V', 0x06}));
    // A write frame cut short swallows what follows until the line goes quiet.
    Bytes part = WriteFrame(0x0300, Bytes(16, 1)).bytes;
    part.resize(10);
    EXPECT_TRUE(answer(r, part).empty());
    r.lineIdle();
    EXPECT_EQ(answer(r, kEnd), Bytes{0x06});
    // A length byte the radio cannot take drops the frame.
    r.receive(kProgram);
    EXPECT_TRUE(answer(r, Bytes{0x57, 0x03, 0x00, 0x00}).empty());
    EXPECT_EQ(answer(r, IdentRequest().bytes).size(), 16u);
}

TEST(Simulator, ScriptedFaults)
{
    RadioSimulator r;
    r.receive(kProgram);
    const Bytes good = answer(r, ReadRequest(0x0100, 16).bytes);

    r.addFault(SimFrame::Read, SimFault::Drop, 1, 0x0100);
    EXPECT_TRUE(answer(r, ReadRequest(0x0110, 16).bytes).size() == 22u); // other address: untouched
    EXPECT_TRUE(answer(r, ReadRequest(0x0100, 16).bytes).empty());
    EXPECT_EQ(answer(r, ReadRequest(0x0100, 16).bytes), good); // used up

    r.addFault(SimFrame::Read, SimFault::ShortReply);
    EXPECT_EQ(answer(r, ReadRequest(0x0100, 16).bytes), Bytes(good.begin(), good.end() - 1));
    r.addFault(SimFrame::Read, SimFault::ExtraByte);
    EXPECT_EQ(answer(r, ReadRequest(0x0100, 16).bytes).size(), 23u);
    r.addFault(SimFrame::Read, SimFaultSpec{SimFault::CorruptByte, -2, 0x80});
    Bytes corrupt = good;
    corrupt[20] ^= 0x80;
    EXPECT_EQ(answer(r, ReadRequest(0x0100, 16).bytes), corrupt);
    r.addFault(SimFrame::Read, SimFault::WrongAddress);
    const Bytes other = answer(r, ReadRequest(0x0100, 16).bytes);
    EXPECT_EQ(other, answer(r, ReadRequest(0x0110, 16).bytes));

    // 0x0A to a good write frame: nothing stored.
    r.addFault(SimFrame::Write, SimFault::ResendRequest);
    EXPECT_EQ(answer(r, WriteFrame(0x0400, Bytes(16, 0x77)).bytes), Bytes{0x0A});
    EXPECT_EQ(r.memory()[0x0400], 0x00);
    // A lost acknowledgement: stored, answer gone.
    r.addFault(SimFrame::Write, SimFault::Drop);
    EXPECT_TRUE(answer(r, WriteFrame(0x0400, Bytes(16, 0x77)).bytes).empty());
    EXPECT_EQ(r.memory()[0x0400], 0x77);

    // Silent: the cable still echoes, the radio says nothing and stores nothing.
    r.setSilent(true);
    EXPECT_TRUE(answer(r, WriteFrame(0x0500, Bytes(16, 0x66)).bytes).empty());
    EXPECT_EQ(r.memory()[0x0500], 0x00);
    EXPECT_TRUE(answer(r, kProgram).empty());
}

TEST(Simulator, RandomFaultsAreSeededAndOnlyDetectable)
{
    auto trace = [](uint32_t seed) {
        RadioSimulator r;
        r.setRandomFaults(0.3, seed);
        Bytes all;
        r.receive(kProgram);
        for (int a = 0x0100; a < 0x0600; a += 16) {
            const Bytes w = r.receive(WriteFrame(static_cast<uint16_t>(a), Bytes(16, static_cast<uint8_t>(a))).bytes);
            all.insert(all.end(), w.begin(), w.end());
        }
        return all;
    };
    EXPECT_EQ(trace(11), trace(11));
    EXPECT_NE(trace(11), trace(12));

    // An acknowledgement is never turned into a re-send request or back:
    // every 0x0A leaves the block unstored, every 0x06 stores it.
    RadioSimulator r;
    r.setRandomFaults(0.5, 99);
    r.receive(kProgram);
    int acks = 0, resends = 0;
    for (int i = 0; i < 400; ++i) {
        const uint16_t a = static_cast<uint16_t>(0x1000 + (i % 64) * 16);
        const auto value = static_cast<uint8_t>(i % 255 + 1);
        const Bytes data(16, value);
        const Bytes frame = WriteFrame(a, data).bytes;
        const Bytes line = r.receive(frame);
        const Bytes reply(line.begin() + 22, line.end());
        if (reply == Bytes{0x06}) {
            ++acks;
            EXPECT_EQ(r.memory()[a], value);
        } else if (reply == Bytes{0x0A}) {
            ++resends;
            EXPECT_NE(r.memory()[a], value);
        }
    }
    EXPECT_GT(acks, 100);
    EXPECT_GT(resends, 10);
}

TEST(Simulator, DefaultMemoryAndPassword)
{
    RadioSimulator r;
    const RadioImage& m = r.memory();
    EXPECT_EQ(text(m, 0x0020, 16), "5210A2403000127");
    EXPECT_EQ(text(m, 0x0030, 16), "2024-03-18");
    EXPECT_EQ(text(m, 0x0090, 16), "QTX Radio Shop");
    EXPECT_EQ(m[0x004C], 0xFF);
    // A programmed radio: channels 1-8 present, PA, PB and the VFO, band 136-174 MHz.
    EXPECT_EQ(m[0x0100], 0x00);
    EXPECT_EQ(m[0x0101], 0xFF);
    EXPECT_EQ(m[0x0200], 0x01);
    EXPECT_EQ(m[0x0201], 0x36);
    EXPECT_EQ(m[0x2000], 0x01); // channel 1 at 145.500 MHz
    EXPECT_EQ(m[0x2001], 0x45);
    EXPECT_EQ(m[0x2002], 0x50);
    EXPECT_EQ(m[0x02C1], 0x45); // the VFO at 145.000 MHz

    r.setPassword("ab");
    EXPECT_EQ(m[0x004C], 'a');
    EXPECT_EQ(m[0x004D], 'b');
    EXPECT_EQ(m[0x004E], 0xFF);
    r.setPassword("abcdef");
    EXPECT_EQ(text(m, 0x004C, 4), "abcd");
    EXPECT_EQ(m[0x0050], '2'); // the next field is untouched
    r.setPassword("");
    EXPECT_EQ(m[0x004C], 0xFF);
}

TEST(Simulator, CorruptStoreAcknowledgesButStoresAChangedByte)
{
    RadioSimulator r;
    EXPECT_EQ(answer(r, kProgram), (Bytes{'H', 'V', 0x06}));
    r.addFault(SimFrame::Write, SimFaultSpec{SimFault::CorruptStore, 3, 0x80}, 1, 0x0200);
    Bytes data(16, 0x11);
    // Another address is stored as sent; the fault waits for its own.
    EXPECT_EQ(answer(r, WriteFrame(0x0210, data).bytes), Bytes{0x06});
    EXPECT_EQ(r.memory()[0x0213], 0x11);
    EXPECT_EQ(answer(r, WriteFrame(0x0200, data).bytes), Bytes{0x06});
    EXPECT_EQ(r.memory()[0x0203], 0x91);
    EXPECT_EQ(r.memory()[0x0202], 0x11);
    EXPECT_EQ(r.memory()[0x0204], 0x11);
    // Used up: the next write of the block is stored as sent.
    EXPECT_EQ(answer(r, WriteFrame(0x0200, data).bytes), Bytes{0x06});
    EXPECT_EQ(r.memory()[0x0203], 0x11);
}

TEST(Simulator, SilentAfterSomeFramesStillEchoes)
{
    RadioSimulator r;
    r.setSilentAfter(2);
    EXPECT_EQ(answer(r, kProgram), (Bytes{'H', 'V', 0x06}));
    EXPECT_FALSE(answer(r, IdentRequest().bytes).empty());
    EXPECT_TRUE(answer(r, ReadRequest(0x0010, 16).bytes).empty()); // echo only
    EXPECT_TRUE(answer(r, kEnd).empty());
    EXPECT_EQ(r.framesReceived(SimFrame::Any), 4);
}
