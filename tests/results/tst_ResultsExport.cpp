#include "generate/GeneratedNames.h"
#include "generate/NameGenerator.h"
#include "generate/RandomSource.h"
#include "results/FolderExists.h"
#include "results/TextFileExport.h"
#include "results/WorkbookExport.h"
#include "results/WorkbookFolder.h"
#include "results/WriteTextFile.h"
#include "tests/results/WorkbookReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

Q_DECLARE_METATYPE(WorkbookExport::Layout)

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString columnName(int column)
{
    return QString(QChar(u'A' + column - 1));
}
} // namespace

class tst_ResultsExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void filePath_data();
    void filePath();
    void contentBytes_data();
    void contentBytes();
    void doneMessage();
    void folderExists();

    void writeReplacesTheFile();
    void writeIntoAMissingFolderFails();
    void writeOverADirectoryFails();
    void failedWriteKeepsTheOldFile();

    void workbookCells_data();
    void workbookCells();
    void workbookKeepsOrderAndText();
    void workbookColumnWidths();
    void emptyWorkbook();
    void workbookWriteFailureLeavesNoFile();
    void newWorkbookPathsAreUnique();
    void workbookFoldersOfEndedRunsAreRemoved();

private:
    QTemporaryDir m_dir;
};

void tst_ResultsExport::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

void tst_ResultsExport::filePath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");

    QTest::newRow("trailing separator") << "/home/u/Desktop/"
                                        << "/home/u/Desktop/results.txt";
    QTest::newRow("no trailing separator") << "/home/u/Desktop"
                                           << "/home/u/Desktop/results.txt";
    QTest::newRow("network pair kept") << "//server/share/"
                                       << "//server/share/results.txt";
    QTest::newRow("three leading become two") << "///server//share"
                                              << "//server/share/results.txt";
    QTest::newRow("doubled inside") << "/home//u/Desktop/"
                                    << "/home/u/Desktop/results.txt";
    QTest::newRow("relative folder") << "out/"
                                     << "out/results.txt";
    QTest::newRow("root") << "/"
                          << "/results.txt";
    QTest::newRow("network root") << "//"
                                  << "//results.txt";
    QTest::newRow("empty folder box") << ""
                                      << "/results.txt";
}

void tst_ResultsExport::filePath()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(TextFileExport::filePath(folder), path);
}

void tst_ResultsExport::contentBytes_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("no rows") << QStringList() << QByteArray();
    QTest::newRow("two rows") << QStringList{"Kenji Ito", "Yuki Sato"} << QByteArray("Kenji Ito\r\nYuki Sato\r\n");
    QTest::newRow("empty rows and spaces") << QStringList{"", " Sato", "Hana "} << QByteArray("\r\n Sato\r\nHana \r\n");
    QTest::newRow("utf-8 without bom") << QStringList{QString::fromUtf8("J\u014dji \u014cno")}
                                       << QByteArray("J\xc5\x8dji \xc5\x8cno\r\n");
}

void tst_ResultsExport::contentBytes()
{
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, bytes);

    const QString path = m_dir.filePath(QStringLiteral("content.txt"));
    QVERIFY(WriteTextFile(TextFileExport::content(GeneratedNames::fromTexts(rows)), path).isOk());
    QCOMPARE(readAll(path), bytes);
}

void tst_ResultsExport::doneMessage()
{
    QCOMPARE(TextFileExport::doneMessage(QStringLiteral("/tmp/results.txt")),
        QStringLiteral("Done.\r\r/tmp/results.txt\r\n\r\nwas created."));
}

void tst_ResultsExport::folderExists()
{
    const QString file = m_dir.filePath(QStringLiteral("plain-file"));
    QVERIFY(writeBytes(file, "x"));
    QVERIFY(FolderExists(m_dir.path()));
    QVERIFY(FolderExists(m_dir.path() + QLatin1Char('/')));
    QVERIFY(FolderExists(QLatin1Char('/') + m_dir.path()));
    QVERIFY(!FolderExists(file));
    QVERIFY(!FolderExists(m_dir.filePath(QStringLiteral("missing"))));
    QVERIFY(!FolderExists(QString()));
    QVERIFY(!FolderExists(QString::fromUtf8("/tmp\0/x", 7)));
}

