// The letter document without any window: which changes it reports, when it counts as
// modified, and that a run of changes settles once.
#include "persistence/LetterDocument.h"

#include <QSignalSpy>
#include <QTest>

using namespace scribvane;

class LetterDocumentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changesAndModifiedState_data();
    void changesAndModifiedState();
    void loadReportsEachDifferingFieldOnceItIsWhole();
    void aRunOfChangesSettlesOnce();
};

namespace {

LetterConfiguration WithTitle(const std::string& title) {
    LetterConfiguration config;
    config.Set(Tag::PageTitle, title);
    return config;
}

} // namespace

void LetterDocumentTest::changesAndModifiedState_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<bool>("modified");
    // Each row starts from a document loaded with the title "saved".
    QTest::newRow("a stored field") << 0 << QStringList{QStringLiteral("PageTitle")} << true;
    QTest::newRow("the same value again") << 1 << QStringList{} << false;
    QTest::newRow("changed and changed back")
        << 2 << QStringList{QStringLiteral("FSize"), QStringLiteral("FSize")} << false;
    QTest::newRow("the template, not stored")
        << 3 << QStringList{LetterDocument::kTemplateField} << false;
    QTest::newRow("output and placement, not stored")
        << 4 << QStringList{LetterDocument::kOutputField, LetterDocument::kEmbedPicturesField}
        << false;
    QTest::newRow("replaced by other work")
        << 5 << QStringList{QStringLiteral("PageTitle")} << true;
    QTest::newRow("changed, then saved") << 6 << QStringList{QStringLiteral("Atention")} << false;
}

void LetterDocumentTest::changesAndModifiedState() {
    QFETCH(int, step);
    QFETCH(QStringList, changes);
    QFETCH(bool, modified);
    LetterDocument document;
    document.Load(WithTitle("saved"));
    QVERIFY(!document.IsModified());
    QSignalSpy spy(&document, &LetterDocument::changed);
    switch (step) {
    case 0:
        document.Set(Tag::PageTitle, std::string("typed"));
        break;
    case 1:
        document.Set(Tag::PageTitle, std::string("saved"));
        break;
    case 2:
        document.Set(Tag::FSize, std::int32_t{40});
        document.Set(Tag::FSize, LetterConfiguration().Size(Tag::FSize));
        break;
    case 3:
        document.SetTemplateName("Modern");
        break;
    case 4:
        document.SetOutputFileName("/tmp/letter.html");
        document.SetEmbedPictures(true);
        break;
    case 5:
        document.Replace(WithTitle("restored"));
        break;
    case 6:
        document.Set(Tag::Atention, std::string("Dear reader"));
        document.MarkSaved();
        break;
    }
    QStringList reported;
    for (const auto& arguments : spy) {
        reported.append(arguments.at(0).toString());
    }
    QCOMPARE(reported, changes);
    QCOMPARE(document.IsModified(), modified);
}

void LetterDocumentTest::loadReportsEachDifferingFieldOnceItIsWhole() {
    LetterDocument document;
    LetterConfiguration file = WithTitle("title");
    file.Set(Tag::FBold, true);
    QStringList reported;
    connect(&document, &LetterDocument::changed, this, [&](const QString& field) {
        // An observer sees the whole new letter, never half of it.
        QCOMPARE(document.Configuration().Flag(Tag::FBold), true);
        reported.append(field);
    });
    document.Load(file);
    QCOMPARE(reported, (QStringList{QStringLiteral("PageTitle"), QStringLiteral("FBold")}));
    QVERIFY(!document.IsModified());
}

void LetterDocumentTest::aRunOfChangesSettlesOnce() {
    LetterDocument document;
    QSignalSpy settled(&document, &LetterDocument::settled);
    for (const char* text : {"a", "ab", "abc"}) {
        document.Set(Tag::PageTitle, std::string(text));
    }
    QVERIFY(document.IsSettling());
    QVERIFY(settled.wait(5000));
    QTest::qWait(2 * LetterDocument::kQuietMs);
    QCOMPARE(settled.size(), 1);
    document.Set(Tag::PageTitle, std::string("abc")); // no change, nothing to settle
    QVERIFY(!document.IsSettling());
}

QTEST_GUILESS_MAIN(LetterDocumentTest)
#include "LetterDocumentTest.moc"
