// One HTML editing area on a browser engine page in design mode (see HtmlEditor.h).
#include "editing/HtmlEditor.h"

#include "editing/DocumentSerializer.h"
#include "editing/PasteCleaner.h"
#include "editing/SpellChecking.h"
#include "utils/TextHelpers.h"
#include "utils/Win1252.h"
#include "widgets/Logging.h"
#include "widgets/QtText.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineContextMenuRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

namespace scribvane {
namespace {

// Every synchronous wait for the engine's answer, counted for the benchmarks.
std::uint64_t roundTrips = 0;

} // namespace

namespace {

// Generous: a read of a document of several megabytes on a busy machine still fits.
constexpr int kAnswerTimeoutMs = 60000;

// The document the area starts from; without a doctype, like the letters it edits. Its base is
// the program folder so that pictures given by a local path show.
const QString kSkeleton =
    QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body></body></html>");

// Scripts of our own run in a world of their own: the document's scripts are switched off, so
// markup loaded from a file can run nothing.
constexpr quint32 kOwnWorld = QWebEngineScript::ApplicationWorld;

// What our own input listener writes to the console to say the user edited the document; the
// document's scripts are off, so nothing else on the page can say it.
const QString kChangedMark = QStringLiteral("scribvane:changed");

// The area shows its own document only: every navigation after the first load is refused
// (links, refresh, dropped files, reload).
class EditorPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

    std::function<void()> onEdited;

    void AllowNavigationUntilLoaded() { allowNavigation_ = true; }
    void EndNavigation() { allowNavigation_ = false; }

protected:
    bool acceptNavigationRequest(const QUrl&, NavigationType, bool isMainFrame) override {
        return isMainFrame && allowNavigation_;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        if (message == kChangedMark && onEdited) {
            onEdited();
        }
    }

private:
    bool allowNavigation_ = false;
};

// Keeps the page local: nothing is fetched from the network while editing (pictures by
// address stay empty in the area; the letter shows them).
class LocalOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QString scheme = info.requestUrl().scheme();
        const bool local = scheme == QLatin1String("file") || scheme == QLatin1String("data") ||
                           scheme == QLatin1String("qrc") || scheme == QLatin1String("blob") ||
                           scheme == QLatin1String("about");
        if (!local) {
            info.block(true);
        }
    }
};

// A JavaScript literal of any text: JSON is valid JavaScript.
QString ScriptLiteral(const QString& text) {
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json) + QStringLiteral("[0]");
}

// The engine's answer, delivered after the waiting loop may already be gone.
struct Answer {
    bool arrived = false;
    QVariant value;
    QEventLoop* loop = nullptr;
};

// How each command takes its value.
enum class ValueKind { None, Color, Size, Name };

struct CommandInfo {
    const char* name;
    ValueKind kind;
    bool onlyWhenEnabled;
};

constexpr CommandInfo kCommands[] = {
    {"Bold", ValueKind::None, false},
    {"Italic", ValueKind::None, false},
    {"Underline", ValueKind::None, false},
    {"Indent", ValueKind::None, false},
    {"Outdent", ValueKind::None, false},
    {"JustifyLeft", ValueKind::None, false},
    {"JustifyCenter", ValueKind::None, false},
    {"JustifyRight", ValueKind::None, false},
    {"JustifyFull", ValueKind::None, false},
    {"InsertOrderedList", ValueKind::None, true},
    {"InsertUnorderedList", ValueKind::None, true},
    {"ForeColor", ValueKind::Color, false},
    {"BackColor", ValueKind::Color, false},
    {"FontName", ValueKind::Name, false},
    {"FontSize", ValueKind::Size, false},
    {"RemoveFormat", ValueKind::None, false},
};

// The link the caret or the selection stands in: its anchor element, or null.
constexpr const char* kAnchorScript =
    "function anchorAtSelection() {"
    "  var s = window.getSelection();"
    "  var n = s.rangeCount ? s.getRangeAt(0).commonAncestorContainer : null;"
    "  while (n && n.nodeName !== 'A') n = n.parentNode;"
    "  return n;"
    "}";