void tst_ResultsExport::writeReplacesTheFile()
{
    const QString path = m_dir.filePath(QStringLiteral("replace.txt"));
    QVERIFY(WriteTextFile("a much longer first content\r\n", path).isOk());
    QVERIFY(WriteTextFile("second\r\n", path).isOk());
    QCOMPARE(readAll(path), QByteArray("second\r\n"));
}

void tst_ResultsExport::writeIntoAMissingFolderFails()
{
    const QString path = m_dir.filePath(QStringLiteral("gone/results.txt"));
    const Outcome outcome = WriteTextFile("x\r\n", path);
    QVERIFY(outcome.isFailure());
    QVERIFY(!outcome.description().isEmpty());
    QVERIFY(!QFile::exists(path));
}

void tst_ResultsExport::writeOverADirectoryFails()
{
    const QString path = m_dir.filePath(QStringLiteral("dir-in-the-way"));
    QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
    QVERIFY(WriteTextFile("x\r\n", path).isFailure());
    QVERIFY(QFileInfo(path + QStringLiteral("/inside")).isDir());
}

void tst_ResultsExport::failedWriteKeepsTheOldFile()
{
    const QString folder = m_dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/results.txt");
    QVERIFY(writeBytes(path, "old\r\n"));

    // Permissions do not stop root; an immutable file does, where the file system has the flag.
    const bool root = ::geteuid() == 0;
    if (root) {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) != 0)
            QSKIP("Running as root without chattr: no way to make the write fail.");
    } else {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    const Outcome outcome = WriteTextFile("new\r\n", path);
    if (root)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    else
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(outcome.isFailure());
    QVERIFY(outcome.description().contains(path));
    QCOMPARE(readAll(path), QByteArray("old\r\n"));
    // Nothing half-written is left beside it.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("results.txt")});
}

void tst_ResultsExport::workbookCells_data()
{
    QTest::addColumn<WorkbookExport::Layout>("layout");
    QTest::addColumn<QStringList>("rows");
    // "ref=text" for every cell holding a value, in sheet order.
    QTest::addColumn<QStringList>("cells");

    const auto two = WorkbookExport::Layout::TwoCells;
    const auto one = WorkbookExport::Layout::OneCell;
    QTest::newRow("full name") << two << QStringList{"Kenji Ito"} << QStringList{"A1=Kenji", "B1=Ito"};
    QTest::newRow("no space") << two << QStringList{"Hana"} << QStringList{"A1=Hana"};
    QTest::newRow("empty first piece") << two << QStringList{" Sato"} << QStringList{"B1=Sato"};
    QTest::newRow("empty second piece") << two << QStringList{"Yuki "} << QStringList{"A1=Yuki"};
    QTest::newRow("a single space") << two << QStringList{" "} << QStringList();
    QTest::newRow("two spaces in a row") << two << QStringList{"a  b"} << QStringList{"A1=a"};
    QTest::newRow("further pieces dropped") << two << QStringList{"x y z"} << QStringList{"A1=x", "B1=y"};
    QTest::newRow("tab is no separator") << two << QStringList{"a\tb c"} << QStringList{"A1=a\tb", "B1=c"};
    QTest::newRow("markup characters") << two << QStringList{"A&B <c>"} << QStringList{"A1=A&B", "B1=<c>"};
    QTest::newRow("utf-8") << two << QStringList{QString::fromUtf8("J\u014dji \u014cno")}
                           << QStringList{QString::fromUtf8("A1=J\u014dji"), QString::fromUtf8("B1=\u014cno")};
    const QStringList rows{"Kenji Ito", " Sato", "", "Hana", "a  b"};
    QTest::newRow("rows in order, two cells")
        << two << rows << QStringList{"A1=Kenji", "B1=Ito", "B2=Sato", "A4=Hana", "A5=a"};
    QTest::newRow("rows in order, one cell")
        << one << rows << QStringList{"A1=Kenji Ito", "A2= Sato", "A4=Hana", "A5=a  b"};
    QTest::newRow("one cell keeps spaces") << one << QStringList{" ", "x y z"} << QStringList{"A1= ", "A2=x y z"};
}

