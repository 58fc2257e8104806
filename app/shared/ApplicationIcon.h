#pragma once

#include <QIcon>

// The application's icon, shown by both windows.
QIcon ApplicationIcon();
