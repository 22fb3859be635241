#pragma once

#include "IconPickerPopover.h"
#include "MainWindowEnvironment.h"
#include "model/AppFolder.h"

#include <QList>
#include <QPointer>
#include <QUuid>
#include <QWidget>

#include <memory>
#include <optional>

class AppGridItem;
class AppGrid;
class FolderGlyph;
class FolderGlyphButton;
class FolderNameHint;
class GlyphButton;
class QLabel;
class QMenu;
class QLineEdit;
class TextButton;
class ToggleSwitch;

// One folder of the folder list. Collapsed it is a header row: glyph, name, number of applications,
// the in-Dock switch and a chevron; a click on the header expands it to the grid of applications.
// Edit mode renames the folder, changes its glyph, adds, removes and reorders applications; Done
// stores all of that in one update, and collapsing drops it. Edit state lives in the card only.
class FolderCardView final : public QWidget {
    Q_OBJECT
public:
    FolderCardView(const MainWindowEnvironment& environment, const AppFolder& folder, bool newlyAdded,
                   QWidget* parent = nullptr);

    const AppFolder& folder() const { return m_folder; }
    // The store's newer value of the same folder; expanded and edit state stay as they are.
    void setFolder(const AppFolder& folder);

    bool isExpanded() const { return m_isExpanded; }
    // Collapsing also leaves edit mode, dropping unsaved edits.
    void setExpanded(bool expanded);
    void toggleExpanded();
    bool isEditing() const { return m_isEditing; }
    void beginEditing();
    // Done: stores the edits in one update and leaves edit mode.
    void finishEditing();
    QString editingName() const;
    QString editingIcon() const { return m_editingIcon; }
    const QList<AppItem>& editingApps() const { return m_editingApps; }
    std::optional<QUuid> draggingAppID() const;
    bool isShowingIconPicker() const { return m_iconPicker != nullptr; }

    // Hands over to the application picker; what it picks comes back to `addApps`.
    void requestAddApps();
    // Appends the picked applications not in the folder yet: to the edits while editing, else
    // straight to the store.
    void addApps(const QList<AppItem>& picked);
    void removeApp(const QUuid& appID);
    void openIconPicker();
    void chooseIcon(const QString& icon);
    // The drag-and-drop steps of a tile, as the tiles report them.
    void dragEntered(const QUuid& targetID, const std::optional<QUuid>& offeredID);
    void dragPerformed();
    void requestDelete();

    void retranslate();

    QWidget* header() const { return m_header; }
    ToggleSwitch* inDockSwitch() const { return m_inDockSwitch; }
    GlyphButton* chevron() const { return m_chevron; }
    // The card's menu ("Open All"), from its "…" button or a right click on its header.
    GlyphButton* moreButton() const { return m_moreButton; }
    QMenu* menu() const { return m_menu; }
    // Opens every application of the folder, once each.
    void openAll();
    TextButton* editButton() const { return m_editButton; }
    TextButton* addAppsButton() const { return m_addAppsButton; }
    TextButton* deleteButton() const { return m_deleteButton; }
    FolderGlyphButton* glyphButton() const { return m_glyphButton; }
    QLineEdit* nameField() const { return m_nameField; }
    FolderNameHint* nameHint() const { return m_nameHint; }
    QLabel* nameLabel() const { return m_nameLabel; }
    QLabel* countLabel() const { return m_countLabel; }
    QWidget* emptyContent() const { return m_emptyContent; }
    // The tiles in their current order.
    QList<AppGridItem*> tiles() const;

Q_SIGNALS:
    // Applications "Open All" could not open, for the window's notice.
    void newsReported(const QString& title, const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildHeader();
    void buildBody();
    void inDockClicked(bool checked);
    void moveApp(const QUuid& draggedID, const QUuid& targetID);
    void moveAppTo(const QUuid& appID, int index);
    void fitNameField();
    // The store's value of this folder; none once it was deleted.
    std::optional<AppFolder> storedFolder() const;
    void refresh();
    void syncTiles();
    void recolor();

    const MainWindowEnvironment& m_environment;
    AppFolder m_folder;
    bool m_isExpanded;
    bool m_isEditing = false;
    QList<AppItem> m_editingApps;
    QString m_editingIcon;
    QPointer<IconPickerPopover> m_iconPicker;

    QWidget* m_header = nullptr;
    FolderGlyph* m_glyph = nullptr;
    FolderGlyphButton* m_glyphButton = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLineEdit* m_nameField = nullptr;
    QLabel* m_countLabel = nullptr;
    QWidget* m_renameRow = nullptr;
    FolderNameHint* m_nameHint = nullptr;
    ToggleSwitch* m_inDockSwitch = nullptr;
    GlyphButton* m_chevron = nullptr;
    GlyphButton* m_moreButton = nullptr;
    QMenu* m_menu = nullptr;
    QWidget* m_body = nullptr;
    TextButton* m_editButton = nullptr;
    TextButton* m_addAppsButton = nullptr;
    TextButton* m_deleteButton = nullptr;
    AppGrid* m_grid = nullptr;
    QWidget* m_emptyContent = nullptr;
    QLabel* m_emptyTitle = nullptr;
    QLabel* m_emptyHint = nullptr;
};
