// The letter preview: a window of its own showing the letter of the letter document with the
// pictures shown in place. It follows the document's changes (one page load at a time),
// serves the page through an address scheme of its own so a page of any size shows, writes
// nothing, and opens links in the desktop's browser.
#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QWebEngineProfile;
class QWebEngineView;

namespace scribvane {

class LetterDocument;
class LetterPage;
class LetterPageServer;

class LetterPreviewWindow : public QWidget {
    Q_OBJECT

public:
    // Shows the letter of `document` as `letter` prepares it, following the document.
    LetterPreviewWindow(const LetterDocument& document, const LetterPage& letter, QWidget* owner);
    ~LetterPreviewWindow() override;

    // Merges again now and shows the page when it changed.
    void Refresh();

    QWebEngineView* view() const { return view_; }
    QCheckBox* phoneWidth() const { return phoneWidth_; }
    // Shows each tested headline in a phone-wide view of its own, side by side; shown only
    // while the letter tests headlines.
    QCheckBox* headlinesSideBySide() const { return sideBySide_; }
    // The views of the further headlines, while they are shown side by side.
    std::vector<QWebEngineView*> headlineViews() const;
    // Says why the letter cannot be shown; hidden while it can.
    QLabel* problem() const { return problem_; }

Q_SIGNALS:
    // The shown page changed and the view finished loading it (or failed to, and says so).
    void shown();
    // The user asked to choose another design for the letter.
    void designRequested();

private:
    void ApplyWidth();
    // The headlines of a letter that tests them are shown side by side now.
    bool ShowsHeadlinesSideBySide() const;
    // Loads the page into the views of the further headlines, each showing its own.
    void ShowHeadlines();
    void ShowProblem(const QString& text);

    const LetterDocument& document_;
    const LetterPage& letter_;
    QWebEngineProfile* profile_ = nullptr;
    LetterPageServer* server_ = nullptr;
    QWebEngineView* view_ = nullptr;
    QCheckBox* phoneWidth_ = nullptr;
    QCheckBox* sideBySide_ = nullptr;
    QLabel* mainCaption_ = nullptr;
    QWidget* columns_ = nullptr; // holds the views side by side
    struct HeadlineView {
        char mark;
        QLabel* caption;
        QWebEngineView* view;
    };
    std::vector<HeadlineView> headlineViews_;
    std::string marks_; // the headlines the shown letter tests
    QLabel* problem_ = nullptr;
    std::string shownText_;
    QUrl shownBase_;
    QUrl shownAddress_;
    QPointF scroll_;
    bool firstLoad_ = true;
    bool loading_ = false;
    bool pending_ = false;
    QTimer follow_;
    int loads_ = 0;
};

} // namespace scribvane
