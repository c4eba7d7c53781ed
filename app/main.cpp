#include "app/commandline.h"
#include "app/frmMain.h"
#include "app/startup.h"
#include "platform/qtshellopen.h"
#include "platform/qttoolkit.h"
#include "platform/toolkittexts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("kursove"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KURSOVE_VERSION));
    if (argc > 1) {
        // Answered before the window system is reached, so --help needs no display.
        const QCoreApplication arguments(argc, argv);
        if (const auto status = app::answerHelpOrVersion(QCoreApplication::arguments()))
            return *status;
    }
    QApplication application(argc, argv); // takes the toolkit's own options out of argv
    if (const auto status = app::refuseLeftOver(QCoreApplication::arguments()))
        return *status;
    platform::useBulgarianToolkitTexts();

    platform::QtToolkit toolkit;
    platform::QtShellOpen shell;
    app::frmMain frmMain(toolkit, shell);
    app::startup(frmMain);
    return QApplication::exec();
}
