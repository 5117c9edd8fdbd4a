// Reading and setting controls as single-byte text; see ControlText.h.
#include "widgets/ControlText.h"

#include "utils/Win1252.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace scribvane {

std::string MemoText(const QPlainTextEdit& memo) {
    // The raw text keeps no-break spaces, which the plain text turns into blanks. Paragraphs
    // are separated by U+2029 and Shift+Enter puts U+2028 in a line: both are line breaks.
    QString text = memo.document()->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
    text.replace(QChar(QChar::LineSeparator), QStringLiteral("\r\n"));
    return AnsiOf(text);
}

void SetMemoText(QPlainTextEdit& memo, std::string_view ansi) {
    QString text = QStringOfAnsi(ansi);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memo.setPlainText(text);
}

} // namespace scribvane
