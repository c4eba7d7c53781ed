// Prints one table: each figure is the median of repeated runs, beside a baseline measured in
// the same run on the same machine.
#include "app/frmMain.h"
#include "measure.h"
#include "pages.h"
#include "platform/core/caption.h"
#include "platform/core/grid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/look.h"
#include "platform/widgets/qtshellopen.h"
#include "platform/widgets/qttoolkit.h"
#include "rates/address.h"
#include "rates/decodepage.h"
#include "rates/parsepage.h"
#include "rates/printinfo.h"
#include "tools/sampleserver/sampleserver.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QHeaderView>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStringDecoder>
#include <QSysInfo>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr double MiB = 1024.0 * 1024.0;

void row(const char* what, double figure, double baseline, const char* unit, const char* target) {
    std::printf("| %-44s | %10.2f %-5s | %10.2f %-5s | %5.2f | %-22s |\n", what, figure, unit,
                baseline, unit, baseline != 0 ? figure / baseline : 0.0, target);
}

double mbPerSecond(qsizetype bytes, double ns) {
    return static_cast<double>(bytes) / MiB / (ns / 1e9);
}

// Where the extraction writes when no window is measured: the cells and labels kept in memory.
class TableGrid final : public platform::Grid {
public:
    void setTextMatrix(int row, int col, const QString& text) override {
        cells_[{row, col}] = text;
    }
    [[nodiscard]] QString TextMatrix(int row, int col) const override {
        return cells_.value({row, col});
    }

private:
    QHash<QPair<int, int>, QString> cells_;
};

class TextCaption final : public platform::Caption {
public:
    void setCaption(const QString& text) override { text_ = text; }

private:
    QString text_;
};

// The refresh written plainly in Qt: the same extraction, each cell a new item in a
// QTableWidget, then resizeColumnsToContents.
class PlainTable final : public platform::Grid {
public:
    explicit PlainTable(QTableWidget& table) : table_(table) {}
    void setTextMatrix(int row, int col, const QString& text) override {
        if (row == 0)
            table_.setHorizontalHeaderItem(col, new QTableWidgetItem(text));
        else
            table_.setItem(row - 1, col, new QTableWidgetItem(text));
    }
    [[nodiscard]] QString TextMatrix(int row, int col) const override {
        const QTableWidgetItem* cell =
            row == 0 ? table_.horizontalHeaderItem(col) : table_.item(row - 1, col);
        return cell != nullptr ? cell->text() : QString();
    }

private:
    QTableWidget& table_;
};

QByteArray fetched(QNetworkAccessManager& manager, const QString& address, QByteArray* type) {
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(QUrl(address))));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    if (type != nullptr)
        *type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    return reply->readAll();
}

// How many runs a median is taken over: KURSOVE_BENCH_ROUNDS, when set, caps each count (a
// quick run that only shows the table still works).
int rounds(int usual) {
    const int cap = qEnvironmentVariableIntValue("KURSOVE_BENCH_ROUNDS");
    return cap > 0 ? std::min(usual, cap) : usual;
}

double extractNs(const QString& text, int samples, int repeat) {
    rates::Cells cells;
    TableGrid grid;
    TextCaption date;
    TextCaption usd;
    return medianNs(samples, repeat, [&] {
        rates::parsepage(text, cells);
        rates::printinfo(cells, grid, date, usd);
    });
}

// The least a pass over the text can cost: find every mark, append nothing.
double scanNs(const QString& text, int samples, int repeat) {
    volatile qsizetype sink = 0;
    return medianNs(samples, repeat, [&] {
        sink = std::count_if(text.cbegin(), text.cend(),
                             [](QChar c) { return c == u'<' || c == u'>'; });
    });
}

struct Run {
    double ms = 0;
    qint64 peakKiB = 0;
};

struct Command {
    QString program;
    QStringList arguments;
    QByteArray optionsFile; // options.opt in the folder it starts in, if any
    // Where it starts: an X display of the run's own where Xvfb is there, as a person's
    // desktop starts the program (on X11 Qt does more when a window shows); offscreen otherwise.
    QProcessEnvironment environment;
};

