#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace app {

namespace {

constexpr int UsageError = 2;

struct Parser {
    Parser() {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(QStringLiteral(
            "Показва официалните курсове на чуждестранните валути към българския лев."));
        parser.addHelpOption();
        parser.addVersionOption();
    }
    QCommandLineParser parser;
};

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

std::optional<int> answerHelpOrVersion(const QStringList& arguments) {
    Parser p;
    // The toolkit's options are not known yet: they do not stop --help from being answered.
    p.parser.parse(arguments);
    if (p.parser.isSet(QStringLiteral("help")) || p.parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, p.parser.helpText());
        return 0;
    }
    if (p.parser.isSet(QStringLiteral("version"))) {
        print(stdout, QCoreApplication::applicationName() + u' ' +
                          QCoreApplication::applicationVersion() + u'\n');
        return 0;
    }
    return std::nullopt;
}

std::optional<int> refuseLeftOver(const QStringList& arguments) {
    Parser p;
    const QString name = QCoreApplication::applicationName() + QStringLiteral(": ");
    if (!p.parser.parse(arguments)) {
        print(stderr, name + p.parser.errorText() + u'\n');
        return UsageError;
    }
    if (!p.parser.positionalArguments().isEmpty()) {
        print(stderr, name + QStringLiteral("unexpected argument '") +
                          p.parser.positionalArguments().constFirst() + QStringLiteral("'\n"));
        return UsageError;
    }
    return std::nullopt;
}

} // namespace app
