#pragma once
// Which File and Action menu entries are on, by page mode and by batch run state. The form
// copies a MenuStates onto its actions; keeping the tables here lets them be checked without a
// window.
namespace pellucor::app {

struct MenuStates {
    bool add = false;          // File > Add
    bool addFolder = false;    // File > Add Folder
    bool selectAll = false;    // File > Select All
    bool remove = false;       // File > Remove
    bool clear = false;        // File > Clear
    bool format = false;       // Action > Format
    bool convert = false;      // Action > Convert
    bool stopConvert = false;  // Action > Stop Converter
    bool hotDir = false;       // Action > Hot Directories Mode
    bool returnMode = false;   // Action > Turn to Batch Mode

    friend bool operator==(const MenuStates&, const MenuStates&) = default;
};

// The states after a change of mode (0 Mode page, 1 batch, 2 hot directory); hasRows: the file
// list holds at least one row. An unknown mode switches everything off.
MenuStates MenuStatesFor(int mode, bool hasRows);

// The states a batch run sets when it starts (running) and when it stops or ends (idle).
MenuStates RunMenuStates(bool running);

} // namespace pellucor::app
