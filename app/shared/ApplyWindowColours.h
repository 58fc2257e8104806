#pragma once

class QWidget;

// Gives the window and every option button, check box, frame and label on it the
// button-face colour and the system's window text; other controls keep their colours.
void ApplyWindowColours(QWidget *window);