// The commands whose state the toolbar shows as checked buttons.
const QString kStateScript = QStringLiteral(
    "(function () {"
    "  var applying = [];"
    "  ['Bold', 'Italic', 'Underline', 'JustifyLeft', 'JustifyCenter', 'JustifyRight',"
    "   'JustifyFull'].forEach(function (c) {"
    "    try { if (document.queryCommandState(c)) applying.push(c); } catch (e) {}"
    "  });"
    "  return applying;"
    "})()");

// Remembers a caret (no selection) before a command and puts it back afterwards. Making a list
// rebuilds the caret's paragraph inside the new item and leaves the caret at the item's start,
// so what the user types next would land there. The text itself does not change, so the caret
// goes back as many characters after the paragraph's start as it stood before: counted from
// where the command left it, forward through the text, which keeps it in its own paragraph.
// A selection (the command keeps it by itself) and a caret the command did not move back stay
// untouched, so the typing style a command like Bold sets on a caret is not lost.
const QString kKeepCaretScript = QStringLiteral(
    "(function () {"
    "  var body = document.body;"
    "  function at() {"
    "    var s = getSelection();"
    "    if (!body || s.rangeCount !== 1 || !s.isCollapsed || !body.contains(s.anchorNode))"
    "      return -1;"
    "    var r = document.createRange();"
    "    r.setStart(body, 0);"
    "    r.setEnd(s.anchorNode, s.anchorOffset);"
    "    return r.toString().length;"
    "  }"
    "  var text = body ? body.textContent : '';"
    "  var before = at();"
    "  return { restore: function () {"
    "    var after = at();"
    "    var s = getSelection();"
    "    if (before < 0 || after < 0 || after >= before || body.textContent !== text ||"
    "        s.anchorNode.nodeType !== Node.TEXT_NODE) return;"
    "    var node = s.anchorNode, offset = s.anchorOffset, ahead = before - after;"
    "    var walker = document.createTreeWalker(body, NodeFilter.SHOW_TEXT);"
    "    walker.currentNode = node;"
    "    while (ahead > node.length - offset) {"
    "      ahead -= node.length - offset;"
    "      node = walker.nextNode();"
    "      if (!node) return;"
    "      offset = 0;"
    "    }"
    "    s.collapse(node, offset + ahead);"
    "  } };"
    "})()");

const CommandInfo* FindCommand(const QString& command) {
    for (const CommandInfo& info : kCommands) {
        if (command.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0) {
            return &info;
        }
    }
    return nullptr;
}

// The engine draws each area in an off-screen window of its own, never shown. Listed among the
// program's top-level windows, it would be announced by screen readers as a nameless window
// beside the main one; marked as the desktop kind of window, it is left out of that list.
void HideEngineWindows() {
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->inherits("QQuickWidgetOffscreenWindow") && window->handle() == nullptr) {
            window->setFlags((window->flags() & ~Qt::WindowType_Mask) | Qt::Desktop);
        }
    }
}

bool IsPlainPaste(const QKeyEvent& key) {
    return key.key() == Qt::Key_V &&
           (key.modifiers() & ~Qt::KeypadModifier) == (Qt::ControlModifier | Qt::ShiftModifier);
}

// A key whose text holds a character beyond U+FFFF (an emoji, a rare script).
bool TypesBeyondBasicPlane(const QKeyEvent& key) {
    const QString text = key.text();
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
}

} // namespace

struct HtmlEditor::Private {
    HtmlEditor* owner = nullptr;
    QWebEngineView* view = nullptr;
    EditorPage* page = nullptr;
    LocalOnlyInterceptor* interceptor = nullptr;
    QTimer* stateTimer = nullptr; // gathers the many caret moves of one action into one query
    bool ready = false;
    bool broken = false; // the engine's process died: its document is gone
    QString baseFont;    // on the html element, which a new document leaves in place

    QString BaseFontScript() const {
        return QStringLiteral("document.documentElement.style.fontFamily = %1;")
            .arg(ScriptLiteral(baseFont));
    }

