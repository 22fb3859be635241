// Draws every symbol's glyph outline from the symbol font and keeps them in one file for the
// bundle. Usage: trellin-symbol-outlines <output file>
#include "platform/SymbolOutlineFile.h"
#include "platform/Symbols.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // A build step: fonts, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: trellin-symbol-outlines <output file>\n");
        return 2;
    }
    QList<std::pair<QString, QPainterPath>> outlines;
    for (const Symbols::Entry& entry : Symbols::table()) {
        const QString name = QString::fromLatin1(entry.name.data(), qsizetype(entry.name.size()));
        const std::optional<QPainterPath> outline = Symbols::fontOutline(name);
        if (!outline) {
            std::fprintf(stderr, "trellin-symbol-outlines: the font %s has no glyph for %s\n",
                         qPrintable(Symbols::fontPath()), qPrintable(name));
            return 1;
        }
        outlines.append({name, *outline});
    }
    QString error;
    if (!SymbolOutlineFile::write(arguments.at(1), outlines, &error)) {
        std::fprintf(stderr, "trellin-symbol-outlines: cannot write %s: %s\n", qPrintable(arguments.at(1)),
                     qPrintable(error));
        return 1;
    }
    return 0;
}
