#pragma once

#include "app/frmMain.h"

namespace app {

// The program's start: the main window loads (which may already show it and refresh), then
// it is shown if loading has not done so.
inline void startup(frmMain& window) {
    window.Form_Load();
    if (!window.isVisible())
        window.show();
}

} // namespace app
