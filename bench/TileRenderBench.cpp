// Rendering one 512 × 512 folder tile with four application icons.
#include "tile/TilePainter.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_RenderTileWithFourIcons(benchmark::State& state) {
    AppFolder folder(QUuid::createUuid(), QStringLiteral("Work"), QStringLiteral("folder.fill"), 0);
    for (int i = 0; i < 4; ++i)
        folder.apps.append({QUuid::createUuid(), QString::number(i), QStringLiteral("b"),
                            QStringLiteral("file:///Applications/App%1.app/").arg(i)});
    folder.tileStyle.borderEnabled = true;
    TileDrawingContext context;
    // Icons come ready-made, as from the icon cache; the figure is the drawing itself.
    QImage icon(139, 139, QImage::Format_ARGB32_Premultiplied);
    icon.fill(QColor(30, 144, 255));
    context.fileIcon = [&icon](const QString&, int) { return icon; };
    for (auto _ : state)
        benchmark::DoNotOptimize(TilePainter::render(folder.tileStyle, context, folder));
}
BENCHMARK(BM_RenderTileWithFourIcons)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
