#pragma once

#include "app/shared/Outcome.h"

#include <QString>

class Prompts;

// The numbered-step trap of a handler: each failed step is reported through the
// error dialog with its line number, and the handler goes on with its next step.
class ErrorTrap
{
public:
    ErrorTrap(Prompts &prompts, QString source);

    // Reports the outcome if it failed; returns whether the step succeeded.
    bool check(int line, const Outcome &outcome);
    int failureCount() const { return m_failureCount; }
    Prompts &prompts() const { return m_prompts; }

private:
    Prompts &m_prompts;
    QString m_source;
    int m_failureCount = 0;
};
