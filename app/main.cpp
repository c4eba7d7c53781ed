#include "app/frmMain.h"
#include "app/startup.h"
#include "platform/qtshellopen.h"
#include "platform/qttoolkit.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kursove"));

    platform::QtToolkit toolkit;
    platform::QtShellOpen shell;
    app::frmMain frmMain(toolkit, shell);
    app::startup(frmMain);
    return QApplication::exec();
}
