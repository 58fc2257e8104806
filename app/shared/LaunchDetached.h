#pragma once

#include "app/shared/Outcome.h"

#include <QString>
#include <QStringList>
#include <chrono>

// Starts a program that outlives this run, as a desktop launcher should: it is never this
// process's child, so nothing waits for it at exit or ends it. Its first moments are watched,
// since a launcher that fails, or hands its work to an application already running, ends within
// them, while one that becomes the application goes on running.
//
// Ok when the program still runs after settle or ended with status 0; otherwise a failure that
// says how it ended ("ended with exit status 1"). Meanwhile the windows repaint and user input
// waits until the call returns.
Outcome LaunchDetached(const QString &program, const QStringList &arguments, std::chrono::milliseconds settle);
