// The template gallery; see TemplateGallery.h.
#include "generation/TemplateGallery.h"

#include "generation/TemplateCatalogue.h"
#include "utils/FileIo.h"
#include "widgets/Logging.h"
#include "widgets/QtText.h"

#include <QComboBox>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <utility>

namespace scribvane {
namespace {

// Thumbnails show the letter as a desktop browser opens it: the first screen of a 1280 pixel
// wide window, in the proportions of the tile.
constexpr QSize kRenderSize{1280, 930};
// Rendering waits this long after the last change, so a burst of typing costs one round.
constexpr int kSettleMs = 400;
// The engine reports a page loaded before it has painted it, and until then the view still
// shows the page before. So the grab waits a frame or two, and is taken again while it shows
// exactly what the last grab showed, up to a limit (a page may look the same as the last).
constexpr int kPaintMs = 250;
constexpr int kRegrabMs = 100;
constexpr int kMaxRegrabs = 15;
// The engine refuses pages given as text above this size; such a letter keeps its preview.
constexpr std::size_t kMaxPageBytes = 2 * 1024 * 1024 - 4096;
constexpr int kPictureRole = Qt::UserRole + 1;
constexpr int kShowsLetterRole = Qt::UserRole + 2;
constexpr int kLetterPictureRole = Qt::UserRole + 3;

// Renders the page it is given and goes nowhere else.
class StillPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl&, NavigationType type, bool isMainFrame) override {
        return type == NavigationTypeTyped || !isMainFrame;
    }
};

std::size_t PageKey(const TemplateGallery::Page& page) {
    // Never 0, which stands for "nothing shown yet".
    return (std::hash<std::string>{}(page.text) ^ (qHash(page.base.toString()) << 1U)) | 1U;
}

} // namespace

TemplateGallery::TemplateGallery(QComboBox* templates, QWidget* parent)
    : QListWidget(parent), templates_(templates) {
    setObjectName(QStringLiteral("galTemplates"));
    setAccessibleName(QStringLiteral("Templates"));
    setViewMode(QListView::IconMode);
    // A grid: at the window's first size the six designs stand in two rows, all in view.
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setIconSize(kThumbnailSize);
    setSpacing(6);
    setWordWrap(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFixedHeight(2 * (kThumbnailSize.height() + fontMetrics().height() * 2 + 2) + 6);

    // The chooser is filled with its signals blocked and items added one by one: one reload
    // once it has settled.
    reloadTimer_.setSingleShot(true);
    reloadTimer_.setInterval(0);
    connect(&reloadTimer_, &QTimer::timeout, this, &TemplateGallery::Reload);
    QAbstractItemModel* model = templates_->model();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(model, signal, &reloadTimer_, [this] { reloadTimer_.start(); });
    }
    connect(model, &QAbstractItemModel::modelReset, &reloadTimer_,
            [this] { reloadTimer_.start(); });
    connect(templates_, &QComboBox::currentIndexChanged, this, &TemplateGallery::FollowChooser);
    connect(this, &QListWidget::currentRowChanged, this, &TemplateGallery::ChooseFromTile);

    workTimer_.setSingleShot(true);
    workTimer_.setInterval(kSettleMs);
    connect(&workTimer_, &QTimer::timeout, this, &TemplateGallery::RenderNext);
    grabTimer_.setSingleShot(true);
    connect(&grabTimer_, &QTimer::timeout, this, &TemplateGallery::Grab);

    Reload();
}

TemplateGallery::~TemplateGallery() {
    // The renderer is a window of its own, and its page must go before the profile it uses.
    delete renderer_;
}

void TemplateGallery::SetSource(std::filesystem::path templateFolder, PageSource source) {
    templateFolder_ = std::move(templateFolder);
    source_ = std::move(source);
    Reload();
}

