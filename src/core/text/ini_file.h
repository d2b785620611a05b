#pragma once
// INI files read and written with the rules of the classic profile-string
// calls, which the language files and mysetup.ini were always written for:
//
// - section and key names compare without regard to ASCII letter case;
// - a line is trimmed of blanks (space, tab) at both ends before it is read;
//   a value is what follows the first "=", again trimmed at both ends, and a
//   value wholly enclosed in a matching pair of '"' or '\'' loses the pair;
//   nothing else is interpreted (no escapes, no lists, no inline comments);
// - lines starting with ";" are comments; a line "[name]" starts a section;
//   a line without "=" is a key with an empty value; lines before the first
//   section belong to no section and are never found;
// - the first section of a name and the first key of a name in it count;
// - a missing key and a key with an empty value both read as the empty text;
// - lines end with CR LF, LF or CR; a UTF-8 byte order mark is skipped.
//
// Files are UTF-8. A lookup into a buffer of N characters returns at most
// N - 1 characters, counted as UTF-8 characters so that a character is never
// split (the profile calls count bytes of the old single-byte code pages).
//
// Writing a key changes that key's line only (or adds one line, or a new
// section at the end); every other byte of the file stays as it was, and the
// file is replaced through a temporary file so that a failed write leaves the
// old file whole.

#include "files/file_io.h"
#include "model/result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

// Settings and language files are a few kilobytes; a file far larger is
// not one of them.
inline constexpr FileShape kIniFileShape{"a settings or language file", 0, 1024 * 1024};

// No limit on the length of a value read.
inline constexpr size_t kNoValueLimit = static_cast<size_t>(-1);

class IniFile {
public:
    IniFile() = default;

    // Reads the bytes of a file; never fails (unknown lines are kept as they are).
    static IniFile Parse(std::string_view bytes);
    // "FileError" when the file cannot be read (a missing file included),
    // is not a regular file, or is larger than kIniFileShape allows.
    static Result<IniFile> Load(const std::string& path);

    // The value of `key` in `section`, or none when there is no such key.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // The value as a lookup into a buffer of `bufferSize` characters returns
    // it: the empty text when the key is missing, else at most
    // bufferSize - 1 characters of the value.
    std::string Get(std::string_view section, std::string_view key, size_t bufferSize = kNoValueLimit) const;

    bool HasSection(std::string_view section) const;

    // Sets `key` in `section` in memory. The key's line is rewritten in
    // place (its name, blanks and "=" kept), or a line is added at the end
    // of the section, or the section is added at the end of the file.
    // Names and values that would break the file's lines (line breaks, NUL,
    // "=" or a leading ";"/"[" in a key, "]" in a section name, empty names)
    // are refused and nothing changes.
    Result<void> Set(std::string_view section, std::string_view key, std::string_view value);

    // The whole file as bytes.
    std::string Text() const;

    // Writes Text() to `path` through a temporary file and a rename.
    Result<void> Save(const std::string& path) const;

private:
    enum class Kind { Blank, Comment, Section, Key };
    struct Line {
        std::string text; // without its line end
        std::string end;  // "\r\n", "\n", "\r" or "" (last line)
        Kind kind = Kind::Blank;
        std::string name;   // section or key name, trimmed
        std::string value;  // key value, trimmed and unquoted
        size_t valueStart = 0; // offset in `text` where the value's text begins
    };

    static void Classify(Line& line);
    // Index of the header line of the first section named `section`, or -1.
    long FindSection(std::string_view section) const;
    // Index of the first line of `key` in the section whose header is at `header`, or -1.
    long FindKey(long header, std::string_view key) const;
    std::string LineEnd() const;

    std::string bom_;
    std::vector<Line> lines_;
};

// The classic one-call forms. ReadProfileString gives the empty text for a
// missing or unreadable file. WriteProfileString creates the file when it is
// missing, and never replaces a file that exists but cannot be read.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              size_t bufferSize = kNoValueLimit);
Result<void> WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                                std::string_view value);

// `text` cut to at most `maxChars` UTF-8 characters, never inside a character.
std::string CutUtf8(std::string_view text, size_t maxChars);

} // namespace qtx