    // Runs a script in our own world and waits for its answer; nothing when none came.
    std::optional<QVariant> RunAndWait(const QString& script) {
        ++roundTrips;
        auto answer = std::make_shared<Answer>();
        page->runJavaScript(script, kOwnWorld, [answer](const QVariant& value) {
            answer->arrived = true;
            answer->value = value;
            if (answer->loop != nullptr) {
                answer->loop->quit();
            }
        });
        if (!answer->arrived) {
            QEventLoop loop;
            answer->loop = &loop;
            QTimer::singleShot(kAnswerTimeoutMs, &loop, &QEventLoop::quit);
            QObject::connect(page, &QWebEnginePage::renderProcessTerminated, &loop,
                             &QEventLoop::quit);
            // Something run while waiting may close the window and with it this area.
            QObject::connect(page, &QObject::destroyed, &loop, &QEventLoop::quit);
            // The caller waits as for a plain function call: the user's input waits too, so
            // no other action can start in the middle of this one.
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            answer->loop = nullptr;
        }
        if (!answer->arrived) {
            qCWarning(lcEditing) << owner->objectName() << "stopped answering the editing script";
            return std::nullopt;
        }
        return answer->value;
    }

    // Runs a script that edits the document, then tells the toolbar and the listeners, unless
    // the wait closed the window with this area.
    void Edit(const QString& script) {
        const QPointer<HtmlEditor> self(owner);
        RunAndWait(script);
        if (self) {
            stateTimer->start();
            Q_EMIT owner->changed();
        }
    }

    // Assistive technology names the document by its title: the area's passage. Only the
    // live document has it; the serialized form always writes an empty title.
    QString TitleScript() const {
        return QStringLiteral("document.title = %1;").arg(ScriptLiteral(owner->accessibleName()));
    }

    // The engine's own surface inside the view takes the keys. It is reached by the mouse and
    // from its area, never by walking the window's focus chain: it joins that chain at its end
    // when the engine creates it, far from where the area stands.
    void Watch(QObject* child) {
        if (auto* surface = qobject_cast<QWidget*>(child)) {
            surface->installEventFilter(owner);
            surface->setFocusPolicy(Qt::ClickFocus);
            HideEngineWindows();
        }
    }

    // The widget Tab (or Shift+Tab) goes to from this area: the next one in the window's
    // focus chain that takes the focus by Tab, outside the area.
    QWidget* Neighbour(bool forward) const {
        QWidget* candidate = owner;
        QWidget* window = owner->window();
        for (int steps = 0; steps < 100000; ++steps) {
            candidate = forward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
            if (candidate == nullptr || candidate == owner) {
                return nullptr;
            }
            if (owner->isAncestorOf(candidate) || candidate->focusProxy() != nullptr) {
                continue;
            }
            if ((candidate->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                candidate->isEnabled() && candidate->isVisibleTo(window) &&
                candidate->window() == window) {
                return candidate;
            }
        }
        return nullptr;
    }

    void Insert(const QString& command, const QString& value) {
        RunAndWait(QStringLiteral("document.execCommand(%1, false, %2); true;")
                       .arg(ScriptLiteral(command), ScriptLiteral(value)));
        stateTimer->start();
    }

    QString Read(const QString& script, std::string (*serialize)(std::string_view)) {
        if (broken) {
            return QStringLiteral("ERROR");
        }
        if (!ready) {
            return QStringLiteral("BUSY");
        }
        const std::optional<QVariant> markup = RunAndWait(script);
        if (!markup || markup->typeId() != QMetaType::QString) {
            return QStringLiteral("ERROR");
        }
        const QByteArray utf8 = markup->toString().toUtf8();
        return QStringOfMarkup(serialize(std::string_view(utf8.constData(), utf8.size())));
    }
};

HtmlEditor::HtmlEditor(QWidget* parent) : QWidget(parent), d(new Private) {
    d->owner = this;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    d->view = new QWebEngineView(this);
    d->page = new EditorPage(d->view);
    d->interceptor = new LocalOnlyInterceptor(d->page);
    d->page->setUrlRequestInterceptor(d->interceptor);
    d->view->setPage(d->page);
    layout->addWidget(d->view);
    // The area itself stands in the focus chain and hands the focus on to the engine.
    setFocusPolicy(Qt::StrongFocus);
    d->view->setFocusPolicy(Qt::ClickFocus);
    d->view->installEventFilter(this);
    for (QObject* child : d->view->children()) {
        d->Watch(child);
    }

    // One profile serves every area; the checker is switched on once for all.
    static bool spellCheckingSet = false;
    if (!spellCheckingSet) {
        spellCheckingSet = true;
        EnableSpellChecking(*d->page->profile());
    }

    d->stateTimer = new QTimer(this);
    d->stateTimer->setSingleShot(true);
    d->stateTimer->setInterval(0);
    connect(d->stateTimer, &QTimer::timeout, this, [this] {
        if (!IsReady()) {
            return;
        }
        QPointer<HtmlEditor> self(this);
        d->page->runJavaScript(kStateScript, kOwnWorld, [self](const QVariant& applying) {
            if (self) {
                Q_EMIT self->formatStateChanged(applying.toStringList());
            }
        });
    });
    connect(d->page, &QWebEnginePage::selectionChanged, d->stateTimer, qOverload<>(&QTimer::start));

    QWebEngineSettings* settings = d->page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);

