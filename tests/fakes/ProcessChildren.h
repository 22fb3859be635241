#pragma once

#include "TestFiles.h"

#include <QDir>
#include <QStringList>

// The process ids of this process's children, zombies included: what a test must not leave.
inline QStringList childrenOfThisProcess() {
    QStringList children;
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        children
            << QString::fromLatin1(readFile("/proc/self/task/" + task + "/children")).split(' ', Qt::SkipEmptyParts);
    return children;
}
