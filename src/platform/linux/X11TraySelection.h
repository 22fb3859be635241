#pragma once

#include <QObject>

class QSocketNotifier;
struct _XDisplay;

// The XEmbed tray of the screen: whether a client owns the selection "_NET_SYSTEM_TRAY_S<screen>"
// now. A tray that starts announces itself by a MANAGER message on the root window; one that ends
// loses its selection window. Watched on a connection of its own, so the toolkit's event handling
// never sees these events. Never owned where the program does not run on X11.
class X11TraySelection final : public QObject {
    Q_OBJECT
public:
    explicit X11TraySelection(QObject* parent = nullptr);
    ~X11TraySelection() override;

    bool isOwned() const { return m_owner != 0; }

Q_SIGNALS:
    void ownerChanged();

private:
    void readEvents();
    // Finds the owner and watches its window for its end.
    void followOwner();

    _XDisplay* m_display = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    unsigned long m_selection = 0;
    unsigned long m_manager = 0;
    unsigned long m_owner = 0;
};
