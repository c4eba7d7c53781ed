#include "platform/widgets/toolkittexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

void useBulgarianToolkitTexts() {
    QCoreApplication* application = QCoreApplication::instance();
    auto* translator = new QTranslator(application);
    const QString name = QStringLiteral("qtbase_bg");
    for (const QString& folder :
         {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(name, folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

} // namespace platform
