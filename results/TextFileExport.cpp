#include "results/TextFileExport.h"

#include "app/shared/CollapseBackslashes.h"
#include "generate/GeneratedNames.h"

QString TextFileExport::filePath(const QString &folder)
{
    // Here a single leading separator is an ordinary absolute path, not half of a network
    // path, so the lead is judged on its own: one stays one, two or more become the pair.
    qsizetype lead = 0;
    while (lead < folder.size() && folder[lead] == QLatin1Char('/'))
        ++lead;
    const QString rest = folder.mid(lead);
    if (lead == 0 && rest.isEmpty())
        return QStringLiteral("/results.txt");
    const QString prefix = lead == 0 ? QString() : lead == 1 ? QStringLiteral("/") : QStringLiteral("//");
    return prefix
        + CollapseBackslashes(rest.isEmpty() ? QStringLiteral("results.txt") : rest + QStringLiteral("/results.txt"));
}

QByteArray TextFileExport::content(const GeneratedNames &names)
{
    return names.utf8Lines("\r\n");
}

QString TextFileExport::doneMessage(const QString &filePath)
{
    return QStringLiteral("Done.") + QStringLiteral("\r\r") + filePath + QStringLiteral("\r\n") + QStringLiteral("\r\n")
        + QStringLiteral("was created.");
}
