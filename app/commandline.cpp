#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace app {

namespace {

constexpr int UsageError = 2;

// Options the toolkit takes itself (QGuiApplication, QApplication and X11), hidden from --help.
void allowToolkitOptions(QCommandLineParser& parser) {
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "display", "geometry",
          "qmljsdebugger", "visual", "ncols", "cmap", "name", "title"}) {
        QCommandLineOption option(QString::fromLatin1(name), {}, QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

std::optional<int> answerCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Показва официалните курсове на чуждестранните валути към българския лев."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    allowToolkitOptions(parser);

    const QString name = QCoreApplication::applicationName();
    if (!parser.parse(arguments)) {
        print(stderr, name + QStringLiteral(": ") + parser.errorText() + u'\n');
        return UsageError;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, name + QStringLiteral(": unexpected argument '") +
                          parser.positionalArguments().constFirst() + QStringLiteral("'\n"));
        return UsageError;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, name + u' ' + QCoreApplication::applicationVersion() + u'\n');
        return 0;
    }
    return std::nullopt;
}

} // namespace app
