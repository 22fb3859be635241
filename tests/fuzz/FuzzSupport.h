#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What the fuzz targets share. A target defines LLVMFuzzerTestOneInput, and LLVMFuzzerInitialize
// for set-up done once per process; both run under libFuzzer or under ReplayMain.
namespace Fuzz {

// The input as the readers get their bytes from a file: an owned copy.
inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A path inside a folder of this process's own, removed when the process exits.
QString path(const QString& relative = {});

// Writes the whole file, making its folders. Not being able to is a broken set-up, so it aborts.
void writeFile(const QString& path, const QByteArray& bytes);

// Makes the process's QCoreApplication, for code that needs one.
void makeCoreApplication();

// A broken invariant: says which and aborts, which libFuzzer records as a crash.
[[noreturn]] void fail(const char* what, const QString& detail = {});

inline void require(bool condition, const char* what, const QString& detail = {}) {
    if (!condition)
        fail(what, detail);
}

} // namespace Fuzz
