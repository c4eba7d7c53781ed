#pragma once

class QMenuBar;
class QWidget;

namespace platform {

// F10 takes the keyboard to the menu bar as a lone Alt does, as on Windows: the first menu is
// highlighted and nothing opens; Left and Right move, Enter, Down or Up open what is
// highlighted, Escape or F10 again leave. Qt's own keyboard handling of the bar does it, the
// same on every system; it depends on the style's Alt navigation, which a style without it
// gets on this bar alone.
void addMenuKey(QMenuBar& bar, QWidget& window);

} // namespace platform
