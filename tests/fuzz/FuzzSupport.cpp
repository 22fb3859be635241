#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

QString path(const QString& relative) {
    static const QTemporaryDir directory(QDir::tempPath() + QStringLiteral("/trellin-fuzz-XXXXXX"));
    if (!directory.isValid())
        fail("cannot make a temporary folder", directory.errorString());
    return relative.isEmpty() ? directory.path() : directory.filePath(relative);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write a file of the set-up", path + QStringLiteral(": ") + file.errorString());
}

void makeCoreApplication() {
    static int argc = 1;
    static char name[] = "trellin-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "fuzz: %s%s%s\n", what, detail.isEmpty() ? "" : ": ", qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

} // namespace Fuzz
