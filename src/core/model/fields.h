#pragma once
// One field list for both directions: every record describes its stored
// layout once, as serialize(Archive&) visiting its fields in declaration
// order. Readers, writers, the layout table and the JSON form all walk the
// same list, so they cannot drift apart.
//
// An archive provides:
//   void u8(const char* name, uint8_t&);
//   void i16(const char* name, int16_t&);        little-endian, two's complement
//   void u16be(const char* name, uint16_t&);     high byte first
//   void u16le(const char* name, uint16_t&);     low byte first
//   void f64(const char* name, double&);         IEEE 754, little-endian
//   void text(const char* name, uint8_t* bytes, size_t n);
//   void push(const char* name, int index);      index -1 for a plain record
//   void pop();

#include "model/fixed_text.h"

#include <array>
#include <concepts>
#include <cstdint>

namespace qtx {

template <class Ar>
void field(Ar& ar, const char* name, uint8_t& v) { ar.u8(name, v); }

template <class Ar>
void field(Ar& ar, const char* name, int16_t& v) { ar.i16(name, v); }

template <class Ar>
void field(Ar& ar, const char* name, double& v) { ar.f64(name, v); }

template <class Ar, size_t N>
void field(Ar& ar, const char* name, FixedText<N>& t) { ar.text(name, t.bytes.data(), N); }

template <class Ar, class R>
    requires requires(R& r, Ar& a) { r.serialize(a); }
void field(Ar& ar, const char* name, R& record)
{
    ar.push(name, -1);
    record.serialize(ar);
    ar.pop();
}

template <class Ar, class T, size_t N>
void field(Ar& ar, const char* name, std::array<T, N>& items)
{
    for (size_t i = 0; i < N; ++i) {
        ar.push(name, static_cast<int>(i));
        field(ar, "", items[i]);
        ar.pop();
    }
}

} // namespace qtx
