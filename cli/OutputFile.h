#pragma once

#include "app/shared/Outcome.h"

#include <QString>
#include <cstddef>
#include <cstring>
#include <memory>

// Where generated records go: standard output, or a file written under a temporary name beside
// it and renamed over it only when complete, so a failure, a full disk or Ctrl+C leaves an
// older file whole and no temporary file behind. Bytes are gathered in one large buffer and
// written in big chunks. A reader that closes a pipe ends the writing quietly.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // An empty path (or "-") is standard output.
    Outcome open(const QString &path);
    // The temporary file, for a writer that writes the file itself (the workbook).
    const QString &temporaryPath() const { return m_temporaryPath; }

    void append(const char *data, std::size_t size)
    {
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

    // Writes what is left and, for a file, puts it in place.
    Outcome commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

private:
    void flush();
    void writeOut(const char *data, std::size_t size);

    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    int m_fd = -1;
    QString m_path;
    QString m_temporaryPath;
    bool m_failed = false;
    bool m_pipeClosed = false;
    int m_errno = 0;
};
