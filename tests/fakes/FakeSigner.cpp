#include "FakeSigner.h"

#include <QFile>

QString makeFakeSigner(const QString& directory, const QString& description, int status) {
    const QString path = directory + QStringLiteral("/signer");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QStringLiteral("#!/bin/sh\n"
                              "echo \"$*\" >> '%1/signer.log'\n"
                              "if [ \"$1\" = -dv ]; then printf '%2' >&2; exit 0; fi\n"
                              "exit %3\n")
                   .arg(directory, description)
                   .arg(status)
                   .toUtf8());
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}
