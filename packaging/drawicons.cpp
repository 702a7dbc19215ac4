// Draws the launcher icons in the sizes a desktop theme asks for from the
// 32-pixel window icon, which is drawn pixel by pixel in 16 colours:
//   drawicons SOURCE.xpm OUTDIR SIZE...   writes OUTDIR/SIZExSIZE/sightcheck.png
// Larger sizes repeat each pixel (nearest neighbour), so the picture stays as
// crisp as the original. Smaller sizes average blocks of pixels instead:
// dropping every other pixel would lose the star, which is one pixel wide.

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fputs("usage: drawicons SOURCE.xpm OUTDIR SIZE...\n", stderr);
        return 64;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "drawicons: cannot read %s\n", argv[1]);
        return 66;
    }
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "drawicons: bad size %s\n", argv[i]);
            return 64;
        }
        const Qt::TransformationMode mode =
            size < argb.width() ? Qt::SmoothTransformation : Qt::FastTransformation;
        const QImage icon = argb.scaled(size, size, Qt::IgnoreAspectRatio, mode);
        const QString folder = QStringLiteral("%1x%1").arg(size);
        const QString file = out.filePath(folder + QStringLiteral("/sightcheck.png"));
        if (!out.mkpath(folder) || !icon.save(file, "PNG")) {
            std::fprintf(stderr, "drawicons: cannot write %s\n", qPrintable(file));
            return 73;
        }
    }
    return 0;
}
