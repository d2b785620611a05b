#include "exchange/csv_table.h"

namespace qtx {

CsvReader::CsvReader(std::string_view text) : text_(text)
{
    if (text_.substr(0, 3) == "\xEF\xBB\xBF")
        pos_ = 3;
}

Result<bool> CsvReader::Next(std::vector<std::string>& fields)
{
    fields.clear();
    if (pos_ >= text_.size())
        return false;
    recordLine_ = line_;
    std::string field;
    // A line break ends the record; CRLF counts as one break.
    auto atBreak = [this](size_t i) { return text_[i] == '\n' || text_[i] == '\r'; };
    auto skipBreak = [this](size_t& i) {
        if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n')
            ++i;
        ++i;
        ++line_;
    };

    size_t i = pos_;
    while (true) {
        if (i < text_.size() && text_[i] == '"') {
            const int openedOn = line_;
            ++i;
            while (true) {
                if (i >= text_.size())
                    return Error{"CsvQuoteOpen", "a quoted field that begins on line " + std::to_string(openedOn) +
                                                     " is never closed"};
                const char c = text_[i];
                if (c == '"') {
                    if (i + 1 < text_.size() && text_[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (atBreak(i)) {
                    const size_t from = i;
                    skipBreak(i);
                    field.append(text_.substr(from, i - from));
                    continue;
                }
                // Plain runs are copied in one step.
                const size_t end = text_.find_first_of("\"\r\n", i);
                const size_t stop = end == std::string_view::npos ? text_.size() : end;
                field.append(text_.substr(i, stop - i));
                i = stop;
            }
        }
        // Unquoted text, or what follows a closing quote before the next
        // comma (kept as it stands, as spreadsheet programs do).
        const size_t end = text_.find_first_of(",\r\n", i);
        const size_t stop = end == std::string_view::npos ? text_.size() : end;
        field.append(text_.substr(i, stop - i));
        i = stop;
        fields.push_back(std::move(field));
        field.clear();
        if (i >= text_.size())
            break;
        if (text_[i] == ',') {
            ++i;
            continue;
        }
        skipBreak(i);
        break;
    }
    pos_ = i;
    return true;
}

std::string CsvField(std::string_view value)
{
    const bool quote = value.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!quote)
        return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvRecord(const std::vector<std::string>& fields)
{
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += CsvField(fields[i]);
    }
    out += "\r\n";
    return out;
}

bool IsValidUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        size_t n = 0;
        unsigned cp = 0;
        if ((b & 0xE0) == 0xC0) {
            n = 2;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            n = 3;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            n = 4;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        // No overlong forms, no surrogates, nothing beyond U+10FFFF.
        static constexpr unsigned kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace qtx
