#include "store/NameStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUrl>
#include <QVariant>
#include <atomic>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {
const auto kDriver = QStringLiteral("QSQLITE");
const auto kFileName = QStringLiteral("names.mdb");

struct QueryText
{
    const char *sql;
    const char *field;
};

QueryText queryText(NameQuery which)
{
    switch (which) {
    case NameQuery::UserFirstNames:
        return {"select * from user_firstname order by firstname", "firstname"};
    case NameQuery::UserLastNames:
        return {"select * from user_lastname order by lastname", "lastname"};
    case NameQuery::BuiltInLastNames:
        return {"select * from system_lastname order by Last", "Last"};
    case NameQuery::BothFirstNames:
        return {"select distinct mfirst as firstname from system_mfirstname union select distinct ffirst as "
                "firstname from system_ffirstname order by firstname",
            "firstname"};
    case NameQuery::MaleFirstNames:
        return {"select distinct mfirst from system_mfirstname order by mfirst", "mfirst"};
    case NameQuery::FemaleFirstNames:
        return {"select distinct ffirst from system_ffirstname order by ffirst", "ffirst"};
    }
    return {"", ""};
}

const char *insertText(NameInsert table)
{
    switch (table) {
    case NameInsert::FemaleFirstName:
        return "insert into system_ffirstname (Ffirst) values (?)";
    case NameInsert::UserFirstName:
        return "insert into user_firstname (firstname) values (?)";
    case NameInsert::BuiltInLastName:
        return "insert into system_lastname ([Last]) values (?)";
    case NameInsert::UserLastName:
        return "insert into user_lastname (lastname) values (?)";
    }
    return "";
}

const char *deleteText(NameDelete table)
{
    switch (table) {
    case NameDelete::MaleFirstName:
        return "delete from system_mfirstname where Mfirst=?";
    case NameDelete::FemaleFirstName:
        return "delete from system_ffirstname where Ffirst=?";
    case NameDelete::BuiltInLastName:
        return "delete from system_lastname where Last=?";
    }
    return "";
}

const char *clearText(NameClear table)
{
    // SQLite has no "delete * from"; a delete without a where clause has the same effect.
    switch (table) {
    case NameClear::UserFirstNames:
        return "delete from user_firstname";
    case NameClear::UserLastNames:
        return "delete from user_lastname";
    }
    return "";
}

// Every name column compares through NOCASE, which this connection replaces below.
const char *const kSchema[] = {
    "create table system_mfirstname (Mfirst TEXT COLLATE NOCASE)",
    "create table system_ffirstname (Ffirst TEXT COLLATE NOCASE)",
    "create table system_lastname (Last TEXT COLLATE NOCASE)",
    "create table user_firstname (firstname TEXT COLLATE NOCASE)",
    "create table user_lastname (lastname TEXT COLLATE NOCASE)",
};

QString nextConnectionName()
{
    static std::atomic<quint64> counter{0};
    return QStringLiteral("toviska-names-%1").arg(++counter);
}

// The database's own words first; Qt's generic driver text only when SQLite said nothing.
QString errorText(const QSqlError &error)
{
    const QString database = error.databaseText().trimmed();
    if (!database.isEmpty())
        return database;
    const QString driver = error.driverText().trimmed();
    return driver.isEmpty() ? QStringLiteral("unknown error") : driver;
}

