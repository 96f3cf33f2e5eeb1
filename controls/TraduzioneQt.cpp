#include "controls/TraduzioneQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool CaricaTraduzioneQt(QCoreApplication& app) {
    auto* traduzione = new QTranslator(&app);
    if (!traduzione->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traduzione;
        return false;
    }
    return app.installTranslator(traduzione);
}
