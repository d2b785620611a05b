#include "text/language_table.h"

#include <sys/stat.h>

namespace qtx {

std::string LanguageFileName(int language)
{
    return language == kLanguageChinese ? "chinese.ini" : "english.ini";
}

std::string LanguageFilePath(const std::string& programDir, int language)
{
    std::string path = programDir;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + "language/" + LanguageFileName(language);
}

const IniFile* LanguageTable::Current() const
{
    struct stat st;
    if (path_.empty() || ::stat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        cached_ = false;
        return nullptr;
    }
    const FileIdentity identity{st.st_dev, st.st_ino, st.st_size, static_cast<long long>(st.st_mtim.tv_sec),
                                st.st_mtim.tv_nsec};
    if (cached_ && cachedPath_ == path_ && cachedIdentity_ == identity)
        return &cachedFile_;
    auto loaded = IniFile::Load(path_);
    if (!loaded) {
        cached_ = false;
        return nullptr;
    }
    cachedFile_ = std::move(loaded.value());
    cachedPath_ = path_;
    cachedIdentity_ = identity;
    cached_ = true;
    return &cachedFile_;
}

std::string LanguageTable::Lookup(std::string_view section, std::string_view key, size_t bufferSize) const
{
    const IniFile* file = Current();
    return file ? file->Get(section, key, bufferSize) : std::string();
}

std::string LanguageTable::TextLookup(int id) const
{
    return Lookup(kSectionOther, std::to_string(id), kOtherBufferSize);
}

std::string LanguageTable::MessageLookup(std::string_view key) const
{
    return Lookup(kSectionMessage, key, kMessageBufferSize);
}

std::string LanguageTable::OptionLookup(std::string_view key) const
{
    return Lookup(kSectionOption, key, kOptionBufferSize);
}

} // namespace qtx
