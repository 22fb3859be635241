#pragma once

#include <QString>

// A code-signing tool for tests: a script that appends its arguments to "<directory>/signer.log",
// answers "-dv" with `description` on standard error, and otherwise exits with `status`.
QString makeFakeSigner(const QString& directory, const QString& description = {}, int status = 0);
