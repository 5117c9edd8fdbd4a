// A message service for widget tests: records every message and answers questions from a
// queue the test fills (OK when the queue is empty; close without saving for the question
// before closing).
#pragma once

#include "widgets/MessageService.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace scribvane::testing {

class RecordingMessageService : public MessageService {
public:
    struct Message {
        QString kind; // "warning", "information", "question", "error", "close question"
        QString text;
        QString details; // shown under "Details", for a warning with details
    };

    void Warning(const QString& text) override {
        messages.append({QStringLiteral("warning"), text, {}});
    }
    void WarningWithDetails(const QString& text, const QString& details) override {
        messages.append({QStringLiteral("warning"), text, details});
    }
    void Information(const QString& text) override {
        messages.append({QStringLiteral("information"), text, {}});
    }
    bool Question(const QString& text) override {
        messages.append({QStringLiteral("question"), text, {}});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    void Error(const QString& text) override {
        messages.append({QStringLiteral("error"), text, {}});
    }
    CloseAnswer AskSaveBeforeClosing(const QString& text) override {
        messages.append({QStringLiteral("close question"), text, {}});
        return closeAnswers.isEmpty() ? CloseAnswer::Discard : closeAnswers.takeFirst();
    }

    QStringList texts() const {
        QStringList all;
        for (const auto& message : messages) {
            all.append(message.text);
        }
        return all;
    }

    QList<Message> messages;
    QList<bool> answers; // answers to the next questions, in order
    // Answers to the next questions before closing (Discard when empty: the window closes).
    QList<CloseAnswer> closeAnswers;
};

} // namespace scribvane::testing