    // Only the editing actions: the engine's own menu offers reload, back and page source.
    // A misspelt word under the mouse gets the checker's suggestions first. The menu pops up
    // without a loop of its own and goes when it closes.
    d->view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(d->view, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("editorContextMenu"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<QWebEngineContextMenuRequest> request = d->view->lastContextMenuRequest();
        if (request && !request->misspelledWord().isEmpty()) {
            const QStringList suggestions = request->spellCheckerSuggestions();
            for (const QString& suggestion : suggestions) {
                menu->addAction(suggestion, this,
                                [this, suggestion] { d->page->replaceMisspelledWord(suggestion); });
            }
            if (suggestions.isEmpty()) {
                menu->addAction(QStringLiteral("No suggestions"))->setEnabled(false);
            }
            menu->addSeparator();
        }
        for (auto action : {QWebEnginePage::Undo, QWebEnginePage::Redo, QWebEnginePage::Cut,
                            QWebEnginePage::Copy}) {
            menu->addAction(d->page->action(action));
        }
        menu->addAction(d->page->action(QWebEnginePage::Paste)->text(), this,
                        [this] { PasteClipboard(false); });
        menu->addAction(QStringLiteral("Paste as plain text"), this,
                        [this] { PasteClipboard(true); });
        menu->addAction(d->page->action(QWebEnginePage::SelectAll));
        menu->popup(d->view->mapToGlobal(at));
    });

    connect(d->page, &QWebEnginePage::renderProcessTerminated, this, [this] { d->broken = true; });
    d->page->onEdited = [this] { Q_EMIT changed(); };
    connect(d->page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        d->page->EndNavigation();
        if (!ok || d->ready) {
            return;
        }
        QPointer<HtmlEditor> self(this);
        d->page->runJavaScript(
            d->TitleScript() + d->BaseFontScript() +
                QStringLiteral("document.designMode = 'on';"
                               "document.addEventListener('input', function () {"
                               "  console.log('scribvane:changed');"
                               "}, true);"
                               "document.execCommand('styleWithCSS', false, false);"
                               "document.execCommand('defaultParagraphSeparator',"
                               " false, 'div');"
                               "true;"),
            kOwnWorld, [self](const QVariant&) {
                if (self && !self->d->ready) {
                    HideEngineWindows();
                    self->d->ready = true;
                    Q_EMIT self->ready();
                }
            });
    });

    d->page->AllowNavigationUntilLoaded();
    const QString folder = QCoreApplication::applicationDirPath();
    d->page->setHtml(kSkeleton, QUrl::fromLocalFile(folder + QLatin1Char('/')));
}

