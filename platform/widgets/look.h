#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

namespace platform {

// The program's look: layouts are laid out in twips, 15 to a pixel at 96 dots per inch.
QColor teal();
void paintBackground(QWidget& widget, const QColor& colour);
// "MS Sans Serif" where it exists; otherwise a near sans serif face that has Cyrillic.
QFont msSansSerif(double points, bool bold = false);
int twips(int value);
QRect twipsRect(int left, int top, int width, int height);
// The program's dialogs: a title, a close box and no resizing, the size in twips, the 8.25-point
// face and the teal backdrop.
void setUpDialog(QWidget& dialog, const QString& title, int width, int height);

} // namespace platform
