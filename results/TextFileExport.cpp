#include "results/TextFileExport.h"

#include "app/shared/CollapseBackslashes.h"
#include "generate/GeneratedNames.h"

QString TextFileExport::filePath(const QString &folder)
{
    // The root folder's own separator and the joining one are not a network path's pair.
    if (folder == QLatin1String("/"))
        return QStringLiteral("/results.txt");
    return CollapseBackslashes(folder + QStringLiteral("/results.txt"));
}

QByteArray TextFileExport::content(const GeneratedNames &names)
{
    return names.utf8Lines("\r\n");
}

TextBlocks TextFileExport::blocks(const GeneratedNames &names)
{
    return [&names](const std::function<bool(QByteArrayView)> &write) { return names.writeUtf8Lines("\r\n", write); };
}

QString TextFileExport::doneMessage(const QString &filePath)
{
    return QStringLiteral("Done.") + QStringLiteral("\r\r") + filePath + QStringLiteral("\r\n") + QStringLiteral("\r\n")
        + QStringLiteral("was created.");
}
