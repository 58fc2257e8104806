#pragma once

#include <QString>

// What one step of work came to: success, or a failure carrying the description
// that the error dialog shows. Lower layers return it; windows report it.
class [[nodiscard]] Outcome
{
public:
    Outcome() = default;

    static Outcome failure(QString description)
    {
        Outcome outcome;
        outcome.m_failed = true;
        outcome.m_description = std::move(description);
        return outcome;
    }

    bool isOk() const { return !m_failed; }
    bool isFailure() const { return m_failed; }
    explicit operator bool() const { return !m_failed; }
    const QString &description() const { return m_description; }

private:
    bool m_failed = false;
    QString m_description;
};
