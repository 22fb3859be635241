// Loading and saving a large folders file: 200 folders of 20 applications each.
#include "model/FolderCodec.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "platform/FileSystem.h"
#include "platform/LocalNotificationCenter.h"

#include "RecordingHelperActions.h"
#include "VirtualClock.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QList<AppFolder> makeFolders(int folderCount, int appsPerFolder) {
    QList<AppFolder> folders;
    for (int f = 0; f < folderCount; ++f) {
        AppFolder folder(QUuid::createUuid(), QStringLiteral("Folder %1").arg(f), QStringLiteral("folder.fill"),
                         786000000.25 + f);
        folder.isInDock = f % 3 == 0;
        folder.tileStyle.customHex = QStringLiteral("1E90FF");
        for (int a = 0; a < appsPerFolder; ++a) {
            const QString name = QStringLiteral("Application %1").arg(a);
            folder.apps.append({QUuid::createUuid(), name, QStringLiteral("com.example.app%1").arg(a),
                                AppItem::fileURLForPath(QStringLiteral("/Applications/") + name + ".app", true)});
        }
        folders.append(folder);
    }
    return folders;
}

struct StoreFixture {
    QTemporaryDir directory;
    VirtualClock clock;
    LocalNotificationCenter notifications;
    RecordingHelperActions helpers;
    HelperLaunchLog launchLog{clock};
    FolderStore store{directory.path(),
                      {.clock = clock,
                       .scheduler = clock,
                       .notifications = notifications,
                       .helpers = helpers,
                       .launchLog = launchLog,
                       .isHelperProcess = [] { return false; }}};
};

void BM_EncodeFolders(benchmark::State& state) {
    const QList<AppFolder> folders = makeFolders(200, 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(FolderCodec::encode(folders));
}
BENCHMARK(BM_EncodeFolders)->Unit(benchmark::kMillisecond);

void BM_DecodeFolders(benchmark::State& state) {
    const QByteArray json = *FolderCodec::encode(makeFolders(200, 20));
    state.counters["bytes"] = double(json.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(FolderCodec::decode(json, 0));
}
BENCHMARK(BM_DecodeFolders)->Unit(benchmark::kMillisecond);

// The store's whole path for a file another process wrote: read, decode, compare with the list
// held, and (main application) write back a file not in canonical form.
void BM_StoreLoadAndSave(benchmark::State& state) {
    StoreFixture fixture;
    fixture.store.setFolders(makeFolders(200, 20));
    const QString path = fixture.store.saveURL();
    // Another process's edits, one folder at a time: the store reads, decodes and takes each.
    QList<AppFolder> edited = fixture.store.folders();
    const QByteArray texts[2] = {*FolderCodec::encode(edited),
                                 (edited[0].tileStyle.opacity = 0.25, *FolderCodec::encode(edited))};
    int next = 1;
    for (auto _ : state) {
        state.PauseTiming();
        FileSystem::writeFileAtomically(path, texts[next]);
        next = 1 - next;
        state.ResumeTiming();
        fixture.store.load();
    }
}
BENCHMARK(BM_StoreLoadAndSave)->Unit(benchmark::kMillisecond);

// One folder changed and saved, as each step of a slider's drag does, by the length of the list:
// the cost of an edit should not grow with it.
void BM_StoreSaveOneEdit(benchmark::State& state) {
    StoreFixture fixture;
    fixture.store.setFolders(makeFolders(int(state.range(0)), 20));
    AppFolder folder = fixture.store.folders().at(0);
    for (auto _ : state) {
        folder.tileStyle.opacity = folder.tileStyle.opacity == 0.5 ? 0.75 : 0.5;
        fixture.store.updateFolder(folder);
        fixture.clock.advance(0);
    }
}
BENCHMARK(BM_StoreSaveOneEdit)->Arg(20)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_StoreSave(benchmark::State& state) {
    StoreFixture fixture;
    fixture.store.setFolders(makeFolders(200, 20));
    for (auto _ : state)
        fixture.store.save();
}
BENCHMARK(BM_StoreSave)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
