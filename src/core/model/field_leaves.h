#pragma once
// A record flattened into its stored fields, in field-list order, so that
// two records can be compared field by field without a field list of their
// own: a field added to a record's serialize list takes part by itself.

#include "model/fields.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

// A record around a field: a named record, or an element of an array.
struct FieldPart {
    std::string_view name;
    int index = -1; // position in the array, -1 for a plain record
};

// Kept small: a Codeplug body has over a thousand of them.
struct FieldLeaf {
    enum Kind : uint8_t { Number, Real, Text };
    Kind kind = Number;
    uint32_t size = 0;        // a text's field size
    int record = 0;           // the record around it, see FieldLeaves::partsOf
    const char* field = "";   // its name, empty for an element of an array of numbers
    const char* text = nullptr; // a text's whole field, inside the walked record
    union {
        long long number = 0;
        double real;
    };

    std::string_view name() const { return field; }
    std::string_view bytes() const { return {text, size}; }
};

class FieldLeaves {
public:
    // The walked record must outlive the leaves: texts point into it.
    template <class R>
    explicit FieldLeaves(const R& record, const char* name = "", int index = -1)
    {
        R& fields = const_cast<R&>(record); // the walks only read
        Counter count;
        fields.serialize(count);
        leaves.reserve(count.leaves);
        records_.reserve(count.records + 1);
        push(name, index);
        fields.serialize(*this);
        pop();
    }

    std::vector<FieldLeaf> leaves;

    // The records around a leaf, outermost first; nameless records that are
    // not array elements are left out.
    std::vector<FieldPart> partsOf(size_t leaf) const;
    // The innermost named record around a leaf ("Dtmf", "CommBook").
    std::string_view recordOf(size_t leaf) const;
    // "body.Settings.Dtmf.Codes[3].Code".
    std::string pathOf(size_t leaf) const;

    // A code text and the length that says how much of it is in use pair up
    // inside one record (Code with Length or CodeLength, OwnCode with
    // OwnIdLength): the other one of the pair, or -1.
    int codePartner(size_t leaf) const;
    // A text as compared: a code over its length (a length above the field
    // takes the whole field), any other text trimmed.
    std::string_view comparable(size_t text) const;

    // The archive the field lists are walked with.
    void u8(const char* n, uint8_t& v) { add(n, FieldLeaf::Number).number = v; }
    void i16(const char* n, int16_t& v) { add(n, FieldLeaf::Number).number = v; }
    void u16be(const char* n, uint16_t& v) { add(n, FieldLeaf::Number).number = v; }
    void u16le(const char* n, uint16_t& v) { add(n, FieldLeaf::Number).number = v; }
    void f64(const char* n, double& v) { add(n, FieldLeaf::Real).real = v; }
    void text(const char* n, uint8_t* bytes, size_t size)
    {
        FieldLeaf& l = add(n, FieldLeaf::Text);
        l.text = reinterpret_cast<const char*>(bytes);
        l.size = static_cast<uint32_t>(size);
    }
    void push(const char* n, int index);
    void pop();

private:
    struct Record {
        FieldPart part;
        int outer = -1;
        size_t first = 0; // its leaves, nested records' included
        size_t end = 0;
    };

    // Sizes the lists first: a Codeplug body has over a thousand fields.
    struct Counter {
        size_t leaves = 0;
        size_t records = 0;
        void u8(const char*, uint8_t&) { ++leaves; }
        void i16(const char*, int16_t&) { ++leaves; }
        void u16be(const char*, uint16_t&) { ++leaves; }
        void u16le(const char*, uint16_t&) { ++leaves; }
        void f64(const char*, double&) { ++leaves; }
        void text(const char*, uint8_t*, size_t) { ++leaves; }
        void push(const char*, int) { ++records; }
        void pop() {}
    };

    FieldLeaf& add(const char* n, FieldLeaf::Kind kind);

    std::vector<Record> records_;
    int open_ = -1;
};

// Numbers exactly, reals bit for bit (a NaN equals itself), texts as
// comparable() gives them; a code's length is a leaf of its own.
bool SameLeaf(const FieldLeaves& a, const FieldLeaves& b, size_t leaf);

} // namespace qtx