unsigned char asciiFold(unsigned char c)
{
    return static_cast<unsigned char>(c - 'A') < 26 ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

int compareDecoded(const unsigned char *bytes1, int length1, const unsigned char *bytes2, int length2)
{
    const QString text1 = QString::fromUtf8(reinterpret_cast<const char *>(bytes1), length1);
    const QString text2 = QString::fromUtf8(reinterpret_cast<const char *>(bytes2), length2);
    const int result = QString::compare(text1, text2, Qt::CaseInsensitive);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

// SQLite's own NOCASE folds ASCII letters only; names like "Ōno" need every letter folded.
// Sorting a million names calls this some twenty million times, so plain ASCII stays in the
// byte loop and only a real difference past a non-ASCII byte decodes the texts.
int compareNoCase(void *, int length1, const void *data1, int length2, const void *data2)
{
    const auto *bytes1 = static_cast<const unsigned char *>(data1);
    const auto *bytes2 = static_cast<const unsigned char *>(data2);
    const int common = length1 < length2 ? length1 : length2;
    int firstNonAscii = -1; // everything before it is ASCII, so it starts a character in both
    for (int i = 0; i < common; ++i) {
        const unsigned char c1 = bytes1[i];
        const unsigned char c2 = bytes2[i];
        if (c1 == c2) {
            if ((c1 & 0x80) && firstNonAscii < 0)
                firstNonAscii = i;
            continue;
        }
        if (!((c1 | c2) & 0x80)) {
            const unsigned char f1 = asciiFold(c1);
            const unsigned char f2 = asciiFold(c2);
            if (f1 == f2)
                continue;
            if (firstNonAscii < 0)
                return f1 < f2 ? -1 : 1;
        }
        const int from = firstNonAscii < 0 ? i : firstNonAscii;
        return compareDecoded(bytes1 + from, length1 - from, bytes2 + from, length2 - from);
    }
    // Equal as far as the shorter one goes, where both end on a character boundary.
    if (length1 == length2)
        return 0;
    return length1 < length2 ? -1 : 1;
}

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

Outcome registerCollation(const QSqlDatabase &db)
{
    sqlite3 *connection = sqliteHandle(db);
    if (!connection)
        return Outcome::failure(QStringLiteral("the SQLite connection handle is not available"));
    const int rc = sqlite3_create_collation_v2(connection, "NOCASE", SQLITE_UTF8, nullptr, &compareNoCase, nullptr);
    if (rc != SQLITE_OK)
        return Outcome::failure(QString::fromUtf8(sqlite3_errstr(rc)));
    return {};
}

// Finalizes a statement however the reading ends.
class Statement
{
public:
    Statement() = default;
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt **out() { return &m_statement; }
    sqlite3_stmt *get() const { return m_statement; }

private:
    sqlite3_stmt *m_statement = nullptr;
};

// file: URI of an absolute path; mode=rw makes a missing file an error instead of a new database.
QString uriFor(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(absolute, "/"))
        + QStringLiteral("?mode=rw");
}

const auto kNotOpen = QStringLiteral("The names database is not open.");

// Qt binds a null QString as SQL NULL, which no "=" ever matches: names are always text.
QString boundText(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}
} // namespace

NameStore::NameStore(QString databasePath)
    : m_databasePath(std::move(databasePath))
    , m_connectionName(nextConnectionName())
{ }

NameStore::~NameStore()
{
    close();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

QString NameStore::pathIn(const QString &folder)
{
    return QDir(folder).filePath(kFileName);
}

Outcome NameStore::open()
{
    close();
    const auto failed = [this](const QString &why) {
        return Outcome::failure(
            QStringLiteral("The names database %1 could not be opened: %2").arg(m_databasePath, why));
    };
    if (m_databasePath.isEmpty())
        return failed(QStringLiteral("no path given"));
    {
        QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
            ? QSqlDatabase::database(m_connectionName, false)
            : QSqlDatabase::addDatabase(kDriver, m_connectionName);
        if (!db.isValid())
            return failed(QStringLiteral("the SQLite driver of Qt (QSQLITE) is not installed"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        db.setDatabaseName(uriFor(m_databasePath));
        if (!db.open())
            return failed(errorText(db.lastError()));
        if (Outcome registered = registerCollation(db); !registered) {
            db.close();
            return failed(registered.description());
        }
        // SQLite reads the file lazily; a file that is not a database shows only at the first read.
        QString probeError;
        {
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("select count(*) from sqlite_master")) || !probe.next())
                probeError = errorText(probe.lastError());
        }
        if (!probeError.isEmpty()) {
            db.close();
            return failed(probeError);
        }
    }
    return {};
}

bool NameStore::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && QSqlDatabase::database(m_connectionName, false).isOpen();
}

Outcome NameStore::requireWritable() const
{
    if (!isOpen())
        return Outcome::failure(kNotOpen);
    sqlite3 *connection = sqliteHandle(QSqlDatabase::database(m_connectionName, false));
    // SQLite opens a file it may not write read-only without a word; only the first change
    // would fail, and then every following one, each on its own.
    if (connection && sqlite3_db_readonly(connection, "main") == 1) {
        return Outcome::failure(QStringLiteral("The names database %1 is read-only: names cannot be added or deleted.")
                                    .arg(m_databasePath));
    }
    const QString folder = QFileInfo(m_databasePath).absolutePath();
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) != 0) {
        return Outcome::failure(QStringLiteral("The names database %1 is read-only: its folder %2 cannot be written, "
                                               "so names cannot be added or deleted.")
                                    .arg(m_databasePath, folder));
    }
    return {};
}

void NameStore::close()
{
    for (sqlite3_stmt *&prepared : m_inserts) {
        sqlite3_finalize(prepared);
        prepared = nullptr;
    }
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen())
        db.close();
}

