#include "app/commandline.h"
#include "app/frmMain.h"
#include "app/startup.h"
#include "platform/core/console.h"
#include "platform/core/windowsystemstart.h"
#include "platform/widgets/qtshellopen.h"
#include "platform/widgets/qttoolkit.h"
#include "platform/widgets/toolkittexts.h"

#include <QApplication>
#include <kursove/version.h>
#include <memory>

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("kursove"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kursove::Version));
    if (argc > 1) {
        platform::useParentConsole(); // from a command prompt on Windows, answered there
        // Answered before the window system is reached, so --help needs no display; in
        // Bulgarian, with Qt's own texts of the command line.
        const QCoreApplication arguments(argc, argv);
        platform::useBulgarianToolkitTexts();
        if (const auto status = app::checkBeforeToolkit(QCoreApplication::arguments()))
            return *status;
    }
    // Takes the toolkit's own options out of argv. On the heap: the end of the program deletes
    // it early to hand the clipboard over (platform::QtToolkit::End), then ends at once.
    std::unique_ptr<QApplication> application;
    {
        const platform::WindowSystemStart start;
        application = std::make_unique<QApplication>(argc, argv);
    }
    if (const auto status = app::refuseLeftOver(QCoreApplication::arguments()))
        return *status;

    platform::QtToolkit toolkit;
    platform::QtShellOpen shell;
    app::frmMain frmMain(toolkit, shell);
    app::startup(frmMain);
    return QApplication::exec();
}
