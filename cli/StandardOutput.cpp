#include "cli/StandardOutput.h"

#include "cli/CliPrompts.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>

int printToStandardOutput(const QByteArray &bytes)
{
    // A closed pipe must show as EPIPE, not end the process by a signal.
    std::signal(SIGPIPE, SIG_IGN);
    const char *data = bytes.constData();
    auto left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE)
                return 0;
            CliPrompts::printError(
                QStringLiteral("standard output: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
            return 1;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}
