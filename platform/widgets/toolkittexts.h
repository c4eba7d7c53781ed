#pragma once

namespace platform {

// The texts Qt draws itself (a text box's right-click menu, for one) in Bulgarian, as every
// other text of the program is. Qt's own translation is used where the system has it: in a
// "translations" folder beside the program (as the Windows zip carries it), or where Qt keeps
// its translations. Without it those texts stay in English. Needs the application object.
void useBulgarianToolkitTexts();

} // namespace platform
