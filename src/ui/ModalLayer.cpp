#include "ModalLayer.h"

#include "AppPickerView.h"
#include "DeleteFolderConfirmationSheet.h"
#include "EmptyFolderAlertSheet.h"
#include "NewFolderSheet.h"
#include "model/FolderStore.h"
#include "widgets/PresentationEffect.h"
#include "widgets/SpringAnimation.h"
#include "widgets/Theme.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr Spring presentationSpring{0.35, 0.78};
// The application picker closes a little springier than the other dialogs.
constexpr Spring appPickerLeavingSpring{0.35, 0.72};
constexpr double enteringScale = 0.94;

// A cheap, strong blur: the picture shrunk to a few pixels and smoothed back up.
QImage blurred(const QImage& image, int divisor) {
    if (image.isNull())
        return {};
    const QImage small = image.scaled(std::max(1, image.width() / divisor), std::max(1, image.height() / divisor),
                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return small.scaled(image.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

ModalDialog ModalLayer::dialogFor(const FolderStore& store) {
    if (store.folderPendingDelete())
        return ModalDialog::DeleteConfirmation;
    if (store.showingEmptyFolderAlert())
        return ModalDialog::EmptyFolderAlert;
    if (store.showingFolderEditor())
        return ModalDialog::FolderEditor;
    if (store.showingAppPicker())
        return ModalDialog::AppPicker;
    return ModalDialog::None;
}

void ModalLayer::dismissAll(FolderStore& store) {
    store.setFolderPendingDelete(std::nullopt);
    store.setShowingEmptyFolderAlert(false);
    store.setShowingFolderEditor(false);
    store.setFolderToEdit(std::nullopt);
    store.setShowingAppPicker(false);
    store.setAppPickerCallback({});
}

ModalLayer::ModalLayer(const MainWindowEnvironment& environment, QWidget* page,
                       std::function<void(const AppFolder&)> onConfirmDelete, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_page(page)
    , m_onConfirmDelete(std::move(onConfirmDelete))
    , m_presentation(new SpringAnimation(presentationSpring, 0, this)) {
    hide();
    connect(m_presentation, &SpringAnimation::valueChanged, this, &ModalLayer::present);
    FolderStore& store = environment.store;
    for (const auto signal : {&FolderStore::folderPendingDeleteChanged, &FolderStore::showingEmptyFolderAlertChanged,
                              &FolderStore::showingFolderEditorChanged, &FolderStore::showingAppPickerChanged})
        connect(&store, signal, this, &ModalLayer::refresh);
}

QWidget* ModalLayer::makePanel(ModalDialog dialog) {
    FolderStore& store = m_environment.store;
    switch (dialog) {
    case ModalDialog::DeleteConfirmation: {
        const AppFolder folder = *store.folderPendingDelete();
        return new DeleteFolderConfirmationSheet(
            m_environment, folder, [this, folder] { m_onConfirmDelete(folder); }, this);
    }
    case ModalDialog::EmptyFolderAlert:
        return new EmptyFolderAlertSheet(m_environment, this);
    case ModalDialog::FolderEditor:
        return new NewFolderSheet(m_environment, this);
    case ModalDialog::AppPicker:
        return new AppPickerView(m_environment, this);
    case ModalDialog::None:
        break;
    }
    return nullptr;
}

void ModalLayer::refresh() {
    const ModalDialog wanted = dialogFor(m_environment.store);
    const QUuid folder =
        wanted == ModalDialog::DeleteConfirmation ? m_environment.store.folderPendingDelete()->id : QUuid();
    if (wanted == m_shown && folder == m_shownFolder)
        return;
    const bool wasShown = m_shown != ModalDialog::None;
    m_presentation->setSpring(wanted == ModalDialog::None && m_shown == ModalDialog::AppPicker ? appPickerLeavingSpring
                                                                                               : presentationSpring);
    m_shown = wanted;
    m_shownFolder = folder;
    if (wanted == ModalDialog::None) {
        // The dialog leaves; the layer goes when the animation ends. The page is usable from now
        // on: a click during the fade belongs to what it lands on.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        if (m_panel) {
            m_panel->setGraphicsEffect(new PresentationEffect(m_panel));
            // After the dialog's own work is done: a deleted folder's card is gone by then.
            QMetaObject::invokeMethod(this, &ModalLayer::giveFocusBack, Qt::QueuedConnection);
        }
        m_presentation->animateTo(0);
        if (m_presentation->state() != QAbstractAnimation::Running)
            present(0);
        return;
    }
    if (!wasShown) {
        // A dialog that replaces another keeps the first one's opener.
        QWidget* focused = window()->focusWidget();
        m_opener = focused && !isAncestorOf(focused) ? focused : nullptr;
    }
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    delete m_panel;
    if (!wasShown && m_page)
        m_backdrop = blurred(m_page->grab().toImage(), Theme::schemeOf(*this) == ColorScheme::Dark ? 12 : 9);
    m_panel = makePanel(wanted);
    m_panel->setGraphicsEffect(new PresentationEffect(m_panel));
    raise();
    show();
    m_panel->show();
    placePanel();
    if (QWidget* first = m_panel->focusWidget() ? m_panel->focusWidget() : m_panel->nextInFocusChain())
        first->setFocus(Qt::OtherFocusReason);
    m_presentation->setValue(0);
    m_presentation->animateTo(1);
}

void ModalLayer::giveFocusBack() {
    if (m_shown != ModalDialog::None)
        return; // a dialog opened again meanwhile; it keeps the keyboard
    QWidget* opener = m_opener;
    m_opener = nullptr;
    if (opener && opener->isVisible() && opener->isEnabled() && opener->focusPolicy() != Qt::NoFocus) {
        opener->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The opener went with the dialog's work (a deleted folder's card): the page takes the keyboard.
    if (m_page)
        m_page->setFocus(Qt::OtherFocusReason);
}

void ModalLayer::present(double progress) {
    m_backdropOpacity = std::clamp(progress, 0.0, 1.0);
    const bool settled = m_presentation->state() != QAbstractAnimation::Running;
    if (m_panel) {
        if (auto* effect = qobject_cast<PresentationEffect*>(m_panel->graphicsEffect())) {
            if (settled && m_shown != ModalDialog::None && m_presentation->target() == 1) {
                // Fully shown: the panel paints directly again. An effect left in place would keep
                // drawing the dialog from a cached picture, stale wherever a child repaints alone.
                m_panel->setGraphicsEffect(nullptr);
            } else {
                effect->setCentre(QRectF(m_panel->rect()).center());
                effect->setScale(enteringScale + (1 - enteringScale) * progress);
                effect->setOpacity(std::clamp(progress, 0.0, 1.0));
            }
        }
    }
    if (m_shown == ModalDialog::None && m_presentation->target() == 0 && settled) {
        delete m_panel;
        hide();
    }
    update();
}

void ModalLayer::placePanel() {
    if (!m_panel)
        return;
    m_panel->adjustSize();
    // Wrapped texts need the height that their width gives them.
    if (m_panel->hasHeightForWidth())
        m_panel->resize(m_panel->width(), std::max(m_panel->height(), m_panel->heightForWidth(m_panel->width())));
    m_panel->move((width() - m_panel->width()) / 2, (height() - m_panel->height()) / 2);
}

void ModalLayer::resizeEvent(QResizeEvent*) {
    placePanel();
}

void ModalLayer::mousePressEvent(QMouseEvent* event) {
    if (m_panel && m_panel->geometry().contains(event->position().toPoint()))
        return;
    dismissAll(m_environment.store);
}

void ModalLayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setOpacity(m_backdropOpacity);
    if (!m_backdrop.isNull())
        painter.drawImage(rect(), m_backdrop);
    const bool dark = Theme::schemeOf(*this) == ColorScheme::Dark;
    painter.fillRect(rect(), QColor(0, 0, 0, dark ? 110 : 56));
}
