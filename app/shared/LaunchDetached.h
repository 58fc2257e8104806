#pragma once

#include "app/shared/LaunchWatch.h"
#include "app/shared/Outcome.h"

#include <QString>
#include <QStringList>
#include <chrono>

// Starts a program that outlives this run, as a desktop launcher should: in a session of its
// own, holding nothing of this process but its standard streams (no window-system or bus
// connection, no locked file of the run), and with no copy of this process left behind to
// watch it. Its first moments are watched from the event loop, since a launcher that fails, or
// hands its work to an application already running, ends within them, while one that becomes
// the application goes on running.
//
// Returns at once: a failure naming the reason when the program could not be started at all
// (it cannot be executed, no process could be made); Ok otherwise, and then settled is called
// once, later, from the event loop: Ok when the program ended with status 0 or still runs after
// settle, else a failure that says how it ended ("ended with exit status 1").
Outcome LaunchDetached(
    const QString &program, const QStringList &arguments, std::chrono::milliseconds settle, LaunchSettled settled);
