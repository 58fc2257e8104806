#include "app/shared/NameListModel.h"
#include "lists/NameDeleter.h"
#include "lists/PaneRemoval.h"
#include "tests/lists/ListEditFixture.h"

#include <QTest>

Q_DECLARE_METATYPE(ListKind)
Q_DECLARE_METATYPE(ListSource)
Q_DECLARE_METATYPE(GenderFilter)

namespace {
// Stored in mixed letter case on purpose: the panes show "Taro", the rows differ.
const QStringList kMale{
    QStringLiteral("TARO"), QStringLiteral("Kenji"), QStringLiteral("taro"), QStringLiteral("\u014CNO")};
const QStringList kFemale{QStringLiteral("taro"), QStringLiteral("Hanako"), QStringLiteral("\u014Cno")};
const QStringList kLast{QStringLiteral("Sato"), QStringLiteral("ITO"), QStringLiteral("sato")};
const QStringList kUserFirst{QStringLiteral("Yuki"), QStringLiteral("Sora")};
const QStringList kUserLast{QStringLiteral("Mori"), QStringLiteral("Abe")};

QString sourceOf(ListKind kind)
{
    return kind == ListKind::FirstNames ? QStringLiteral("Form1.PushButton4_Click")
                                        : QStringLiteral("Form1.PushButton3_Click");
}

QList<int> reportedLines(const FakePrompts &prompts, ListKind kind)
{
    QList<int> lines;
    for (const QString &error : prompts.errors()) {
        if (reportedSource(error) == sourceOf(kind))
            lines << reportedLine(error);
        else
            lines << -1;
    }
    return lines;
}
} // namespace

class tst_NameDeleter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void builtInDelete_data();
    void builtInDelete();
    void clearLeavesTheOtherTable_data();
    void clearLeavesTheOtherTable();
    void emptyPaneDoesNothing_data();
    void emptyPaneDoesNothing();
    void noSelection_data();
    void noSelection();
    void databaseMissing();
    void reloadFailureReported_data();
    void reloadFailureReported();
    void paneRemoval_data();
    void paneRemoval();
    void removalKey_data();
    void removalKey();

private:
    std::unique_ptr<ListEditFixture> m_fixture;
};

void tst_NameDeleter::init()
{
    m_fixture = std::make_unique<ListEditFixture>(kMale, kFemale, kLast);
    QVERIFY(m_fixture->database.isValid());
    for (const QString &name : kUserFirst)
        m_fixture->database.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), name);
    for (const QString &name : kUserLast)
        m_fixture->database.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), name);
    m_fixture->source = ListSource::BuiltIn;
}

void tst_NameDeleter::builtInDelete_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<GenderFilter>("gender");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("male");
    QTest::addColumn<QStringList>("female");
    QTest::addColumn<QStringList>("last");

    const auto first = ListKind::FirstNames;
    QTest::newRow("Both, every case from both tables")
        << first << GenderFilter::Both << "Taro" << QStringList{"Kenji", "\u014CNO"}
        << QStringList{"Hanako", "\u014Cno"} << kLast;
    QTest::newRow("Both, letters beyond ASCII")
        << first << GenderFilter::Both << "\u014Cno" << QStringList{"TARO", "Kenji", "taro"}
        << QStringList{"taro", "Hanako"} << kLast;
    QTest::newRow("Male Only leaves the female table")
        << first << GenderFilter::MaleOnly << "Taro" << QStringList{"Kenji", "\u014CNO"} << kFemale << kLast;
    QTest::newRow("Female Only leaves the male table")
        << first << GenderFilter::FemaleOnly << "Taro" << kMale << QStringList{"Hanako", "\u014Cno"} << kLast;
    QTest::newRow("gender none deletes nothing") << first << GenderFilter::None << "Taro" << kMale << kFemale << kLast;
    QTest::newRow("last name stored twice, whatever the gender")
        << ListKind::LastNames << GenderFilter::MaleOnly << "Sato" << kMale << kFemale << QStringList{"ITO"};
    QTest::newRow("text with an apostrophe is only a value")
        << ListKind::LastNames << GenderFilter::Both << "x' or '1'='1" << kMale << kFemale << kLast;
}

