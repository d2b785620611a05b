#pragma once
// The language file of the current language: nearly every caption, list
// entry and message, looked up by text ID. Section "OTHER" holds the texts
// by decimal ID, "MSG" the two questions keyed "9001" and "900C", "OPTION"
// the signalling editors' texts keyed from "60000" upwards.
//
// Each lookup answers from the file named at the time of the call, so a
// language change is seen by the next lookup. The parsed file is kept
// between lookups and read again when the file on disk changes (its
// identity, size or modification time). Not for use from several threads.

#include "text/ini_file.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace qtx {

inline constexpr int kLanguageEnglish = 1;
inline constexpr int kLanguageChinese = 2;

inline constexpr std::string_view kSectionOther = "OTHER";
inline constexpr std::string_view kSectionMessage = "MSG";
inline constexpr std::string_view kSectionOption = "OPTION";

// Lookup buffers, terminator included: values are at most 254 characters in
// "OTHER" and "OPTION" and at most 511 in "MSG".
inline constexpr size_t kOtherBufferSize = 255;
inline constexpr size_t kOptionBufferSize = 255;
inline constexpr size_t kMessageBufferSize = 512;

// "chinese.ini" for Language 2, "english.ini" for anything else.
std::string LanguageFileName(int language);
// <programDir>/language/<LanguageFileName(language)>.
std::string LanguageFilePath(const std::string& programDir, int language);

class LanguageTable {
public:
    LanguageTable() = default;
    explicit LanguageTable(std::string path) : path_(std::move(path)) {}

    void SetPath(std::string path) { path_ = std::move(path); }
    const std::string& Path() const { return path_; }

    // The empty text when the file, the section or the key is missing.
    std::string TextLookup(int id) const;
    std::string MessageLookup(std::string_view key) const;
    std::string OptionLookup(std::string_view key) const;

    std::string Lookup(std::string_view section, std::string_view key, size_t bufferSize) const;

private:
    struct FileIdentity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long mtimeSec = 0;
        long mtimeNsec = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    // The parsed current file, or null when it cannot be read.
    const IniFile* Current() const;

    std::string path_;
    mutable bool cached_ = false;
    mutable std::string cachedPath_;
    mutable FileIdentity cachedIdentity_;
    mutable IniFile cachedFile_;
};

} // namespace qtx
