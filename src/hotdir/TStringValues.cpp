#include "hotdir/TStringValues.h"

namespace pellucor::hotdir {

void TStringValues::Add(const std::string& name, const std::string& value)
{
    list_.push_back(name);
    list_.push_back(value);
}

std::string TStringValues::NameAt(int i) const
{
    if (i < 0 || 2 * static_cast<std::size_t>(i) + 2 > list_.size()) return {};
    return list_[2 * static_cast<std::size_t>(i)];
}

std::string TStringValues::ValueAt(int i) const
{
    if (i < 0 || 2 * static_cast<std::size_t>(i) + 2 > list_.size()) return {};
    return list_[2 * static_cast<std::size_t>(i) + 1];
}

void TStringValues::SetValueAt(int i, const std::string& value)
{
    if (i < 0 || 2 * static_cast<std::size_t>(i) + 2 > list_.size()) return;
    list_[2 * static_cast<std::size_t>(i) + 1] = value;
}

} // namespace pellucor::hotdir