void TemplateGallery::Reload() {
    {
        const QSignalBlocker blocker(this);
        clear();
        tiles_.clear();
        for (int index = 0; index < templates_->count(); ++index) {
            const QString name = templates_->itemText(index);
            tiles_.push_back(Tile{name});
            auto* item = new QListWidgetItem(name, this);
            item->setToolTip(name);
            item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
            ShowPreviewPicture(index);
        }
    }
    // A render under way belongs to the old tiles.
    grabTimer_.stop();
    regrabs_ = 0;
    renderingRow_ = -1;
    pending_.clear();
    FollowChooser();
    invalidate();
}

void TemplateGallery::FollowChooser() {
    const QSignalBlocker blocker(this);
    const int index = templates_->currentIndex();
    if (index >= 0 && index < count()) {
        setCurrentRow(index);
        scrollToItem(item(index));
    } else {
        setCurrentRow(-1);
        clearSelection();
    }
}

void TemplateGallery::ChooseFromTile() {
    const int row = currentRow();
    if (row >= 0 && row < templates_->count() && row != templates_->currentIndex()) {
        templates_->setCurrentIndex(row);
    }
}

void TemplateGallery::invalidate() {
    for (Tile& tile : tiles_) {
        tile.stale = true;
    }
    // Pages merged before this change are out of date too.
    pending_.clear();
    workTimer_.start();
}

void TemplateGallery::showEvent(QShowEvent* event) {
    QListWidget::showEvent(event);
    // While hidden nothing was rendered; whatever changed meanwhile is caught up now.
    invalidate();
}

void TemplateGallery::RenderNext() {
    if (!source_ || renderingRow_ >= 0 || !isVisible()) {
        return;
    }
    if (pending_.empty()) {
        QueueChangedPages();
    }
    if (pending_.empty()) {
        return;
    }
    // One at a time: the next starts when this one has been grabbed.
    Pending next = std::move(pending_.front());
    pending_.erase(pending_.begin());
    EnsureRenderer();
    renderingRow_ = next.row;
    renderingPage_ = next.key;
    renderer_->setHtml(QStringOfAnsi(next.page.text), next.page.base);
}

void TemplateGallery::QueueChangedPages() {
    if (std::none_of(tiles_.begin(), tiles_.end(), [](const Tile& tile) { return tile.stale; })) {
        return;
    }
    // The letter is taken once and merged into every template whose tile is out of date; the
    // merge is quick, rendering is not, so only pages that really changed are rendered.
    const LetterSnapshot snapshot = source_();
    std::vector<int> order; // the chosen tile first, then the others in catalogue order
    if (currentRow() >= 0) {
        order.push_back(currentRow());
    }
    for (int row = 0; row < static_cast<int>(tiles_.size()); ++row) {
        if (row != currentRow()) {
            order.push_back(row);
        }
    }
    for (const int row : order) {
        Tile& tile = tiles_[static_cast<std::size_t>(row)];
        if (!tile.stale) {
            continue;
        }
        tile.stale = false;
        std::optional<Page> page = snapshot ? snapshot(tile.name) : std::nullopt;
        if (!page || page->text.empty() || page->text.size() > kMaxPageBytes) {
            // A template that cannot be merged or shown keeps its stock preview.
            if (tile.rendered) {
                ShowPreviewPicture(row);
            }
            tile.rendered = false;
            tile.shownPage = 0;
            continue;
        }
        const std::size_t key = PageKey(*page);
        if (!tile.rendered || key != tile.shownPage) {
            pending_.push_back(Pending{row, key, std::move(*page)});
        }
    }
}

void TemplateGallery::EnsureRenderer() {
    if (renderer_ != nullptr) {
        return;
    }
    // Off the record and without scripts: a thumbnail runs nothing and keeps nothing.
    profile_ = new QWebEngineProfile(this);
    renderer_ = new QWebEngineView;
    renderer_->setPage(new StillPage(profile_, renderer_));
    QWebEngineSettings* settings = renderer_->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    // A window that is laid out and painted but never seen, focused or clicked. The engine
    // paints only a shown view, and on X11 a shown view gets a window on the screen even when
    // told not to: there it lay over the whole screen, unseen, and took every click.
    renderer_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                              Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    renderer_->setAttribute(Qt::WA_ShowWithoutActivating);
    renderer_->setAttribute(Qt::WA_DontShowOnScreen);
    renderer_->setGeometry(
        QRect(QPoint(-4 * kRenderSize.width(), -4 * kRenderSize.height()), kRenderSize));
    renderer_->show();
    connect(renderer_, &QWebEngineView::loadFinished, this, &TemplateGallery::Rendered);
}

