#pragma once
// The inotify watches of one watched tree: which watch descriptor stands for which directory,
// named relative to the watched root ("" for the root itself, "a/b" below it).
//
// Part of DirectoryChangeSource; used only on the thread that reads the inotify descriptor.
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <unordered_map>

namespace pellucor::platform {

class InotifyWatchTree {
public:
    // What a walk found: a name relative to the root, whether it is a directory (symbolic links
    // are not followed, so a link to a directory is not one), and its newest of ctime and mtime.
    using Found = std::function<void(const std::string& relName, bool isDir, timespec changed)>;

    InotifyWatchTree(int inotifyFd, std::string root, std::uint32_t mask, bool subtree);

    // Watches directory rel. Returns false (errno set) when the kernel refuses.
    bool watchDir(const std::string& rel);

    // Lists directory rel and, when the tree is watched, every directory below it, each
    // sub-directory given its watch before it is listed, so an entry made meanwhile is either
    // listed or reported by its watch (or both). found may be empty.
    void walk(const std::string& rel, const Found& found);

    // A directory moved away within the tree keeps its watches under its new name.
    void renameTree(const std::string& from, const std::string& to);
    // A directory moved out of the tree: its watches and those below it go.
    void removeTree(const std::string& rel);
    // The kernel dropped this watch (directory deleted, file system unmounted).
    void forget(int wd) { dirs_.erase(wd); }

    const std::string* relativeDir(int wd) const;
    std::size_t size() const { return dirs_.size(); }
    bool subtree() const { return subtree_; }

    static std::string join(const std::string& rel, const std::string& name) {
        return rel.empty() ? name : rel + "/" + name;
    }

private:
    std::string fullPath(const std::string& rel) const;
    static bool underOrAt(const std::string& path, const std::string& dir);

    int fd_;
    std::string root_;
    std::uint32_t mask_;
    bool subtree_;
    std::unordered_map<int, std::string> dirs_;
};

} // namespace pellucor::platform
