// One empty main window, shown the same way as the program's, then ended. With --label the
// window shows one line of text, which is what brings in the font system.
#include "tools/bench/memory.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    if (QCoreApplication::arguments().contains(QStringLiteral("--label")))
        window.setCentralWidget(new QLabel(QStringLiteral("Валутни курсове"), &window));
    window.show();
    // exit(), not quit(): quit() closes the windows, and closing the main window ends the
    // program before it could report.
    QTimer::singleShot(0, &application, [] { QCoreApplication::exit(0); });
    const int result = QApplication::exec();
    std::printf("peak %lld\n", static_cast<long long>(bench::peakResidentKiB()));
    return result;
}
