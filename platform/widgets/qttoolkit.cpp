#include "platform/widgets/qttoolkit.h"

#include <QCoreApplication>
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
    QCoreApplication::processEvents();
}

void QtToolkit::End(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace platform
