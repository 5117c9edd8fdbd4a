// The target dialog; see PublishTargetDialog.h.
#include "publishing/PublishTargetDialog.h"

#include "publishing/PublishAddress.h"
#include "publishing/PublishError.h"
#include "publishing/Publisher.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <thread>

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
                                         QWidget* parent)
    : QDialog(parent), target_(target) {
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
        outcome_->setText(QStringLiteral("Not an address: ") + QString::fromStdString(problem));
        return false;
    }
    TransportSettings settings;
    const QString secret = Secret();
    if (address->protocol == Protocol::S3) {
        settings.keyId = keyId_->text().toStdString();
        settings.password = password_->text().toStdString();
    } else {
        settings.password = secret.toStdString();
    }
    settings.trusted = target_.trusted;
    settings.sshKeyFolder = (QDir::homePath() + QStringLiteral("/.ssh")).toStdString();
    outcome_->setText(QStringLiteral("Testing..."));
    test_->setEnabled(false);
    // The probe runs on a thread of its own; the dialog keeps answering meanwhile.
    QString result;
    bool ok = false;
    QEventLoop loop;
    std::thread probe([&] {
        try {
            TestPublishConnection(*address, settings);
            ok = true;
            result = QStringLiteral("The connection works: a probe file was written and removed.");
        } catch (const PublishError& error) {
            result = QString::fromStdString(error.what());
            if (!error.serverMessage().empty()) {
                result += QStringLiteral("\nThe server said: ") +
                          QString::fromStdString(error.serverMessage());
            }
        } catch (const std::exception& error) {
            result = QString::fromStdString(error.what());
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    probe.join();
    test_->setEnabled(true);
    outcome_->setText(result);
    return ok;
}

void PublishTargetDialog::AcceptIfValid() {
    const PublishTarget target = Target();
    std::string problem;
    if (!IsValidTargetName(target.name)) {
        outcome_->setText(QStringLiteral("Please give the target a name (no line breaks or ']')."));
    } else if (!ParsePublishAddress(address_->text().toStdString(), problem)) {
        outcome_->setText(QStringLiteral("Not an address: ") + QString::fromStdString(problem));
    } else if (!IsPublicAddress(publicAddress_->text().trimmed())) {
        // Link previews and "Open Online" need the address a browser opens.
        outcome_->setText(QStringLiteral("The public address is where visitors open the folder: "
                                         "it starts with https:// or http://."));
    } else {
        accept();
    }
}

} // namespace scribvane
