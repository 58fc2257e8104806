#pragma once

#include <QString>

// The product title, the main window's caption.
QString ProductTitle();

// The shorter title of message boxes: words are cut from the end of the product title, at
// least one, until at most 40 characters remain. A title without a space is kept whole.
QString ApplicationTitle(const QString &productTitle);
