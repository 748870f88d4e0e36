#include "settings/uBaseSettings.h"

#include "platform/Registry.h"

#include <array>
#include <charconv>
#include <iostream>
#include <typeinfo>

namespace pellucor {

namespace {

const std::array<PublishedPropertyInfo, 4> kBaseProperties = {
    publish("Name", &TBaseSettings::Name),
    publish("Tag", &TBaseSettings::Tag),
    publish("AutoLoad", &TBaseSettings::AutoLoad),
    publish("RegistryKey", &TBaseSettings::RegistryKey),
};

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

template <class T>
T& member(TBaseSettings& object, const PublishedPropertyInfo& info)
{
    return object.*std::get<T TBaseSettings::*>(info.member);
}

template <class T>
const T& member(const TBaseSettings& object, const PublishedPropertyInfo& info)
{
    return object.*std::get<T TBaseSettings::*>(info.member);
}

} // namespace

std::string_view kindName(PropertyKind kind)
{
    switch (kind) {
    case PropertyKind::String: return "String";
    case PropertyKind::Integer: return "Integer";
    case PropertyKind::Boolean: return "Boolean";
    }
    return "?";
}

TBaseSettings::TBaseSettings()
    : HivePath(platform::defaultHivePath()),
      ExcludedProperties{"RegistryKey", "AutoLoad", "Name", "Tag"}
{
}

TBaseSettings::~TBaseSettings()
{
    saveOnDestroy();
}

void TBaseSettings::saveOnDestroy() noexcept
{
    if (destroySaveDone_) return;
    destroySaveDone_ = true;
    if (!AutoLoad) return;
    try {
        SaveSettings();
    } catch (const std::exception& e) {
        std::cerr << "Pellucor: the settings could not be saved: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "Pellucor: the settings could not be saved." << std::endl;
    }
}

void TBaseSettings::Assign(const TBaseSettings& source)
{
    // Copying from another settings class would match properties by name by accident; the
    // framework refuses that, and so do we. A bare TBaseSettings takes from any settings object.
    if (typeid(source) != typeid(*this) && typeid(*this) != typeid(TBaseSettings))
        throw std::invalid_argument("Cannot assign a " + std::string(source.ClassName()) + " to a "
                                    + std::string(ClassName()));
    if (&source == this) return;
    for (int p = 0; p < source.PublishedPropertyCount(); ++p) {
        const PublishedPropertyInfo& from = source.PublishedProperty(p);
        if (equalsNoCase(from.name, "Name")) continue;
        const std::optional<int> target = FindPublishedProperty(from.name);
        if (!target) continue;
        const PublishedPropertyInfo& to = PublishedProperty(*target);
        if (to.kind != from.kind) continue;
        switch (from.kind) {
        case PropertyKind::String: member<std::string>(*this, to) = member<std::string>(source, from); break;
        case PropertyKind::Integer: member<std::int32_t>(*this, to) = member<std::int32_t>(source, from); break;
        case PropertyKind::Boolean: member<bool>(*this, to) = member<bool>(source, from); break;
        }
    }
}

std::vector<std::string> TBaseSettings::Loaded()
{
    return AutoLoad ? LoadSettings() : std::vector<std::string>{};
}

void TBaseSettings::SaveSettings()
{
    if (RegistryKey.empty()) return;
    platform::RegistryKey key(HivePath);
    key.openKey(RegistryKey, true);  // not tested: a key that cannot be opened fails the first write
    for (int p = 0; p < PublishedPropertyCount(); ++p) {
        const PublishedPropertyInfo& info = PublishedProperty(p);
        if (IsExcluded(info.name)) continue;
        const std::string name(info.name);
        switch (info.kind) {
        case PropertyKind::String: key.writeString(name, member<std::string>(*this, info)); break;
        case PropertyKind::Integer: key.writeInteger(name, member<std::int32_t>(*this, info)); break;
        case PropertyKind::Boolean: key.writeInteger(name, member<bool>(*this, info) ? 1 : 0); break;
        }
    }
    key.closeKey();
}

std::vector<std::string> TBaseSettings::LoadSettings()
{
    std::vector<std::string> messages;
    if (RegistryKey.empty()) return messages;
    platform::RegistryKey key(HivePath);
    key.openKey(RegistryKey, true);
    for (int p = 0; p < PublishedPropertyCount(); ++p) {
        const PublishedPropertyInfo& info = PublishedProperty(p);
        const std::string name(info.name);
        if (IsExcluded(name) || !key.valueExists(name)) continue;
        try {
            switch (info.kind) {
            case PropertyKind::String: member<std::string>(*this, info) = key.readString(name); break;
            case PropertyKind::Integer: member<std::int32_t>(*this, info) = key.readInteger(name); break;
            // Only 0 and 1 are ever written; any other number is a hand edit meaning "on".
            case PropertyKind::Boolean: member<bool>(*this, info) = key.readInteger(name) != 0; break;
            }
        } catch (const platform::RegistryError& e) {
            messages.emplace_back(e.what());  // the property keeps its value; the load goes on
        }
    }
    key.closeKey();
    return messages;
}

int TBaseSettings::PublishedPropertyCount() const
{
    return static_cast<int>(kBaseProperties.size() + ownProperties().size());
}

const PublishedPropertyInfo& TBaseSettings::PublishedProperty(int position) const
{
    if (position < 0 || position >= PublishedPropertyCount())
        throw std::out_of_range("no published property at position " + std::to_string(position));
    const auto base = static_cast<int>(kBaseProperties.size());
    return position < base ? kBaseProperties[static_cast<std::size_t>(position)]
                           : ownProperties()[static_cast<std::size_t>(position - base)];
}

std::string_view TBaseSettings::PublishedPropertyName(int position) const
{
    return PublishedProperty(position).name;
}

std::optional<int> TBaseSettings::FindPublishedProperty(std::string_view name) const
{
    for (int p = 0; p < PublishedPropertyCount(); ++p)
        if (equalsNoCase(PublishedProperty(p).name, name)) return p;
    return std::nullopt;
}

bool TBaseSettings::IsExcluded(std::string_view name) const
{
    for (const std::string& excluded : ExcludedProperties)
        if (equalsNoCase(excluded, name)) return true;
    return false;
}

std::string TBaseSettings::propertyText(int position) const
{
    const PublishedPropertyInfo& info = PublishedProperty(position);
    switch (info.kind) {
    case PropertyKind::String: return member<std::string>(*this, info);
    case PropertyKind::Integer: return std::to_string(member<std::int32_t>(*this, info));
    case PropertyKind::Boolean: return member<bool>(*this, info) ? "true" : "false";
    }
    return {};
}

void TBaseSettings::setPropertyText(int position, const std::string& text)
{
    const PublishedPropertyInfo& info = PublishedProperty(position);
    switch (info.kind) {
    case PropertyKind::String:
        member<std::string>(*this, info) = text;
        return;
    case PropertyKind::Integer: {
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
        std::int32_t value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()
            || (text.size() > 1 && text[0] == '+' && text[1] == '-'))
            throw PropertyValueError("'" + text + "' is not a valid integer value");
        member<std::int32_t>(*this, info) = value;
        return;
    }
    case PropertyKind::Boolean:
        if (equalsNoCase(text, "true") || text == "1") member<bool>(*this, info) = true;
        else if (equalsNoCase(text, "false") || text == "0") member<bool>(*this, info) = false;
        else throw PropertyValueError("'" + text + "' is not a valid Boolean value (true, false, 1 or 0)");
        return;
    }
}

} // namespace pellucor
