#include "platform/widgets/menukey.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleFactory>

namespace platform {

namespace {

// The application's style, with Alt navigation of the menu bar.
class AltNavigation final : public QProxyStyle {
public:
    AltNavigation() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

void addMenuKey(QMenuBar& bar, QWidget& window) {
    if (bar.style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, &bar) == 0) {
        auto* style = new AltNavigation;
        style->setParent(&window); // outlives the bar, which does not own its style
        bar.setStyle(style);
    }
    auto* key = new QAction(&window);
    key->setShortcut(QKeySequence(Qt::Key_F10));
    window.addAction(key);
    QObject::connect(key, &QAction::triggered, &bar, [&bar] {
        // What a lone Alt sends: its press (which the application first offers as a shortcut
        // override, the event the bar watches its window for) and its release.
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent alt(type, Qt::Key_Alt,
                          type == QEvent::KeyPress ? Qt::AltModifier : Qt::NoModifier);
            QCoreApplication::sendEvent(bar.window(), &alt);
        }
    });
}

} // namespace platform
