#pragma once
// The file a job writes before it becomes the destination: ".<name>.part-XXXXXX" in the
// destination's folder (same file system, so the final rename is atomic), created exclusively
// with the usual permissions; a name too long to take the decoration is cut short in it. Plain
// functions; the job thread commits or discards.
#include <string>

namespace pellucor::engine {

// Creates the empty temporary file and returns its path. Throws EngineError(Error_Output)
// naming the folder and the reason when the folder cannot be written.
std::string createTemporaryBeside(const std::string& destination);

// Renames the finished file over the destination (replacing an earlier one). Throws
// EngineError(Error_Output) and leaves both files as they were on failure.
void commitTemporary(const std::string& temporary, const std::string& destination);

// Removes the temporary file; quiet if it is already gone.
void discardTemporary(const std::string& temporary) noexcept;

} // namespace pellucor::engine
