#include "app/MenuStates.h"

namespace pellucor::app {

MenuStates MenuStatesFor(int mode, bool hasRows) {
    MenuStates s;
    switch (mode) {
    case 0:
        s.hotDir = true;
        s.returnMode = true;
        break;
    case 1:
        s.add = s.addFolder = true;
        s.selectAll = s.remove = s.clear = hasRows;
        s.format = true;
        s.convert = hasRows;
        s.hotDir = true;
        break;
    case 2:
        s.format = true;
        s.returnMode = true;
        break;
    default:
        break;
    }
    return s;
}

MenuStates RunMenuStates(bool running) {
    MenuStates s;
    s.add = s.addFolder = true;
    s.selectAll = s.remove = s.clear = !running;
    s.format = !running;
    s.convert = !running;
    s.stopConvert = running;
    s.hotDir = !running;
    s.returnMode = false;
    return s;
}

} // namespace pellucor::app
