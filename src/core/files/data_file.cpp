#include "files/data_file.h"

#include "model/byte_archive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace qtx {

namespace {

Error fileError(std::string detail) { return Error{"FileError", std::move(detail)}; }

size_t fileNameStart(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

} // namespace

std::optional<std::string> ChannelFileName(const std::string& dataFile)
{
    if (dataFile.size() - fileNameStart(dataFile) < 3)
        return std::nullopt;
    std::string name = dataFile.substr(0, dataFile.size() - 3) + "fre";
    if (name == dataFile)
        return std::nullopt;
    return name;
}

std::vector<uint8_t> EncodeBody(const CodeplugBody& body) { return EncodeRecord(body); }

bool DecodeBody(std::span<const uint8_t> bytes, CodeplugBody& body)
{
    if (bytes.size() < kDataFileSize)
        return false;
    ByteReader r(bytes.first(kDataFileSize));
    body.serialize(r);
    return !r.shortRead();
}

std::vector<uint8_t> EncodeChannel(const ChannelRecord& channel) { return EncodeRecord(channel); }

ChannelRecord DecodeChannel(std::span<const uint8_t> bytes)
{
    ChannelRecord ch;
    ByteReader r(bytes);
    ch.serialize(r);
    return ch;
}

Result<OpenReport> ReadCodeplugFiles(const std::string& dataFile, Codeplug& out)
{
    OpenReport report;
    const auto channelFile = ChannelFileName(dataFile);
    if (channelFile) {
        auto recovered = RecoverPair(dataFile, *channelFile);
        if (!recovered)
            return recovered.error();
        report.interruptedSave = recovered.value();
    }
    auto data = ReadBoundedFile(dataFile, kDataFileShape);
    if (!data) {
        // A regular file of the wrong size is no data file of this program:
        // said so first, the sizes follow as the detail.
        Error e = data.error();
        struct stat st {};
        if (::stat(dataFile.c_str(), &st) == 0 && S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) != kDataFileSize)
            e.message = kNotADataFileText;
        return e;
    }
    Codeplug cp;
    DecodeBody(data.value(), cp.body);
    const int listed = cp.body.ChannelCount;
    if (listed < 0 || listed > kMaxChannels)
        return fileError(dataFile + " lists " + std::to_string(listed) + " channels; at most " +
                         std::to_string(kMaxChannels) + " are possible");

    report.channelsListed = listed;
    std::vector<uint8_t> records;
    if (channelFile) {
        report.channelFile = *channelFile;
        auto fre = ReadBoundedFile(*channelFile, kChannelFileShape);
        if (fre) {
            records = std::move(fre.value());
        } else {
            report.channelFileMissing = true;
            report.channelFileProblem = fre.error().detail;
        }
    } else {
        report.channelFileMissing = true;
        report.channelFileProblem = dataFile + " has no name for its channel file";
    }

    // Records past the listed count belong to no one; a record with a number
    // outside 1-203 or one already seen would break the list's invariants.
    const int available = static_cast<int>(std::min<size_t>(listed, records.size() / kChannelRecordSize));
    std::set<int> seen;
    int kept = 0;
    for (int k = 0; k < available; ++k) {
        ChannelRecord ch = DecodeChannel(std::span(records).subspan(k * kChannelRecordSize, kChannelRecordSize));
        if (ch.Number < 1 || ch.Number > kMaxChannels || !seen.insert(ch.Number).second) {
            ++report.recordsDropped;
            continue;
        }
        cp.channels[kept++] = ch;
    }
    cp.body.ChannelCount = static_cast<int16_t>(kept);
    report.channelsRead = kept;
    out = cp;
    return report;
}

Result<void> SaveCodeplug(Workspace& ws)
{
    const auto channelFile = ChannelFileName(ws.fileName);
    if (!channelFile)
        return fileError(ws.fileName + " has no name for its channel file");

    Codeplug saved;
    CopyCodeplug(ws.live, saved);
    saved.body.BandType = ws.bandType;
    std::vector<uint8_t> records;
    records.reserve(saved.count() * kChannelRecordSize);
    for (int i = 0; i < saved.count(); ++i) {
        const auto rec = EncodeChannel(saved.channels[i]);
        records.insert(records.end(), rec.begin(), rec.end());
    }
    auto written = CommitPair(ws.fileName, EncodeBody(saved.body), *channelFile, records);
    if (!written)
        return written.error();
    TakeSnapshot(ws);
    ws.isUntitled = false;
    return {};
}

Result<OpenReport> OpenCodeplug(Workspace& ws, const std::string& dataFile)
{
    Codeplug loaded;
    auto report = ReadCodeplugFiles(dataFile, loaded);
    if (!report)
        return report;
    CopyCodeplug(loaded, ws.baseline);
    RestoreSnapshot(ws);
    ws.fileName = dataFile;
    ws.isUntitled = false;
    return report;
}

bool LoadTemplate(Workspace& ws, const std::string& dataFile, bool keepAllChannels)
{
    Codeplug loaded;
    if (!ReadCodeplugFiles(dataFile, loaded)) {
        TakeSnapshot(ws);
        return false;
    }
    loaded.body.BandType = ws.bandType;
    if (!keepAllChannels) {
        const auto vfo = std::find_if(loaded.channels.begin(), loaded.channels.begin() + loaded.count(),
                                      [](const ChannelRecord& ch) { return ch.Number == kChannelVfo; });
        if (vfo != loaded.channels.begin() + loaded.count()) {
            loaded.channels[0] = *vfo;
            loaded.body.ChannelCount = 1;
        } else {
            loaded.body.ChannelCount = 0;
        }
    }
    CopyCodeplug(loaded, ws.baseline);
    RestoreSnapshot(ws);
    return true;
}

std::vector<uint8_t> EncodeCommBook(const CommBook& book)
{
    std::vector<uint8_t> out;
    out.reserve(kCommBookFileSize);
    ByteWriter w(out);
    for (const auto& entry : book)
        const_cast<CommBookEntry&>(entry).serialize(w);
    return out;
}

Result<CommBook> ReadCommBookFile(const std::string& path)
{
    auto data = ReadBoundedFile(path, kCommBookFileShape);
    if (!data)
        return data.error();
    CommBook book;
    ByteReader r(data.value());
    for (auto& entry : book)
        entry.serialize(r);
    // A longer file is read from its first record, but only when that record
    // is numbered as a book is: a data file picked by mistake would otherwise
    // fill the book with its bytes.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kCommBookFileSize) {
        for (size_t k = 0; k < book.size(); ++k)
            if (book[k].Index != static_cast<int16_t>(k))
                return fileError(path + " holds " + std::to_string(size) +
                                 " bytes and is not a communication book file (its entries are not numbered 0 to 127)");
    }
    return book;
}

Result<void> WriteCommBookFile(const std::string& path, const CommBook& book)
{
    return ReplaceFile(path, EncodeCommBook(book));
}

} // namespace qtx
