#pragma once
// The file a job writes before it becomes the destination: ".<name>.part-XXXXXX" in the
// destination's folder (same file system, so the final rename is atomic), created exclusively
// with the usual permissions; a name too long to take the decoration is cut short in it. Plain
// functions; the job thread commits or discards.
//
// A job holds an flock on its temporary file for as long as it runs. A job that was killed
// cannot remove its file, but the kernel drops its lock: so the next job for the same
// destination finds such files unlocked and removes them, and never touches one a living job
// (in this process or another) is writing.
#include "platform/UniqueFd.h"

#include <string>

namespace pellucor::engine {

struct TemporaryFile {
    std::string path;
    platform::UniqueFd lock;  // holds the job's flock on the file while the job lives
};

// Removes what killed jobs left behind for this destination, then creates the empty temporary
// file, locked. Throws EngineError(Error_Output) naming the folder and the reason when the
// folder cannot be written.
TemporaryFile createTemporaryBeside(const std::string& destination);

// Removes the temporary files for destination that no living job holds. Quiet: a file that
// cannot be removed stays.
void removeAbandonedTemporaries(const std::string& destination) noexcept;

// Renames the finished file over the destination (replacing an earlier one). Throws
// EngineError(Error_Output) and leaves both files as they were on failure.
void commitTemporary(const std::string& temporary, const std::string& destination);

// Removes the temporary file; quiet if it is already gone.
void discardTemporary(const std::string& temporary) noexcept;

} // namespace pellucor::engine