HtmlEditor::~HtmlEditor() {
    delete d;
}

QString HtmlEditor::GetDocumentHTML() {
    return d->Read(QStringLiteral("document.documentElement.outerHTML"), &SerializeDocument);
}

QString HtmlEditor::GetBodyHTML() {
    return d->Read(QStringLiteral("document.documentElement.outerHTML"), &SerializeBody);
}

std::uint64_t HtmlEditor::RoundTrips() {
    return roundTrips;
}

void HtmlEditor::SetDocumentHTML(const QString& html) {
    if (!d->ready || d->broken) {
        return;
    }
    // The area gets the text as a save would keep it and a load give it back: what the reads
    // would drop (scripts, a refresh, a base address, other head content) never reaches the
    // engine, and what the user sees is what will be saved.
    const QByteArray utf8 = html.toUtf8();
    const std::string stored = StripEditorDocument(
        SerializeDocument(FragmentToDocument(std::string_view(utf8.constData(), utf8.size()))));
    const std::string document = FragmentToDocument(AnsiToUtf8(stored));
    // Written through the document rather than loaded as a page: no navigation happens, the
    // design mode stays, and there is no size limit as for a loaded page.
    d->Edit(QStringLiteral("document.documentElement.innerHTML = %1; %2 true;")
                .arg(ScriptLiteral(QString::fromUtf8(document.data(),
                                                     static_cast<qsizetype>(document.size()))),
                     d->TitleScript()));
}

void HtmlEditor::ExecCommand(const QString& command, const QVariant& value) {
    if (!d->ready || d->broken) {
        return;
    }
    const CommandInfo* info = FindCommand(command);
    if (info == nullptr) {
        return; // only the formatting commands: nothing here may touch the clipboard or files
    }
    QString argument = QStringLiteral("null");
    switch (info->kind) {
    case ValueKind::None:
        break;
    case ValueKind::Color:
        argument = ScriptLiteral(QString::fromStdString(ColorToHtml(value.toUInt())));
        break;
    case ValueKind::Size:
        argument = ScriptLiteral(QString::number(value.toInt()));
        break;
    case ValueKind::Name:
        argument = ScriptLiteral(value.toString());
        break;
    }
    const QString script =
        QStringLiteral("(function (c, v, onlyEnabled) {"
                       "  if (onlyEnabled && !document.queryCommandEnabled(c)) return false;"
                       "  var caret = %4;"
                       "  var done = document.execCommand(c, false, v);"
                       "  caret.restore();"
                       "  return done;"
                       "})(%1, %2, %3)")
            .arg(ScriptLiteral(QLatin1String(info->name)), argument,
                 info->onlyWhenEnabled ? QStringLiteral("true") : QStringLiteral("false"),
                 kKeepCaretScript);
    d->Edit(script);
}

QString HtmlEditor::LinkAtCaret() {
    if (!d->ready || d->broken) {
        return {};
    }
    const auto href =
        d->RunAndWait(QLatin1String(kAnchorScript) +
                      QStringLiteral("(function () {"
                                     "  var a = anchorAtSelection();"
                                     "  return a ? (a.getAttribute('href') || '') : '';"
                                     "})()"));
    return href ? href->toString() : QString();
}

void HtmlEditor::SetLink(const QString& address) {
    if (!d->ready || d->broken) {
        return;
    }
    // Only what a visitor's click may open: a web page or an e-mail.
    const QString lower = address.trimmed().toLower();
    if (!address.isEmpty() && !lower.startsWith(QStringLiteral("https://")) &&
        !lower.startsWith(QStringLiteral("http://")) &&
        !lower.startsWith(QStringLiteral("mailto:"))) {
        return;
    }
    // A caret inside a link stands for the whole link; a caret elsewhere gets the address as
    // its text.
    const QString script =
        QLatin1String(kAnchorScript) +
        QStringLiteral("(function (url) {"
                       "  var s = window.getSelection();"
                       "  var a = anchorAtSelection();"
                       "  if (a && s.isCollapsed) {"
                       "    var r = document.createRange(); r.selectNodeContents(a);"
                       "    s.removeAllRanges(); s.addRange(r);"
                       "  }"
                       "  if (!url) return document.execCommand('unlink', false, null);"
                       "  if (s.isCollapsed) return document.execCommand('insertHTML', false,"
                       "    '<a href=\"' + url.replace(/&/g, '&amp;').replace(/\"/g, '&quot;')"
                       "    .replace(/</g, '&lt;') + '\">' + url.replace(/&/g, '&amp;')"
                       "    .replace(/</g, '&lt;') + '</a>');"
                       "  return document.execCommand('createLink', false, url);"
                       "})(%1)")
            .arg(ScriptLiteral(address.trimmed()));
    d->Edit(script);
}

