// trellin-codesign: signs, describes and verifies application bundles, taking the arguments the
// platform's codesign takes, so that the helper builder runs it exactly as it would run codesign.

#include "BundleSignature.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

enum class Operation { None, Sign, Display, Verify, RemoveSignature };

struct Arguments {
    Operation operation = Operation::None;
    QString identity;
    bool force = false;
    bool help = false;
    int verbosity = 0;
    QStringList paths;
};

const char* const usage =
    "Usage: trellin-codesign -s IDENTITY [-f] [--deep] [--timestamp[=none]] [--options FLAGS] PATH...\n"
    "       trellin-codesign -d [-v] [--verbose=N] PATH...\n"
    "       trellin-codesign --verify [--deep] [--strict] [-v] PATH...\n"
    "       trellin-codesign --remove-signature PATH...\n"
    "IDENTITY \"-\" signs ad hoc.\n";

void printLine(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stderr);
}

void printError(const QString& path, const QString& reason) {
    printLine(QStringLiteral("trellin-codesign: ") + path + QStringLiteral(": ") + reason);
}

// Sets the operation once; a second, different one makes the request ambiguous.
bool setOperation(Arguments& arguments, Operation operation, QString* error) {
    if (arguments.operation != Operation::None && arguments.operation != operation) {
        *error = QStringLiteral("more than one operation requested");
        return false;
    }
    arguments.operation = operation;
    return true;
}

bool parseLong(const QStringList& list, qsizetype& index, Arguments& arguments, bool& verifyFlag, QString* error) {
    const QString& argument = list.at(index);
    const qsizetype equals = argument.indexOf(u'=');
    const QString name = equals < 0 ? argument : argument.left(equals);
    const bool hasValue = equals >= 0;
    const auto takeValue = [&](QString* value) {
        if (hasValue) {
            *value = argument.mid(equals + 1);
            return true;
        }
        if (index + 1 >= list.size()) {
            *error = name + QStringLiteral(" needs a value");
            return false;
        }
        *value = list.at(++index);
        return true;
    };

    if (name == QLatin1String("--sign")) {
        return takeValue(&arguments.identity) && setOperation(arguments, Operation::Sign, error);
    }
    if (name == QLatin1String("--options")) {
        QString ignored; // runtime flags only matter to the platform's loader
        return takeValue(&ignored);
    }
    if (name == QLatin1String("--verbose")) {
        bool ok = true;
        arguments.verbosity += hasValue ? argument.mid(equals + 1).toInt(&ok) : 1;
        if (!ok)
            *error = QStringLiteral("invalid verbosity in ") + argument;
        return ok;
    }
    if (hasValue && name != QLatin1String("--timestamp") && name != QLatin1String("--strict")) {
        *error = QStringLiteral("unexpected value in ") + argument;
        return false;
    }
    if (name == QLatin1String("--force"))
        arguments.force = true;
    else if (name == QLatin1String("--display"))
        return setOperation(arguments, Operation::Display, error);
    else if (name == QLatin1String("--verify"))
        verifyFlag = true;
    else if (name == QLatin1String("--remove-signature"))
        return setOperation(arguments, Operation::RemoveSignature, error);
    else if (name == QLatin1String("--help"))
        arguments.help = true;
    else if (name != QLatin1String("--deep") && name != QLatin1String("--strict") &&
             name != QLatin1String("--timestamp")) {
        // --deep: the seal always covers nested bundles; --strict: every check here is strict;
        // --timestamp: the signing time is always recorded.
        *error = QStringLiteral("unrecognized option ") + argument;
        return false;
    }
    return true;
}

// Short options cluster as "-dv" or "-fs ID"; "-v" alone asks to verify, and counts towards
// verbosity besides another operation.
bool parseShort(const QStringList& list, qsizetype& index, Arguments& arguments, int& vCount, QString* error) {
    const QString argument = list.at(index);
    for (qsizetype position = 1; position < argument.size(); ++position) {
        const QChar letter = argument.at(position);
        if (letter == u'v') {
            ++vCount;
        } else if (letter == u'f') {
            arguments.force = true;
        } else if (letter == u'd') {
            if (!setOperation(arguments, Operation::Display, error))
                return false;
        } else if (letter == u'h') {
            arguments.help = true;
        } else if (letter == u's') {
            if (position + 1 < argument.size()) {
                arguments.identity = argument.mid(position + 1);
            } else if (index + 1 < list.size()) {
                arguments.identity = list.at(++index);
            } else {
                *error = QStringLiteral("-s needs an identity");
                return false;
            }
            return setOperation(arguments, Operation::Sign, error);
        } else {
            *error = QStringLiteral("unrecognized option -") + letter;
            return false;
        }
    }
    return true;
}

