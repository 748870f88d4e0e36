// The main() of a fuzz target in the ordinary (g++, sanitizer) build: runs LLVMFuzzerTestOneInput
// once on every file named on the command line, or found directly in a directory named there.
// This is how CI replays the seed corpus and the crash regressions without fuzzing anything new;
// a fault shows up as a sanitizer report or an abort, and so as a failed test.
//
//   <target> [--allow-empty] PATH...
//
// Missing paths are skipped with a note (a target may have no regressions yet), but a run that
// finds no input at all fails unless --allow-empty is given: a corpus that silently vanished
// must not read as a pass.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& path) {
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) return {path};
    std::vector<fs::path> files;
    if (!fs::is_directory(path, ec)) {
        std::fprintf(stderr, "replay: %s does not exist, skipped\n", path.c_str());
        return files;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(path, ec))
        if (entry.is_regular_file(ec)) files.push_back(entry.path());
    // A fixed order, so a failure is reproduced by the same run.
    std::sort(files.begin(), files.end());
    return files;
}

bool ReadFile(const fs::path& file, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    bool allowEmpty = false;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--allow-empty") {
            allowEmpty = true;
            continue;
        }
        for (fs::path& file : InputsOf(arg)) inputs.push_back(std::move(file));
    }
    if (inputs.empty() && !allowEmpty) {
        std::fprintf(stderr, "replay: no input files found; the corpus is missing\n");
        return 1;
    }
    std::vector<std::uint8_t> bytes;
    for (const fs::path& file : inputs) {
        if (!ReadFile(file, bytes)) {
            std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
            return 1;
        }
        // Named before the run, so the input behind a sanitizer report is on the line above it.
        std::fprintf(stderr, "replay: %s (%zu bytes)\n", file.c_str(), bytes.size());
        // A heap block of exactly the input's size, so reading one byte past the end is caught.
        const auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), exact.get());
        LLVMFuzzerTestOneInput(exact.get(), bytes.size());
    }
    std::fprintf(stderr, "replay: %zu inputs, no fault\n", inputs.size());
    return 0;
}
