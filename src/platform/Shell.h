#pragma once
// What the desktop shell does for us: open a file with its program, show a file selected in
// the file manager, show a file's properties.
//
// Opening goes through QDesktopServices::openUrl, never through a command line built from a
// path. The file manager is asked over the session bus (org.freedesktop.FileManager1); a
// desktop without one gets the fallback: the folder opened, or the caller's own properties
// dialog (platform has no widgets, so the caller supplies it).
//
// Main thread only, with a QGuiApplication. The bus calls do not wait: a fallback runs later on
// the main thread, once the bus has said no.
#include <cstdint>
#include <functional>
#include <string>

namespace pellucor::platform {

// Opens the file or folder with the user's default program. False when nothing could open it.
bool shellOpen(const std::string& path);

// Shows the file manager with the file selected; where no file manager answers, opens the
// folder that holds it.
void revealInFileManager(const std::string& path);

// Asks the file manager for the properties of the item; where none answers, calls fallback.
void showItemProperties(const std::string& path, std::function<void()> fallback);

// What a properties dialog of our own shows about a file.
struct FileFacts {
    bool exists = false;
    std::string name;      // file name without folder
    std::string folder;    // the folder holding it
    std::string type;      // description of its content type, e.g. "AVI video"
    std::int64_t size = 0;  // bytes
    std::string modified;  // last modification, ISO date and time
};
FileFacts fileFacts(const std::string& path);

} // namespace pellucor::platform
