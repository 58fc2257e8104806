#include "app/shared/ErrorTrap.h"

#include "app/shared/ErrorReport.h"

ErrorTrap::ErrorTrap(Prompts &prompts, QString source)
    : m_prompts(prompts)
    , m_source(std::move(source))
{
}

bool ErrorTrap::check(int line, const Outcome &outcome)
{
    if (outcome.isOk())
        return true;
    ++m_failureCount;
    ErrorReport(m_prompts, outcome.description(), m_source, line);
    return false;
}