// Median wall time and peak memory of each command as a whole process, start to end. The
// commands take turns, so a slower spell of the machine falls on all of them alike.
std::vector<Run> processRuns(const std::vector<Command>& commands, int samples) {
    // Each command starts in a folder of its own, where the program reads options.opt.
    std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    for (const Command& command : commands) {
        dirs.push_back(std::make_unique<QTemporaryDir>());
        if (!command.optionsFile.isEmpty()) {
            QFile file(dirs.back()->filePath(QStringLiteral("options.opt")));
            if (!file.open(QIODevice::WriteOnly) || file.write(command.optionsFile) < 0)
                qFatal("cannot write options.opt");
        }
    }
    std::vector<std::vector<double>> times(commands.size());
    std::vector<std::vector<qint64>> peaks(commands.size());
    for (int i = 0; i < samples; ++i) {
        for (std::size_t c = 0; c < commands.size(); ++c) {
            QProcess process;
            process.setProcessEnvironment(commands[c].environment);
            process.setWorkingDirectory(dirs[c]->path());
            QElapsedTimer timer;
            timer.start();
            process.start(commands[c].program, commands[c].arguments);
            process.waitForFinished();
            times[c].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            const QByteArray out = process.readAllStandardOutput();
            peaks[c].push_back(out.mid(out.indexOf("peak ") + 5).trimmed().toLongLong());
        }
    }
    std::vector<Run> runs;
    for (std::size_t c = 0; c < commands.size(); ++c) {
        std::sort(times[c].begin(), times[c].end());
        std::sort(peaks[c].begin(), peaks[c].end());
        runs.push_back({times[c][times[c].size() / 2], peaks[c][peaks[c].size() / 2]});
    }
    return runs;
}

// Instructions a command takes to run, counted by callgrind (the same count on a busy machine
// as on an idle one), or -1 where valgrind is missing.
double instructions(const Command& command) {
    QTemporaryDir dir;
    QProcess process;
    process.setProcessEnvironment(command.environment);
    process.setWorkingDirectory(dir.path());
    QStringList arguments{QStringLiteral("--tool=callgrind"),
                          QStringLiteral("--callgrind-out-file=") + dir.filePath("out"),
                          command.program};
    process.start(QStringLiteral("valgrind"), arguments + command.arguments);
    const qint64 pid = process.waitForStarted() ? process.processId() : 0;
    if (!process.waitForFinished(300000) || process.exitCode() != 0)
        return -1;
    // The count of the process itself: on X11 a child it forks reports its own.
    const QByteArray said = process.readAllStandardError();
    const QByteArray mark = "==" + QByteArray::number(pid) + "== Collected : ";
    const qsizetype at = said.indexOf(mark);
    if (at < 0)
        return -1;
    const qsizetype from = at + mark.size();
    return said.mid(from, said.indexOf('\n', from) - from).trimmed().toDouble();
}

// The sample server as a process of its own, so that programs started from here can fetch
// from it while this one waits for them.
struct ServerProcess {
    QProcess process;
    QString address;
    explicit ServerProcess(const QString& page) {
        process.start(
            QStringLiteral(SAMPLESERVER),
            {QStringLiteral("--page"), page, QStringLiteral("--seconds"), QStringLiteral("3600")});
        QByteArray said;
        while (!said.contains('\n') && process.waitForReadyRead(10000))
            said += process.readAllStandardOutput();
        const qsizetype colon = said.lastIndexOf(':');
        if (!said.startsWith("listening on 127.0.0.1:") || colon < 0)
            qFatal("the sample server did not start");
        address = QStringLiteral("http://127.0.0.1:%1%2")
                      .arg(said.mid(colon + 1).trimmed().toInt())
                      .arg(QLatin1String(rates::RatePath));
    }
    ~ServerProcess() { end(); }
    void end() {
        process.kill();
        process.waitForFinished();
    }
    Q_DISABLE_COPY_MOVE(ServerProcess)
};

