// The window's dialogs for publishing; see PublishPrompts.h.
#include "publishing/PublishPrompts.h"

#include "publishing/PublishTargetDialog.h"
#include "widgets/MessageService.h"

#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QUrl>

namespace scribvane {

DialogPublishPrompts::DialogPublishPrompts(QWidget* parent)
    : parent_(parent), ownMessages_(std::make_unique<DialogMessageService>(parent)),
      messages_(*ownMessages_) {}

DialogPublishPrompts::DialogPublishPrompts(QWidget* parent, MessageService& messages)
    : parent_(parent), messages_(messages) {}

DialogPublishPrompts::~DialogPublishPrompts() {
    delete progress_;
}

std::optional<int> DialogPublishPrompts::ChooseTarget(const QStringList& names) {
    QStringList items = names;
    items << QStringLiteral("New target...");
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(parent_, QStringLiteral("Publish"),
                              QStringLiteral("Publish the letter to:"), items, 0, false, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return static_cast<int>(items.indexOf(chosen));
}

bool DialogPublishPrompts::EditTarget(PublishTarget& target, QString& secret) {
    PublishTargetDialog dialog(target, secret, *this, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    target = dialog.Target();
    secret = dialog.Secret();
    return true;
}

std::optional<QString> DialogPublishPrompts::AskSecret(const QString& target,
                                                       const QString& reason) {
    bool ok = false;
    const QString secret =
        QInputDialog::getText(parent_, QStringLiteral("Publish"),
                              reason + QStringLiteral("\n\nPassword for \"") + target +
                                  QStringLiteral("\" (for S3: KEYID:SECRET):"),
                              QLineEdit::Password, QString(), &ok);
    return ok ? std::optional(secret) : std::nullopt;
}

bool DialogPublishPrompts::TrustServer(const QString& address, const QString& fingerprint) {
    return QMessageBox::question(
               parent_, QStringLiteral("Trust this server?"),
               QStringLiteral("The server of %1 is not known yet. Its fingerprint is\n\n%2\n\n"
                              "Trust this server? Answer Yes only if this is the fingerprint "
                              "your host gave you.")
                   .arg(address, fingerprint),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void DialogPublishPrompts::Progress(const QString& file, int index, int total) {
    if (!progress_) {
        progress_ = new QProgressDialog(parent_);
        progress_->setObjectName(QStringLiteral("dlgPublishProgress"));
        progress_->setWindowTitle(QStringLiteral("Publish"));
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(0);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
    }
    progress_->setMaximum(total);
    progress_->setValue(index);
    progress_->setLabelText(file.isEmpty() ? QStringLiteral("Connecting...")
                                           : QStringLiteral("Sending ") + file);
    progress_->show();
}

bool DialogPublishPrompts::CancelPressed() {
    return progress_ && progress_->wasCanceled();
}

void DialogPublishPrompts::Done() {
    delete progress_;
    progress_ = nullptr;
}

void DialogPublishPrompts::Published(const QString& message, const QString& publicAddress) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Publish"), message, QMessageBox::Ok,
                    parent_);
    QPushButton* open = nullptr;
    if (!publicAddress.isEmpty()) {
        open = box.addButton(QStringLiteral("Open Online"), QMessageBox::ActionRole);
        open->setObjectName(QStringLiteral("btnOpenOnline"));
    }
    box.exec();
    if (open && box.clickedButton() == open) {
        QDesktopServices::openUrl(QUrl(publicAddress));
    }
}

void DialogPublishPrompts::Failed(const QString& message, const QString& details) {
    messages_.WarningWithDetails(message, details);
}

} // namespace scribvane
