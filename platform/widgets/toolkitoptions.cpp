#include "platform/widgets/toolkitoptions.h"

#include <QtGlobal>
#include <array>

namespace platform {

namespace {

constexpr std::array Options {
    ToolkitOption{"style", "стил", "Облик на прозорците (напр. fusion).", true},
        ToolkitOption{"stylesheet", "файл", "Файл с таблица на стиловете.", true},
        ToolkitOption{"widgetcount", nullptr, "Отчита на изхода броя на елементите."},
        ToolkitOption{"reverse", nullptr, "Подрежда прозорците отдясно наляво."},
        ToolkitOption{"qmljsdebugger", "порт", "Включва отстраняването на грешки в QML.", true},
        ToolkitOption{"platform", "име", "Прозоречна система, напр. offscreen."},
        ToolkitOption{"platformpluginpath", "папка",
                      "Папка с приставките за прозоречната система."},
        ToolkitOption{"platformtheme", "тема", "Тема на прозоречната система."},
        ToolkitOption{"plugin", "приставка", "Зарежда допълнителна приставка."},
        ToolkitOption{"qwindowgeometry", "геометрия", "Размер и място на главния прозорец."},
        ToolkitOption{"qwindowicon", "икона", "Икона на главния прозорец."},
        ToolkitOption{"qwindowtitle", "заглавие", "Заглавие на главния прозорец."},
        ToolkitOption{"session", "сесия", "Възстановява посочената сесия."},
        ToolkitOption{"testability", nullptr, "Зарежда библиотеката за автоматични проверки."},
// Taken by the X11 platform plugin (title, icon and geometry only when it is the default one);
// on Windows that plugin's settings go after -platform (windows:darkmode=1).
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        ToolkitOption{"display", "дисплей", "Дисплеят на X11 (напр. :0)."},
        ToolkitOption{"name", "име", "Име на програмата за X11."},
        ToolkitOption{"geometry", "геометрия", "Размер и място на главния прозорец."},
        ToolkitOption{"title", "заглавие", "Заглавие на главния прозорец."},
        ToolkitOption{"icon", "икона", "Икона на главния прозорец."},
        ToolkitOption{"visual", "номер", "Изгледът на X11, който да се ползва."},
        ToolkitOption{"nograb", nullptr, "Не задържа мишката и клавиатурата."},
        ToolkitOption{"dograb", nullptr, "Задържа мишката и клавиатурата и под дебъгер."},
#endif
};

} // namespace

std::span<const ToolkitOption> toolkitOptions() {
    return Options;
}

} // namespace platform
