#include "files/program_dir.h"

#include <filesystem>

namespace qtx {

namespace fs = std::filesystem;

ProgramDir LocateProgramDir(const std::string& executableDir)
{
    std::error_code ec;
    if (fs::is_directory(fs::path(executableDir) / "language", ec))
        return {executableDir, false};
    const fs::path shared = fs::path(executableDir) / ".." / "share" / "qtx";
    if (fs::is_directory(shared / "language", ec)) {
        const fs::path resolved = fs::canonical(shared, ec);
        return {ec ? shared.lexically_normal().string() : resolved.string(), true};
    }
    return {executableDir, false};
}

} // namespace qtx
