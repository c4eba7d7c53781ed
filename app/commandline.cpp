#include "app/commandline.h"

#include "platform/core/console.h"
#include "platform/widgets/toolkitoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>

namespace app {

namespace {

constexpr int UsageError = 2;

// An option as the program takes it: its name without dashes, whether a value follows it, and
// whether that value may also come after an equals sign.
struct Known {
    QString name;
    bool takesValue = false;
    bool joinable = true;
};

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
        for (const char* name : {"h", "help", "?", "help-all", "v", "version"})
            known.append({QString::fromLatin1(name)});
        if (!knowsToolkitOptions)
            return;
        for (const platform::ToolkitOption& option : platform::toolkitOptions()) {
            QCommandLineOption hidden(QString::fromLatin1(option.name));
            if (option.valueName != nullptr)
                hidden.setValueName(QString::fromUtf8(option.valueName));
            hidden.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(hidden);
            known.append(
                {hidden.names().constFirst(), option.valueName != nullptr, option.joinedValue});
        }
    }
    // Qt's usage line names the program by the path it was started with.
    [[nodiscard]] QString helpText() const {
        const QString started = QCoreApplication::arguments().constFirst();
        return parser.helpText().replace(started, QCoreApplication::applicationName());
    }
    // What is wrong with the first argument that cannot be taken, naming it as it was typed;
    // empty when all can be. Qt takes a value after an equals sign for a few of its options
    // only, and the parser would take it for all.
    [[nodiscard]] QString problem(const QStringList& arguments) const {
        for (qsizetype i = 1; i < arguments.size(); ++i) {
            const QString& argument = arguments.at(i);
            if (argument == QStringLiteral("--") && i + 1 < arguments.size())
                return QStringLiteral("неочакван аргумент „%1“").arg(arguments.at(i + 1));
            if (argument == QStringLiteral("--"))
                break;
            if (!argument.startsWith(u'-') || argument.size() == 1)
                return QStringLiteral("неочакван аргумент „%1“").arg(argument);
            const QString word = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
            const qsizetype equals = word.indexOf(u'=');
            const auto option = std::find_if(known.begin(), known.end(), [&](const Known& k) {
                return k.name == word.left(equals);
            });
            if (option == known.end() || (equals >= 0 && option->takesValue && !option->joinable))
                return QStringLiteral("непозната опция „%1“").arg(argument);
            if (equals >= 0 && !option->takesValue)
                return QStringLiteral("опцията „%1“ не приема стойност").arg(argument);
            if (option->takesValue && equals < 0 && ++i == arguments.size())
                return QStringLiteral("опцията „%1“ иска стойност").arg(argument);
        }
        return {};
    }
    QCommandLineParser parser;
    QList<Known> known;
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

// One line on standard error, pointing to --help, and the status of a wrong command line.
int refuse(const QString& problem) {
    const QString name = QCoreApplication::applicationName();
    static_cast<void>(platform::printText(
        stderr, QStringLiteral("%1: %2. Вижте „%1 --help“.\n").arg(name, problem)));
    return UsageError;
}

// Status 0 once the answer is written; a full disk is a failure.
int answer(const QString& text) {
    return platform::printText(stdout, text) ? 0 : EXIT_FAILURE;
}

} // namespace

std::optional<int> checkBeforeToolkit(const QStringList& arguments) {
    Parser p(true);
    if (const QString problem = p.problem(arguments); !problem.isEmpty())
        return refuse(problem);
    if (!p.parser.parse(arguments)) // not expected once the arguments passed the check above
        return refuse(p.parser.errorText());
    if (p.parser.isSet(QStringLiteral("help-all")))
        return answer(p.helpText() + toolkitHelp());
    if (p.parser.isSet(QStringLiteral("help")))
        return answer(p.helpText());
    if (p.parser.isSet(QStringLiteral("version")))
        return answer(QCoreApplication::applicationName() + u' ' +
                      QCoreApplication::applicationVersion() + u'\n');
    return std::nullopt;
}

std::optional<int> refuseLeftOver(const QStringList& arguments) {
    if (const QString problem = Parser(false).problem(arguments); !problem.isEmpty())
        return refuse(problem);
    return std::nullopt;
}

} // namespace app
