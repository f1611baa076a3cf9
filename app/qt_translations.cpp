#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

QStringList qtTranslationFolders(const QString& programFolder) {
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath), programFolder + "/translations"};
}

bool installQtTranslations(QCoreApplication& application, const QStringList& folders) {
    auto* translator = new QTranslator(&application);
    for (const QString& folder : folders) {
        if (translator->load("qtbase_pt_BR", folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

} // namespace app
