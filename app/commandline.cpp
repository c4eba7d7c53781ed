#include "app/commandline.h"

#include "platform/core/console.h"
#include "platform/widgets/toolkitoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace app {

namespace {

constexpr int UsageError = 2;

struct Parser {
    // Before the application object has taken Qt's own options they must be recognised here;
    // after, whatever is left is the program's alone.
    explicit Parser(bool knowsToolkitOptions) {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(QStringLiteral(
            "Показва официалните курсове на чуждестранните валути към българския лев."));
        // Qt's own help options, with texts its Bulgarian translation lacks.
        parser.addOption({{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                          QStringLiteral("Показва тази помощ.")});
        parser.addOption(
            {QStringLiteral("help-all"), QStringLiteral("Показва помощта и опциите на Qt.")});
        parser.addVersionOption();
        if (!knowsToolkitOptions)
            return;
        for (const platform::ToolkitOption& known : platform::toolkitOptions()) {
            QCommandLineOption option(QString::fromLatin1(known.name));
            if (known.valueName != nullptr)
                option.setValueName(QString::fromUtf8(known.valueName));
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    }
    // Qt's usage line names the program by the path it was started with.
    [[nodiscard]] QString helpText() const {
        const QString started = QCoreApplication::arguments().constFirst();
        return parser.helpText().replace(started, QCoreApplication::applicationName());
    }
    QCommandLineParser parser;
};

// Qt's options as Qt writes them, with one dash.
QString toolkitHelp() {
    QString text = QStringLiteral("\nОпции на Qt:\n");
    for (const platform::ToolkitOption& known : platform::toolkitOptions()) {
        QString option = u'-' + QString::fromLatin1(known.name);
        if (known.valueName != nullptr)
            option += QStringLiteral(" <%1>").arg(QString::fromUtf8(known.valueName));
        text +=
            QStringLiteral("  %1  %2\n").arg(option, -30).arg(QString::fromUtf8(known.description));
    }
    return text;
}

// One line on standard error and the status of a wrong command line.
int refuse(const Parser& p) {
    const QString name = QCoreApplication::applicationName() + QStringLiteral(": ");
    const QString why = p.parser.positionalArguments().isEmpty()
                            ? p.parser.errorText()
                            : QStringLiteral("неочакван аргумент „%1“.")
                                  .arg(p.parser.positionalArguments().constFirst());
    platform::printText(stderr, name + why + u'\n');
    return UsageError;
}

} // namespace

std::optional<int> checkBeforeToolkit(const QStringList& arguments) {
    Parser p(true);
    const bool parsed = p.parser.parse(arguments);
    if (p.parser.isSet(QStringLiteral("help-all"))) {
        platform::printText(stdout, p.helpText() + toolkitHelp());
        return 0;
    }
    if (p.parser.isSet(QStringLiteral("help"))) {
        platform::printText(stdout, p.helpText());
        return 0;
    }
    if (p.parser.isSet(QStringLiteral("version"))) {
        platform::printText(stdout, QCoreApplication::applicationName() + u' ' +
                                        QCoreApplication::applicationVersion() + u'\n');
        return 0;
    }
    if (!parsed || !p.parser.positionalArguments().isEmpty())
        return refuse(p);
    return std::nullopt;
}

std::optional<int> refuseLeftOver(const QStringList& arguments) {
    Parser p(false);
    if (!p.parser.parse(arguments) || !p.parser.positionalArguments().isEmpty())
        return refuse(p);
    return std::nullopt;
}

} // namespace app
