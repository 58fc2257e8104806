#include "lists/NameFileLoader.h"

#include "app/shared/CollapseBackslashes.h"
#include "app/shared/ErrorTrap.h"
#include "app/shared/PathExists.h"
#include "app/shared/Prompts.h"
#include "store/NameStore.h"

namespace {
NameInsert insertFor(ListKind kind, ListSource source)
{
    if (kind == ListKind::FirstNames)
        return source == ListSource::BuiltIn ? NameInsert::FemaleFirstName : NameInsert::UserFirstName;
    return source == ListSource::BuiltIn ? NameInsert::BuiltInLastName : NameInsert::UserLastName;
}
} // namespace

NameFileLoader::NameFileLoader(const ListEditContext &context)
    : m_context(context)
{ }

int NameFileLoader::insertLine(NameFile::Place place, ListKind kind, ListSource source)
{
    // Each place has its own block of steps; within it, the two first-name inserts come
    // before the two last-name ones, the built-in one of each pair first.
    int line = 0;
    switch (place) {
    case NameFile::Place::BeforeLineFeed:
        line = 128;
        break;
    case NameFile::Place::AfterLineFeed:
        line = 154;
        break;
    case NameFile::Place::WholeLine:
        line = 176;
        break;
    }
    if (source == ListSource::User)
        line += 4;
    if (kind == ListKind::LastNames)
        line += 10;
    return line;
}

void NameFileLoader::loadFiles(ListKind kind)
{
    ErrorTrap trap(m_context.prompts,
        kind == ListKind::FirstNames ? QStringLiteral("Form1.PushButton6_Click")
                                     : QStringLiteral("Form1.PushButton7_Click"));
    const QStringList paths
        = m_context.prompts.openFiles(QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"),
            QStringLiteral("Text Files (*.txt);;All Files (*)"));
    if (!paths.isEmpty())
        loadPaths(kind, paths, trap);
    if (kind == ListKind::LastNames)
        m_context.setBusyPointer(false);
}

void NameFileLoader::loadDroppedFiles(ListKind kind, const QList<QUrl> &urls)
{
    ErrorTrap trap(m_context.prompts,
        kind == ListKind::FirstNames ? QStringLiteral("Form1.ListView1_OLEDragDrop")
                                     : QStringLiteral("Form1.ListView2_OLEDragDrop"));
    QStringList paths;
    QStringList refused;
    for (const QUrl &url : urls) {
        // file://host/... names a file of another computer; only no host or localhost is this one.
        QUrl local = url;
        if (local.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            local.setHost(QString());
        if (local.isLocalFile() && local.host().isEmpty())
            paths.append(local.toLocalFile());
        else
            refused.append(url.toDisplayString());
    }
    if (!refused.isEmpty()) {
        m_context.prompts.message(QStringLiteral("Only files on this computer can be loaded. Not loaded:\r")
                + refused.join(QLatin1Char('\r')),
            m_context.applicationTitle);
    }
    if (!paths.isEmpty())
        loadPaths(kind, paths, trap);
}

void NameFileLoader::loadPaths(ListKind kind, const QStringList &paths, ErrorTrap &trap)
{
    m_context.setBusyPointer(true);
    for (const QString &path : paths)
        FileToListview(CollapseBackslashes(path), kind);
    m_context.setBusyPointer(false);
    trap.check(140, m_context.reloadLists());
}

void NameFileLoader::FileToListview(const QString &path, ListKind kind)
{
    ErrorTrap trap(m_context.prompts, QStringLiteral("Main.FileToListview"));
    NameStore store(m_context.databasePath);
    if (!PathExists(path)) {
        m_context.prompts.message(QStringLiteral("File not found"), m_context.applicationTitle);
        return;
    }
    // Without the database every name would fail on its own: one report is enough.
    if (!trap.check(106, store.open()))
        return;
    // A read-only database would refuse each name in turn: say so once, before reading the file.
    if (!trap.check(106, store.requireWritable())) {
        store.close();
        return;
    }

    NameFile file;
    if (!trap.check(108, file.read(path)) || !trap.check(112, file.validate())) {
        store.close();
        return;
    }

    // One transaction per file: a million names go in quickly, and a kill part-way leaves
    // none of the file behind rather than a part of it. A refused statement ends only
    // itself, not the transaction.
    if (!trap.check(110, store.beginTransaction())) {
        store.close();
        return;
    }
    bool abandoned = false;
    file.forEachName([&](const QString &name, NameFile::Place place) {
        if (abandoned)
            return;
        const ListSource source = m_context.listSource();
        if (source == ListSource::None)
            return;
        const int line = insertLine(place, kind, source);
        const Outcome inserted = store.insert(insertFor(kind, source), name);
        if (inserted || store.lastInsertRefusedTheName()) {
            trap.check(line, inserted);
            return;
        }
        // The database itself failed (locked, a table missing, corrupt, disk full): every
        // further name would fail the same way, each after its own wait. The file ends here.
        abandoned = true;
        trap.check(line,
            Outcome::failure(inserted.description()
                + QStringLiteral(" None of the names of \"%1\" were stored.").arg(file.displayPath())));
    });
    if (abandoned) {
        store.rollback();
        store.close();
        return;
    }
    const Outcome committed = store.commit();
    if (committed.isFailure()) {
        store.rollback();
        trap.check(192,
            Outcome::failure(committed.description()
                + QStringLiteral(" None of the names of \"%1\" were stored.").arg(file.displayPath())));
    }
    store.close();
}