// One Xvfb for the run's start-ups, ended with the run; the display it chose, or empty where
// Xvfb cannot be started.
struct VirtualScreen {
    QProcess process;
    QByteArray display;
    VirtualScreen() {
        process.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray said;
        while (!said.contains('\n') && process.waitForReadyRead(10000))
            said += process.readAllStandardOutput();
        if (said.contains('\n'))
            display = ':' + said.trimmed();
    }
    ~VirtualScreen() { end(); }
    void end() {
        process.kill();
        process.waitForFinished();
    }
    Q_DISABLE_COPY_MOVE(VirtualScreen)
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    VirtualScreen screen;
    QProcessEnvironment onScreen = QProcessEnvironment::systemEnvironment();
    if (!screen.display.isEmpty()) {
        onScreen.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(screen.display));
        onScreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }

    const QByteArray sample = samplePageBytes();
    const QByteArray big = mebibytePage(sample);
    const QByteArray bigUtf8 = asUtf8(big);
    const QString sampleText = rates::decodepage(sample, {});
    const QString bigText = rates::decodepage(big, {});

    std::printf("Kursove benchmarks: %s, %d logical cores, Qt %s, %s\n",
                qPrintable(QSysInfo::prettyProductName()), QThread::idealThreadCount(), qVersion(),
                qPrintable(QSysInfo::buildAbi()));
    std::printf("Each figure is a median; ratio = figure / baseline. Start-ups on %s.\n\n",
                screen.display.isEmpty() ? "the offscreen platform (no Xvfb here)"
                                         : "X11, on a screen of Xvfb");
    std::printf("| %-44s | %-16s | %-16s | %-5s | %-22s |\n", "what", "figure", "baseline", "ratio",
                "target");
    std::printf("|%s|%s|%s|%s|%s|\n", QByteArray(46, '-').constData(),
                QByteArray(18, '-').constData(), QByteArray(18, '-').constData(),
                QByteArray(7, '-').constData(), QByteArray(24, '-').constData());

    row("extraction, sample page (6.5 KB), vs bare scan",
        mbPerSecond(sample.size(), extractNs(sampleText, rounds(15), 2000)),
        mbPerSecond(sample.size(), scanNs(sampleText, rounds(15), 2000)), "MB/s", "");
    row("extraction, 1 MiB page, vs bare scan",
        mbPerSecond(big.size(), extractNs(bigText, rounds(15), 20)),
        mbPerSecond(big.size(), scanNs(bigText, rounds(15), 20)), "MB/s", ">= 1024 MB/s");

    QStringDecoder cp1251("windows-1251");
    volatile qsizetype sink = 0;
    row("decoding windows-1251, 1 MiB, vs plain decoder",
        mbPerSecond(big.size(),
                    medianNs(rounds(15), 10, [&] { sink = rates::decodepage(big, {}).size(); })),
        mbPerSecond(big.size(),
                    medianNs(rounds(15), 10, [&] { sink = QString(cp1251.decode(big)).size(); })),
        "MB/s", "");
    const QByteArray utf8Type = "text/html; charset=utf-8";
    row("decoding UTF-8, 1 MiB, vs QString::fromUtf8",
        mbPerSecond(
            bigUtf8.size(),
            medianNs(rounds(15), 10, [&] { sink = rates::decodepage(bigUtf8, utf8Type).size(); })),
        mbPerSecond(bigUtf8.size(),
                    medianNs(rounds(15), 10, [&] { sink = QString::fromUtf8(bigUtf8).size(); })),
        "MB/s", "");

    // A refresh from the click to the filled grid, and a plain fetch of the same page.
    sampleserver::Config config;
    config.page = sample;
    sampleserver::SampleServer server(config);
    if (!server.listen())
        qFatal("cannot listen on 127.0.0.1");
    const QString address =
        QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(rates::RatePath);
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    platform::QtToolkit toolkit;
    platform::QtShellOpen shell;
    app::frmMain window(toolkit, shell);
    window.Form_Load();
    window.show();
    window.Inet1().setURL(address);
    const double refreshNs = medianNs(rounds(51), 1, [&] { window.btnRefresh_Click(); });
    QNetworkAccessManager manager;
    const double plainNs =
        medianNs(rounds(51), 1, [&] { sink = fetched(manager, address, nullptr).size(); });
    row("refresh, click to filled grid, vs plain fetch", refreshNs / 1e6, plainNs / 1e6, "ms",
        "<= 1.3x, < 5 ms");
    // A refresh that brings new rates for every cell: the first of each day, and the first of
    // each run, since the grid starts empty.
    QByteArray changed = sample;
    changed.replace('.', ',');
    bool flip = false;
    const double newValuesNs = medianNs(rounds(51), 1, [&] {
        flip = !flip;
        server.config().page = flip ? changed : sample;
        window.btnRefresh_Click();
    });
    row("refresh, every value changed, vs plain fetch", newValuesNs / 1e6, plainNs / 1e6, "ms",
        "<= 1.5x");
    // The same refresh written plainly in Qt, in a window of the same size and face.
    QWidget plainWindow;
    QTableWidget table(window.FG->rowCount(), window.FG->columnCount(), &plainWindow);
    table.verticalHeader()->hide();
    for (int col = 0; col < table.columnCount(); ++col)
        table.setHorizontalHeaderItem(col, window.FG->horizontalHeaderItem(col)->clone());
    table.setFont(platform::msSansSerif(9.75));
    table.setGeometry(window.FG->geometry());
    plainWindow.resize(window.size());
    plainWindow.show();
    PlainTable plainGrid(table);
    rates::Cells plainCells;
    TextCaption plainDate;
    TextCaption plainUsd;
    const double plainRefreshNs = medianNs(rounds(51), 1, [&] {
        flip = !flip;
        server.config().page = flip ? changed : sample;
        QByteArray type;
        const QByteArray page = fetched(manager, address, &type);
        rates::parsepage(rates::decodepage(page, type), plainCells);
        rates::printinfo(plainCells, plainGrid, plainDate, plainUsd);
        table.resizeColumnsToContents();
    });
    row("refresh, every value changed, vs plain Qt", newValuesNs / 1e6, plainRefreshNs / 1e6, "ms",
        "<= 1.0x");

    // Start-up against the same window written plainly in Qt, in the face the program picks,
    // and against one empty window, which never starts the font system. The first refresh of
    // a run: started with refresh at start (from the sample server), to the filled grid,
    // against the plain window followed by a bare fetch.
    ServerProcess pageServer(QStringLiteral(SAMPLE_PAGE));

    const QString family = platform::msSansSerif(9.75).family();
    const Command probe{QStringLiteral(STARTPROBE), {}, {}, onScreen};
    const Command plainWindowStart{
        QStringLiteral(STARTBASELINE), {"--plain", family}, {}, onScreen};
    const Command plainWithoutNetwork{
        QStringLiteral(STARTBASELINE_NONET), {"--plain", family}, {}, onScreen};
    const std::vector<Run> runs = processRuns({probe,
                                               plainWindowStart,
                                               {QStringLiteral(STARTBASELINE), {}, {}, onScreen},
                                               {QStringLiteral(STARTPROBE),
                                                {QStringLiteral("--url"), pageServer.address},
                                                QByteArrayLiteral("0\r\n1\r\n3128\r\n\"\"\r\n"),
                                                onScreen},
                                               {QStringLiteral(STARTBASELINE),
                                                {"--plain", family, "--fetch", pageServer.address},
                                                {},
                                                onScreen}},
                                              rounds(31));
    const Run& program = runs[0];
    const Run& plain = runs[1];
    const Run& empty = runs[2];
    const auto mib = [](const Run& run) {
        return static_cast<double>(run.peakKiB) / 1024.0;
    };
    row("start-up to window shown, vs plain window", program.ms, plain.ms, "ms", "(time)");
    const double programIr = instructions(probe);
    if (programIr > 0) {
        row("start-up in instructions (callgrind), vs plain", programIr / 1e6,
            instructions(plainWindowStart) / 1e6, "M", "<= 1.05x");
        row("  the same, plain window without Qt Network", programIr / 1e6,
            instructions(plainWithoutNetwork) / 1e6, "M", "(for comparison)");
    }
    row("peak memory at start-up, vs plain window", mib(program), mib(plain), "MiB", "<= 1.05x");
    row("first refresh of a run, start to filled grid", runs[3].ms, runs[4].ms, "ms",
        "vs plain window + fetch");
    row("  its peak memory", mib(runs[3]), mib(runs[4]), "MiB", "(for comparison)");
    row("start-up, vs empty window", program.ms, empty.ms, "ms", "(for comparison)");
    row("peak memory, vs empty window", mib(program), mib(empty), "MiB", "(for comparison)");
    pageServer.end();
    screen.end();
    std::fflush(stdout);
    std::_Exit(0); // the window and the in-process server need no orderly teardown here
}