Outcome NameStore::query(NameQuery which, QStringList &names) const
{
    return query(
        which, [] {}, [&names](QString &&name) { names.append(std::move(name)); });
}

Outcome NameStore::query(
    NameQuery which, const std::function<void()> &opened, const std::function<void(QString &&)> &row) const
{
    if (!isOpen())
        return Outcome::failure(kNotOpen);
    const auto failed = [this](const QString &why) {
        return Outcome::failure(
            QStringLiteral("The names could not be read from the names database %1: %2").arg(m_databasePath, why));
    };
    sqlite3 *connection = sqliteHandle(QSqlDatabase::database(m_connectionName, false));
    if (!connection)
        return failed(QStringLiteral("the SQLite connection handle is not available"));
    // Read forward only, straight from SQLite on this same connection: a pane of a million
    // names spends a third of its reload in Qt's per-row variant copies otherwise.
    const QueryText text = queryText(which);
    Statement statement;
    if (sqlite3_prepare_v2(connection, text.sql, -1, statement.out(), nullptr) != SQLITE_OK)
        return failed(QString::fromUtf8(sqlite3_errmsg(connection)));
    int field = -1;
    for (int i = 0; i < sqlite3_column_count(statement.get()); ++i) {
        if (qstricmp(sqlite3_column_name(statement.get(), i), text.field) == 0) {
            field = i;
            break;
        }
    }
    if (field < 0)
        return failed(QStringLiteral("the query has no field %1").arg(QString::fromLatin1(text.field)));
    int rc = sqlite3_step(statement.get());
    if (rc == SQLITE_ROW || rc == SQLITE_DONE)
        opened();
    for (; rc == SQLITE_ROW; rc = sqlite3_step(statement.get())) {
        const auto *value = reinterpret_cast<const char *>(sqlite3_column_text(statement.get(), field));
        row(QString::fromUtf8(value, sqlite3_column_bytes(statement.get(), field)));
    }
    if (rc != SQLITE_DONE)
        return failed(QString::fromUtf8(sqlite3_errmsg(connection)));
    return {};
}

Outcome NameStore::insert(NameInsert table, const QString &name)
{
    m_lastInsertRefusedTheName = false;
    const auto failed = [this](const char *why) {
        return Outcome::failure(QStringLiteral("The name could not be stored in the names database %1: %2")
                                    .arg(m_databasePath, QString::fromUtf8(why)));
    };
    // Loading a file inserts many names into the same table: prepare each statement once.
    // A prepared statement means an open connection (close() drops them), so the connection
    // lookup is paid once per table, not once per name.
    sqlite3_stmt *&prepared = m_inserts[static_cast<std::size_t>(table)];
    if (!prepared) {
        if (!isOpen())
            return Outcome::failure(kNotOpen);
        sqlite3 *connection = sqliteHandle(QSqlDatabase::database(m_connectionName, false));
        if (!connection)
            return failed("the SQLite connection handle is not available");
        if (sqlite3_prepare_v2(connection, insertText(table), -1, &prepared, nullptr) != SQLITE_OK) {
            Outcome refused = failed(sqlite3_errmsg(connection));
            sqlite3_finalize(prepared);
            prepared = nullptr;
            return refused;
        }
    }
    // Bound in place, the name's own characters up to the cut; never NULL, names are text.
    static const char16_t kEmpty[] = u"";
    const qsizetype units = firstCharactersLength(name, MaxNameLength);
    const void *text = units > 0 ? static_cast<const void *>(name.utf16()) : static_cast<const void *>(kEmpty);
    int rc = sqlite3_bind_text16(prepared, 1, text, static_cast<int>(units * 2), SQLITE_STATIC);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(prepared);
    if (rc == SQLITE_DONE || rc == SQLITE_ROW) {
        sqlite3_reset(prepared);
        return {};
    }
    // A constraint or trigger refusing this one value (or a value of the wrong type or size)
    // ends only its own statement, as opposed to a failure of the database itself.
    sqlite3_reset(prepared);
    const int code = rc & 0xff;
    m_lastInsertRefusedTheName = code == SQLITE_CONSTRAINT || code == SQLITE_MISMATCH || code == SQLITE_TOOBIG;
    Outcome refused = failed(sqlite3_errmsg(sqlite3_db_handle(prepared)));
    sqlite3_clear_bindings(prepared);
    return refused;
}