void TemplateGallery::Rendered(bool ok) {
    if (renderingRow_ < 0) {
        return;
    }
    if (!ok) {
        Tile& tile = tiles_[static_cast<std::size_t>(renderingRow_)];
        qCInfo(lcGeneration) << "The letter in template" << tile.name
                             << "could not be rendered for the gallery";
        ShowPreviewPicture(renderingRow_);
        tile.rendered = false;
        tile.shownPage = 0;
        renderingRow_ = -1;
        workTimer_.start(0);
        return;
    }
    grabTimer_.start(kPaintMs);
}

void TemplateGallery::Grab() {
    const int row = renderingRow_;
    renderingRow_ = -1;
    if (row < 0 || row >= static_cast<int>(tiles_.size())) {
        return;
    }
    const QImage image = renderer_->grab().toImage();
    if (image == lastGrab_ && regrabs_ < kMaxRegrabs) {
        ++regrabs_;
        renderingRow_ = row;
        grabTimer_.start(kRegrabMs);
        return;
    }
    regrabs_ = 0;
    lastGrab_ = image;
    if (!image.isNull()) {
        Tile& tile = tiles_[static_cast<std::size_t>(row)];
        SetTileImage(row, image);
        item(row)->setData(kShowsLetterRole, true);
        item(row)->setData(kLetterPictureRole, image.scaled(kLetterPictureSize, Qt::KeepAspectRatio,
                                                            Qt::SmoothTransformation));
        tile.rendered = true;
        tile.shownPage = renderingPage_;
        Q_EMIT thumbnailReady(tile.name);
    }
    workTimer_.start(0);
}

void TemplateGallery::ShowPreviewPicture(int row) {
    QImage picture;
    if (!templateFolder_.empty()) {
        const QString& name = tiles_[static_cast<std::size_t>(row)].name;
        if (const auto file = FindPreviewFile(templateFolder_, AnsiOf(name))) {
            try {
                const std::string bytes = ReadFileBytes(*file);
                picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                                     static_cast<int>(bytes.size()));
            } catch (const std::exception&) {
                // An unreadable preview leaves the tile blank; the template is still listed.
            }
        }
    }
    SetTileImage(row, picture);
    item(row)->setData(kShowsLetterRole, false);
}

void TemplateGallery::SetTileImage(int row, const QImage& image) {
    // Every tile has the same size; a picture of other proportions is centred on it.
    QPixmap tile(kThumbnailSize);
    tile.fill(palette().color(QPalette::Base));
    if (!image.isNull()) {
        const QImage scaled =
            image.scaled(kThumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter painter(&tile);
        painter.drawImage((kThumbnailSize.width() - scaled.width()) / 2,
                          (kThumbnailSize.height() - scaled.height()) / 2, scaled);
    }
    item(row)->setIcon(QIcon(tile));
    item(row)->setData(kPictureRole, tile.toImage());
}

bool TemplateGallery::Busy() const {
    return workTimer_.isActive() || grabTimer_.isActive() || renderingRow_ >= 0 ||
           (!pending_.empty() && isVisible());
}

QImage TemplateGallery::Thumbnail(int row) const {
    return row >= 0 && row < count() ? item(row)->data(kPictureRole).value<QImage>() : QImage();
}

QImage TemplateGallery::LetterPicture(const QString& templateName) const {
    for (int row = 0; row < count(); ++row) {
        if (ShowsLetter(row) && tiles_[static_cast<std::size_t>(row)].name.compare(
                                    templateName, Qt::CaseInsensitive) == 0) {
            return item(row)->data(kLetterPictureRole).value<QImage>();
        }
    }
    return {};
}

bool TemplateGallery::ShowsLetter(int row) const {
    return row >= 0 && row < count() && item(row)->data(kShowsLetterRole).toBool();
}

} // namespace scribvane
