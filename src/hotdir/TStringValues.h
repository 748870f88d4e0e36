#pragma once
// A table of name and value text pairs, kept in one list: pair i is at 2i (name) and 2i + 1
// (value). The hot-directory mode keeps its processed-files table in one.
#include <string>
#include <vector>

namespace pellucor::hotdir {

class TStringValues {
public:
    void Add(const std::string& name, const std::string& value);  // duplicates allowed
    void Clear() { list_.clear(); }
    int Count() const { return static_cast<int>(list_.size() / 2); }
    std::string NameAt(int i) const;                     // empty outside the table
    std::string ValueAt(int i) const;                    // empty outside the table
    void SetValueAt(int i, const std::string& value);    // ignored outside the table

private:
    std::vector<std::string> list_;
};

} // namespace pellucor::hotdir
