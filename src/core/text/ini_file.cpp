#include "text/ini_file.h"

#include "files/file_io.h"

#include <filesystem>
#include <system_error>

namespace qtx {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

bool hasAny(std::string_view s, std::string_view chars) { return s.find_first_of(chars) != std::string_view::npos; }

const std::string_view kBom = "\xEF\xBB\xBF";

Error badName(const std::string& what) { return Error{"FileError", "cannot write INI entry: " + what}; }

} // namespace

std::string CutUtf8(std::string_view text, size_t maxChars)
{
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) != 0x80) { // a character starts here
            if (chars == maxChars)
                return std::string(text.substr(0, i));
            ++chars;
        }
    }
    return std::string(text);
}

void IniFile::Classify(Line& line)
{
    line.name.clear();
    line.value.clear();
    line.valueStart = 0;
    const std::string_view t = trimBlanks(line.text);
    if (t.empty()) {
        line.kind = Kind::Blank;
    } else if (t.front() == ';') {
        line.kind = Kind::Comment;
    } else if (t.front() == '[') {
        line.kind = Kind::Section;
        const size_t close = t.find(']');
        line.name = std::string(trimBlanks(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
    } else {
        line.kind = Kind::Key;
        const size_t eq = line.text.find('=');
        if (eq == std::string::npos) {
            line.name = std::string(t);
            line.valueStart = line.text.size();
            return;
        }
        line.name = std::string(trimBlanks(std::string_view(line.text).substr(0, eq)));
        size_t v = eq + 1;
        while (v < line.text.size() && isBlank(line.text[v]))
            ++v;
        line.valueStart = v;
        std::string_view value = trimBlanks(std::string_view(line.text).substr(v));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        line.value = std::string(value);
    }
}

IniFile IniFile::Parse(std::string_view bytes)
{
    IniFile ini;
    if (bytes.substr(0, kBom.size()) == kBom) {
        ini.bom_ = std::string(kBom);
        bytes.remove_prefix(kBom.size());
    }
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t brk = bytes.find_first_of("\r\n", pos);
        Line line;
        if (brk == std::string_view::npos) {
            line.text = std::string(bytes.substr(pos));
            pos = bytes.size();
        } else {
            line.text = std::string(bytes.substr(pos, brk - pos));
            const bool crlf = bytes[brk] == '\r' && brk + 1 < bytes.size() && bytes[brk + 1] == '\n';
            line.end = std::string(bytes.substr(brk, crlf ? 2 : 1));
            pos = brk + line.end.size();
        }
        Classify(line);
        ini.lines_.push_back(std::move(line));
    }
    return ini;
}

Result<IniFile> IniFile::Load(const std::string& path)
{
    auto bytes = ReadBoundedFile(path, kIniFileShape);
    if (!bytes)
        return bytes.error();
    const auto& b = bytes.value();
    return Parse(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
}

long IniFile::FindSection(std::string_view section) const
{
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && sameName(lines_[i].name, section))
            return static_cast<long>(i);
    return -1;
}

long IniFile::FindKey(long header, std::string_view key) const
{
    for (size_t i = static_cast<size_t>(header) + 1; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Section)
            break;
        if (lines_[i].kind == Kind::Key && sameName(lines_[i].name, key))
            return static_cast<long>(i);
    }
    return -1;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const
{
    const long header = FindSection(trimBlanks(section));
    if (header < 0)
        return std::nullopt;
    const long at = FindKey(header, trimBlanks(key));
    if (at < 0)
        return std::nullopt;
    return lines_[static_cast<size_t>(at)].value;
}

std::string IniFile::Get(std::string_view section, std::string_view key, size_t bufferSize) const
{
    if (bufferSize == 0)
        return {};
    auto value = Find(section, key);
    if (!value)
        return {};
    return bufferSize == kNoValueLimit ? *value : CutUtf8(*value, bufferSize - 1);
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(trimBlanks(section)) >= 0; }

std::string IniFile::LineEnd() const
{
    for (const auto& line : lines_)
        if (!line.end.empty())
            return line.end;
    return "\n";
}

Result<void> IniFile::Set(std::string_view section, std::string_view key, std::string_view value)
{
    section = trimBlanks(section);
    key = trimBlanks(key);
    const std::string_view breaks("\r\n\0", 3);
    if (section.empty() || hasAny(section, breaks) || hasAny(section, "]"))
        return badName("bad section name [" + std::string(section) + "]");
    if (key.empty() || hasAny(key, breaks) || hasAny(key, "=") || key.front() == ';' || key.front() == '[')
        return badName("bad key name \"" + std::string(key) + "\" in [" + std::string(section) + "]");
    if (hasAny(value, breaks))
        return badName("value of " + std::string(key) + " in [" + std::string(section) + "] holds a line break");

    const std::string end = LineEnd();
    const long header = FindSection(section);
    if (header >= 0) {
        const long at = FindKey(header, key);
        if (at >= 0) {
            Line& line = lines_[static_cast<size_t>(at)];
            if (line.text.find('=') == std::string::npos) {
                // A bare key: keep the name as written and give it a value.
                const std::string_view name = trimBlanks(line.text);
                line.text.resize(static_cast<size_t>(name.data() - line.text.data()) + name.size());
                line.text += '=';
            } else {
                line.text.resize(line.valueStart);
            }
            line.text += value;
            Classify(line);
            return {};
        }
        // After the section's last key, so blank lines and comments that
        // lead into the next section stay with it.
        size_t after = static_cast<size_t>(header);
        for (size_t i = after + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
            if (lines_[i].kind == Kind::Key)
                after = i;
        if (lines_[after].end.empty())
            lines_[after].end = end;
        Line line;
        line.text = std::string(key) + "=" + std::string(value);
        line.end = end;
        Classify(line);
        lines_.insert(lines_.begin() + static_cast<long>(after) + 1, std::move(line));
        return {};
    }

    if (!lines_.empty()) {
        if (lines_.back().end.empty())
            lines_.back().end = end;
        if (lines_.back().kind != Kind::Blank) {
            Line gap;
            gap.end = end;
            lines_.push_back(std::move(gap));
        }
    }
    Line head;
    head.text = "[" + std::string(section) + "]";
    head.end = end;
    Classify(head);
    lines_.push_back(std::move(head));
    Line line;
    line.text = std::string(key) + "=" + std::string(value);
    line.end = end;
    Classify(line);
    lines_.push_back(std::move(line));
    return {};
}

std::string IniFile::Text() const
{
    std::string out = bom_;
    for (const auto& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

Result<void> IniFile::Save(const std::string& path) const
{
    const std::string text = Text();
    return ReplaceFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key, size_t bufferSize)
{
    auto ini = IniFile::Load(path);
    if (!ini)
        return {};
    return ini.value().Get(section, key, bufferSize);
}

Result<void> WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                                std::string_view value)
{
    IniFile ini;
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (ec)
        return Error{"FileError", "cannot reach " + path + ": " + ec.message()};
    if (exists) {
        auto loaded = IniFile::Load(path);
        if (!loaded)
            return loaded.error();
        ini = std::move(loaded.value());
    }
    auto set = ini.Set(section, key, value);
    if (!set)
        return set;
    return ini.Save(path);
}

} // namespace qtx
