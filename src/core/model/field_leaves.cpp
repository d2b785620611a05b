#include "model/field_leaves.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

namespace qtx {

namespace {

struct CodeAndLength {
    std::string_view code;
    std::string_view length;
};

constexpr CodeAndLength kCodeLengths[] = {{"Code", "Length"}, {"Code", "CodeLength"}, {"OwnCode", "OwnIdLength"}};

} // namespace

void FieldLeaves::push(const char* n, int index)
{
    records_.push_back({{n, index}, open_, leaves.size(), leaves.size()});
    open_ = static_cast<int>(records_.size()) - 1;
}

void FieldLeaves::pop()
{
    Record& r = records_[static_cast<size_t>(open_)];
    r.end = leaves.size();
    open_ = r.outer;
}

FieldLeaf& FieldLeaves::add(const char* n, FieldLeaf::Kind kind)
{
    FieldLeaf& l = leaves.emplace_back();
    l.kind = kind;
    l.field = n;
    l.record = open_;
    return l;
}

std::vector<FieldPart> FieldLeaves::partsOf(size_t leaf) const
{
    std::vector<FieldPart> parts;
    for (int r = leaves[leaf].record; r >= 0; r = records_[static_cast<size_t>(r)].outer) {
        const FieldPart& p = records_[static_cast<size_t>(r)].part;
        if (!p.name.empty() || p.index >= 0)
            parts.push_back(p);
    }
    std::reverse(parts.begin(), parts.end());
    return parts;
}

std::string_view FieldLeaves::recordOf(size_t leaf) const
{
    for (int r = leaves[leaf].record; r >= 0; r = records_[static_cast<size_t>(r)].outer)
        if (!records_[static_cast<size_t>(r)].part.name.empty())
            return records_[static_cast<size_t>(r)].part.name;
    return {};
}

std::string FieldLeaves::pathOf(size_t leaf) const
{
    std::string p;
    for (const FieldPart& part : partsOf(leaf)) {
        if (!part.name.empty())
            (p += p.empty() ? "" : ".") += part.name;
        if (part.index >= 0)
            p += "[" + std::to_string(part.index) + "]";
    }
    if (*leaves[leaf].field)
        (p += p.empty() ? "" : ".") += leaves[leaf].field;
    return p;
}

int FieldLeaves::codePartner(size_t leaf) const
{
    const FieldLeaf& l = leaves[leaf];
    const bool isText = l.kind == FieldLeaf::Text;
    const Record& r = records_[static_cast<size_t>(l.record)];
    for (const CodeAndLength& pair : kCodeLengths) {
        if (l.name() != (isText ? pair.code : pair.length))
            continue;
        const std::string_view other = isText ? pair.length : pair.code;
        for (size_t j = r.first; j < r.end; ++j) {
            const FieldLeaf& o = leaves[j];
            if (o.record == l.record && o.name() == other && (o.kind == FieldLeaf::Text) != isText)
                return static_cast<int>(j);
        }
    }
    return -1;
}

std::string_view FieldLeaves::comparable(size_t text) const
{
    const std::string_view bytes = leaves[text].bytes();
    const int length = codePartner(text);
    if (length < 0)
        return TrimFixedView(bytes);
    const long long used = std::clamp<long long>(leaves[static_cast<size_t>(length)].number, 0,
                                                 static_cast<long long>(bytes.size()));
    return bytes.substr(0, static_cast<size_t>(used));
}

bool SameLeaf(const FieldLeaves& a, const FieldLeaves& b, size_t leaf)
{
    const FieldLeaf& x = a.leaves[leaf];
    const FieldLeaf& y = b.leaves[leaf];
    switch (x.kind) {
    case FieldLeaf::Number: return x.number == y.number;
    case FieldLeaf::Real: return std::bit_cast<uint64_t>(x.real) == std::bit_cast<uint64_t>(y.real);
    case FieldLeaf::Text: return a.comparable(leaf) == b.comparable(leaf);
    }
    return true;
}

} // namespace qtx
