// Scripts run on an editing area's document the way a user's action would act on it, and the
// fragment saving keeps of a document, for the tests of the editing areas.
#pragma once

#include "editing/HtmlEditor.h"
#include "utils/TextHelpers.h"
#include "utils/Win1252.h"

#include <QString>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace scribvane::testing {

inline constexpr int kScriptTimeoutMs = 60000;

// Runs the script in the page's own world and waits for its answer.
inline QVariant RunScript(HtmlEditor& editor, const QString& script) {
    bool done = false;
    QVariant result;
    editor.view()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                         [&](const QVariant& value) {
                                             result = value;
                                             done = true;
                                         });
    if (!QTest::qWaitFor([&] { return done; }, kScriptTimeoutMs)) {
        qWarning("script gave no answer");
    }
    return result;
}

// What saving keeps: Windows-1252 text without the wrapper, line breaks and space pairs.
inline QString Stored(const QString& document) {
    return QString::fromStdU16String(
        AnsiToUtf16(StripEditorDocument(Utf16ToAnsi(document.toStdU16String()))));
}

} // namespace scribvane::testing
