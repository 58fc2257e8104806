#pragma once

#include <QByteArray>

// Writes all of bytes to standard output. Returns the exit status: 0 when written, 0 too when
// the reader has closed the pipe (quietly, as a pipeline's head expects), and 1 with
// "toviska-cli: standard output: <why>" on standard error when the write failed.
int printToStandardOutput(const QByteArray &bytes);
