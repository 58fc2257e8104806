#pragma once

#include "app/shared/Outcome.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstring>
#include <memory>
#include <sys/stat.h>

// Where generated records go. A regular file (or one not there yet), reached through any
// symbolic links, is written as a new file beside it and put in its place only when complete,
// with the old file's mode and, where the process may, its owner: a failure, a full disk or a
// signal leaves the older file whole. The new file has no name until then where the file system
// allows it, so even SIGKILL leaves nothing behind. A path that names a descriptor of this
// process (/dev/stdout, /dev/fd/N, /proc/self/fd/N) is written through that descriptor, at its
// offset or appended as it was opened, whatever it leads to: the file behind it belongs to the
// caller, who goes on writing to it. Anything else (a character device such as /dev/null, a
// FIFO) is written directly. Bytes are gathered in one large buffer and written in big chunks; a
// reader that closes a pipe ends the writing quietly.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // An empty path is standard output.
    Outcome open(const QString &path);
    // Whether path leads to something written as it goes (a descriptor of this process, a FIFO,
    // a device) rather than to a file that can be replaced: a format that reopens its file by
    // name cannot write there.
    static bool isStream(const QString &path);
    // Whether path names a descriptor of this process (/dev/stdout, /dev/fd/N, /proc/self/fd/N).
    static bool namesDescriptor(const QString &path);
    // A path that opens what this writes, for a writer that writes the file itself (the workbook),
    // and a folder for that writer's own scratch files.
    QString writablePath() const;
    QString scratchFolder() const;

    void append(const char *data, std::size_t size)
    {
        // An empty text's data may be null, which memcpy must never be given.
        if (size == 0)
            return;
        if (m_used + size > Capacity) {
            flush();
            if (size > Capacity) {
                writeOut(data, size);
                return;
            }
        }
        std::memcpy(m_buffer.get() + m_used, data, size);
        m_used += size;
    }
    void append(const std::string &text) { append(text.data(), text.size()); }
    void append(char c)
    {
        if (m_used == Capacity)
            flush();
        m_buffer[m_used++] = c;
    }

    // Room for size more bytes (at most Capacity), to be filled and then handed to advance().
    char *reserve(std::size_t size)
    {
        if (m_used + size > Capacity)
            flush();
        return m_buffer.get() + m_used;
    }
    void advance(const char *end) { m_used = static_cast<std::size_t>(end - m_buffer.get()); }

    static constexpr std::size_t Capacity = 1 << 20;

    // Whether writing should stop: a write failed or the reader has gone.
    bool stopped() const { return m_failed || m_pipeClosed; }
    bool pipeClosed() const { return m_pipeClosed; }

    // Writes what is left and, for a replaced file, puts it in place.
    Outcome commit();
    // Drops the new file; the target stays as it was.
    void discard();

private:
    enum class Kind {
        StandardOutput,
        Descriptor, // one this process was given, written through and left open
        Direct, // a device or FIFO, written as it is
        Replace, // a regular file, replaced when complete
    };

    void flush();
    void writeOut(const char *data, std::size_t size);
    Outcome openReplacement();
    Outcome failure(int error) const;
    // Why no new file can be made beside the target, clearer than a bare EACCES when the
    // target itself could be written.
    Outcome replacementFailure(int error) const;
    // Gives the unnamed file a name beside the target; false with errno set when it cannot.
    bool nameUnnamedFile();

    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    int m_fd = -1;
    Kind m_kind = Kind::StandardOutput;
    QString m_path; // as given, for messages
    QByteArray m_target; // the file replaced, its links followed
    QByteArray m_temporary; // the new file's name, once it has one
    struct stat m_old = {};
    bool m_hadOld = false;
    bool m_failed = false;
    bool m_pipeClosed = false;
    int m_errno = 0;
};
