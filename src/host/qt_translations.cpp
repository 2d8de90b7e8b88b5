#include "host/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator* installQtTranslations(QCoreApplication& app)
{
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    // Dates, numbers and the dialogs' own locale follow the window's language.
    QLocale::setDefault(chinese);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* base = new QTranslator(&app);
    if (!base->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        delete base;
        return nullptr;
    }
    QCoreApplication::installTranslator(base);
    return base;
}
