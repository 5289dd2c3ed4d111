// Cost of writing one thumbnail: the 200 x 150 pictures the thumbnail window stores
// and a full 800 x 600 page capture, both with page-like content.
#include "media/dibsection.h"
#include "media/gifwriter.h"
#include "media/palette.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

// A page: a soft background gradient with sensor-like noise, a coloured banner,
// and lines of dark "words" on it.
QImage pageLike(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    quint32 seed = 2024;
    const int line = qMax(4, height / 40);
    for (int y = 0; y < height; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int((seed >> 24) % 7) - 3;
            int r = 235 - 40 * y / height + noise, g = 240 - 20 * x / width + noise, b = 250 - 30 * y / height;
            if (y < height / 8) { // banner
                r = 40 + 120 * x / width + noise;
                g = 70 + noise;
                b = 140 + 80 * y / (height / 8);
            } else if ((y / line) % 2 == 1 && (y % line) < line - 1) {
                // a line of text: words of varying length with gaps
                const int word = (x / 9 + y / line * 7) % 11;
                if (word < 8 && (x % 9) != 0)
                    r = g = b = 25 + noise + ((x * 31 + y * 17) % 40);
            }
            row[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return picture;
}

void encode(benchmark::State &state)
{
    const QImage picture = pageLike(int(state.range(0)), int(state.range(1)));
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray gif = rr::encodeGIF(picture);
        bytes = gif.size();
        benchmark::DoNotOptimize(gif.constData());
    }
    state.counters["gif_bytes"] = double(bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void buildPalette(benchmark::State &state)
{
    rr::cDIBSection dib;
    dib.CreateFromPicture(pageLike(int(state.range(0)), int(state.range(1))));
    for (auto _ : state) {
        rr::cPalette palette;
        palette.CreateOptimal(dib, 236, 6);
        benchmark::DoNotOptimize(palette.Count());
    }
}

void saveToDisk(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("thumb.gif");
    const QImage picture = pageLike(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(rr::SaveGIF(picture, path));
}

} // namespace

BENCHMARK(encode)->Args({200, 150})->Args({800, 600})->Unit(benchmark::kMillisecond);
BENCHMARK(buildPalette)->Args({200, 150})->Args({800, 600})->Unit(benchmark::kMillisecond);
BENCHMARK(saveToDisk)->Args({200, 150})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
