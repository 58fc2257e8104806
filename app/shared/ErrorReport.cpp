#include "app/shared/ErrorReport.h"

#include "app/shared/Prompts.h"

namespace {
const auto kSourcePrefix = QStringLiteral("Toviska2021/08/31.");
const auto kSupportAddress = QStringLiteral("support@quillmark.net");
const auto kTitle = QStringLiteral("Application Error");
} // namespace

QString ErrorReportText(const QString &description, const QString &source, int line)
{
    return description + QStringLiteral("\r\n") + QStringLiteral("in ") + kSourcePrefix + source
        + QLatin1Char(' ') + QStringLiteral("at line ") + QString::number(line) + QStringLiteral("\r\r")
        + QStringLiteral("Please email screenshot of this message to ") + kSupportAddress;
}

void ErrorReport(Prompts &prompts, const QString &description, const QString &source, int line)
{
    prompts.errorDialog(ErrorReportText(description, source, line), kTitle);
}
