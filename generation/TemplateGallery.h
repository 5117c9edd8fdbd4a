// The template gallery of step 8: one tile per catalogue entry, each showing that template
// filled with the user's own letter, and choosing a tile chooses the template in cbxTemplates.
#pragma once

#include <QImage>
#include <QListWidget>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QWebEngineProfile;
class QWebEngineView;

namespace scribvane {

class TemplateGallery : public QListWidget {
    Q_OBJECT

public:
    // The letter merged into one template with the pictures shown in place: the page text
    // (Windows-1252) and the folder its relative addresses resolve in.
    struct Page {
        std::string text;
        QUrl base;
    };
    // Merges the letter as it was taken into the named template; nothing when the template
    // cannot be merged.
    using LetterSnapshot = std::function<std::optional<Page>(const QString& templateName)>;
    // Takes the current letter once for a round of thumbnails.
    using PageSource = std::function<LetterSnapshot()>;

    // The tiles follow the items of `templates` and its selection; choosing a tile selects the
    // same item there, so the chooser's own change handler runs as for any other choice.
    TemplateGallery(QComboBox* templates, QWidget* parent);
    ~TemplateGallery() override;

    // Where the previews (NAME.jpg) lie and how a template is filled with the current letter.
    // Without a source the tiles keep showing the previews.
    void SetSource(std::filesystem::path templateFolder, PageSource source);

    // The thumbnail shown for a tile now: the rendered letter, else the template's preview.
    QImage Thumbnail(int row) const;
    // Whether the tile shows the letter rendered, not the stock preview.
    bool ShowsLetter(int row) const;
    // The user's letter in the named design at the preview group's size, once rendered; null
    // before.
    QImage LetterPicture(const QString& templateName) const;
    static constexpr QSize kLetterPictureSize{400, 290};
    // Whether thumbnails are waiting to be merged, rendered or grabbed.
    bool Busy() const;

    static constexpr QSize kThumbnailSize{176, 128};

public Q_SLOTS:
    // The letter changed: every thumbnail may be out of date. Only those whose page really
    // changed are rendered again, one at a time, and only while the gallery is seen.
    void invalidate();
    void letterChanged() { invalidate(); }

Q_SIGNALS:
    // A tile got its rendered thumbnail.
    void thumbnailReady(const QString& templateName);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Tile {
        QString name;
        std::size_t shownPage = 0; // hash of the page text the thumbnail shows; 0: none yet
        bool stale = true;
        bool rendered = false;
    };

    void Reload();
    void FollowChooser();
    void ChooseFromTile();
    void RenderNext();
    void QueueChangedPages();
    void Rendered(bool ok);
    void Grab();
    void ShowPreviewPicture(int row);
    void SetTileImage(int row, const QImage& image);
    void EnsureRenderer();

    QComboBox* templates_;
    std::filesystem::path templateFolder_;
    PageSource source_;
    std::vector<Tile> tiles_;
    struct Pending {
        int row;
        std::size_t key;
        Page page;
    };
    std::vector<Pending> pending_; // pages that changed, waiting for the renderer in turn
    QTimer reloadTimer_;
    QTimer workTimer_;
    QTimer grabTimer_;
    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* renderer_ = nullptr;
    QImage lastGrab_;
    int regrabs_ = 0;
    int renderingRow_ = -1;
    std::size_t renderingPage_ = 0;
};

} // namespace scribvane
