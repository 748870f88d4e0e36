// Fuzz target: the ".reg" text of the registry hive (platform/RegFile.h).
//
// Any bytes are either refused with a reason or give a hive whose written text reads back to the
// same keys and values, and reads back again to the same text. The read-back matters as much as
// not crashing: the store writes what it parsed, and a text that did not read back would be moved
// aside as a bad hive at the next start, taking the user's settings with it. A value formatted
// anew, as a save formats a changed value, must read back as itself for the same reason.
#include "FuzzSupport.h"

#include "platform/RegFile.h"

#include <cstdint>
#include <string>

using namespace pellucor::platform::regfile;
using pellucor::fuzz::AsText;
using pellucor::fuzz::Shown;

namespace {

std::string Describe(const RegValue& v) {
    return "type " + std::to_string(v.type) + (v.quoted ? " quoted" : "") + ", " +
           std::to_string(v.data.size()) + " bytes " +
           Shown(std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size()), 60);
}

bool SameValue(const RegValue& a, const RegValue& b) {
    return a.type == b.type && a.quoted == b.quoted && a.data == b.data;
}

void CheckSameHive(const Hive& first, const Hive& again, const std::string& text) {
    FUZZ_CHECK(first.sections.size() == again.sections.size(),
               "the written text has " + std::to_string(again.sections.size()) + " keys instead of " +
                   std::to_string(first.sections.size()) + ": " + Shown(text));
    for (std::size_t s = 0; s < first.sections.size(); ++s) {
        const Section& a = first.sections[s];
        const Section& b = again.sections[s];
        FUZZ_CHECK(a.path == b.path, "key " + Shown(a.path) + " reads back as " + Shown(b.path));
        std::size_t ia = 0, ib = 0;
        // Raw lines may be regrouped (blank lines are dropped), values must match one to one.
        for (;;) {
            while (ia < a.entries.size() && !a.entries[ia].isValue) ++ia;
            while (ib < b.entries.size() && !b.entries[ib].isValue) ++ib;
            if (ia == a.entries.size() || ib == b.entries.size()) break;
            const Entry& ea = a.entries[ia++];
            const Entry& eb = b.entries[ib++];
            FUZZ_CHECK(ea.name == eb.name && SameValue(ea.value, eb.value),
                       "in key " + Shown(a.path) + " value " + Shown(ea.name) + " (" + Describe(ea.value) +
                           ") reads back as " + Shown(eb.name) + " (" + Describe(eb.value) + ")");
        }
        FUZZ_CHECK(ia == a.entries.size() && ib == b.entries.size(),
                   "key " + Shown(a.path) + " reads back with a different number of values");
    }
}

void CheckFormattedValue(const Section& section, const Entry& entry) {
    std::string text(kHeader);
    text += "\n\n[" + section.path + "]\n";
    for (const std::string& line : formatValue(entry.name, entry.value)) text += line + "\n";
    const ParseResult back = parse(text);
    FUZZ_CHECK(back.hive, "a formatted value does not parse (" + back.error + "): " + Shown(text));
    const Section* s = back.hive->findSection(section.path);
    FUZZ_CHECK(s != nullptr, "a formatted value lost its key: " + Shown(text));
    const Entry* e = findValue(*s, entry.name);
    FUZZ_CHECK(e != nullptr, "a formatted value lost its name: " + Shown(text));
    FUZZ_CHECK(SameValue(entry.value, e->value),
               "value " + Shown(entry.name) + " (" + Describe(entry.value) + ") formatted as " + Shown(text) +
                   " reads back as " + Describe(e->value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Hives are a few kilobytes; longer inputs only slow the search down.
    if (size > 64 * 1024) return 0;
    const ParseResult first = parse(AsText(data, size));
    if (!first.hive) {
        FUZZ_CHECK(!first.error.empty(), "a hive was refused without a reason");
        return 0;
    }
    const std::string text = serialize(*first.hive);
    const ParseResult again = parse(text);
    FUZZ_CHECK(again.hive, "the written hive does not parse (" + again.error + "): " + Shown(text, 400));
    CheckSameHive(*first.hive, *again.hive, text);
    FUZZ_CHECK(serialize(*again.hive) == text, "writing the hive twice gives two texts: " + Shown(text, 400));

    for (const Section& section : first.hive->sections) {
        FUZZ_CHECK(first.hive->keyExists(section.path), "listed key " + Shown(section.path) + " does not exist");
        for (const Entry& entry : section.entries) {
            if (!entry.isValue) continue;
            CheckFormattedValue(section, entry);
            // Text kept as UTF-16 goes to UTF-8 and back without change the second time round.
            if ((entry.value.type == 1 || entry.value.type == 2) && !entry.value.quoted) {
                const std::string once = utf16leToUtf8(entry.value.data);
                const std::string twice = utf16leToUtf8(utf16leWithNul(once));
                FUZZ_CHECK(once == twice, "UTF-16 text " + Shown(once) + " comes back as " + Shown(twice));
            }
        }
    }
    return 0;
}