void tst_NameDeleter::builtInDelete()
{
    QFETCH(ListKind, kind);
    QFETCH(GenderFilter, gender);
    QFETCH(QString, selected);
    QFETCH(QStringList, male);
    QFETCH(QStringList, female);
    QFETCH(QStringList, last);
    ListEditFixture &fixture = *m_fixture;
    fixture.gender = gender;
    NameDeleter(fixture.context).deleteOrClear(kind, 3, selected);
    QCOMPARE(fixture.male(), male);
    QCOMPARE(fixture.female(), female);
    QCOMPARE(fixture.last(), last);
    QCOMPARE(fixture.userFirst(), kUserFirst);
    QCOMPARE(fixture.userLast(), kUserLast);
    QCOMPARE(fixture.prompts.shown.size(), 0); // no question, no report
    QCOMPARE(fixture.reloads, 1);
}

void tst_NameDeleter::clearLeavesTheOtherTable_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::newRow("first names") << ListKind::FirstNames;
    QTest::newRow("last names") << ListKind::LastNames;
}

void tst_NameDeleter::clearLeavesTheOtherTable()
{
    QFETCH(ListKind, kind);
    ListEditFixture &fixture = *m_fixture;
    fixture.source = ListSource::User;
    // The selection plays no part in a clear.
    NameDeleter(fixture.context).deleteOrClear(kind, 1, std::nullopt);
    const bool first = kind == ListKind::FirstNames;
    QCOMPARE(fixture.userFirst(), first ? QStringList{} : kUserFirst);
    QCOMPARE(fixture.userLast(), first ? kUserLast : QStringList{});
    QCOMPARE(fixture.male(), kMale);
    QCOMPARE(fixture.female(), kFemale);
    QCOMPARE(fixture.last(), kLast);
    QCOMPARE(fixture.prompts.shown.size(), 0);
    QCOMPARE(fixture.reloads, 1);
}

void tst_NameDeleter::emptyPaneDoesNothing_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<ListSource>("source");
    QTest::addColumn<bool>("databaseMissing");
    QTest::newRow("first, built-in") << ListKind::FirstNames << ListSource::BuiltIn << false;
    QTest::newRow("first, user (table still full)") << ListKind::FirstNames << ListSource::User << false;
    QTest::newRow("last, user (table still full)") << ListKind::LastNames << ListSource::User << false;
    QTest::newRow("last, built-in, no database") << ListKind::LastNames << ListSource::BuiltIn << true;
}

void tst_NameDeleter::emptyPaneDoesNothing()
{
    QFETCH(ListKind, kind);
    QFETCH(ListSource, source);
    QFETCH(bool, databaseMissing);
    ListEditFixture &fixture = *m_fixture;
    fixture.source = source;
    if (databaseMissing)
        QVERIFY(QFile::remove(fixture.database.path()));
    NameDeleter(fixture.context).deleteOrClear(kind, 0, QStringLiteral("Sato"));
    QCOMPARE(fixture.prompts.shown.size(), 0);
    QCOMPARE(fixture.reloads, 0);
    if (!databaseMissing) {
        QCOMPARE(fixture.userFirst(), kUserFirst);
        QCOMPARE(fixture.userLast(), kUserLast);
        QCOMPARE(fixture.last(), kLast);
    }
}

void tst_NameDeleter::noSelection_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<GenderFilter>("gender");
    QTest::addColumn<QList<int>>("lines");
    QTest::newRow("Both") << ListKind::FirstNames << GenderFilter::Both << QList<int>{112, 114};
    QTest::newRow("Male Only") << ListKind::FirstNames << GenderFilter::MaleOnly << QList<int>{118};
    QTest::newRow("Female Only") << ListKind::FirstNames << GenderFilter::FemaleOnly << QList<int>{122};
    QTest::newRow("last names") << ListKind::LastNames << GenderFilter::Both << QList<int>{110};
}

