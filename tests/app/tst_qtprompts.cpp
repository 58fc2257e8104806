#include "app/shared/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
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

QTEST_MAIN(TestQtPrompts)

#include "tst_qtprompts.moc"
