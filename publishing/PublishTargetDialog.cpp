// The target dialog; see PublishTargetDialog.h.
#include "publishing/PublishTargetDialog.h"

#include "publishing/PublishAddress.h"
#include "publishing/PublishPrompts.h"
#include "publishing/PublishRetry.h"
#include "publishing/Publisher.h"
#include "widgets/OffWindowThread.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace scribvane {
namespace {

QLineEdit* MakeEdit(const QString& name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}

// Empty (the target has none), or a web address with a host.
bool IsPublicAddress(const QString& text) {
    if (text.isEmpty()) {
        return true;
    }
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QStringLiteral("https") || url.scheme() == QStringLiteral("http"));
}

} // namespace

PublishTargetDialog::PublishTargetDialog(const PublishTarget& target, const QString& secret,
                                         PublishPrompts& prompts, QWidget* parent)
    : QDialog(parent), target_(target), prompts_(prompts) {
    setObjectName(QStringLiteral("dlgPublishTarget"));
    setWindowTitle(QStringLiteral("Publish Target"));
    name_ = MakeEdit(QStringLiteral("edtTargetName"), QString::fromStdString(target.name), this);
    address_ =
        MakeEdit(QStringLiteral("edtTargetAddress"), QString::fromStdString(target.address), this);
    address_->setPlaceholderText(QStringLiteral("sftp://user@host:port/folder/"));
    address_->setToolTip(QStringLiteral(
        "sftp://, ftps://, ftp://, webdav+https://, webdav+http://, "
        "s3://bucket/prefix/?endpoint=https://host:port&region=R or file:///folder/"));
    publicAddress_ = MakeEdit(QStringLiteral("edtTargetPublicAddress"),
                              QString::fromStdString(target.publicAddress), this);
    publicAddress_->setPlaceholderText(QStringLiteral("https://example.com/offer/"));
    const qsizetype colon = secret.indexOf(QLatin1Char(':'));
    const bool s3 = target.address.rfind("s3://", 0) == 0;
    keyId_ = MakeEdit(QStringLiteral("edtTargetKeyId"),
                      s3 && colon >= 0 ? secret.left(colon) : QString(), this);
    password_ = MakeEdit(QStringLiteral("edtTargetPassword"),
                         s3 && colon >= 0 ? secret.mid(colon + 1) : secret, this);
    password_->setEchoMode(QLineEdit::Password);
    warning_ = new QLabel(this);
    warning_->setObjectName(QStringLiteral("lblClearTextWarning"));
    warning_->setWordWrap(true);
    outcome_ = new QLabel(this);
    outcome_->setObjectName(QStringLiteral("lblTestOutcome"));
    outcome_->setWordWrap(true);
    outcome_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details_ = new QLabel(this);
    details_->setObjectName(QStringLiteral("lblTestDetails"));
    details_->setWordWrap(true);
    details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details_->setForegroundRole(QPalette::PlaceholderText);
    details_->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), name_);
    form->addRow(QStringLiteral("Address:"), address_);
    form->addRow(QStringLiteral("Public address:"), publicAddress_);
    form->addRow(QStringLiteral("S3 key id:"), keyId_);
    form->addRow(QStringLiteral("Password:"), password_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    test_ = buttons->addButton(QStringLiteral("Test Connection"), QDialogButtonBox::ActionRole);
    test_->setObjectName(QStringLiteral("btnTestConnection"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(warning_);
    layout->addWidget(outcome_);
    layout->addWidget(details_);
    layout->addStretch();
    layout->addWidget(buttons);
    connect(address_, &QLineEdit::textChanged, this, &PublishTargetDialog::UpdateWarning);
    connect(test_, &QPushButton::clicked, this, [this] { (void)TestConnection(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &PublishTargetDialog::AcceptIfValid);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateWarning();
}

PublishTarget PublishTargetDialog::Target() const {
    PublishTarget target = target_;
    target.name = name_->text().trimmed().toStdString();
    target.publicAddress = publicAddress_->text().trimmed().toStdString();
    std::string problem;
    if (const auto address = ParsePublishAddress(address_->text().toStdString(), problem)) {
        const std::string formatted = FormatPublishAddress(*address);
        if (formatted != target_.address) {
            target.trusted.clear(); // another server: what was trusted was trusted for the old one
        }
        target.address = formatted;
    }
    return target;
}

QString PublishTargetDialog::Secret() const {
    if (address_->text().trimmed().startsWith(QStringLiteral("s3://"))) {
        return keyId_->text() + QLatin1Char(':') + password_->text();
    }
    return password_->text();
}

void PublishTargetDialog::UpdateWarning() {
    std::string problem;
    const auto address = ParsePublishAddress(address_->text().toStdString(), problem);
    keyId_->setEnabled(address && address->protocol == Protocol::S3);
    password_->setEnabled(!address || address->protocol != Protocol::Folder);
    if (!address) {
        warning_->setText(address_->text().trimmed().isEmpty()
                              ? QString()
                              : QStringLiteral("Not an address: ") +
                                    QString::fromStdString(problem));
    } else if (SendsPasswordInClear(address->protocol)) {
        warning_->setText(QStringLiteral(
            "Plain FTP and WebDAV over http send your password unencrypted: anyone on the "
            "network between you and the server can read it. Use sftp://, ftps:// or "
            "webdav+https:// where the server offers it."));
    } else {
        warning_->clear();
    }
}

bool PublishTargetDialog::TestConnection() {
    std::string problem;
    const auto address = ParsePublishAddress(address_->text().toStdString(), problem);
    if (!address) {
        ShowOutcome(QStringLiteral("Not an address: ") + QString::fromStdString(problem));
        return false;
    }
    const std::string formatted = FormatPublishAddress(*address);
    TransportSettings settings;
    if (formatted == target_.address) {
        settings.trusted = target_.trusted; // trusted for this server, not for another one
    }
    settings.sshKeyFolder = (QDir::homePath() + QStringLiteral("/.ssh")).toStdString();
    // What is typed is the password, even an empty one; SFTP without one tries the keys first.
    std::optional<std::string> secret;
    if (address->protocol != Protocol::Sftp || !password_->text().isEmpty()) {
        secret = Secret().toStdString();
    }
    PublishRetry retry(address->protocol, settings, secret);
    const auto attempt = [&](const TransportSettings& tried) {
        RunOffWindowThread([&] { TestPublishConnection(*address, tried); });
    };
    ShowOutcome(QStringLiteral("Testing..."));
    test_->setEnabled(false);
    bool works = false;
    for (bool asking = true; asking;) {
        const PublishRetry::Next next = retry.Run(attempt);
        const QString message = QString::fromStdString(next.message);
        const QString details = QString::fromStdString(next.details);
        asking = false;
        switch (next.ask) {
        case PublishRetry::Ask::Nothing:
            works = true;
            ShowOutcome(
                QStringLiteral("The connection works: a probe file was written and removed."));
            break;
        case PublishRetry::Ask::Trust:
            if (prompts_.TrustServer(QString::fromStdString(formatted),
                                     QString::fromStdString(next.fingerprint))) {
                retry.Trust(next.fingerprint);
                RememberTrust(formatted, next.fingerprint);
                asking = true;
            } else {
                ShowOutcome(QStringLiteral("Not tested: the server was not trusted, so nothing "
                                           "was sent to it."));
            }
            break;
        case PublishRetry::Ask::Password:
            ShowOutcome(message + QStringLiteral(" Type the password above and test again."),
                        details);
            break;
        case PublishRetry::Ask::GiveUp:
            ShowOutcome(message, details);
            break;
        case PublishRetry::Ask::Cancelled:
            ShowOutcome(QStringLiteral("The test was cancelled."));
            break;
        }
    }
    test_->setEnabled(true);
    return works;
}

void PublishTargetDialog::RememberTrust(const std::string& address,
                                        const std::string& fingerprint) {
    if (target_.address != address) {
        target_.trusted.clear(); // what was trusted was trusted for the old address
        target_.address = address;
    }
    target_.trusted.push_back(fingerprint);
}

void PublishTargetDialog::ShowOutcome(const QString& message, const QString& details) {
    outcome_->setText(message);
    details_->setText(details.isEmpty() ? QString() : QStringLiteral("Details: ") + details);
    details_->setVisible(!details.isEmpty());
    // A wrapped label needs more height for more text; a dialog that keeps its height would
    // give it the fields' room instead.
    layout()->activate();
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width())
                                                     : layout()->totalSizeHint().height();
    if (needed > height()) {
        resize(width(), needed);
    }
}

void PublishTargetDialog::AcceptIfValid() {
    const PublishTarget target = Target();
    std::string problem;
    if (!IsValidTargetName(target.name)) {
        ShowOutcome(QStringLiteral("Please give the target a name (no line breaks or ']')."));
    } else if (!ParsePublishAddress(address_->text().toStdString(), problem)) {
        ShowOutcome(QStringLiteral("Not an address: ") + QString::fromStdString(problem));
    } else if (!IsPublicAddress(publicAddress_->text().trimmed())) {
        // Link previews and "Open Online" need the address a browser opens.
        ShowOutcome(QStringLiteral("The public address is where visitors open the folder: it "
                                   "starts with https:// or http://."));
    } else {
        accept();
    }
}

} // namespace scribvane