void tst_NameDeleter::noSelection()
{
    QFETCH(ListKind, kind);
    QFETCH(GenderFilter, gender);
    QFETCH(QList<int>, lines);
    ListEditFixture &fixture = *m_fixture;
    fixture.gender = gender;
    NameDeleter(fixture.context).deleteOrClear(kind, 2, std::nullopt);
    QCOMPARE(reportedLines(fixture.prompts, kind), lines);
    for (const QString &error : fixture.prompts.errors())
        QVERIFY(error.startsWith(QStringLiteral("No name is selected.\r\n")));
    QCOMPARE(fixture.male(), kMale);
    QCOMPARE(fixture.female(), kFemale);
    QCOMPARE(fixture.last(), kLast);
    QCOMPARE(fixture.reloads, 1);
}

void tst_NameDeleter::databaseMissing()
{
    ListEditFixture &fixture = *m_fixture;
    QVERIFY(QFile::remove(fixture.database.path()));
    NameDeleter(fixture.context).deleteOrClear(ListKind::FirstNames, 2, QStringLiteral("Taro"));
    QCOMPARE(reportedLines(fixture.prompts, ListKind::FirstNames), (QList<int>{106, 112, 114}));
    QCOMPARE(fixture.reloads, 1);
    QVERIFY(!QFile::exists(fixture.database.path()));
}

void tst_NameDeleter::reloadFailureReported_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<int>("line");
    QTest::newRow("first names") << ListKind::FirstNames << 130;
    QTest::newRow("last names") << ListKind::LastNames << 118;
}

void tst_NameDeleter::reloadFailureReported()
{
    QFETCH(ListKind, kind);
    QFETCH(int, line);
    ListEditFixture &fixture = *m_fixture;
    fixture.source = ListSource::User;
    fixture.reloadOutcome = Outcome::failure(QStringLiteral("reload broke"));
    NameDeleter(fixture.context).deleteOrClear(kind, 2, std::nullopt);
    QCOMPARE(reportedLines(fixture.prompts, kind), QList<int>{line});
}

void tst_NameDeleter::paneRemoval_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<std::optional<int>>("selected");
    QTest::addColumn<QStringList>("after");

    const QStringList three{"Abe", "Ito", "Mori"};
    QTest::newRow("middle entry") << false << three << std::optional<int>(2) << QStringList{"Abe", "Mori"};
    QTest::newRow("last entry") << false << three << std::optional<int>(3) << QStringList{"Abe", "Ito"};
    QTest::newRow("busy pointer") << true << three << std::optional<int>(2) << three;
    QTest::newRow("nothing selected") << false << three << std::optional<int>() << three;
    QTest::newRow("selection beyond the entries") << false << three << std::optional<int>(4) << three;
    QTest::newRow("empty pane") << false << QStringList{} << std::optional<int>(1) << QStringList{};
}

void tst_NameDeleter::paneRemoval()
{
    QFETCH(bool, busy);
    QFETCH(QStringList, entries);
    QFETCH(std::optional<int>, selected);
    QFETCH(QStringList, after);
    NameListModel pane;
    pane.setNames(entries);
    QCOMPARE(PaneRemoval::removeSelected(busy, pane, selected), after != entries);
    QCOMPARE(pane.names(), after);
}

void tst_NameDeleter::removalKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("removes");
    QTest::newRow("Delete") << int(Qt::Key_Delete) << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << false;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << false;
    QTest::newRow("period (46 elsewhere)") << int(Qt::Key_Period) << false;
}

void tst_NameDeleter::removalKey()
{
    QFETCH(int, key);
    QFETCH(bool, removes);
    QCOMPARE(PaneRemoval::isRemovalKey(key), removes);
}

QTEST_GUILESS_MAIN(tst_NameDeleter)
#include "tst_NameDeleter.moc"
