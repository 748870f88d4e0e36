#pragma once
// A page of the profile editor without widgets: lists hold a position into the entries the page
// shows (PageListItems), fields hold text, and every control the rules touch is remembered, so
// a test can see that a rule kept to its own page.
#include "editor/PageLists.h"
#include "editor/ProfilePage.h"

#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace pellucor::editor::test {

class TablePage final : public PageControls {
public:
    int position(std::string_view list) const override
    {
        const auto found = positions_.find(std::string(list));
        return found == positions_.end() ? -1 : found->second;
    }
    std::string text(std::string_view control) const override
    {
        const ValueList items = PageListItems(control);
        if (!items.empty()) {
            const int at = position(control);
            return at >= 0 ? std::string(items[static_cast<std::size_t>(at)]) : std::string{};
        }
        const auto found = texts_.find(std::string(control));
        return found == texts_.end() ? std::string{} : found->second;
    }
    void select(std::string_view list, int position) override
    {
        const int count = static_cast<int>(listItems(list).size());
        touched_.insert(std::string(list));
        positions_[std::string(list)] = position >= 0 && position < count ? position : -1;
    }
    void setText(std::string_view field, const std::string& text) override
    {
        touched_.insert(std::string(field));
        texts_[std::string(field)] = text;
    }
    void setEnabled(std::string_view control, bool enabled) override
    {
        touched_.insert(std::string(control));
        enabled_[std::string(control)] = enabled;
    }
    void setVisible(std::string_view control, bool visible) override
    {
        touched_.insert(std::string(control));
        visible_[std::string(control)] = visible;
    }

    // Selects the entry with this text, as a user would; the text must be one of the list's.
    void choose(std::string_view list, std::string_view entry)
    {
        const int at = ExactIndex(listItems(list), entry);
        if (at < 0) throw std::invalid_argument(std::string(list) + " has no " + std::string(entry));
        positions_[std::string(list)] = at;
    }
    void type(std::string_view field, const std::string& text) { texts_[std::string(field)] = text; }

    bool enabled(const std::string& control) const { return enabled_.at(control); }
    bool visible(const std::string& control) const { return visible_.at(control); }
    bool hasVisibility(const std::string& control) const { return visible_.count(control) != 0; }
    const std::set<std::string>& touched() const { return touched_; }

private:
    static ValueList listItems(std::string_view list)
    {
        const ValueList items = PageListItems(list);
        if (items.empty()) throw std::invalid_argument(std::string(list) + " is no list");
        return items;
    }

    std::map<std::string, int> positions_;
    std::map<std::string, std::string> texts_;
    std::map<std::string, bool> enabled_;
    std::map<std::string, bool> visible_;
    std::set<std::string> touched_;
};

} // namespace pellucor::editor::test
