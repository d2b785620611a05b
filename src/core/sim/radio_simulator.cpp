#include "sim/radio_simulator.h"

#include "image/image_codec.h"

#include <algorithm>

namespace qtx {

namespace {

constexpr char kProgram[] = "PROGRAM";
constexpr char kEnd[] = "END";

SimFrame frameKind(uint8_t lead)
{
    switch (lead) {
    case 'P': return SimFrame::Program;
    case kIdentRequestByte: return SimFrame::Ident;
    case kReadCommand: return SimFrame::Read;
    case kWriteCommand: return SimFrame::Write;
    case 'E': return SimFrame::End;
    default: return SimFrame::Any;
    }
}

void putText(RadioImage& m, int address, int length, std::string_view text)
{
    std::fill_n(m.begin() + address, length, uint8_t{0});
    std::copy_n(text.begin(), std::min<size_t>(text.size(), length), m.begin() + address);
}

} // namespace

RadioSimulator::RadioSimulator()
    : memory_(DefaultMemory())
{
}

namespace {

ChannelRecord demoChannel(int number, const char* rx, const char* name, const char* offset = "000000000",
                          int direction = 0, int ctcss = -1)
{
    ChannelRecord ch;
    ch.Number = static_cast<int16_t>(number);
    ch.InUse = 1;
    ch.RxFrequency.setPadded(rx);
    ch.Offset.setPadded(offset);
    ch.ShiftDirection = static_cast<int16_t>(direction);
    ch.Name.setTerminated(name);
    if (ctcss >= 0) {
        ch.TxToneType = ch.RxToneType = 1;
        ch.TxCtcss = ch.RxCtcss = static_cast<int16_t>(ctcss);
    }
    return ch;
}

// A radio as a dealer might hand it over: a few simplex and repeater
// channels, the presets and the VFO.
Codeplug demoCodeplug()
{
    Codeplug cp;
    const ChannelRecord channels[] = {
        demoChannel(1, "014550000", "CALL"),
        demoChannel(2, "014565000", "RPT-N", "000060000", 1, 9),
        demoChannel(3, "014572500", "RPT-S", "000060000", 1, 19),
        demoChannel(4, "014612500", "SITE A"),
        demoChannel(5, "015162500", "WORK 1", "000000000", 0, 12),
        demoChannel(6, "015265000", "WORK 2"),
        demoChannel(7, "016045000", "DEPOT", "000500000", 2, 25),
        demoChannel(8, "017325000", "EVENT"),
        demoChannel(kChannelPA, "014600000", "PA"),
        demoChannel(kChannelPB, "015400000", "PB"),
        demoChannel(kChannelVfo, "014500000", ""),
    };
    for (const ChannelRecord& ch : channels)
        cp.channels[cp.body.ChannelCount++] = ch;
    return cp;
}

} // namespace

RadioImage RadioSimulator::DefaultMemory()
{
    RadioImage m;
    m.fill(0xFF);
    Codeplug demo = demoCodeplug();
    if (!BuildImage(demo, m).ok())
        PrefillImage(m); // cannot happen with the demo's values; an empty radio then
    putText(m, 0x0019, 4, "0001");
    putText(m, 0x0020, 16, "5210A2403000127");
    putText(m, 0x0030, 16, "2024-03-18");
    putText(m, 0x0040, 8, "B2403A07");
    putText(m, 0x0048, 4, "C015");
    std::fill_n(m.begin() + 0x004C, 4, uint8_t{0xFF}); // no password
    putText(m, 0x0050, 16, "2025-01-22");
    putText(m, 0x0060, 16, "DLR-0042");
    putText(m, 0x0070, 16, "2024-04-02");
    putText(m, 0x0080, 16, "2024-05-21");
    putText(m, 0x0090, 16, "QTX Radio Shop");
    putText(m, 0x00A0, 96, "Simulated radio. Factory alignment checked; speaker replaced 2025-01-22.");
    return m;
}

void RadioSimulator::setPassword(std::string_view password)
{
    std::fill_n(memory_.begin() + 0x004C, 4, uint8_t{0xFF});
    std::copy_n(password.begin(), std::min<size_t>(password.size(), 4), memory_.begin() + 0x004C);
}

void RadioSimulator::addFault(SimFrame frame, SimFaultSpec fault, int times, std::optional<uint16_t> address)
{
    if (times > 0)
        faults_.push_back(FaultRule{frame, fault, times, address});
}

void RadioSimulator::clearFaults()
{
    faults_.clear();
    randomRate_ = 0.0;
}

void RadioSimulator::setRandomFaults(double rate, uint32_t seed)
{
    randomRate_ = std::clamp(rate, 0.0, 1.0);
    rng_.seed(seed);
}

int RadioSimulator::framesReceived(SimFrame frame) const
{
    return counts_[static_cast<int>(frame)];
}

bool RadioSimulator::startsFrame(uint8_t byte) const
{
    return frameKind(byte) != SimFrame::Any;
}

size_t RadioSimulator::expectedLength() const
{
    switch (frameKind(frame_[0])) {
    case SimFrame::Program: return 7;
    case SimFrame::Ident: return 1;
    case SimFrame::Read: return kReadRequestLength;
    case SimFrame::Write: return frame_.size() < 4 ? SIZE_MAX : static_cast<size_t>(BlockFrameLength(frame_[3]));
    case SimFrame::End: return 3;
    case SimFrame::Any: break;
    }
    return 1;
}

void RadioSimulator::lineIdle()
{
    frame_.clear();
}

SimOutput RadioSimulator::receiveByte(uint8_t byte)
{
    SimOutput out;
    out.echo = byte;
    if (frame_.empty() && !startsFrame(byte))
        return out; // noise between frames
    frame_.push_back(byte);

    // A frame that can no longer be what it started as is dropped; its last
    // byte may begin the next one.
    bool broken = false;
    const SimFrame kind = frameKind(frame_[0]);
    if (kind == SimFrame::Program)
        broken = frame_.back() != static_cast<uint8_t>(kProgram[frame_.size() - 1]);
    else if (kind == SimFrame::End)
        broken = frame_.back() != static_cast<uint8_t>(kEnd[frame_.size() - 1]);
    else if (kind == SimFrame::Write && frame_.size() == 4)
        broken = frame_[3] == 0 || frame_[3] > kMaxBlockLength;
    if (broken) {
        frame_.clear();
        if (startsFrame(byte))
            frame_.push_back(byte);
        if (frame_.empty() || frame_.size() < expectedLength())
            return out;
    }
    if (frame_.size() < expectedLength())
        return out;
    frameComplete(out);
    frame_.clear();
    return out;
}

Bytes RadioSimulator::receive(std::span<const uint8_t> bytes)
{
    Bytes line;
    for (uint8_t b : bytes) {
        SimOutput o = receiveByte(b);
        line.push_back(o.echo);
        line.insert(line.end(), o.reply.begin(), o.reply.end());
    }
    return line;
}

void RadioSimulator::frameComplete(SimOutput& out)
{
    const SimFrame kind = frameKind(frame_[0]);
    ++counts_[static_cast<int>(kind)];
    ++counts_[static_cast<int>(SimFrame::Any)];
    if (silent_ || (silentAfter_ >= 0 && counts_[static_cast<int>(SimFrame::Any)] > silentAfter_))
        return;
    // Outside programming mode the radio listens only to "PROGRAM", and
    // acknowledges "END" so that a restart after a lost answer can go on.
    if (kind != SimFrame::Program && kind != SimFrame::End && !programMode_)
        return;
    const uint16_t address =
        (kind == SimFrame::Read || kind == SimFrame::Write) ? static_cast<uint16_t>(frame_[1] << 8 | frame_[2]) : 0;

    bool store = false;
    storeFault_.reset();
    Bytes reply = answer(kind, address, store);
    if (auto fault = takeFault(kind, address))
        reply = applyFault(*fault, kind, address, std::move(reply), store);

    if (store) {
        const uint8_t length = frame_[3];
        Bytes data(frame_.begin() + 4, frame_.begin() + 4 + length);
        if (storeFault_) {
            const int pos = ((storeFault_->position % length) + length) % length;
            data[static_cast<size_t>(pos)] ^= storeFault_->mask ? storeFault_->mask : 0x01;
        }
        if (!std::equal(data.begin(), data.end(), memory_.begin() + address)) {
            std::copy(data.begin(), data.end(), memory_.begin() + address);
            changed_ = true;
        }
    }
    if (kind == SimFrame::Program)
        programMode_ = true;
    if (kind == SimFrame::End) {
        programMode_ = false;
        out.endAnswered = true;
    }
    out.reply = std::move(reply);
}

Bytes RadioSimulator::answer(SimFrame kind, uint16_t address, bool& store)
{
    switch (kind) {
    case SimFrame::Program: return Bytes{'H', 'V', kAck};
    case SimFrame::Ident: {
        Bytes r(kIdentReplyLength, 0xFF);
        r[0] = kIdentReplyLead;
        std::copy_n(identity_.model.begin(), std::min<size_t>(identity_.model.size(), 7), r.begin() + 1);
        r[8] = identity_.bandCode;
        std::copy_n(identity_.version.begin(), std::min<size_t>(identity_.version.size(), 4), r.begin() + 9);
        r[13] = identity_.flags;
        r[14] = static_cast<uint8_t>((identity_.killed ? 0x01 : 0) | (identity_.stunned ? 0x02 : 0));
        r[15] = kAck;
        return r;
    }
    case SimFrame::Read: {
        const uint8_t length = frame_[3];
        if (length == 0 || length > kMaxBlockLength || address + length > kImageSize)
            return {};
        return BlockFrame(address, std::span<const uint8_t>(memory_).subspan(address, length));
    }
    case SimFrame::Write: {
        const uint8_t length = frame_[3];
        const bool good = frame_.back() == kAck &&
                          frame_[frame_.size() - 2] ==
                              FrameChecksum(std::span<const uint8_t>(frame_).subspan(1, length + 3)) &&
                          address + length <= kImageSize;
        store = good;
        return Bytes{good ? kAck : kResendRequest};
    }
    case SimFrame::End: return Bytes{kAck};
    case SimFrame::Any: break;
    }
    return {};
}

std::optional<SimFaultSpec> RadioSimulator::takeFault(SimFrame kind, uint16_t address)
{
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->frame != SimFrame::Any && it->frame != kind)
            continue;
        if (it->address && (kind != SimFrame::Read && kind != SimFrame::Write))
            continue;
        if (it->address && *it->address != address)
            continue;
        const SimFaultSpec f = it->fault;
        if (--it->times <= 0)
            faults_.erase(it);
        return f;
    }
    if (randomRate_ > 0.0 && std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < randomRate_)
        return randomFault(kind);
    return std::nullopt;
}

