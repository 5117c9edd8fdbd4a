// The letter preview: a window of its own showing the letter of the current fields with the
// pictures shown in place. It writes nothing and opens links in the desktop's browser.
#pragma once

#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <string>

class QCheckBox;
class QWebEngineProfile;
class QWebEngineView;

namespace scribvane {

class LetterPreviewWindow : public QWidget {
    Q_OBJECT

public:
    // `merge` gives the page text (Windows-1252) and the folder relative addresses resolve in.
    struct Page {
        std::string text;
        QUrl base;
    };
    LetterPreviewWindow(std::function<Page()> merge, QWidget* owner);
    ~LetterPreviewWindow() override;

    // Merges again now and shows the page when it changed.
    void Refresh();
    // Asks for a refresh a short, fixed time after the last change.
    void ScheduleRefresh();

    QWebEngineView* view() const { return view_; }
    QCheckBox* phoneWidth() const { return phoneWidth_; }

Q_SIGNALS:
    // The shown page text changed and the view finished loading it.
    void shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyWidth();

    std::function<Page()> merge_;
    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* view_ = nullptr;
    QCheckBox* phoneWidth_ = nullptr;
    QTimer debounce_;
    QString shownText_;
    bool firstLoad_ = true;
};

} // namespace scribvane
