#pragma once

#include "app/frmMain.h"
#include "platform/widgets/toolkittexts.h"

namespace app {

// The program's start: Qt's own texts in Bulgarian, then the main window loads (which may
// already show it and refresh), and it is shown if loading has not done so.
inline void startup(frmMain& window) {
    platform::useBulgarianToolkitTexts();
    window.Form_Load();
    if (!window.isVisible())
        window.show();
}

} // namespace app
