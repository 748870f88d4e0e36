// The menu tables, entry by entry, as the design lays them out (rows = entries, columns =
// modes), so a slip in either the mode table or the run table shows the entry's name.
#include "app/MenuStates.h"

#include <gtest/gtest.h>

namespace pellucor::app {
namespace {

enum Cell { Off, On, L };  // L: on exactly when the list has rows

struct EntryRow {
    const char* entry;
    bool MenuStates::*field;
    Cell mode[3];
};

const EntryRow kModeTable[] = {
    {"File > Add", &MenuStates::add, {Off, On, Off}},
    {"File > Add Folder", &MenuStates::addFolder, {Off, On, Off}},
    {"File > Select All", &MenuStates::selectAll, {Off, L, Off}},
    {"File > Remove", &MenuStates::remove, {Off, L, Off}},
    {"File > Clear", &MenuStates::clear, {Off, L, Off}},
    {"Action > Format", &MenuStates::format, {Off, On, On}},
    {"Action > Convert", &MenuStates::convert, {Off, L, Off}},
    {"Action > Stop Converter", &MenuStates::stopConvert, {Off, Off, Off}},
    {"Action > Hot Directories Mode", &MenuStates::hotDir, {On, On, Off}},
    {"Action > Turn to Batch Mode", &MenuStates::returnMode, {On, Off, On}},
};

TEST(MenuStatesFor, EveryEntryInEveryModeWithAndWithoutRows) {
    for (const EntryRow& row : kModeTable) {
        for (int mode = 0; mode < 3; ++mode) {
            for (bool hasRows : {false, true}) {
                const bool expected = row.mode[mode] == On || (row.mode[mode] == L && hasRows);
                EXPECT_EQ(MenuStatesFor(mode, hasRows).*row.field, expected)
                    << row.entry << ", mode " << mode << (hasRows ? ", rows" : ", empty list");
            }
        }
    }
}

TEST(MenuStatesFor, AnUnknownModeSwitchesEverythingOff) {
    EXPECT_EQ(MenuStatesFor(3, true), MenuStates{});
    EXPECT_EQ(MenuStatesFor(-1, true), MenuStates{});
}

TEST(RunMenuStates, RunningAndIdleColumns) {
    const struct {
        const char* entry;
        bool MenuStates::*field;
        bool running, idle;
    } rows[] = {
        {"File > Add", &MenuStates::add, true, true},
        {"File > Add Folder", &MenuStates::addFolder, true, true},
        {"File > Select All", &MenuStates::selectAll, false, true},
        {"File > Remove", &MenuStates::remove, false, true},
        {"File > Clear", &MenuStates::clear, false, true},
        {"Action > Format", &MenuStates::format, false, true},
        {"Action > Convert", &MenuStates::convert, false, true},
        {"Action > Stop Converter", &MenuStates::stopConvert, true, false},
        {"Action > Hot Directories Mode", &MenuStates::hotDir, false, true},
        {"Action > Turn to Batch Mode", &MenuStates::returnMode, false, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(RunMenuStates(true).*r.field, r.running) << r.entry << ", running";
        EXPECT_EQ(RunMenuStates(false).*r.field, r.idle) << r.entry << ", idle";
    }
}

} // namespace
} // namespace pellucor::app