SimFaultSpec RadioSimulator::randomFault(SimFrame kind)
{
    static constexpr SimFault kinds[] = {SimFault::Drop, SimFault::CorruptByte, SimFault::ResendRequest,
                                         SimFault::ShortReply, SimFault::ExtraByte, SimFault::WrongAddress};
    SimFaultSpec f;
    const int n = kind == SimFrame::Read ? 6 : 5;
    f.kind = kinds[std::uniform_int_distribution<int>(0, n - 1)(rng_)];
    f.position = std::uniform_int_distribution<int>(0, 63)(rng_); // reduced modulo the answer's length
    f.mask = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(rng_));
    return f;
}

Bytes RadioSimulator::applyFault(const SimFaultSpec& fault, SimFrame kind, uint16_t address, Bytes reply,
                                 bool& store)
{
    switch (fault.kind) {
    case SimFault::Drop: return {};
    case SimFault::ResendRequest:
        store = false;
        return Bytes{kResendRequest};
    case SimFault::CorruptStore:
        if (kind == SimFrame::Write)
            storeFault_ = fault;
        return reply;
    case SimFault::ShortReply:
        if (!reply.empty())
            reply.pop_back();
        return reply;
    case SimFault::ExtraByte:
        reply.push_back(static_cast<uint8_t>(fault.mask ^ 0x5A));
        return reply;
    case SimFault::WrongAddress:
        if (kind == SimFrame::Read && reply.size() > 4) {
            const uint8_t length = frame_[3];
            const int other = (address + length) % kImageSize;
            if (other + length <= kImageSize)
                return BlockFrame(static_cast<uint16_t>(other), std::span<const uint8_t>(memory_).subspan(other, length));
        }
        [[fallthrough]];
    case SimFault::CorruptByte: {
        if (reply.empty())
            return reply;
        const int n = static_cast<int>(reply.size());
        int pos = fault.position < 0 ? n + fault.position : fault.position % n;
        pos = std::clamp(pos, 0, n - 1);
        const uint8_t mask = fault.mask ? fault.mask : 0x01;
        reply[pos] ^= mask;
        // A one-byte answer carries no check: turning 0x06 into 0x0A or back
        // cannot be noticed by anyone, so it is never made from a fault.
        if (n == 1 && (reply[0] == kAck || reply[0] == kResendRequest))
            reply[0] = 0xFF;
        return reply;
    }
    }
    return reply;
}

} // namespace qtx
