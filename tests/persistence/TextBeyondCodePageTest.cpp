// Characters Windows-1252 cannot hold, typed into every kind of text control, are stored as
// references and come back as typed after Save, a new window and Load.
#include "persistence/LetterConfiguration.h"
#include "tests/support/ReadyWindow.h"
#include "tests/support/TempDir.h"
#include "widgets/QtText.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

using namespace scribvane;
using scribvane::testing::EditorsReady;
using scribvane::testing::kEditorsReadyTimeoutMs;
using scribvane::testing::MakeShownWindow;
using scribvane::testing::RecordingMessageService;
using scribvane::testing::TempDir;

namespace fs = std::filesystem;

class TextBeyondCodePageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedTextSurvivesSaveAndLoadInANewWindow();
    void typedCharactersBeyondU16KeepTheirCodePointInAPassage();

private:
    template <typename Control>
    Control* Find(TfrmMain& window, const char* name) {
        auto* control = window.findChild<Control*>(QString::fromLatin1(name));
        if (control == nullptr) {
            qFatal("The window has no control %s", name);
        }
        return control;
    }
    void Type(TfrmMain& window, const char* name, const QString& text) {
        Find<QWidget>(window, name)->setFocus();
        // An editing area hands the focus on to the engine's own surface.
        QWidget* control = QApplication::focusWidget();
        // One key event per character, carrying its text as a keyboard or input method
        // delivers it (QTest::keyClicks takes Latin-1 only); a surrogate pair is one key.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
            const QString key = text.mid(i, length);
            QTest::sendKeyEvent(QTest::Press, control, Qt::Key_unknown, key, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, control, Qt::Key_unknown, key, Qt::NoModifier);
            i += length - 1;
        }
    }
    void Click(TfrmMain& window, const char* name) {
        QTest::mouseClick(Find<QPushButton>(window, name), Qt::LeftButton);
    }

    RecordingMessageService messages_;
};

