#pragma once

class QWidget;

// Design measurements are in twips: 1440 to the logical inch, so 15 twips are one pixel
// at 96 dpi. Pixels follow the logical DPI of the screen the control is on.
class Twips
{
public:
    // Pixels for a length in twips, on the screen of reference (the primary screen when null).
    static int toPixels(int twips, const QWidget *reference = nullptr);
    // Logical pixels per inch of the reference's screen.
    static double dotsPerInch(const QWidget *reference = nullptr);
    // Places a control at a design position relative to its container.
    static void place(QWidget *control, int left, int top, int width, int height);
};
