#include "app/shared/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDpi = 96.0;
} // namespace

double Twips::dotsPerInch(const QWidget *reference)
{
    if (reference)
        return reference->logicalDpiX();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : kDefaultDpi;
}

int Twips::toPixels(int twips, const QWidget *reference)
{
    return static_cast<int>(std::lround(twips * dotsPerInch(reference) / kTwipsPerInch));
}

void Twips::place(QWidget *control, int left, int top, int width, int height)
{
    control->setGeometry(
        toPixels(left, control), toPixels(top, control), toPixels(width, control), toPixels(height, control));
}
