// Everything the Publish action asks or shows the user, behind one interface: the window's
// dialogs in use, a recording stand-in in tests.
#pragma once

#include "publishing/PublishTargets.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QProgressDialog;
class QWidget;

namespace scribvane {

class MessageService;

class PublishPrompts {
public:
    virtual ~PublishPrompts() = default;

    // Which target to publish to: an index into `names`, names.size() for a new one, nothing
    // when the user cancelled.
    virtual std::optional<int> ChooseTarget(const QStringList& names) = 0;
    // Sets up or changes a target (with "Test Connection"); false when cancelled. The secret
    // typed there, if any, is given back in `secret`.
    virtual bool EditTarget(PublishTarget& target, QString& secret) = 0;
    // The password (for S3 "KEYID:SECRET") for a target; `reason` says why it is asked.
    virtual std::optional<QString> AskSecret(const QString& target, const QString& reason) = 0;
    // "Trust this server?" with its fingerprint.
    virtual bool TrustServer(const QString& address, const QString& fingerprint) = 0;
    // The file being sent; index counts from 0.
    virtual void Progress(const QString& file, int index, int total) = 0;
    // Polled while publishing: whether the user pressed Cancel.
    virtual bool CancelPressed() = 0;
    virtual void Done() = 0; // publishing ended, either way
    // "Published N files (M unchanged) to ADDRESS", with "Open Online" when there is a public
    // address.
    virtual void Published(const QString& message, const QString& publicAddress) = 0;
    // What failed in the user's words, with the server's (or the transfer library's) own words
    // as its details.
    virtual void Failed(const QString& message, const QString& details) = 0;
};

// The window's dialogs; failures go through the message service.
class DialogPublishPrompts final : public PublishPrompts {
public:
    explicit DialogPublishPrompts(QWidget* parent);
    DialogPublishPrompts(QWidget* parent, MessageService& messages);
    ~DialogPublishPrompts() override;

    std::optional<int> ChooseTarget(const QStringList& names) override;
    bool EditTarget(PublishTarget& target, QString& secret) override;
    std::optional<QString> AskSecret(const QString& target, const QString& reason) override;
    bool TrustServer(const QString& address, const QString& fingerprint) override;
    void Progress(const QString& file, int index, int total) override;
    bool CancelPressed() override;
    void Done() override;
    void Published(const QString& message, const QString& publicAddress) override;
    void Failed(const QString& message, const QString& details) override;

private:
    QWidget* parent_;
    std::unique_ptr<MessageService> ownMessages_;
    MessageService& messages_;
    QProgressDialog* progress_ = nullptr;
};

} // namespace scribvane