bool parse(const QStringList& list, Arguments& arguments, QString* error) {
    bool verifyFlag = false;
    int vCount = 0;
    bool optionsEnded = false;
    for (qsizetype index = 0; index < list.size(); ++index) {
        const QString& argument = list.at(index);
        bool ok = true;
        if (optionsEnded || !argument.startsWith(u'-') || argument == QLatin1String("-"))
            arguments.paths.append(argument);
        else if (argument == QLatin1String("--"))
            optionsEnded = true;
        else if (argument.startsWith(QLatin1String("--")))
            ok = parseLong(list, index, arguments, verifyFlag, error);
        else
            ok = parseShort(list, index, arguments, vCount, error);
        if (!ok)
            return false;
    }
    if (arguments.help)
        return true;
    if (arguments.operation == Operation::None && (verifyFlag || vCount > 0)) {
        arguments.operation = Operation::Verify;
        // Without --verify the first -v names the operation rather than raising verbosity.
        if (!verifyFlag)
            --vCount;
    } else if (verifyFlag) {
        return setOperation(arguments, Operation::Verify, error);
    }
    arguments.verbosity += vCount;
    if (arguments.operation == Operation::None) {
        *error = QStringLiteral("no operation requested");
        return false;
    }
    if (arguments.paths.isEmpty()) {
        *error = QStringLiteral("no path given");
        return false;
    }
    return true;
}

bool reportState(const QString& path, BundleSignature::Outcome outcome, const BundleSignature& signature) {
    switch (outcome) {
    case BundleSignature::Outcome::Ok:
        return true;
    case BundleSignature::Outcome::NotSigned:
        printLine(path + QStringLiteral(": code object is not signed at all"));
        break;
    case BundleSignature::Outcome::AlreadySigned:
        printLine(path + QStringLiteral(": is already signed"));
        break;
    case BundleSignature::Outcome::Invalid:
        printLine(path + QStringLiteral(": a sealed resource is missing or invalid"));
        for (const QString& problem : signature.problems())
            printLine(problem);
        break;
    case BundleSignature::Outcome::Failed:
        printError(path, signature.errorString());
        break;
    }
    return false;
}

bool run(const Arguments& arguments, const QString& path) {
    BundleSignature signature(path);
    switch (arguments.operation) {
    case Operation::Sign:
        return reportState(path, signature.sign(arguments.identity, arguments.force), signature);
    case Operation::Display: {
        BundleSignature::Description description;
        if (!reportState(path, signature.describe(&description), signature))
            return false;
        for (const QString& line : BundleSignature::descriptionLines(description))
            printLine(line);
        return true;
    }
    case Operation::Verify:
        if (!reportState(path, signature.verify(), signature))
            return false;
        if (arguments.verbosity > 0) {
            printLine(path + QStringLiteral(": valid on disk"));
            printLine(path + QStringLiteral(": satisfies its Designated Requirement"));
        }
        return true;
    case Operation::RemoveSignature:
        return reportState(path, signature.removeSignature(), signature);
    case Operation::None:
        break;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList list = application.arguments().mid(1);
    if (list.isEmpty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    Arguments arguments;
    QString error;
    if (!parse(list, arguments, &error)) {
        printLine(QStringLiteral("trellin-codesign: ") + error);
        std::fputs(usage, stderr);
        return 1;
    }
    if (arguments.help) {
        std::fputs(usage, stderr);
        return 0;
    }
    bool allSucceeded = true;
    for (const QString& path : arguments.paths)
        allSucceeded = run(arguments, path) && allSucceeded;
    return allSucceeded ? 0 : 1;
}
