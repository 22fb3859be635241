// Building one helper bundle: copying the application bundle, cleaning, stamping and signing it
// with the shipped signing tool; and the size the bundle takes on disk.
#include "helpers/HelperBundleBuilder.h"
#include "platform/Bundle.h"

#include "CapturedSystemLog.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

qint64 sizeOnDisk(const QString& path) {
    qint64 total = 0;
    QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

void BM_BuildAndSignHelper(benchmark::State& state) {
    const Bundle app(QStringLiteral(TRELLIN_BUNDLE_DIR));
    const QString signer = app.path() + QStringLiteral("/Contents/MacOS/trellin-codesign");
    CapturedSystemLog log;
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir support;
        HelperBundleBuilder builder(support.path(), app, signer, log);
        AppFolder folder(QUuid::createUuid(), QStringLiteral("Work"), QStringLiteral("folder.fill"));
        state.ResumeTiming();
        const std::optional<QString> helper = builder.buildHelperBundle(folder);
        state.PauseTiming();
        if (!helper) {
            state.SkipWithError("the helper bundle was not built");
            break;
        }
        bytes = sizeOnDisk(*helper);
        state.ResumeTiming();
    }
    state.counters["bundle_bytes"] = double(bytes);
}
BENCHMARK(BM_BuildAndSignHelper)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
