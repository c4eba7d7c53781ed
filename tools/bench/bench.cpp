// Prints one table: each figure is the median of repeated runs, beside a baseline measured in
// the same run on the same machine.
#include "app/frmMain.h"
#include "measure.h"
#include "pages.h"
#include "platform/core/caption.h"
#include "platform/core/grid.h"
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
#include <QHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStringDecoder>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
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
};

// Median wall time and peak memory of each command as a whole process, start to end. The
// commands take turns, so a slower spell of the machine falls on all of them alike.
std::vector<Run> processRuns(const std::vector<Command>& commands, int samples) {
    QTemporaryDir dir; // the program writes options.opt where it starts
    std::vector<std::vector<double>> times(commands.size());
    std::vector<std::vector<qint64>> peaks(commands.size());
    for (int i = 0; i < samples; ++i) {
        for (std::size_t c = 0; c < commands.size(); ++c) {
            QProcess process;
            process.setWorkingDirectory(dir.path());
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

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const QByteArray sample = samplePageBytes();
    const QByteArray big = mebibytePage(sample);
    const QByteArray bigUtf8 = asUtf8(big);
    const QString sampleText = rates::decodepage(sample, {});
    const QString bigText = rates::decodepage(big, {});

    std::printf("Kursove benchmarks: %s, %d logical cores, Qt %s, %s\n",
                qPrintable(QSysInfo::prettyProductName()), QThread::idealThreadCount(), qVersion(),
                qPrintable(QSysInfo::buildAbi()));
    std::printf("Each figure is a median; ratio = figure / baseline.\n\n");
    std::printf("| %-44s | %-16s | %-16s | %-5s | %-22s |\n", "what", "figure", "baseline", "ratio",
                "target");
    std::printf("|%s|%s|%s|%s|%s|\n", QByteArray(46, '-').constData(),
                QByteArray(18, '-').constData(), QByteArray(18, '-').constData(),
                QByteArray(7, '-').constData(), QByteArray(24, '-').constData());

    row("extraction, sample page (6.5 KB), vs bare scan",
        mbPerSecond(sample.size(), extractNs(sampleText, 15, 2000)),
        mbPerSecond(sample.size(), scanNs(sampleText, 15, 2000)), "MB/s", "");
    row("extraction, 1 MiB page, vs bare scan", mbPerSecond(big.size(), extractNs(bigText, 15, 20)),
        mbPerSecond(big.size(), scanNs(bigText, 15, 20)), "MB/s", ">= 1024 MB/s");

    QStringDecoder cp1251("windows-1251");
    volatile qsizetype sink = 0;
    row("decoding windows-1251, 1 MiB, vs plain decoder",
        mbPerSecond(big.size(),
                    medianNs(15, 10, [&] { sink = rates::decodepage(big, {}).size(); })),
        mbPerSecond(big.size(),
                    medianNs(15, 10, [&] { sink = QString(cp1251.decode(big)).size(); })),
        "MB/s", "");
    const QByteArray utf8Type = "text/html; charset=utf-8";
    row("decoding UTF-8, 1 MiB, vs QString::fromUtf8",
        mbPerSecond(bigUtf8.size(),
                    medianNs(15, 10, [&] { sink = rates::decodepage(bigUtf8, utf8Type).size(); })),
        mbPerSecond(bigUtf8.size(),
                    medianNs(15, 10, [&] { sink = QString::fromUtf8(bigUtf8).size(); })),
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
    const double refreshNs = medianNs(51, 1, [&] { window.btnRefresh_Click(); });
    QNetworkAccessManager manager;
    const double plainNs = medianNs(51, 1, [&] {
        std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(QUrl(address))));
        QEventLoop loop;
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        sink = reply->readAll().size();
    });
    row("refresh, click to filled grid, vs plain fetch", refreshNs / 1e6, plainNs / 1e6, "ms",
        "<= 1.3x, < 5 ms");
    // The grid measures a cell's text only when it changed: a refresh that brings new rates
    // for every cell (the first of the day) measures all 168 again.
    QByteArray changed = sample;
    changed.replace('.', ',');
    bool flip = false;
    const double newValuesNs = medianNs(51, 1, [&] {
        flip = !flip;
        server.config().page = flip ? changed : sample;
        window.btnRefresh_Click();
    });
    row("refresh, every value changed, vs plain fetch", newValuesNs / 1e6, plainNs / 1e6, "ms",
        "(for comparison)");

    // Start-up against the same window written plainly in Qt, in the face the program picks,
    // and against one empty window, which never starts the font system.
    const std::vector<Run> runs =
        processRuns({{QStringLiteral(STARTPROBE), {}},
                     {QStringLiteral(STARTBASELINE),
                      {QStringLiteral("--plain"), platform::msSansSerif(9.75).family()}},
                     {QStringLiteral(STARTBASELINE), {}}},
                    31);
    const Run& program = runs[0];
    const Run& plain = runs[1];
    const Run& empty = runs[2];
    row("start-up to window shown, vs plain window", program.ms, plain.ms, "ms", "<= 1.10x");
    row("peak memory at start-up, vs plain window", static_cast<double>(program.peakKiB) / 1024.0,
        static_cast<double>(plain.peakKiB) / 1024.0, "MiB", "<= 1.10x");
    row("start-up, vs empty window", program.ms, empty.ms, "ms", "(for comparison)");
    row("peak memory, vs empty window", static_cast<double>(program.peakKiB) / 1024.0,
        static_cast<double>(empty.peakKiB) / 1024.0, "MiB", "(for comparison)");
    std::fflush(stdout);
    std::_Exit(0); // the window and server need no orderly teardown here
}
