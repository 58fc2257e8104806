#include "bench/BenchSession.h"

#include "store/NameStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

BenchSession::BenchSession(const QString &benchName, const QStringList &maleFirstNames,
    const QStringList &femaleFirstNames, const QStringList &lastNames)
    : m_prompts(benchName)
    , m_settings(m_folder.filePath(QStringLiteral("settings.ini")))
    , m_context{m_prompts, m_settings, m_random, m_folder.path(), m_folder.path()}
    , m_form(m_context)
{
    if (!m_folder.isValid()) {
        QTextStream(stderr) << benchName << ": no temporary folder: " << m_folder.errorString() << '\n';
        return;
    }
    const Outcome created
        = NameStore::create(NameStore::pathIn(m_folder.path()), maleFirstNames, femaleFirstNames, lastNames);
    if (created.isFailure()) {
        QTextStream(stderr) << benchName << ": no names database: " << created.description() << '\n';
        return;
    }
    // The kanji and kana of the built-in names, how common they are and since when their kanji
    // could be given lie beside names.mdb, as in a build.
    for (const QString &table :
        {QStringLiteral("readings.tsv"), QStringLiteral("frequency.tsv"), QStringLiteral("kanji-dates.tsv")}) {
        if (!QFile::copy(QStringLiteral(TOVISKA_DATA_DIR "/") + table, m_folder.filePath(table)))
            QTextStream(stderr) << benchName << ": " << table << " could not be copied\n";
    }
    m_ready = true;
}

void BenchSession::start()
{
    m_form.Form_Load();
    m_form.show();
    QCoreApplication::processEvents();
}

QStringList BenchSession::shippedList(const QString &fileName)
{
    QFile file(QStringLiteral(TOVISKA_DATA_DIR "/") + fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
