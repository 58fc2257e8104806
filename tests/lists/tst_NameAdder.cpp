#include "lists/NameAdder.h"
#include "tests/lists/ListEditFixture.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

Q_DECLARE_METATYPE(ListKind)
Q_DECLARE_METATYPE(ListSource)
Q_DECLARE_METATYPE(GenderFilter)

namespace {
const QStringList kMale{QStringLiteral("Taro")};
const QStringList kFemale{QStringLiteral("Hanako")};
const QStringList kLast{QStringLiteral("Sato")};

QString sourceOf(ListKind kind)
{
    return kind == ListKind::FirstNames ? QStringLiteral("Form1.PushButton2_Click")
                                        : QStringLiteral("Form1.PushButton5_Click");
}

// Every row of the four tables a name can be added to, with the table's name in front.
QStringList addedRows(const ListEditFixture &fixture)
{
    QStringList rows;
    for (const QString &name : fixture.female().mid(kFemale.size()))
        rows << QStringLiteral("system_ffirstname:") + name;
    for (const QString &name : fixture.last().mid(kLast.size()))
        rows << QStringLiteral("system_lastname:") + name;
    for (const QString &name : fixture.userFirst())
        rows << QStringLiteral("user_firstname:") + name;
    for (const QString &name : fixture.userLast())
        rows << QStringLiteral("user_lastname:") + name;
    return rows;
}
} // namespace

class tst_NameAdder : public QObject
{
    Q_OBJECT

private slots:
    void entries_data();
    void entries();
    void tableByButtonAndSource_data();
    void tableByButtonAndSource();
    void addingTwiceStoresTwice();
    void databaseMissing_data();
    void databaseMissing();
    void refusedInsertStillReloads();
    void reloadFailureReported_data();
    void reloadFailureReported();
};

void tst_NameAdder::entries_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("stored"); // empty: nothing stored

    QTest::newRow("Cancel") << true << QString() << QString();
    QTest::newRow("OK on an empty field") << false << QString() << QString();
    QTest::newRow("spaces only") << false << QStringLiteral("    ") << QString();
    QTest::newRow("apostrophes and spaces only") << false << QStringLiteral(" ' '' ") << QString();
    QTest::newRow("a tab is no space") << false << QStringLiteral(" \t ") << QStringLiteral(" \t ");
    QTest::newRow("apostrophe inside") << false << QStringLiteral("O'Hara") << QStringLiteral("OHara");
    QTest::newRow("surrounding spaces kept") << false << QStringLiteral("  Hana  ") << QStringLiteral("  Hana  ");
    QTest::newRow("60 characters") << false << QString(60, QLatin1Char('h')) << QString(50, QLatin1Char('h'));
    QTest::newRow("cut counts the leading spaces") << false << QStringLiteral("   ") + QString(60, QLatin1Char('h'))
                                                   << QStringLiteral("   ") + QString(47, QLatin1Char('h'));
    QTest::newRow("cut after the apostrophes are gone")
        << false << QString(20, QLatin1Char('\'')) + QString(50, QLatin1Char('h')) << QString(50, QLatin1Char('h'));
}

void tst_NameAdder::entries()
{
    QFETCH(bool, cancel);
    QFETCH(QString, entry);
    QFETCH(QString, stored);
    for (const ListKind kind : {ListKind::FirstNames, ListKind::LastNames}) {
        ListEditFixture fixture;
        if (!cancel)
            fixture.prompts.inputAnswers.enqueue(entry);
        NameAdder(fixture.context).addName(kind);

        const QStringList rows = kind == ListKind::FirstNames ? fixture.userFirst() : fixture.userLast();
        QCOMPARE(rows, stored.isEmpty() ? QStringList{} : QStringList{stored});
        QCOMPARE(fixture.prompts.shown.size(), 1);
        QCOMPARE(fixture.prompts.shown[0].kind, FakePrompts::Kind::InputText);
        QCOMPARE(fixture.prompts.shown[0].text,
            kind == ListKind::FirstNames ? QStringLiteral("Input first name: ") : QStringLiteral("Input last name: "));
        QCOMPARE(fixture.prompts.shown[0].title, QStringLiteral("Toviska"));
        QCOMPARE(fixture.reloads, 1);
        // Only "Add Last Name" sets the pointer back to normal at its end.
        QCOMPARE(fixture.pointerLog, kind == ListKind::FirstNames ? QList<bool>{} : QList<bool>{false});
    }
}

void tst_NameAdder::tableByButtonAndSource_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<ListSource>("source");
    QTest::addColumn<GenderFilter>("gender");
    QTest::addColumn<QString>("row");

    const auto first = ListKind::FirstNames;
    const auto last = ListKind::LastNames;
    QTest::newRow("first, built-in, Both")
        << first << ListSource::BuiltIn << GenderFilter::Both << "system_ffirstname:Ito";
    QTest::newRow("first, built-in, Male Only")
        << first << ListSource::BuiltIn << GenderFilter::MaleOnly << "system_ffirstname:Ito";
    QTest::newRow("first, user") << first << ListSource::User << GenderFilter::MaleOnly << "user_firstname:Ito";
    QTest::newRow("last, built-in") << last << ListSource::BuiltIn << GenderFilter::Both << "system_lastname:Ito";
    QTest::newRow("last, user") << last << ListSource::User << GenderFilter::FemaleOnly << "user_lastname:Ito";
    QTest::newRow("first, no source") << first << ListSource::None << GenderFilter::Both << QString();
}

