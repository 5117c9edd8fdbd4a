// Spell-checking in the editing areas: the browser engine's own checker with the Hunspell
// dictionaries that the build converts into the qtwebengine_dictionaries folder beside the
// program. The language is the user's, when a dictionary of it is there, else US English.
#pragma once

#include <QString>
#include <QStringList>

class QWebEngineProfile;

namespace scribvane {

// The languages ("en-US", "de-DE", ...) whose dictionaries the engine finds: in the folder
// QTWEBENGINE_DICTIONARIES_PATH names when it is set, else beside the program and in Qt's own
// data folder.
QStringList InstalledSpellCheckLanguages();

// The dictionary for a locale name ("de_AT", "fr_FR.UTF-8", "C"): the locale's own, else one of
// its language (the first in sorted order), else US English. Empty when none of these is
// installed.
QString ChooseSpellCheckLanguage(const QString& localeName, const QStringList& installed);

// Switches the profile's checker on in the user's language; leaves it off when there is no
// dictionary to check with.
void EnableSpellChecking(QWebEngineProfile& profile);

} // namespace scribvane
