#pragma once
// What the fuzz targets share: a check that ends the run loudly, so libFuzzer keeps the input and
// the replay in CI fails, and a scratch folder for the parts of the program that only read files.
//
// A target calls ScratchFolder::get() once per input and writes what it needs there; the folder
// is emptied on every get(), so inputs never see each other's files, and removed when the process
// ends normally. It lives in /dev/shm when that is writable: the registry store fsyncs every
// save, which costs nothing on tmpfs and would slow the fuzzer a hundredfold on a disk.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace pellucor::fuzz {

[[noreturn]] inline void Fail(const char* file, int line, const char* condition,
                              const std::string& detail) {
    std::fprintf(stderr, "\nfuzz check failed at %s:%d: %s\n  %s\n", file, line, condition,
                 detail.c_str());
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                        \
    do {                                                                                     \
        if (!(condition)) ::pellucor::fuzz::Fail(__FILE__, __LINE__, #condition, (detail));  \
    } while (0)

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Printable form of a short text for failure messages: control and non-ASCII bytes as \xNN.
inline std::string Shown(std::string_view text, std::size_t max = 200) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < max; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    if (text.size() > max) out += "...";
    return "\"" + out + "\"";
}

class ScratchFolder {
public:
    // The process's folder, emptied.
    static const std::filesystem::path& get() {
        static ScratchFolder folder;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path_, ec))
            std::filesystem::remove_all(entry.path(), ec);
        return folder.path_;
    }

    // Writes bytes to name inside the folder and returns the file's path.
    static std::filesystem::path write(const std::filesystem::path& folder, const std::string& name,
                                       std::string_view bytes) {
        const std::filesystem::path file = folder / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        FUZZ_CHECK(out.good(), "cannot write the input to " + file.string());
        return file;
    }

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    ScratchFolder() {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0)
            base = std::filesystem::temp_directory_path();
        std::string pattern = (base / "pellucor-fuzz-XXXXXX").string();
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr, "cannot make a scratch folder in " + base.string());
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }

    std::filesystem::path path_;
};

} // namespace pellucor::fuzz
