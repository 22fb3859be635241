#pragma once

#include "MainWindowEnvironment.h"
#include "model/AppFolder.h"

#include <QImage>
#include <QPointer>
#include <QUuid>
#include <QWidget>

#include <functional>

class FolderStore;
class PresentationEffect;
class SpringAnimation;

// Which dialog the store's flags ask for; when several are set, the first in this order wins.
enum class ModalDialog { None, DeleteConfirmation, EmptyFolderAlert, FolderEditor, AppPicker };

// The main window's dialogs, drawn inside the window over a blurred, dimmed picture of the page.
// Shown while one of the store's dialog flags is set; a click on the backdrop dismisses them all.
// Closing gives the keyboard back to the control that had it when the first dialog opened, and
// from that moment lets clicks through to the page while the backdrop fades.
class ModalLayer final : public QWidget {
    Q_OBJECT
public:
    static ModalDialog dialogFor(const FolderStore& store);
    // Clears every dialog flag: the backdrop was clicked.
    static void dismissAll(FolderStore& store);

    // `page` is what the backdrop shows blurred; `onConfirmDelete` deletes a confirmed folder.
    ModalLayer(const MainWindowEnvironment& environment, QWidget* page,
               std::function<void(const AppFolder&)> onConfirmDelete, QWidget* parent = nullptr);

    ModalDialog shownDialog() const { return m_shown; }
    // The dialog's panel, or null when none is shown.
    QWidget* panel() const { return m_panel; }
    // Where the keyboard goes back to when the dialogs close.
    QWidget* opener() const { return m_opener; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    QWidget* makePanel(ModalDialog dialog);
    void present(double progress);
    void placePanel();
    void giveFocusBack();

    const MainWindowEnvironment& m_environment;
    QPointer<QWidget> m_page;
    std::function<void(const AppFolder&)> m_onConfirmDelete;
    ModalDialog m_shown = ModalDialog::None;
    QUuid m_shownFolder; // the folder the delete confirmation asks about
    QPointer<QWidget> m_panel;
    QPointer<QWidget> m_opener;
    QImage m_backdrop;
    SpringAnimation* m_presentation;
    double m_backdropOpacity = 0;
};
