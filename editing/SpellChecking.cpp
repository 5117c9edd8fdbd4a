// Spell-checking in the editing areas (see SpellChecking.h).
#include "editing/SpellChecking.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QWebEngineProfile>

namespace scribvane {

QStringList InstalledSpellCheckLanguages() {
    QStringList folders;
    const QString fromEnvironment = qEnvironmentVariable("QTWEBENGINE_DICTIONARIES_PATH");
    if (!fromEnvironment.isEmpty()) {
        folders << fromEnvironment; // the engine then looks nowhere else
    } else {
        folders << QCoreApplication::applicationDirPath() +
                       QStringLiteral("/qtwebengine_dictionaries")
                << QLibraryInfo::path(QLibraryInfo::DataPath) +
                       QStringLiteral("/qtwebengine_dictionaries");
    }
    QStringList languages;
    for (const QString& folder : folders) {
        for (const QString& file :
             QDir(folder).entryList({QStringLiteral("*.bdic")}, QDir::Files)) {
            const QString language = file.chopped(5);
            if (!languages.contains(language)) {
                languages << language;
            }
        }
    }
    languages.sort();
    return languages;
}

QString ChooseSpellCheckLanguage(const QString& localeName, const QStringList& installed) {
    // "de_AT.UTF-8@euro" -> "de-AT"
    QString wanted = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    wanted.replace(QLatin1Char('_'), QLatin1Char('-'));
    const QString language = wanted.section(QLatin1Char('-'), 0, 0);
    for (const QString& candidate : installed) {
        if (candidate.compare(wanted, Qt::CaseInsensitive) == 0) {
            return candidate;
        }
    }
    QStringList sameLanguage;
    for (const QString& candidate : installed) {
        if (!language.isEmpty() &&
            candidate.section(QLatin1Char('-'), 0, 0).compare(language, Qt::CaseInsensitive) == 0) {
            sameLanguage << candidate;
        }
    }
    if (!sameLanguage.isEmpty()) {
        sameLanguage.sort();
        return sameLanguage.constFirst();
    }
    const QString fallback = QStringLiteral("en-US");
    return installed.contains(fallback) ? fallback : QString();
}

void EnableSpellChecking(QWebEngineProfile& profile) {
    const QString language =
        ChooseSpellCheckLanguage(QLocale::system().name(), InstalledSpellCheckLanguages());
    if (language.isEmpty()) {
        return;
    }
    profile.setSpellCheckLanguages({language});
    profile.setSpellCheckEnabled(true);
}

} // namespace scribvane
