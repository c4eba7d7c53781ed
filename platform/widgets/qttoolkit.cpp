#include "platform/widgets/qttoolkit.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

namespace platform {

void QtToolkit::MsgBox(QWidget* owner, const QString& prompt, const QString& title) {
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK")); // not Qt's translation of it
    box.exec();
}

void QtToolkit::DoEvents() {
    QApplication::processEvents();
}

void QtToolkit::End(int status) {
    std::fflush(nullptr);
    // What the person copied must outlive the program. The toolkit hands the clipboard over
    // to the desktop (X11's clipboard manager; Windows' OleFlushClipboard) only as its
    // application object goes, so that goes first, and only when the clipboard is ours.
    if (QGuiApplication::clipboard()->ownsClipboard())
        delete qApp;
    std::_Exit(status);
}

} // namespace platform
