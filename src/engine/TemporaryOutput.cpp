#include "engine/TemporaryOutput.h"

#include "engine/EngineError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace pellucor::engine {

namespace fs = std::filesystem;

std::string createTemporaryBeside(const std::string& destination) {
    const fs::path dest(destination);
    if (dest.filename().empty())
        throw EngineError(Error_Output, "The output name '" + destination + "' names no file");
    std::error_code ec;
    if (fs::is_directory(dest, ec))
        throw EngineError(Error_Output, "The output '" + destination + "' is a folder");
    const fs::path folder = dest.has_parent_path() ? dest.parent_path() : fs::path(".");
    // A folder entry holds at most 255 bytes on the file systems Linux uses. The destination's
    // own name may take all of them, so its copy in the temporary name is cut to leave room for
    // the dot and ".part-XXXXXX"; the temporary name only has to be unique, not whole.
    constexpr std::size_t kNameMax = 255;
    constexpr std::size_t kDecoration = 1 + 6 + 6;  // ".", ".part-", six letters
    const std::string base = dest.filename().string().substr(0, kNameMax - kDecoration);
    std::random_device seed;
    std::mt19937 random(seed());
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    int lastError = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        for (int i = 0; i < 6; ++i) suffix += letters[random() % (sizeof letters - 1)];
        std::string name = ".";  // appended piecewise: GCC 12 warns falsely about "." + string
        name += base;
        name += ".part-";
        name += suffix;
        const fs::path candidate = folder / name;
        // "x": create exclusively, never open someone else's file; the mode follows the umask.
        if (std::FILE* f = std::fopen(candidate.c_str(), "wbx")) {
            std::fclose(f);
            return candidate.string();
        }
        lastError = errno;
        if (lastError != EEXIST) break;
    }
    throw EngineError(Error_Output,
                      "Cannot write into the folder '" + folder.string() + "': " + std::strerror(lastError));
}

void commitTemporary(const std::string& temporary, const std::string& destination) {
    std::error_code ec;
    fs::rename(temporary, destination, ec);
    if (ec) throw EngineError(Error_Output, "Cannot replace '" + destination + "': " + ec.message());
}

void discardTemporary(const std::string& temporary) noexcept {
    std::error_code ec;
    fs::remove(temporary, ec);
}

} // namespace pellucor::engine