void HtmlEditor::SetBaseFont(const QString& families) {
    d->baseFont = families;
    if (d->ready && !d->broken) {
        d->page->runJavaScript(d->BaseFontScript(), kOwnWorld);
    }
}

void HtmlEditor::ToggleHeading() {
    if (!d->ready || d->broken) {
        return;
    }
    d->Edit(QStringLiteral(
        "(function () {"
        "  var inHeading = String(document.queryCommandValue('formatBlock')).toLowerCase() === "
        "'h2';"
        "  return document.execCommand('formatBlock', false, inHeading ? 'div' : 'h2');"
        "})()"));
}

void HtmlEditor::PasteClipboard(bool plainText) {
    if (!d->ready || d->broken) {
        return;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data == nullptr) {
        return;
    }
    if (!plainText && data->hasHtml()) {
        const QByteArray utf8 = data->html().toUtf8();
        const std::string cleaned =
            CleanPastedHtml(std::string_view(utf8.constData(), utf8.size()));
        if (!cleaned.empty()) {
            d->Insert(QStringLiteral("insertHTML"),
                      QString::fromUtf8(cleaned.data(), static_cast<qsizetype>(cleaned.size())));
            return;
        }
    }
    // Pictures and other data alone paste nothing: a passage holds text.
    if (data->hasText()) {
        d->Insert(QStringLiteral("insertText"), data->text());
    }
}

void HtmlEditor::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    d->view->setFocus(event->reason());
}

bool HtmlEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == d->view) {
        if (event->type() == QEvent::ChildAdded) {
            d->Watch(static_cast<QChildEvent*>(event)->child());
        }
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers =
            key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        // Tab leaves the area as it leaves every other field; the toolbar indents.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            modifiers == Qt::NoModifier) {
            const bool forward =
                key->key() == Qt::Key_Tab && !key->modifiers().testFlag(Qt::ShiftModifier);
            if (QWidget* next = d->Neighbour(forward)) {
                next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            }
            return true;
        }
        if (IsPlainPaste(*key)) {
            PasteClipboard(true);
            return true;
        }
        // The engine keeps only the low sixteen bits of such a typed character, so "🚀"
        // would arrive as another one. It goes in as an input method's text instead, which
        // takes the same way as the keys, so it stays in the order it was typed.
        if (TypesBeyondBasicPlane(*key)) {
            QInputMethodEvent commit;
            commit.setCommitString(key->text());
            QCoreApplication::sendEvent(watched, &commit);
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            PasteClipboard(false);
            return true;
        }
        break;
    }
    case QEvent::ShortcutOverride: {
        // The engine would paste on its own at the override already.
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsPlainPaste(*key) || key->matches(QKeySequence::Paste)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
        d->stateTimer->start();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void HtmlEditor::showEvent(QShowEvent* event) {
    // The window names the area; the view inside, which takes the focus, says the same.
    d->view->setAccessibleName(accessibleName());
    if (IsReady()) {
        d->page->runJavaScript(d->TitleScript(), kOwnWorld);
    }
    QWidget::showEvent(event);
}

bool HtmlEditor::IsReady() const {
    return d->ready && !d->broken;
}

QWebEngineView* HtmlEditor::view() const {
    return d->view;
}

} // namespace scribvane
