#pragma once
// TBaseSettings: a settings object that keeps itself in the current user's registry.
//
// It knows no particular setting. A concrete class lists its published properties (plain public
// data members) in a table of descriptors; the base walks "Name", "Tag", "AutoLoad",
// "RegistryKey" and then that table, and turns each property into one registry value of the same
// name under RegistryKey: String as REG_SZ, Integer and Boolean as REG_DWORD.
//
// Loading goes on past a value it cannot read: the value keeps what it had, the registry layer's
// message is collected, and the next property is loaded. Stopping at the first bad value (as a
// plain "raise on error" load would) leaves every later property at its default, and the save at
// exit would then write those defaults over the user's stored values.
//
// Threads: the main thread only; there is no lock.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pellucor {

enum class PropertyKind { String, Integer, Boolean };

// "String", "Integer", "Boolean".
std::string_view kindName(PropertyKind kind);

class TBaseSettings;

// One published property: its name, its kind and the data member that holds it. Members of a
// derived class are reached through TBaseSettings member pointers (static_cast from the derived
// class's pointer, valid because every object walked is of that derived class).
struct PublishedPropertyInfo {
    using Member = std::variant<std::string TBaseSettings::*, std::int32_t TBaseSettings::*,
                                bool TBaseSettings::*>;
    std::string_view name;
    PropertyKind kind;
    Member member;
};

template <class Owner>
PublishedPropertyInfo publish(std::string_view name, std::string Owner::*m)
{
    return {name, PropertyKind::String, static_cast<std::string TBaseSettings::*>(m)};
}
template <class Owner>
PublishedPropertyInfo publish(std::string_view name, std::int32_t Owner::*m)
{
    return {name, PropertyKind::Integer, static_cast<std::int32_t TBaseSettings::*>(m)};
}
template <class Owner>
PublishedPropertyInfo publish(std::string_view name, bool Owner::*m)
{
    return {name, PropertyKind::Boolean, static_cast<bool TBaseSettings::*>(m)};
}

// A property value as text could not be taken (see setPropertyText).
class PropertyValueError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class TBaseSettings {
public:
    // Published properties of the base, in declaration order after the component's Name and Tag.
    std::string Name;
    std::int32_t Tag = 0;
    bool AutoLoad = true;     // destroying the object saves it
    std::string RegistryKey;  // below HKEY_CURRENT_USER; empty: loading and saving do nothing

    // The hive file used by SaveSettings and LoadSettings: the user's hive, a temporary one in tests.
    std::filesystem::path HivePath;

    TBaseSettings();
    // Saves when AutoLoad is true; a failure goes to standard error, never out of here.
    virtual ~TBaseSettings();
    TBaseSettings(const TBaseSettings&) = delete;
    TBaseSettings& operator=(const TBaseSettings&) = delete;

    // Copies the published properties of source (of this object's own class) except Name; Tag,
    // AutoLoad and RegistryKey are copied too. Another class: std::invalid_argument.
    virtual void Assign(const TBaseSettings& source);
    // After restoring from a stream: loads when AutoLoad is true. Returns the load's messages.
    virtual std::vector<std::string> Loaded();
    // Writes every persisted property. Throws platform::RegistryError
    // ("Failed to set data for '<name>'") when the hive cannot be written.
    virtual void SaveSettings();
    // Reads every persisted property that has a stored value. Returns one message per value that
    // could not be read ("Invalid data type for '<name>'", "Failed to get data for '<name>'").
    virtual std::vector<std::string> LoadSettings();

    // The published-property enumeration: positions 0 Name, 1 Tag, 2 AutoLoad, 3 RegistryKey,
    // then the concrete class's properties in declaration order.
    int PublishedPropertyCount() const;
    std::string_view PublishedPropertyName(int position) const;  // std::out_of_range outside
    const PublishedPropertyInfo& PublishedProperty(int position) const;
    // Position of a property by name, ignoring ASCII case; nullopt when there is none.
    std::optional<int> FindPublishedProperty(std::string_view name) const;
    bool IsExcluded(std::string_view name) const;
    virtual std::string_view ClassName() const { return "TBaseSettings"; }

    // Property values as text, for the command line: String as it is, Integer in decimal,
    // Boolean "true" or "false". setPropertyText takes for an Integer an optional sign and decimal
    // digits within 32 bits, for a Boolean "true", "false", "1" or "0" (any case); anything else
    // raises PropertyValueError with a message naming the text.
    std::string propertyText(int position) const;
    void setPropertyText(int position, const std::string& text);

protected:
    // The concrete class's own published properties, in declaration order.
    virtual std::span<const PublishedPropertyInfo> ownProperties() const { return {}; }
    // A class's destructor calls this before its members go: the save must see the whole object,
    // which the base destructor alone no longer can. Saves at most once.
    void saveOnDestroy() noexcept;

private:
    std::vector<std::string> ExcludedProperties;
    bool destroySaveDone_ = false;
};

} // namespace pellucor