void TextBeyondCodePageTest::typedTextSurvivesSaveAndLoadInANewWindow() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const fs::path configFile = fs::path(folder.path().toStdString()) / "config.dat";

    // Typed text, what config.dat holds for it, and what a loading window shows.
    const struct {
        const char* control;
        QString typed;
        std::string stored;
        QString shown;
    } fields[] = {
        {"edtPageTitle", QStringLiteral(u"Łódź ✔ 🚀"), "&#321;\xF3\x64&#378; &#10004; &#128640;",
         QStringLiteral(u"Łódź ✔ 🚀")},
        {"edtFullName", QStringLiteral(u"Řeřicha Αθήνα Привет"),
         "&#344;e&#345;icha &#913;&#952;&#942;&#957;&#945; "
         "&#1055;&#1088;&#1080;&#1074;&#1077;&#1090;",
         QStringLiteral(u"Řeřicha Αθήνα Привет")},
        // Held by the code page: stored as the byte.
        {"edtCurrentDate", QStringLiteral(u"1 août — 5 €"), "1 ao\xFBt \x97 5 \x80",
         QStringLiteral(u"1 août — 5 €")},
        // A reference typed as text is stored as typed, and shown as the character it names.
        {"edtAttention", QStringLiteral("&#321; &#233;"), "&#321; &#233;",
         QStringLiteral(u"Ł &#233;")},
        {"edtDescription", QStringLiteral(u"★★★★★ → ✔"),
         "&#9733;&#9733;&#9733;&#9733;&#9733; &#8594; &#10004;", QStringLiteral(u"★★★★★ → ✔")},
    };

    auto first = MakeShownWindow(folder.path(), messages_);
    QTRY_VERIFY_WITH_TIMEOUT(EditorsReady(*first), kEditorsReadyTimeoutMs);
    for (const auto& field : fields) {
        Type(*first, field.control, field.typed);
    }
    Find<QPlainTextEdit>(*first, "memPaypalCode")->setPlainText(QStringLiteral(u"🚀\nŁ"));
    Type(*first, "edtFeatureTitle", QStringLiteral(u"✔ 60-day guarantee"));
    Find<QPlainTextEdit>(*first, "memFeatureBody")->setPlainText(QStringLiteral(u"Łódź →"));
    Click(*first, "btnCreateFeat");
    Type(*first, "edtTestName", QStringLiteral(u"Αθήνα"));
    Type(*first, "edtTestWebsite", QStringLiteral(u"https://łódź.example"));
    Find<QPlainTextEdit>(*first, "memTest")->setPlainText(QStringLiteral(u"Привет 🚀"));
    Click(*first, "btnCreateTest");
    Click(*first, "btnSave");
    QVERIFY2(messages_.messages.isEmpty(), qPrintable(messages_.texts().join(QLatin1Char('\n'))));

    const std::string savedBytes = TempDir::Read(configFile);
    const LetterConfiguration saved = ReadConfigurationFile(configFile);
    for (const auto& field : fields) {
        const Tag* found = nullptr;
        for (const ConfigField& config : kConfigFields) {
            if (config.control == field.control) {
                found = &config.tag;
            }
        }
        QVERIFY2(found != nullptr, field.control);
        QCOMPARE(QByteArray::fromStdString(saved.Text(*found)),
                 QByteArray::fromStdString(field.stored));
    }
    QCOMPARE(QByteArray::fromStdString(saved.Text(Tag::PaypalCode)),
             QByteArray("&#128640;\r\n&#321;"));
    QCOMPARE(QByteArray::fromStdString(std::string(saved.Records(Tag::Features)[0])),
             QByteArray("^&#10004; 60-day guarantee^&#321;\xF3\x64&#378; &#8594;^"));
    QCOMPARE(QByteArray::fromStdString(std::string(saved.Records(Tag::Testimonials)[0])),
             QByteArray("^&#913;&#952;&#942;&#957;&#945;^https://"
                        "&#322;\xF3\x64&#378;.example^&#1055;&#1088;&#1080;&#1074;&#1077;&#1090; "
                        "&#128640;^"));
    first.reset();
    std::error_code ignored;
    fs::remove(configFile.parent_path() / "autosave.dat", ignored);

    auto second = MakeShownWindow(folder.path(), messages_);
    QTRY_VERIFY_WITH_TIMEOUT(EditorsReady(*second), kEditorsReadyTimeoutMs);
    Click(*second, "btnLoad");
    for (const auto& field : fields) {
        QCOMPARE(Find<QLineEdit>(*second, field.control)->text(), field.shown);
    }
    QCOMPARE(Find<QPlainTextEdit>(*second, "memPaypalCode")->toPlainText(),
             QStringLiteral(u"🚀\nŁ"));
    auto* features = Find<QListWidget>(*second, "lbxFeatures");
    QCOMPARE(features->count(), 1);
    QTest::mouseClick(features->viewport(), Qt::LeftButton, {},
                      features->visualItemRect(features->item(0)).center());
    QVERIFY(Find<QPlainTextEdit>(*second, "memFeatureDetails")
                ->toPlainText()
                .contains(QStringLiteral(u"✔ 60-day guarantee")));

    // Saving what was loaded writes the same bytes.
    Click(*second, "btnSave");
    QCOMPARE(QByteArray::fromStdString(TempDir::Read(configFile)),
             QByteArray::fromStdString(savedBytes));
}

void TextBeyondCodePageTest::typedCharactersBeyondU16KeepTheirCodePointInAPassage() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    auto window = MakeShownWindow(folder.path(), messages_);
    QTRY_VERIFY_WITH_TIMEOUT(EditorsReady(*window), kEditorsReadyTimeoutMs);
    auto* area = Find<HtmlEditor>(*window, "prfEditor1");
    window->findChild<QWidget*>(QStringLiteral("pgcMain"))->setProperty("currentIndex", 1);
    window->activateWindow();
    // The area hands the focus on to the engine's surface; keys go where the focus is.
    area->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::focusWidget() != nullptr &&
                                 QApplication::focusWidget() != area &&
                                 area->isAncestorOf(QApplication::focusWidget()),
                             kEditorsReadyTimeoutMs);
    Type(*window, "prfEditor1", QStringLiteral(u"Łódź 🚀✔ 𝄞"));
    // The engine applies typed keys in its own time, slowly on a loaded machine.
    QTRY_VERIFY_WITH_TIMEOUT(AnsiOf(area->GetBodyHTML()).find("&#119070;") != std::string::npos,
                             kEditorsReadyTimeoutMs);
    const std::string body = AnsiOf(area->GetBodyHTML());
    QVERIFY2(body.find("&#321;\xF3\x64&#378; &#128640;&#10004; &#119070;") != std::string::npos,
             body.c_str());
}

QTEST_MAIN(TextBeyondCodePageTest)
#include "TextBeyondCodePageTest.moc"
