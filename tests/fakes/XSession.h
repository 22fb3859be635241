#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPixmap>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QStringList>

// The X session of an end-to-end test, driven as a user drives it: through xdotool.
namespace XSession {

// What xdotool answers, trimmed; empty when it fails.
inline QString xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

inline bool run(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

inline bool moveMouse(QPoint point) {
    return run({QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())});
}

// The first visible window whose title is exactly `title`, if any.
inline QString windowTitled(const QString& title) {
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                    u'^' + title + u'$'})
        .section(u'\n', 0, 0);
}

inline QRect geometryOf(const QString& window) {
    // "WINDOW=…\nX=…\nY=…\nWIDTH=…\nHEIGHT=…\nSCREEN=…"
    const QStringList lines =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window}).split(u'\n');
    QMap<QString, int> values;
    for (const QString& line : lines)
        values.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
    return {values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT")};
}

// The work area the window manager publishes on the root window (the first desktop's), which
// every program started from now on takes its screens' available geometry from.
inline QRect workArea() {
    QProcess process;
    process.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")});
    if (!process.waitForFinished(10000))
        return {};
    const QStringList numbers =
        QString::fromUtf8(process.readAllStandardOutput()).section(u'=', 1).split(u',', Qt::SkipEmptyParts);
    if (numbers.size() < 4)
        return {};
    return {numbers.at(0).trimmed().toInt(), numbers.at(1).trimmed().toInt(), numbers.at(2).trimmed().toInt(),
            numbers.at(3).trimmed().toInt()};
}

// The whole screen, also kept next to the test for a person to look at.
inline QImage saveScreen(const QString& name) {
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    shot.save(QCoreApplication::applicationDirPath() + u'/' + name);
    return shot;
}

} // namespace XSession