void tst_ResultsExport::workbookCells()
{
    QFETCH(WorkbookExport::Layout, layout);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, cells);

    const QString path = m_dir.filePath(QStringLiteral("cells.xlsx"));
    const Outcome outcome = WorkbookExport::write(GeneratedNames::fromTexts(rows), layout, path);
    QVERIFY2(outcome.isOk(), qPrintable(outcome.description()));
    const WorkbookReader workbook(path);
    QVERIFY2(workbook.isValid(), qPrintable(workbook.error()));
    QStringList found;
    for (const auto &[reference, text] : workbook.cells())
        found.append(reference + QLatin1Char('=') + text);
    QCOMPARE(found, cells);
}

void tst_ResultsExport::workbookKeepsOrderAndText()
{
    RandomSource random(11);
    const QStringList first{QStringLiteral("hana"), QString::fromUtf8("j\u014dji"), QStringLiteral("ren")};
    const QStringList last{QStringLiteral("ito"), QStringLiteral("van dyke")};
    const GeneratedNames names = NameGenerator::generate(first, last, 3000, NamePart::FirstAndLast, random);
    const QString path = m_dir.filePath(QStringLiteral("order.xlsx"));
    QVERIFY(WorkbookExport::write(names, WorkbookExport::Layout::TwoCells, path).isOk());

    const WorkbookReader workbook(path);
    QVERIFY2(workbook.isValid(), qPrintable(workbook.error()));
    QCOMPARE(workbook.cells().size(), 2 * names.count());
    for (int i = 1; i <= names.count(); ++i) {
        const auto &a = workbook.cells().at(2 * (i - 1));
        const auto &b = workbook.cells().at(2 * (i - 1) + 1);
        QCOMPARE(a.first, QStringLiteral("A%1").arg(i));
        QCOMPARE(a.second, names.firstName(i).toString());
        QCOMPARE(b.first, QStringLiteral("B%1").arg(i));
        QCOMPARE(b.second, names.lastName(i).toString());
    }
}

void tst_ResultsExport::workbookColumnWidths()
{
    const QStringList rows{"Ren Ito", "Akihiro Tanakamura", "Yu Ohashi"};
    const QString path = m_dir.filePath(QStringLiteral("widths.xlsx"));

    QVERIFY(WorkbookExport::write(GeneratedNames::fromTexts(rows), WorkbookExport::Layout::TwoCells, path).isOk());
    const WorkbookReader two(path);
    QVERIFY2(two.isValid(), qPrintable(two.error()));
    QCOMPARE(two.columnWidths().keys(), (QList<int>{1, 2}));
    // Each column is at least as wide as its longest text ("Akihiro", "Tanakamura"), and
    // the column with the longer text is the wider one.
    QVERIFY(two.columnWidths().value(1) >= 7);
    QVERIFY(two.columnWidths().value(2) >= 10);
    QVERIFY(two.columnWidths().value(2) > two.columnWidths().value(1));

    QVERIFY(WorkbookExport::write(GeneratedNames::fromTexts(rows), WorkbookExport::Layout::OneCell, path).isOk());
    const WorkbookReader one(path);
    QVERIFY2(one.isValid(), qPrintable(one.error()));
    // Only the column in use is fitted.
    QCOMPARE(one.columnWidths().keys(), QList<int>{1});
    QVERIFY(one.columnWidths().value(1) >= 18);

    // First names only: column B holds nothing and keeps its default width.
    QVERIFY(WorkbookExport::write(GeneratedNames::fromTexts({"Hana", "Ren"}), WorkbookExport::Layout::TwoCells, path)
                .isOk());
    const WorkbookReader firstOnly(path);
    QVERIFY2(firstOnly.isValid(), qPrintable(firstOnly.error()));
    QCOMPARE(firstOnly.columnWidths().keys(), QList<int>{1});
    for (int row = 1; row <= 2; ++row)
        QVERIFY(!firstOnly.hasCell(columnName(2) + QString::number(row)));
}

