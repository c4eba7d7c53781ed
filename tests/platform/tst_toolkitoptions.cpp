// Qt's own options as the program knows them before the toolkit starts must be what Qt really
// takes: an option listed but not taken would be let through and then refused after all; one
// taken but not listed would be refused without a display although Qt would take it.
// Run once offscreen and once on an X display: the X11 plugin's options are taken only there.
#include "platform/widgets/toolkitoptions.h"

#include <QApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QSet>
#include <cstdio>
#include <vector>

namespace {

// A harmless value for each option that takes one.
QByteArray valueFor(const QByteArray& name) {
    const QHash<QByteArray, QByteArray> values{
        {"style", "fusion"},
        {"platformpluginpath",
         QLibraryInfo::path(QLibraryInfo::PluginsPath).toLocal8Bit() + "/platforms"},
        {"qwindowgeometry", "200x100+10+10"},
        {"geometry", "200x100+10+10"},
        {"display", qgetenv("DISPLAY")},
        {"visual", "none"},
        {"qmljsdebugger", "port:0,block"}};
    return values.value(name, "kursove-test");
}

} // namespace

int main(int argc, char* argv[]) {
    const QByteArray platform = argc > 1 ? argv[1] : "offscreen";
    std::vector<QByteArray> words{"tst_toolkitoptions", "-platform", platform};
    QSet<QString> listed;
    // A value goes after an equals sign where Qt is said to take it so, and otherwise both as
    // the next word and after an equals sign, which Qt must then leave behind.
    QSet<QString> joinedLeft;
    for (const platform::ToolkitOption& option : platform::toolkitOptions()) {
        const QByteArray name(option.name);
        const bool takesValue = option.valueName != nullptr;
        listed.insert(QString::fromLatin1(name));
        if (takesValue)
            words.push_back('-' + name + '=' + valueFor(name));
        if (takesValue && !option.joinedValue)
            joinedLeft.insert(QString::fromLatin1(name + '='));
        if ((!takesValue || !option.joinedValue) && name != "platform")
            words.push_back('-' + name);
        if (takesValue && !option.joinedValue && name != "platform")
            words.push_back(valueFor(name));
    }
    std::vector<char*> args;
    args.reserve(words.size() + 1);
    for (QByteArray& word : words)
        args.push_back(word.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    const QApplication application(count, args.data());

    // Offscreen, the X11 plugin's own options stay behind; on X11 nothing does.
    const QSet<QString> x11Only{"display", "name",   "geometry", "title",
                                "icon",    "visual", "nograb",   "dograb"};
    QSet<QString> left;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        if (argument.startsWith(u'-'))
            left.insert(argument.mid(1).section(u'=', 0, 0) + (argument.contains(u'=') ? "=" : ""));
    }
    const QSet<QString> expected =
        (platform == "xcb" ? QSet<QString>{} : (x11Only & listed)) | joinedLeft;
    if (left != expected) {
        std::fprintf(stderr, "FAIL: Qt left %s, expected %s\n",
                     qPrintable(QStringList(left.values()).join(u' ')),
                     qPrintable(QStringList(expected.values()).join(u' ')));
        return 1;
    }
    if (!listed.contains(QStringLiteral("style")) || !listed.contains(QStringLiteral("reverse"))) {
        std::fputs("FAIL: the list lacks Qt's everyday options\n", stderr);
        return 1;
    }
    std::printf("PASS: %lld options taken on %s\n", static_cast<long long>(listed.size()),
                platform.constData());
    return 0;
}
