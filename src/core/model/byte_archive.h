#pragma once
// Byte archives for the field lists: the stored form of records in data
// files, and a layout recorder that names every field's offset.

#include "model/fields.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace qtx {

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

    void u8(const char*, uint8_t& v) { out_.push_back(v); }
    void i16(const char*, int16_t& v)
    {
        const auto u = static_cast<uint16_t>(v);
        out_.push_back(static_cast<uint8_t>(u & 0xFF));
        out_.push_back(static_cast<uint8_t>(u >> 8));
    }
    void u16be(const char*, uint16_t& v)
    {
        out_.push_back(static_cast<uint8_t>(v >> 8));
        out_.push_back(static_cast<uint8_t>(v & 0xFF));
    }
    void u16le(const char*, uint16_t& v)
    {
        out_.push_back(static_cast<uint8_t>(v & 0xFF));
        out_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void f64(const char*, double& v)
    {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i)
            out_.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    }
    void text(const char*, uint8_t* bytes, size_t n) { out_.insert(out_.end(), bytes, bytes + n); }
    void push(const char*, int) {}
    void pop() {}

private:
    std::vector<uint8_t>& out_;
};

// Reads what the writer wrote. Reading past the end yields zero bytes and
// marks the reader as short.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> in) : in_(in) {}

    bool shortRead() const { return short_; }
    size_t position() const { return pos_; }

    void u8(const char*, uint8_t& v) { v = next(); }
    void i16(const char*, int16_t& v)
    {
        const uint16_t lo = next();
        const uint16_t hi = next();
        v = static_cast<int16_t>(lo | (hi << 8));
    }
    void u16be(const char*, uint16_t& v)
    {
        const uint16_t hi = next();
        const uint16_t lo = next();
        v = static_cast<uint16_t>(lo | (hi << 8));
    }
    void u16le(const char*, uint16_t& v)
    {
        const uint16_t lo = next();
        const uint16_t hi = next();
        v = static_cast<uint16_t>(lo | (hi << 8));
    }
    void f64(const char*, double& v)
    {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= static_cast<uint64_t>(next()) << (8 * i);
        std::memcpy(&v, &bits, sizeof v);
    }
    void text(const char*, uint8_t* bytes, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            bytes[i] = next();
    }
    void push(const char*, int) {}
    void pop() {}

private:
    uint8_t next()
    {
        if (pos_ < in_.size())
            return in_[pos_++];
        short_ = true;
        ++pos_;
        return 0;
    }

    std::span<const uint8_t> in_;
    size_t pos_ = 0;
    bool short_ = false;
};

// Records "path.to.Field" -> (offset, size) for every leaf field.
class LayoutRecorder {
public:
    struct Slot {
        size_t offset;
        size_t size;
    };
    std::map<std::string, Slot> fields;
    size_t size = 0;

    void u8(const char* n, uint8_t&) { add(n, 1); }
    void i16(const char* n, int16_t&) { add(n, 2); }
    void u16be(const char* n, uint16_t&) { add(n, 2); }
    void u16le(const char* n, uint16_t&) { add(n, 2); }
    void f64(const char* n, double&) { add(n, 8); }
    void text(const char* n, uint8_t*, size_t len) { add(n, len); }
    void push(const char* name, int index)
    {
        std::string part = name;
        if (index >= 0)
            part += "[" + std::to_string(index) + "]";
        stack_.push_back(part);
    }
    void pop() { stack_.pop_back(); }

private:
    void add(const char* name, size_t len)
    {
        std::string path;
        for (const auto& p : stack_) {
            if (p.empty())
                continue;
            if (!path.empty() && p.front() != '[')
                path += '.';
            path += p;
        }
        if (*name) {
            if (!path.empty())
                path += '.';
            path += name;
        }
        fields[path] = Slot{size, len};
        size += len;
    }
    std::vector<std::string> stack_;
};

template <class R>
std::vector<uint8_t> EncodeRecord(const R& record)
{
    std::vector<uint8_t> out;
    ByteWriter w(out);
    const_cast<R&>(record).serialize(w); // the writer only reads
    return out;
}

template <class R>
size_t RecordSize()
{
    LayoutRecorder rec;
    R r;
    r.serialize(rec);
    return rec.size;
}

} // namespace qtx
