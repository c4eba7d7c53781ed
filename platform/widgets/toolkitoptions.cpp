#include "platform/widgets/toolkitoptions.h"

#include <QtGlobal>
#include <array>

namespace platform {

namespace {

constexpr std::array Options {
    ToolkitOption{"style", "стил", "Облик на прозорците (напр. fusion)."},
        ToolkitOption{"stylesheet", "файл", "Файл с таблица на стиловете."},
        ToolkitOption{"widgetcount", nullptr, "Отчита на изхода броя на елементите."},
        ToolkitOption{"reverse", nullptr, "Подрежда прозорците отдясно наляво."},
        ToolkitOption{"qmljsdebugger", "порт", "Включва отстраняването на грешки в QML."},
        ToolkitOption{"platform", "име", "Приставка за прозоречната система (напр. offscreen)."},
        ToolkitOption{"platformpluginpath", "папка",
                      "Папка с приставките за прозоречната система."},
        ToolkitOption{"platformtheme", "тема", "Тема на прозоречната система."},
        ToolkitOption{"plugin", "приставка", "Зарежда допълнителна приставка."},
        ToolkitOption{"qwindowgeometry", "геометрия", "Размер и място на главния прозорец."},
        ToolkitOption{"qwindowicon", "икона", "Икона на главния прозорец."},
        ToolkitOption{"qwindowtitle", "заглавие", "Заглавие на главния прозорец."},
        ToolkitOption{"session", "сесия", "Възстановява посочената сесия."},
        ToolkitOption{"testability", nullptr, "Зарежда библиотеката за автоматични проверки."},
#if defined(Q_OS_WIN)
        ToolkitOption{"dialogs", "xp|none", "Вид на стандартните диалози."},
        ToolkitOption{"fontengine", "freetype", "Механизъм за изобразяване на шрифтовете."},
        ToolkitOption{"darkmode", "0|1|2", "Тъмен режим на Windows."},
#elif defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        ToolkitOption{"display", "дисплей", "Дисплеят на X11 (напр. :0)."},
        ToolkitOption{"geometry", "геометрия", "Размер и място на главния прозорец (X11)."},
        ToolkitOption{"title", "заглавие", "Заглавие на главния прозорец (X11)."},
        ToolkitOption{"name", "име", "Име на програмата за X11."},
        ToolkitOption{"sync", nullptr, "Синхронен обмен с X11."},
        ToolkitOption{"nograb", nullptr, "Не задържа мишката и клавиатурата."},
        ToolkitOption{"dograb", nullptr, "Задържа мишката и клавиатурата и под дебъгер."},
#endif
};

} // namespace

std::span<const ToolkitOption> toolkitOptions() {
    return Options;
}

} // namespace platform
