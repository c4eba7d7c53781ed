#include "platform/widgets/qttoolkit.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#ifdef Q_OS_WIN
#include <ole2.h>
#endif

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
    // What the person copied must outlive the program: the clipboard, when it is ours, is
    // handed over first. Windows keeps only what is rendered into it (OleFlushClipboard);
    // X11's clipboard manager is asked to take it by the toolkit only as its application
    // object goes, so that goes.
    if (QGuiApplication::clipboard()->ownsClipboard()) {
#ifdef Q_OS_WIN
        OleFlushClipboard();
#else
        delete qApp;
#endif
    }
    std::_Exit(status);
}

} // namespace platform
