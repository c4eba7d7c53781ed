#include "platform/widgets/look.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace platform {

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr double BaseDpi = 96.0;

double dpiScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() / BaseDpi : 1.0;
}

// Chosen once: asking the font system to fall back from a missing family costs far more at
// start-up than looking the families up.
const QString& sansSerifFamily() {
    static const QString family = [] {
        // The layout's own face first, then faces of about its width (Arial's metrics), so the
        // grid fits without scrolling; the wider DejaVu Sans last, which widens the window.
        // The installed families as they are named, without asking the font system to resolve
        // each candidate as an alias (which costs a substitution apiece).
        const QStringList installed = QFontDatabase::families();
        for (const char* candidate :
             {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans", "Arimo",
              "Nimbus Sans", "FreeSans", "DejaVu Sans Condensed", "DejaVu Sans"}) {
            if (installed.contains(QLatin1String(candidate), Qt::CaseInsensitive))
                return QString::fromLatin1(candidate);
        }
        return QFont().family();
    }();
    return family;
}

} // namespace

QColor teal() {
    return {0, 192, 192};
}

void paintBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QFont msSansSerif(double points, bool bold) {
    QFont font(sansSerifFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

int twips(int value) {
    return static_cast<int>(std::lround(value / TwipsPerPixel * dpiScale()));
}

QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

void setUpDialog(QWidget& dialog, const QString& title, int width, int height) {
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    dialog.setFixedSize(twips(width), twips(height));
    dialog.setFont(msSansSerif(8.25));
    paintBackground(dialog, teal());
}

} // namespace platform
