// The picker's scan of installed applications over a machine of 500 desktop entries and 100
// bundles, beside the bare cost of reading the same files.
#include "discovery/AppDiscovery.h"
#include "platform/PropertyList.h"
#include "platform/linux/GioDesktopEntries.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 500;
constexpr int kBundles = 100;

// Entries the size of real ones: a name and a comment in thirty languages.
QByteArray desktopEntry(int index) {
    QByteArray text = "[Desktop Entry]\nType=Application\nExec=/bin/true %U\nIcon=app-" + QByteArray::number(index) +
                      "\nCategories=Utility;\nName=Application " + QByteArray::number(index) + "\n";
    for (const char* language :
         {"ar", "bg", "ca", "cs", "da", "de", "el", "es", "et", "fi", "fr", "he", "hr", "hu", "it",
          "ja", "ko", "lt", "nl", "nb", "pl", "pt", "ro", "ru", "sk", "sl", "sv", "tr", "uk", "zh"})
        text += QByteArray("Name[") + language + "]=Application " + QByteArray::number(index) + " (" + language +
                ")\nComment[" + language + "]=Does useful things in " + language + "\n";
    return text;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

struct Machine {
    Machine() {
        for (int i = 0; i < kEntries; ++i)
            writeFile(root.path() + QString("/data/applications/org.example.App%1.desktop").arg(i), desktopEntry(i));
        for (int i = 0; i < kBundles; ++i) {
            const QString bundle = root.path() + QString("/Applications/Bundle %1.app").arg(i);
            QDir().mkpath(bundle + "/Contents/MacOS");
            PropertyList::writeFileAtomically(
                bundle + "/Contents/Info.plist",
                QVariantMap{{"CFBundleIdentifier", QString("org.example.bundle%1").arg(i)},
                            {"CFBundleName", QString("Bundle %1").arg(i)},
                            {"CFBundleExecutable", "Bundle"},
                            {"CFBundleShortVersionString", "1.0"}},
                PropertyList::Format::Xml);
        }
        qputenv("XDG_DATA_HOME", (root.path() + "/user").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (root.path() + "/data").toLocal8Bit());
    }
    QTemporaryDir root;
};

Machine* machine = nullptr;

void BM_ScanApplications(benchmark::State& state) {
    const GioDesktopEntries entries;
    const AppDiscovery discovery({.bundleDirectories = {machine->root.path() + "/Applications"},
                                  .desktopEntries = &entries,
                                  .language = [] { return QStringLiteral("uk"); }});
    qsizetype found = 0;
    for (auto _ : state)
        found = discovery.scanApplications().size();
    if (found != kEntries + kBundles)
        state.SkipWithError("the scan found the wrong number of applications");
    state.counters["apps"] = double(found);
}
BENCHMARK(BM_ScanApplications)->Unit(benchmark::kMillisecond);

// What any scan must do at least: list the folders and read every file once.
void BM_ReadTheSameFilesBare(benchmark::State& state) {
    qint64 bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        QDirIterator entries(machine->root.path(), {"*.desktop", "Info.plist"}, QDir::Files,
                             QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            QFile file(entries.next());
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_ReadTheSameFilesBare)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    Machine fixture;
    machine = &fixture;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