void tst_NameAdder::tableByButtonAndSource()
{
    QFETCH(ListKind, kind);
    QFETCH(ListSource, source);
    QFETCH(GenderFilter, gender);
    QFETCH(QString, row);
    ListEditFixture fixture(kMale, kFemale, kLast);
    fixture.source = source;
    fixture.gender = gender;
    fixture.prompts.inputAnswers.enqueue(QStringLiteral("Ito"));
    NameAdder(fixture.context).addName(kind);
    QCOMPARE(addedRows(fixture), row.isEmpty() ? QStringList{} : QStringList{row});
    QCOMPARE(fixture.male(), kMale);
    QCOMPARE(fixture.prompts.errors(), QStringList{});
}

void tst_NameAdder::addingTwiceStoresTwice()
{
    ListEditFixture fixture(kMale, kFemale, kLast);
    fixture.source = ListSource::BuiltIn;
    fixture.prompts.inputAnswers << QStringLiteral("Sato") << QStringLiteral("SATO");
    NameAdder(fixture.context).addName(ListKind::LastNames);
    NameAdder(fixture.context).addName(ListKind::LastNames);
    QCOMPARE(fixture.last(), (QStringList{"Sato", "Sato", "SATO"}));
}

void tst_NameAdder::databaseMissing_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<ListSource>("source");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QList<int>>("lines");

    QTest::newRow("first, built-in") << ListKind::FirstNames << ListSource::BuiltIn << "Ito" << QList<int>{106, 114};
    QTest::newRow("first, user") << ListKind::FirstNames << ListSource::User << "Ito" << QList<int>{106, 118};
    QTest::newRow("last, built-in") << ListKind::LastNames << ListSource::BuiltIn << "Ito" << QList<int>{106, 114};
    QTest::newRow("last, user") << ListKind::LastNames << ListSource::User << "Ito" << QList<int>{106, 118};
    QTest::newRow("blank entry") << ListKind::LastNames << ListSource::User << "  " << QList<int>{106};
}

void tst_NameAdder::databaseMissing()
{
    QFETCH(ListKind, kind);
    QFETCH(ListSource, source);
    QFETCH(QString, entry);
    QFETCH(QList<int>, lines);
    ListEditFixture fixture;
    QVERIFY(QFile::remove(fixture.database.path()));
    fixture.source = source;
    fixture.prompts.inputAnswers.enqueue(entry);
    NameAdder(fixture.context).addName(kind);

    // The open is reported before the prompt, the insert after it.
    QCOMPARE(fixture.prompts.shown.first().kind, FakePrompts::Kind::ErrorDialog);
    QCOMPARE(fixture.prompts.shown.at(1).kind, FakePrompts::Kind::InputText);
    QList<int> reported;
    for (const QString &error : fixture.prompts.errors()) {
        QCOMPARE(reportedSource(error), sourceOf(kind));
        reported << reportedLine(error);
    }
    QCOMPARE(reported, lines);
    QCOMPARE(fixture.reloads, 1);
    QVERIFY(!QFile::exists(fixture.database.path()));
}

void tst_NameAdder::refusedInsertStillReloads()
{
    ListEditFixture fixture;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(fixture.database.path());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("create trigger refuse before insert on user_lastname "
                                          "begin select raise(abort, 'refused by the test'); end")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    fixture.prompts.inputAnswers.enqueue(QStringLiteral("Ito"));
    NameAdder(fixture.context).addName(ListKind::LastNames);
    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedLine(errors[0]), 118);
    QVERIFY2(errors[0].contains(QStringLiteral("refused by the test")), qPrintable(errors[0]));
    QCOMPARE(fixture.reloads, 1);
    QVERIFY(fixture.database.integrityOk());
}

void tst_NameAdder::reloadFailureReported_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<QList<bool>>("pointerLog");
    QTest::newRow("first names") << ListKind::FirstNames << QList<bool>{};
    QTest::newRow("last names") << ListKind::LastNames << QList<bool>{false};
}

void tst_NameAdder::reloadFailureReported()
{
    QFETCH(ListKind, kind);
    QFETCH(QList<bool>, pointerLog);
    ListEditFixture fixture;
    fixture.reloadOutcome = Outcome::failure(QStringLiteral("reload broke"));
    fixture.prompts.inputAnswers.enqueue(QStringLiteral("Ito"));
    NameAdder(fixture.context).addName(kind);
    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedSource(errors[0]), sourceOf(kind));
    QCOMPARE(reportedLine(errors[0]), 122);
    QCOMPARE(fixture.pointerLog, pointerLog);
}

QTEST_GUILESS_MAIN(tst_NameAdder)
#include "tst_NameAdder.moc"
