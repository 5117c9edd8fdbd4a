// Passwords and S3 secret keys of publish targets, kept in the desktop's secret store. Where
// no secret service runs, nothing is kept and the reason is given, so the window can ask every
// time and say why.
#pragma once

#include <QString>
#include <optional>

namespace scribvane {

class SecretStore {
public:
    virtual ~SecretStore() = default;

    struct Reading {
        std::optional<QString> secret; // nothing kept for this target yet (or unavailable)
        QString unavailable;           // why the store cannot be used; empty when it can
    };
    virtual Reading Read(const QString& target) = 0;
    // Returns why it could not be kept; empty when it was.
    virtual QString Write(const QString& target, const QString& secret) = 0;
    // Forgets a target's secret (nothing kept is no failure). Returns why it could not; empty
    // when it is gone.
    virtual QString Remove(const QString& target) = 0;
};

// The desktop's store through QtKeychain (Secret Service on Linux desktops). Each call waits
// for the store's answer in a local event loop, so the window keeps painting.
class KeychainSecretStore final : public SecretStore {
public:
    Reading Read(const QString& target) override;
    QString Write(const QString& target, const QString& secret) override;
    QString Remove(const QString& target) override;
};

} // namespace scribvane
