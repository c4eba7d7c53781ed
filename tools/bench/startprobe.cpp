// Starts the program exactly as main() does, then ends once the main window is shown (and,
// when options.opt asks for a refresh at start, filled) and prints its peak memory.
#include "app/frmMain.h"
#include "app/startup.h"
#include "platform/widgets/qtshellopen.h"
#include "platform/widgets/qttoolkit.h"
#include "tools/bench/memory.h"
#include "tools/bench/shown.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    platform::QtToolkit toolkit;
    platform::QtShellOpen shell;
    app::frmMain frmMain(toolkit, shell);
    // --url ADDRESS: the page comes from there (a sample server), for a start that refreshes.
    const QStringList arguments = QCoreApplication::arguments();
    if (const qsizetype url = arguments.indexOf(QStringLiteral("--url"));
        url > 0 && url + 1 < arguments.size())
        frmMain.Inet1().setURL(arguments.at(url + 1));
    app::startup(frmMain);
    const ExitOnceShown end(frmMain);
    const int result = QApplication::exec();
    std::printf("peak %lld\n", static_cast<long long>(bench::peakResidentKiB()));
    return result;
}