void tst_ResultsExport::emptyWorkbook()
{
    const QString path = m_dir.filePath(QStringLiteral("empty.xlsx"));
    QVERIFY(WorkbookExport::write(GeneratedNames(), WorkbookExport::Layout::OneCell, path).isOk());
    const WorkbookReader workbook(path);
    QVERIFY2(workbook.isValid(), qPrintable(workbook.error()));
    QVERIFY(workbook.cells().isEmpty());
    QVERIFY(workbook.columnWidths().isEmpty());
}

void tst_ResultsExport::workbookWriteFailureLeavesNoFile()
{
    const QString path = m_dir.filePath(QStringLiteral("no-such-folder/out.xlsx"));
    const Outcome outcome
        = WorkbookExport::write(GeneratedNames::fromTexts({"Kenji Ito"}), WorkbookExport::Layout::TwoCells, path);
    QVERIFY(outcome.isFailure());
    QVERIFY(outcome.description().contains(path));
    QVERIFY(!QFile::exists(path));

    // A cell beyond what a sheet can hold fails the workbook instead of cutting the text.
    const QString tooLong(40000, QLatin1Char('a'));
    const QString other = m_dir.filePath(QStringLiteral("too-long.xlsx"));
    QVERIFY(WorkbookExport::write(GeneratedNames::fromTexts({tooLong}), WorkbookExport::Layout::OneCell, other)
                .isFailure());
    QVERIFY(!QFile::exists(other));
}

void tst_ResultsExport::newWorkbookPathsAreUnique()
{
    QString first;
    QString second;
    QVERIFY(WorkbookExport::newWorkbookPath(m_dir.path(), first).isOk());
    QVERIFY(WorkbookExport::newWorkbookPath(m_dir.path(), second).isOk());
    QVERIFY(first != second);
    QVERIFY(first.startsWith(m_dir.path() + QLatin1Char('/')));
    QVERIFY(first.endsWith(QStringLiteral(".xlsx")));
    QVERIFY(QFile::exists(first));
    QFile::remove(first);
    QFile::remove(second);
}

void tst_ResultsExport::workbookFoldersOfEndedRunsAreRemoved()
{
    const QString root = m_dir.filePath(QStringLiteral("workbooks"));
    auto running = std::make_unique<WorkbookFolder>(root);
    QVERIFY(running->claim().isOk());
    QVERIFY(writeBytes(running->path() + QStringLiteral("/a.xlsx"), "a"));
    QString ended;
    {
        WorkbookFolder endedRun(root);
        QVERIFY(endedRun.claim().isOk());
        ended = endedRun.path();
        QVERIFY(ended != running->path());
        QVERIFY(writeBytes(ended + QStringLiteral("/b.xlsx"), "b"));
    }
    // A run that was killed: its lock names a process that no longer runs.
    const QString killed = root + QStringLiteral("/run-killed");
    QVERIFY(QDir().mkpath(killed));
    QVERIFY(writeBytes(killed + QStringLiteral(".lock"), "2147483647\ntoviska\n\n"));
    QVERIFY(writeBytes(killed + QStringLiteral("/c.xlsx"), "c"));
    // Links are removed as links; what they point to stays whole.
    const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(writeBytes(elsewhere + QStringLiteral("/d.txt"), "d"));
    const QStringList links{root + QStringLiteral("/run-link"), root + QStringLiteral("/run-file-link")};
    QVERIFY(QFile::link(elsewhere, links[0]));
    QVERIFY(QFile::link(elsewhere + QStringLiteral("/d.txt"), links[1]));

    WorkbookFolder next(root);
    QVERIFY(next.claim().isOk());
    QVERIFY(!QFileInfo::exists(ended));
    QVERIFY(!QFileInfo::exists(killed));
    for (const QString &link : links)
        QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(readAll(elsewhere + QStringLiteral("/d.txt")), QByteArray("d"));
    QCOMPARE(readAll(running->path() + QStringLiteral("/a.xlsx")), QByteArray("a"));
    QVERIFY(QFileInfo(next.path()).isDir());

    // Once its run ends, the next start removes that folder too.
    running.reset();
    WorkbookFolder last(root);
    QVERIFY(last.claim().isOk());
    QCOMPARE(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
}

QTEST_GUILESS_MAIN(tst_ResultsExport)
#include "tst_ResultsExport.moc"
