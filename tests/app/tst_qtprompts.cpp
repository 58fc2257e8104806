#include "app/shared/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
enum class Box { Message, ErrorDialog, Input };

// What the modal box showed in its labels, read while it is up; the box is then dismissed.
struct Shown
{
    QStringList texts;
    bool plain = true;
};

Shown showAndRead(Box box, const QString &text)
{
    Shown shown;
    QTimer::singleShot(0, [&shown] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        for (const QLabel *label : modal->findChildren<QLabel *>()) {
            if (label->text().isEmpty() || !label->pixmap().isNull())
                continue;
            shown.texts.append(label->text());
            // What a label really does with its text, not only its setting: Auto guesses.
            shown.plain = shown.plain && label->textFormat() == Qt::PlainText;
        }
        qobject_cast<QDialog *>(modal)->reject();
    });
    QtPrompts prompts;
    switch (box) {
    case Box::Message:
        prompts.message(text, QStringLiteral("Toviska"));
        break;
    case Box::ErrorDialog:
        prompts.errorDialog(text, QStringLiteral("Application Error"));
        break;
    case Box::Input:
        prompts.inputText(text, QStringLiteral("Toviska"));
        break;
    }
    return shown;
}
} // namespace

Q_DECLARE_METATYPE(Box)

class TestQtPrompts : public QObject
{
    Q_OBJECT

private slots:
    void textIsShownAsItStands_data();
    void textIsShownAsItStands();
    void calcLauncher_data();
    void calcLauncher();
};

void TestQtPrompts::textIsShownAsItStands_data()
{
    QTest::addColumn<Box>("box");
    QTest::addColumn<QString>("text");
    // A path that looks like markup, and a CR line break, which Qt's labels know as LF.
    const QString text = QStringLiteral("Cannot read /home/u/<b>names.txt</b>\rin line 2");
    QTest::newRow("message") << Box::Message << text;
    QTest::newRow("error dialog") << Box::ErrorDialog << text;
    QTest::newRow("input box") << Box::Input << text;
}

void TestQtPrompts::textIsShownAsItStands()
{
    QFETCH(Box, box);
    QFETCH(QString, text);
    const Shown shown = showAndRead(box, text);
    QVERIFY(shown.plain);
    QVERIFY2(shown.texts.contains(QStringLiteral("Cannot read /home/u/<b>names.txt</b>\nin line 2")),
        qPrintable(shown.texts.join(QLatin1Char('|'))));
}

// A bin folder of launchers, localc a script of its own and soffice a link into the program
// folder, which holds Calc's library or not.
void TestQtPrompts::calcLauncher_data()
{
    QTest::addColumn<QStringList>("launchers");
    QTest::addColumn<bool>("calc");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Calc installed") << QStringList{"localc", "soffice"} << true << QStringLiteral("localc");
    QTest::newRow("Writer alone") << QStringList{"soffice"} << false << QString();
    QTest::newRow("no LibreOffice") << QStringList{} << true << QString();
}

void TestQtPrompts::calcLauncher()
{
    QFETCH(QStringList, launchers);
    QFETCH(bool, calc);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("program")));
    const auto makeFile = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n") > 0
            && file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    QVERIFY(makeFile(dir.filePath(QStringLiteral("program/soffice"))));
    if (calc)
        QVERIFY(makeFile(dir.filePath(QStringLiteral("program/libsclo.so"))));
    for (const QString &launcher : launchers) {
        const QString path = dir.filePath(QStringLiteral("bin/") + launcher);
        QVERIFY(launcher == QLatin1String("localc")
                ? makeFile(path)
                : QFile::link(dir.filePath(QStringLiteral("program/soffice")), path));
    }
    const QString found = QtPrompts::calcLauncher({dir.filePath(QStringLiteral("bin"))});
    QCOMPARE(found, expected.isEmpty() ? QString() : dir.filePath(QStringLiteral("bin/") + expected));
}

QTEST_MAIN(TestQtPrompts)

#include "tst_qtprompts.moc"
