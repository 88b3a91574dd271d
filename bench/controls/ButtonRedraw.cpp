// Cost of one complete forced repaint of a button per look, and of a pointer
// movement inside a pressed button (the skipped repaint), on the QImage surface.
#include "ButtonDrawing.h"
#include "ImageSurface.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

using namespace lorvane;

namespace {

ButtonLook lookFor(int type, QImage &image, const QFont &font)
{
    ColourSources sources;
    sources.colorScheme = 3;
    ButtonLook look;
    look.buttonType = type;
    look.caption = QStringLiteral("&نفذ الآن");
    look.palette = ComputePalette(sources);
    ImageSurface surface(image, font);
    LayoutButton(look, surface, image.width(), image.height());
    return look;
}

void BM_ForcedRedraw(benchmark::State &state)
{
    const int type = int(state.range(0));
    QImage image(int(state.range(1)), int(state.range(2)), QImage::Format_RGB32);
    const QFont font = QGuiApplication::font();
    const ButtonLook look = lookFor(type, image, font);
    DrawnMemory memory;
    std::uint8_t s = StateUp;
    for (auto _ : state) {
        ImageSurface surface(image, font);
        s = s == StateUp ? StateDown : StateUp;
        benchmark::DoNotOptimize(Redraw(surface, look, memory, s, true));
    }
}

void BM_SkippedRedraw(benchmark::State &state)
{
    QImage image(81, 25, QImage::Format_RGB32);
    const QFont font = QGuiApplication::font();
    const ButtonLook look = lookFor(3, image, font);
    DrawnMemory memory;
    ImageSurface surface(image, font);
    Redraw(surface, look, memory, StateDown, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(Redraw(surface, look, memory, StateDown, false));
}

} // namespace

BENCHMARK(BM_ForcedRedraw)
    ->ArgNames({"type", "w", "h"})
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8}, {81}, {25}})
    ->Args({3, 400, 120});
BENCHMARK(BM_SkippedRedraw);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
