#include "tests/faults/Unprivileged.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

namespace Unprivileged {
bool rerunAsNobody()
{
    if (::geteuid() != 0)
        return false;
    const passwd *nobody = ::getpwnam("nobody");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (!nobody || setpriv.isEmpty()) {
        QTest::qSkip("running as root, and there is no user nobody or no setpriv to drop to", __FILE__, __LINE__);
        return true;
    }

    QString function = QString::fromLatin1(QTest::currentTestFunction());
    const char *tag = QTest::currentDataTag();
    if (tag && *tag)
        function += QLatin1Char(':') + QString::fromUtf8(tag);

    // A home of its own, owned by nobody, so that nothing of root's is touched.
    QTemporaryDir home;
    if (!home.isValid() || ::chown(QFile::encodeName(home.path()).constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
        QTest::qFail("no home folder for the unprivileged run", __FILE__, __LINE__);
        return true;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : environment.keys()) {
        if (name.startsWith(QLatin1String("XDG_")))
            environment.remove(name);
    }
    environment.insert(QStringLiteral("HOME"), home.path());

    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(setpriv,
        {QStringLiteral("--reuid=%1").arg(nobody->pw_uid), QStringLiteral("--regid=%1").arg(nobody->pw_gid),
            QStringLiteral("--clear-groups"), QStringLiteral("--"), QCoreApplication::applicationFilePath(), function});
    const bool finished = child.waitForFinished(240000);
    const QString output = QString::fromLocal8Bit(child.readAll());
    if (!finished) {
        child.kill();
        child.waitForFinished();
    }

    const QString name = QString::fromLatin1(QTest::currentTestFunction());
    const bool started = output.contains(QLatin1String("Start testing"));
    if (!started) {
        // The binary cannot be reached as nobody (a private build folder, say): not a failure.
        const QByteArray why = "cannot run the test as nobody: " + output.trimmed().left(300).toLocal8Bit();
        QTest::qSkip(why.constData(), __FILE__, __LINE__);
        return true;
    }
    const QRegularExpression skipped(
        QStringLiteral("SKIP   : [^\\n]*::%1\\([^\\n]*\\n\\s*([^\\n]*)").arg(QRegularExpression::escape(name)));
    if (const QRegularExpressionMatch match = skipped.match(output); match.hasMatch()) {
        const QByteArray why = "as nobody: " + match.captured(1).toLocal8Bit();
        QTest::qSkip(why.constData(), __FILE__, __LINE__);
        return true;
    }
    const QRegularExpression pass(QStringLiteral("PASS   : [^\\n]*::%1\\(").arg(QRegularExpression::escape(name)));
    const bool passed = pass.match(output).hasMatch();
    if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || !passed) {
        const QByteArray report = "the run as nobody failed:\n" + output.toLocal8Bit();
        QTest::qFail(report.constData(), __FILE__, __LINE__);
    }
    return true;
}
} // namespace Unprivileged
