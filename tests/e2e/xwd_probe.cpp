// Reads a window dump written by xwd and reports what the end-to-end suite checks from outside
// the application: how many dark (text) or coloured (icon) pixels a region holds. Optionally
// saves it as PNG.
//
//   xwd_probe DUMP.xwd dark LEFT TOP WIDTH HEIGHT     prints the count of dark pixels in the region
//   xwd_probe DUMP.xwd colour LEFT TOP WIDTH HEIGHT   prints the count of coloured (not grey) pixels
//   xwd_probe DUMP.xwd size                           prints "WIDTH HEIGHT"
//   xwd_probe DUMP.xwd png OUT.png                    converts the dump
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cstdio>

namespace {
constexpr int kHeaderFields = 25;
constexpr int kColourEntrySize = 12;
constexpr int kDarkLimit = 128;
// Text, frames and the window background are shades of grey; an icon's colours stand out.
constexpr int kColourSpread = 64;

quint32 bigEndian(const uchar *bytes)
{
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) | quint32(bytes[3]);
}

// Only the dumps an X server of today writes: a ZPixmap of 24 or 32 bits a pixel.
QImage readDump(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return {};
    }
    const QByteArray data = file.readAll();
    if (data.size() < kHeaderFields * 4) {
        error = QStringLiteral("too short for a dump");
        return {};
    }
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    std::array<quint32, kHeaderFields> field{};
    for (int i = 0; i < kHeaderFields; ++i)
        field[static_cast<size_t>(i)] = bigEndian(bytes + 4 * i);
    const quint32 headerSize = field[0];
    const quint32 format = field[2];
    const int width = static_cast<int>(field[4]);
    const int height = static_cast<int>(field[5]);
    const quint32 byteOrder = field[7]; // 0 least significant byte first
    const quint32 bitsPerPixel = field[11];
    const quint32 bytesPerLine = field[12];
    const quint32 colours = field[19];
    const qint64 start = qint64(headerSize) + qint64(colours) * kColourEntrySize;
    if (format != 2 || (bitsPerPixel != 32 && bitsPerPixel != 24) || width <= 0 || height <= 0
        || start + qint64(bytesPerLine) * height > data.size()) {
        error = QStringLiteral("unsupported dump");
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    const quint32 step = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y) {
        const uchar *line = bytes + start + qint64(bytesPerLine) * y;
        for (int x = 0; x < width; ++x) {
            const uchar *p = line + step * quint32(x);
            const quint32 value = byteOrder == 0
                ? (quint32(p[2]) << 16) | (quint32(p[1]) << 8) | p[0]
                : (quint32(p[step - 3]) << 16) | (quint32(p[step - 2]) << 8) | p[step - 1];
            image.setPixel(x, y, 0xff000000U | value);
        }
    }
    return image;
}
} // namespace

int main(int argc, char *argv[])
{
    // QImage needs no display: keep the probe runnable anywhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream out(stdout);
    if (args.size() < 3) {
        std::fputs("usage: xwd_probe DUMP.xwd dark|colour L T W H | size | png OUT.png\n", stderr);
        return 2;
    }
    QString error;
    const QImage image = readDump(args.at(1), error);
    if (image.isNull()) {
        std::fprintf(stderr, "xwd_probe: %s: %s\n", qPrintable(args.at(1)), qPrintable(error));
        return 1;
    }
    const QString command = args.at(2);
    if (command == QLatin1String("size")) {
        out << image.width() << ' ' << image.height() << Qt::endl;
        return 0;
    }
    if (command == QLatin1String("png") && args.size() == 4)
        return image.save(args.at(3), "PNG") ? 0 : 1;
    const bool dark = command == QLatin1String("dark");
    if ((dark || command == QLatin1String("colour")) && args.size() == 7) {
        const QRect region = QRect(args.at(3).toInt(), args.at(4).toInt(), args.at(5).toInt(), args.at(6).toInt())
                                 .intersected(image.rect());
        int count = 0;
        for (int y = region.top(); y <= region.bottom(); ++y) {
            for (int x = region.left(); x <= region.right(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                const int red = qRed(pixel);
                const int green = qGreen(pixel);
                const int blue = qBlue(pixel);
                const bool counted = dark ? red < kDarkLimit && green < kDarkLimit && blue < kDarkLimit
                                          : std::max({red, green, blue}) - std::min({red, green, blue}) > kColourSpread;
                if (counted)
                    ++count;
            }
        }
        out << count << Qt::endl;
        return 0;
    }
    std::fputs("xwd_probe: unknown command\n", stderr);
    return 2;
}
