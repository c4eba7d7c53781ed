// The yardsticks for the program's start: a window shown the same way as the program's, then
// ended. Without arguments it is one empty main window. With --plain FAMILY it is the program's
// main window written plainly in Qt: the menu, the four labels and the button in FAMILY (the
// face the program picks), the 30 by 6 grid with its headers, the backdrop colour, at the
// layout's places; no options file, no icon, no logic. It links Qt Network, as any window
// that fetches a page must; --fetch ADDRESS then fetches once, bare, after the window shows.
// Built a second time without Qt Network, for comparison.
#include "tools/bench/memory.h"
#include "tools/bench/shown.h"

#include <QApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <cstdio>
#include <kursove/version.h>
#include <memory>
#ifndef KURSOVE_BASELINE_WITHOUT_NETWORK
#include <QNetworkAccessManager>
#include <QNetworkReply>
#endif

namespace {

QFont face(const QString& family, double points, bool bold = false) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void buildPlain(QMainWindow& window, const QString& family) {
    window.setWindowTitle(
        QStringLiteral("Валутни курсове на ЗВТ v%1 KS").arg(kursove::ShortVersion));
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Меню"));
    menu->addAction(QStringLiteral("Настройки"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Изход"));
    window.menuBar()->addAction(QStringLiteral("За програмата"));

    auto* client = new QWidget(&window);
    client->setFixedSize(654, 377);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(0, 192, 192));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);

    auto* grid = new QTableWidget(30, 6, client);
    grid->setFont(face(family, 9.75));
    grid->setHorizontalHeaderLabels({QStringLiteral("Валути                                   "),
                                     QStringLiteral("Код   "), QStringLiteral("За единици валута "),
                                     QStringLiteral("Лева (BGN) "), QStringLiteral("За 1 лев  "),
                                     QStringLiteral("Обратен курс     ")});
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    grid->setGeometry(8, 40, 625, 297);

    const auto label = [&](const QString& text, QRect place, double points, bool bold) {
        auto* shown = new QLabel(text, client);
        shown->setFont(face(family, points, bold));
        shown->setGeometry(place);
    };
    label(QStringLiteral("Дата:"), {104, 8, 57, 25}, 13.5, true);
    label(QStringLiteral("-"), {168, 8, 137, 25}, 13.5, false);
    label(QStringLiteral("1 USD ="), {392, 8, 73, 25}, 12, true);
    label(QStringLiteral("ЛВ"), {464, 8, 89, 25}, 12, true);
    auto* button = new QPushButton(QStringLiteral("Обнови"), client);
    button->setFont(face(family, 9.75));
    button->setGeometry(16, 344, 105, 25);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    const QStringList arguments = QCoreApplication::arguments();
    if (const qsizetype plain = arguments.indexOf(QStringLiteral("--plain"));
        plain > 0 && plain + 1 < arguments.size())
        buildPlain(window, arguments.at(plain + 1));
    window.show();
#ifndef KURSOVE_BASELINE_WITHOUT_NETWORK
    // --fetch ADDRESS: then a bare fetch of the page, as a start that refreshes makes one.
    if (const qsizetype fetch = arguments.indexOf(QStringLiteral("--fetch"));
        fetch > 0 && fetch + 1 < arguments.size()) {
        QNetworkAccessManager manager;
        std::unique_ptr<QNetworkReply> reply(
            manager.get(QNetworkRequest(QUrl(arguments.at(fetch + 1)))));
        QEventLoop loop;
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        if (reply->readAll().isEmpty())
            return 1;
    }
#endif
    const ExitOnceShown end(window);
    const int result = QApplication::exec();
    std::printf("peak %lld\n", static_cast<long long>(bench::peakResidentKiB()));
    return result;
}
