#pragma once

#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "bench/BenchPrompts.h"
#include "generate/RandomSource.h"

#include <QStringList>
#include <QTemporaryDir>

// One run of the application for a benchmark, over a throw-away folder that serves as the
// application and the desktop folder: names.mdb made there from the given lists, a settings
// file of its own, the scripted user and the main window, not yet loaded.
class BenchSession
{
public:
    // benchName starts every line printed, e.g. "lists bench".
    BenchSession(const QString &benchName, const QStringList &maleFirstNames, const QStringList &femaleFirstNames,
        const QStringList &lastNames);

    // A name list shipped in data/ (male.txt, female.txt, last.txt), one name a line; empty
    // when it cannot be read.
    static QStringList shippedList(const QString &fileName);

    // False, with the reason printed, when the folder or names.mdb could not be made.
    bool isReady() const { return m_ready; }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }
    QString folder() const { return m_folder.path(); }

    BenchPrompts &prompts() { return m_prompts; }
    Form1 &form() { return m_form; }

    // Loads and shows the main window as the start of the application does, and lets it paint.
    void start();

private:
    QTemporaryDir m_folder;
    BenchPrompts m_prompts;
    SettingsStore m_settings;
    RandomSource m_random;
    AppContext m_context;
    Form1 m_form;
    bool m_ready = false;
};
