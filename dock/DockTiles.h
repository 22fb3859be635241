#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

// One tile of the Dock: a kept application, a running one, or both.
struct DockItem {
    QString path; // the application's bundle (or desktop entry), standardised
    QString label;
    bool pinned = false;
    bool running = false;
    QImage content; // what the running application published; null for its icon
};

// The Dock's tiles: the kept applications in their order, then the running ones that are not
// kept, in the order they announced themselves. Applications are running while a bus connection
// that registered them is there.
class DockTiles : public QObject {
    Q_OBJECT
public:
    // `labels`: the names the Dock's file gives kept tiles, shown instead of the bundle's own.
    void setPersistentApps(const QStringList& paths, const QHash<QString, QString>& labels = {});
    const QStringList& persistentApps() const { return m_persistent; }

    // `owner` is the bus connection that announced the application.
    void registerApplication(const QString& owner, const QString& path);
    void unregisterApplication(const QString& owner, const QString& path);
    // The connection ended: its applications stop running and their contents go.
    void dropOwner(const QString& owner);
    void setContent(const QString& owner, const QString& path, const QImage& content);

    QList<DockItem> items() const;
    int pinnedCount() const { return int(m_persistent.size()); }
    // The connection to reach the running application at `path` through.
    std::optional<QString> ownerOf(const QString& path) const;

    // Info.plist's display name, else its name, else the file name without ".app".
    static QString labelFor(const QString& path);

Q_SIGNALS:
    void changed();

private:
    struct Registration {
        QString owner;
        QString path;
    };
    struct Content {
        QString owner;
        QImage image;
    };
    QString cachedLabel(const QString& path) const;

    QStringList m_persistent;
    QHash<QString, QString> m_persistentLabels;
    QList<Registration> m_registrations;
    QHash<QString, Content> m_contents;
    mutable QHash<QString, QString> m_labels;
};
