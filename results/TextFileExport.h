#pragma once

#include "results/WriteTextFile.h"

#include <QByteArray>
#include <QString>

class GeneratedNames;

// The pieces of saving the results as results.txt.
class TextFileExport
{
public:
    // results.txt in the folder box's folder, one separator between them whether or not
    // the box ends in one; doubled separators collapse, a leading "//" pair is kept and a
    // single leading "/" stays single.
    static QString filePath(const QString &folder);
    // Every row followed by CR LF, the last one included, in UTF-8; empty for no rows.
    static QByteArray content(const GeneratedNames &names);
    // The same bytes in blocks, for WriteTextFile.
    static TextBlocks blocks(const GeneratedNames &names);
    // The completion message for the written file.
    static QString doneMessage(const QString &filePath);
};