Outcome NameStore::deleteName(NameDelete table, const QString &name)
{
    if (!isOpen())
        return Outcome::failure(kNotOpen);
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(QString::fromLatin1(deleteText(table))))
        return Outcome::failure(QStringLiteral("The name could not be deleted from the names database %1: %2")
                                    .arg(m_databasePath, errorText(query.lastError())));
    query.addBindValue(boundText(name));
    if (!query.exec())
        return Outcome::failure(QStringLiteral("The name could not be deleted from the names database %1: %2")
                                    .arg(m_databasePath, errorText(query.lastError())));
    return {};
}

Outcome NameStore::clear(NameClear table)
{
    if (!isOpen())
        return Outcome::failure(kNotOpen);
    return execute(
        QString::fromLatin1(clearText(table)), QStringLiteral("The names could not be cleared in the names database"));
}

Outcome NameStore::beginTransaction()
{
    if (!isOpen())
        return Outcome::failure(kNotOpen);
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.transaction())
        return Outcome::failure(QStringLiteral("The names database %1 could not start a transaction: %2")
                                    .arg(m_databasePath, errorText(db.lastError())));
    return {};
}

Outcome NameStore::commit()
{
    if (!isOpen())
        return Outcome::failure(kNotOpen);
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.commit())
        return Outcome::failure(QStringLiteral("The changes could not be saved in the names database %1: %2")
                                    .arg(m_databasePath, errorText(db.lastError())));
    return {};
}

void NameStore::rollback()
{
    if (!isOpen())
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.rollback();
}

QString NameStore::firstCharacters(const QString &text, int count)
{
    if (count <= 0)
        return {};
    return text.left(firstCharactersLength(text, count));
}

qsizetype NameStore::firstCharactersLength(QStringView text, int count)
{
    qsizetype units = 0;
    int characters = 0;
    while (units < text.size() && characters < count) {
        const bool pair
            = text.at(units).isHighSurrogate() && units + 1 < text.size() && text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
        ++characters;
    }
    return units;
}

Outcome NameStore::execute(const QString &sql, const QString &whatFailed)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.exec(sql))
        return Outcome::failure(
            QStringLiteral("%1 %2: %3").arg(whatFailed, m_databasePath, errorText(query.lastError())));
    return {};
}

Outcome NameStore::insertAll(const char *sql, const QStringList &names)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(QString::fromLatin1(sql)))
        return Outcome::failure(errorText(query.lastError()));
    for (const QString &name : names) {
        query.bindValue(0, boundText(firstCharacters(name, MaxNameLength)));
        if (!query.exec())
            return Outcome::failure(errorText(query.lastError()));
    }
    return {};
}

Outcome NameStore::create(const QString &path, const QStringList &maleFirstNames, const QStringList &femaleFirstNames,
    const QStringList &lastNames)
{
    const auto failed = [&path](const QString &why) {
        return Outcome::failure(QStringLiteral("The names database %1 could not be created: %2").arg(path, why));
    };
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        return failed(QStringLiteral("the file already exists and is left as it is"));

    // Built under a temporary name beside the target and renamed at the end, so a failed
    // build never leaves a half-filled names.mdb behind.
    QTemporaryFile temporary(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!temporary.open())
        return failed(temporary.errorString());
    temporary.close();
    const QString temporaryPath = temporary.fileName();

    Outcome built;
    {
        NameStore store(temporaryPath);
        built = store.open();
        if (built) {
            // The rollback journal (SQLite's default) keeps no side file once a transaction
            // ends, unlike WAL; set it explicitly so the file says so.
            built = store.execute(
                QStringLiteral("pragma journal_mode=DELETE"), QStringLiteral("The journal mode could not be set in"));
        }
        if (built)
            built = store.beginTransaction();
        for (const char *statement : kSchema) {
            if (built)
                built
                    = store.execute(QString::fromLatin1(statement), QStringLiteral("The tables could not be made in"));
        }
        if (built)
            built = store.insertAll("insert into system_mfirstname (Mfirst) values (?)", maleFirstNames);
        if (built)
            built = store.insertAll("insert into system_ffirstname (Ffirst) values (?)", femaleFirstNames);
        if (built)
            built = store.insertAll("insert into system_lastname ([Last]) values (?)", lastNames);
        if (built)
            built = store.commit();
        else
            store.rollback();
        store.close();
    }
    if (!built) {
        QFile::remove(temporaryPath + QStringLiteral("-journal"));
        return failed(built.description());
    }
    // QTemporaryFile makes its file private to the owner; the database is an ordinary file.
    QFile::setPermissions(temporaryPath,
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser
            | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // QFile::rename never replaces an existing file, so a names.mdb that appeared meanwhile survives.
    if (!temporary.rename(target.absoluteFilePath()))
        return failed(temporary.errorString());
    temporary.setAutoRemove(false);
    return {};
}
