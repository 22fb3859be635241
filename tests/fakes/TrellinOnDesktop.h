#pragma once

#include "platform/FileIcons.h"

#include "FixtureApp.h"
#include "HostDesktop.h"
#include "TestFiles.h"

#include <QColor>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QUuid>

// Trellin as the user of a HostDesktop runs it: folders in that home, each holding one fixture
// application whose icon is a colour of its own, and the built main application started there.
class TrellinOnDesktop {
public:
    struct Folder {
        QUuid id;
        QString name;
        // The colour of its application's icon, which its drawn tile shows.
        QColor colour;
    };

    explicit TrellinOnDesktop(HostDesktop& desktop)
        : m_desktop(desktop) {}

    static QString idText(const QUuid& id) { return id.toString(QUuid::WithoutBraces).toUpper(); }
    static QString entryId(const QUuid& id) { return "trellin-folder-" + idText(id) + ".desktop"; }

    QString foldersFile() const { return m_desktop.path(QStringLiteral("share/Trellin/folders.json")); }
    QString entryPath(const QUuid& id) const { return m_desktop.applicationsFolder() + u'/' + entryId(id); }

    // The folders, none in the Dock yet; each application records its launch in the fixture log.
    bool writeFolders(const QList<Folder>& folders) {
        QJsonArray stored;
        for (const Folder& folder : folders) {
            const QString bundle =
                ::makeFixtureApp(m_desktop.path("Apps/" + folder.name + ".app"), QStringLiteral(TRELLIN_FIXTURE_APP));
            QImage icon(128, 128, QImage::Format_ARGB32);
            icon.fill(folder.colour);
            if (!FileIcons::setCustomIcon(icon, bundle))
                return false;
            const QJsonObject app{{"id", QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()},
                                  {"name", QString(folder.name + " App")},
                                  {"bundleID", "test.Fixture"},
                                  {"appURL", QString("file://" + bundle + "/")}};
            stored.append(QJsonObject{
                {"id", idText(folder.id)}, {"name", folder.name}, {"isInDock", false}, {"apps", QJsonArray{app}}});
        }
        return writeFile(foldersFile(), QJsonDocument(stored).toJson());
    }

    // Rewrites one stored folder's fields, as the main application stores an edit.
    bool changeFolder(const QUuid& id, const QJsonObject& fields) {
        QJsonArray folders = QJsonDocument::fromJson(readFile(foldersFile())).array();
        for (qsizetype i = 0; i < folders.size(); ++i) {
            QJsonObject folder = folders.at(i).toObject();
            if (folder.value("id").toString() != idText(id))
                continue;
            for (auto field = fields.begin(); field != fields.end(); ++field)
                folder.insert(field.key(), field.value());
            folders.replace(i, folder);
        }
        return writeFile(foldersFile(), QJsonDocument(folders).toJson());
    }

    QProcess* startMainApplication() {
        m_main = m_desktop.startReading(QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/Trellin"));
        return m_main;
    }
    // Asks the main application to quit, as the system does, and waits for it to end.
    bool stopMainApplication() {
        if (!m_main)
            return false;
        mainOutput();
        m_main->terminate();
        return m_main->waitForFinished(10000);
    }
    // Everything the main application printed so far.
    QByteArray mainOutput() {
        if (m_main)
            m_output += m_main->readAll();
        return m_output;
    }

    QJsonObject storedFolder(const QUuid& id) const {
        for (const QJsonValue& folder : QJsonDocument::fromJson(readFile(foldersFile())).array())
            if (folder.toObject().value("id").toString() == idText(id))
                return folder.toObject();
        return {};
    }

    // The keys of the folder's launcher; empty while there is none.
    QMap<QString, QString> entry(const QUuid& id) const {
        QMap<QString, QString> keys;
        bool inMainGroup = false;
        for (const QString& line : QString::fromUtf8(readFile(entryPath(id))).split(u'\n')) {
            if (line.startsWith(u'['))
                inMainGroup = line == QStringLiteral("[Desktop Entry]");
            else if (inMainGroup && line.contains(u'='))
                keys.insert(line.section(u'=', 0, 0).trimmed(), line.section(u'=', 1).trimmed());
        }
        return keys;
    }

    // The helper of a folder named so; it is started from its bundle, with or without its group.
    bool isHelperRunning(const QString& folderName) const {
        return m_desktop.isRunning("/Trellin/Helpers/" + folderName.toUtf8() + ".app/");
    }

    // The centres of the folder cards' "in the Dock" switches in the main window, top to bottom:
    // their white knobs, right of the folders' names.
    static QList<QPoint> inDockSwitches(const QImage& screen, const QRect& window) {
        const QRect band(window.left() + window.width() * 3 / 4, window.top() + 80, window.width() / 4 - 40, 260);
        QList<QRect> knobs;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            for (int x = band.left(); x <= band.right(); ++x) {
                const QColor pixel = screen.pixelColor(x, y);
                if (pixel.red() < 235 || pixel.green() < 235 || pixel.blue() < 235)
                    continue;
                if (!knobs.isEmpty() && y - knobs.last().bottom() <= 2)
                    knobs.last() |= QRect(x, y, 1, 1);
                else
                    knobs.append(QRect(x, y, 1, 1));
            }
        }
        QList<QPoint> centres;
        for (const QRect& knob : std::as_const(knobs))
            if (knob.width() >= 8 && knob.height() >= 8)
                centres.append(knob.center());
        return centres;
    }
    // The main window's close button, the red one of three at its top left.
    static QPoint closeButton(const QImage& screen, const QRect& window) {
        return colourBounds(screen, QRect(window.topLeft(), QSize(60, 40)), QColor(236, 95, 87)).center();
    }

private:
    HostDesktop& m_desktop;
    QProcess* m_main = nullptr;
    QByteArray m_output;
};
