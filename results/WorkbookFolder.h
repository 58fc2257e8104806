#pragma once

#include "app/shared/Outcome.h"

#include <QString>
#include <memory>

class QLockFile;

// Where this run keeps the workbooks it hands to the spreadsheet application. They must outlive
// the export (the application reads them later, the user may open one by hand), so they are not
// removed when the run ends but when a later run starts: each run has a folder of its own under
// one root, marked as in use by a lock that the run holds, and claiming a new folder removes
// every folder whose run has ended. A run still going keeps its folder and its workbooks.
class WorkbookFolder
{
public:
    explicit WorkbookFolder(QString root);
    ~WorkbookFolder();
    WorkbookFolder(const WorkbookFolder &) = delete;
    WorkbookFolder &operator=(const WorkbookFolder &) = delete;

    // The root in the user's cache folder of this application.
    static QString defaultRoot();

    // Removes the folders of runs that have ended, then makes and locks this run's folder.
    Outcome claim();
    // This run's folder; empty until claim() succeeds.
    const QString &path() const { return m_path; }

private:
    void removeEndedRuns() const;

    QString m_root;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
