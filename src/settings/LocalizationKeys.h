#pragma once

#include "model/Enums.h"

#include <array>
#include <string_view>

// Every key the interface looks up in the string tables. Screens name these constants rather than
// writing the keys out, and the translation tests check each of them against both tables.
namespace L10nKey {

// Window titles.
inline constexpr char appName[] = "app.name";
inline constexpr char settingsTitle[] = "settings.title";

// Settings tabs.
inline constexpr char settingsTabGeneral[] = "settings.tab.general";
inline constexpr char settingsTabAppearance[] = "settings.tab.appearance";
inline constexpr char settingsTabPopup[] = "settings.tab.popup";
inline constexpr char settingsTabAbout[] = "settings.tab.about";

// Folder list.
inline constexpr char folderCount[] = "main.folder_count"; // plural base
inline constexpr char filterAll[] = "main.filter.all";
inline constexpr char filterInDock[] = "main.filter.in_dock";
inline constexpr char searchPlaceholder[] = "main.search_placeholder";
inline constexpr char newFolder[] = "main.new_folder";
inline constexpr char noFolders[] = "main.no_folders";
inline constexpr char footerTotal[] = "main.footer.total";    // %d
inline constexpr char footerInDock[] = "main.footer.in_dock"; // %d
inline constexpr char noFoldersFoundTitle[] = "No folders found";
inline constexpr char noFoldersFoundHint[] = "Try another search or switch back to All.";

// Folder card and its dialogs.
inline constexpr char appCount[] = "main.app_count"; // plural base
inline constexpr char folderInDock[] = "main.folder.in_dock";
inline constexpr char folderEdit[] = "main.folder.edit";
inline constexpr char folderDone[] = "main.folder.done";
inline constexpr char folderDeleteTitle[] = "main.folder.delete_title";
inline constexpr char folderDelete[] = "main.folder.delete";
inline constexpr char deleteConfirmationTitle[] = "main.folder.delete_confirmation_title"; // %@ folder name
inline constexpr char deleteConfirmationMessage[] = "main.folder.delete_confirmation_message";
inline constexpr char emptyFolderAlertTitle[] = "main.folder.empty_folder_alert.title";
inline constexpr char emptyFolderAlertMessage[] = "main.folder.empty_folder_alert.message";
// The notice's only button, which dismisses it.
inline constexpr char emptyFolderAlertOk[] = "main.folder.empty_folder_alert.ok";
inline constexpr char folderNamePlaceholder[] = "folder.editor.name_placeholder";
// The expanded card's button that opens the application picker.
inline constexpr char folderAddApps[] = "main.folder.add_apps";
// A tile's delete badge, for screen readers.
inline constexpr char folderRemoveApp[] = "main.folder.remove_app"; // %@ application name
// What screen readers say for a tile's place while the keyboard can move it.
inline constexpr char folderAppPosition[] = "main.folder.app_position"; // %d place, %d count
inline constexpr char emptyFolderTitle[] = "This folder is empty";
inline constexpr char emptyFolderHint[] = "Add apps to get started.";

// Folder editor.
inline constexpr char editorTitleNew[] = "folder.editor.title.new";
inline constexpr char editorTitleEdit[] = "folder.editor.title.edit";
inline constexpr char editorNameLabel[] = "folder.editor.name_label";
inline constexpr char editorNamePlaceholderExample[] = "folder.editor.name_placeholder_example";
inline constexpr char editorIconLabel[] = "folder.editor.icon_label";
inline constexpr char cancel[] = "folder.editor.btn.cancel";
inline constexpr char save[] = "folder.editor.btn.save";
// The line under a name field: what the filter took out, that it cut the name, and the counter.
inline constexpr char folderNameRemoved[] = "folder.name.removed";              // %@ the characters
inline constexpr char folderNameTruncated[] = "folder.name.truncated";          // %d the limit
inline constexpr char folderNameCounter[] = "folder.name.counter";              // %d length, %d limit
inline constexpr char folderNameCounterSpoken[] = "folder.name.counter.spoken"; // %d length, %d limit

// Application picker.
inline constexpr char appPickerTitle[] = "app_picker.title";
inline constexpr char appPickerSearchPlaceholder[] = "app_picker.search_placeholder";
// Both a plural base and a format of its own (%d), so either way of asking finds a text.
inline constexpr char appPickerAddCount[] = "app_picker.add_count";
// What screen readers say for the picker's grid and for a cell's state.
inline constexpr char appPickerApps[] = "app_picker.apps";
inline constexpr char appPickerSelected[] = "app_picker.cell.selected";
inline constexpr char appPickerAlreadyAdded[] = "app_picker.cell.already_added";
// Shown instead of the grid when a search finds no application.
inline constexpr char appPickerNoMatch[] = "app_picker.no_match"; // %@ the search

// General page.
inline constexpr char launchAtLogin[] = "settings.general.launch_at_login";
inline constexpr char showMenuBar[] = "settings.general.show_menu_bar";
inline constexpr char language[] = "settings.general.language";
inline constexpr char theme[] = "settings.general.theme";
// The dock the folders stand in: the row, its automatic choice, and the line naming the one in use.
inline constexpr char dock[] = "settings.general.dock";
inline constexpr char dockAutomatic[] = "settings.general.dock.automatic";
inline constexpr char dockInUse[] = "settings.general.dock.in_use"; // %@ the dock's name
// Trellin's extension for the dock in use (GNOME Shell's): the row, its button, its states and notes.
inline constexpr char shellExtension[] = "settings.general.shell_extension";
inline constexpr char shellExtensionSubtitle[] = "settings.general.shell_extension.subtitle";
inline constexpr char shellExtensionInstall[] = "settings.general.shell_extension.install";
inline constexpr char shellExtensionUpdate[] = "settings.general.shell_extension.update";
inline constexpr char shellExtensionInstalled[] = "settings.general.shell_extension.installed";
inline constexpr char shellExtensionActive[] = "settings.general.shell_extension.active";
inline constexpr char shellExtensionNextLogin[] = "settings.general.shell_extension.next_login";
inline constexpr char shellExtensionRefused[] = "settings.general.shell_extension.refused";
inline constexpr char shellExtensionRefusedNote[] = "settings.general.shell_extension.refused.note";
inline constexpr char shellExtensionFailed[] = "settings.general.shell_extension.failed"; // %@ why
inline constexpr char launchAtLoginSubtitle[] = "Start Trellin when you log in";
inline constexpr char showMenuBarSubtitle[] = "Access from the menu bar";
// Under the menu-bar switch where the desktop has no tray to show the item in.
inline constexpr char showMenuBarNoTray[] = "settings.general.show_menu_bar.no_tray";
// Under a launch-at-login switch when the system refused the change, by reason.
inline constexpr char launchAtLoginNotInBundle[] = "launch_at_login.error.not_in_bundle";
inline constexpr char launchAtLoginCannotCreateFolder[] = "launch_at_login.error.cannot_create_folder";
inline constexpr char launchAtLoginCannotWrite[] = "launch_at_login.error.cannot_write";
inline constexpr char launchAtLoginCannotRemove[] = "launch_at_login.error.cannot_remove";

// Appearance page.
inline constexpr char appearancePreview[] = "settings.appearance.preview";
inline constexpr char cornerRadius[] = "settings.appearance.corner_radius";
inline constexpr char tileOpacity[] = "settings.appearance.tile_opacity";
inline constexpr char background[] = "settings.appearance.background";
inline constexpr char tileBorder[] = "settings.tile.border";
inline constexpr char tileBorderWidth[] = "settings.tile.border.width";
inline constexpr char tileBorderOpacity[] = "settings.tile.border.opacity";
inline constexpr char backgroundMode[] = "settings.tile.background_mode";
inline constexpr char backgroundModeSolid[] = "settings.tile.background_mode.solid";
inline constexpr char backgroundModeGradient[] = "settings.tile.background_mode.gradient";
inline constexpr char backgroundModeGlass[] = "settings.tile.background_mode.glass";
inline constexpr char noFoldersToPreview[] = "Create a folder to preview tile styles";
// What screen readers say for the tile page's colour circles and its colour picker.
inline constexpr char backgroundFrosted[] = "settings.appearance.background.frosted";
inline constexpr char backgroundDark[] = "settings.appearance.background.dark";
inline constexpr char backgroundLight[] = "settings.appearance.background.light";
inline constexpr char backgroundBlue[] = "settings.appearance.background.blue";
inline constexpr char backgroundGreen[] = "settings.appearance.background.green";
inline constexpr char backgroundRed[] = "settings.appearance.background.red";
inline constexpr char backgroundOrange[] = "settings.appearance.background.orange";
inline constexpr char backgroundPink[] = "settings.appearance.background.pink";
inline constexpr char backgroundPurple[] = "settings.appearance.background.purple";
inline constexpr char backgroundYellow[] = "settings.appearance.background.yellow";
inline constexpr char backgroundCustom[] = "settings.appearance.background.custom";
inline constexpr char colorPickerSquare[] = "settings.appearance.color_picker.square";
inline constexpr char colorPickerHue[] = "settings.appearance.color_picker.hue";
inline constexpr char colorPickerSwatch[] = "settings.appearance.color_picker.swatch"; // %@ RRGGBB

// Popup page.
inline constexpr char popupSectionLayout[] = "settings.popup.section.layout";
inline constexpr char popupSectionVisual[] = "settings.popup.section.visual";
inline constexpr char popupShowTitle[] = "settings.popup.show_title";
inline constexpr char popupShowNames[] = "settings.popup.show_names";
inline constexpr char popupColumns[] = "settings.popup.columns";
inline constexpr char popupIconSize[] = "settings.popup.icon_size";
inline constexpr char popupPosition[] = "settings.popup.position";
inline constexpr char popupBlur[] = "settings.popup.blur";
inline constexpr char popupOpacity[] = "settings.popup.opacity";
inline constexpr char popupAnimation[] = "settings.popup.animation";

// Display names of the popup choices.
inline constexpr char positionCenter[] = "popup.position.center";
inline constexpr char positionAboveDock[] = "popup.position.above_dock";
inline constexpr char blurThin[] = "popup.blur.thin";
inline constexpr char blurRegular[] = "popup.blur.regular";
inline constexpr char blurDark[] = "popup.blur.dark";
inline constexpr char animationSpring[] = "popup.animation.spring";
inline constexpr char animationNone[] = "popup.animation.none";

// About page.
inline constexpr char aboutVersion[] = "settings.about.version"; // %@ version text
inline constexpr char aboutCopyright[] = "settings.about.copyright";
inline constexpr char aboutCheckUpdates[] = "settings.about.check_updates";
inline constexpr char aboutTagline[] = "settings.about.tagline";
// Stands in for a version the bundle does not state.
inline constexpr char unknownVersion[] = "Unknown";
// The credit line: the words before the heart, and the maker's credit after it.
inline constexpr char aboutMadeWith[] = "settings.about.made_with";
inline constexpr char aboutCredit[] = "settings.about.credit";

// Onboarding.
inline constexpr char onboardingWindowTitle[] = "onboarding.window_title";
inline constexpr char onboardingHeroTitle[] = "onboarding.hero.title";
inline constexpr char onboardingHeroSubtitle[] = "onboarding.hero.subtitle";
inline constexpr char onboardingWelcomeTitle[] = "onboarding.welcome.title";
inline constexpr char onboardingWelcomeSubtitle[] = "onboarding.welcome.subtitle";
inline constexpr char onboardingFoldersTitle[] = "onboarding.welcome.item.folders.title";
inline constexpr char onboardingFoldersSubtitle[] = "onboarding.welcome.item.folders.subtitle";
inline constexpr char onboardingAppsTitle[] = "onboarding.welcome.item.apps.title";
inline constexpr char onboardingAppsSubtitle[] = "onboarding.welcome.item.apps.subtitle";
inline constexpr char onboardingMenuTitle[] = "onboarding.welcome.item.menu.title";
inline constexpr char onboardingMenuSubtitle[] = "onboarding.welcome.item.menu.subtitle";
inline constexpr char onboardingWorkflowTitle[] = "onboarding.workflow.title";
inline constexpr char onboardingWorkflowSubtitle[] = "onboarding.workflow.subtitle";
inline constexpr char onboardingOptionAboveDock[] = "onboarding.workflow.option.above_dock";
inline constexpr char onboardingOptionCenterScreen[] = "onboarding.workflow.option.center_screen";
inline constexpr char onboardingQuickTitle[] = "onboarding.quick.title";
inline constexpr char onboardingQuickSubtitle[] = "onboarding.quick.subtitle";
inline constexpr char onboardingThemeTitle[] = "onboarding.quick.theme.title";
inline constexpr char onboardingThemeDark[] = "onboarding.quick.theme.dark";
inline constexpr char onboardingThemeLight[] = "onboarding.quick.theme.light";
inline constexpr char onboardingThemeSystem[] = "onboarding.quick.theme.system";
inline constexpr char onboardingMenuBarTitle[] = "onboarding.quick.menubar.title";
inline constexpr char onboardingMenuBarSubtitle[] = "onboarding.quick.menubar.subtitle";
inline constexpr char onboardingLaunchTitle[] = "onboarding.quick.launch.title";
inline constexpr char onboardingLaunchSubtitle[] = "onboarding.quick.launch.subtitle";
inline constexpr char onboardingBack[] = "onboarding.action.back";
inline constexpr char onboardingNext[] = "onboarding.action.next";
inline constexpr char onboardingStart[] = "onboarding.action.start";
inline constexpr char onboardingStepIndicator[] = "onboarding.step_indicator"; // %d the step, %d the count

// Menu-bar menu and application commands.
inline constexpr char menuOpen[] = "menu.open";
inline constexpr char menuSettings[] = "menu.settings";
inline constexpr char menuQuit[] = "menu.quit";

// What screen readers say for the folder popup and its buttons.
inline constexpr char popupAccessibleName[] = "popup.accessibility.name"; // %@ the folder's name
inline constexpr char popupPin[] = "popup.accessibility.pin";
inline constexpr char popupUnpin[] = "popup.accessibility.unpin";
inline constexpr char popupClose[] = "popup.accessibility.close";
// Shown in the popup, and said to screen readers, when an application could not be opened.
inline constexpr char popupLaunchFailed[] = "popup.launch_failed"; // %@ the application's name
// An empty folder's popup: the button that shows the folder in the main window.
inline constexpr char popupOpenInMainWindow[] = "popup.open_in_main_window";

// What screen readers say for the main window's own controls.
inline constexpr char windowClose[] = "main.window.close";
inline constexpr char windowMinimize[] = "main.window.minimize";
inline constexpr char windowZoom[] = "main.window.zoom";
inline constexpr char windowTheme[] = "main.window.theme";
inline constexpr char windowShowFolders[] = "main.window.show_folders";
inline constexpr char folderListName[] = "main.folder_list";

// The main window's notice while the folders file is behind the list in memory.
inline constexpr char saveFailedTitle[] = "main.save_failed.title";
inline constexpr char saveFailedRetrying[] = "main.save_failed.retrying";
inline constexpr char saveFailedReason[] = "main.save_failed.reason"; // %@ the system's reason

// Folders in and out: the Folders menu, the General page, undo of a delete, "Open all".
inline constexpr char foldersMenu[] = "main.folders_menu";
inline constexpr char foldersExport[] = "main.folders.export";
inline constexpr char foldersImport[] = "main.folders.import";
inline constexpr char foldersImportDesktop[] = "main.folders.import_desktop";
inline constexpr char foldersExported[] = "main.folders.exported";
inline constexpr char foldersExportFailed[] = "main.folders.export_failed";
inline constexpr char foldersImported[] = "main.folders.imported";
inline constexpr char foldersImportedCounts[] = "main.folders.imported_counts"; // %d added, %d updated
inline constexpr char foldersImportFailed[] = "main.folders.import_failed";
inline constexpr char foldersGeneralTitle[] = "settings.general.folders";
inline constexpr char foldersGeneralSubtitle[] = "settings.general.folders_subtitle";
inline constexpr char foldersDesktopTitle[] = "settings.general.desktop_folders";
inline constexpr char foldersDesktopSubtitle[] = "settings.general.desktop_folders_subtitle";
inline constexpr char foldersDesktopImport[] = "settings.general.desktop_folders_import";
inline constexpr char folderDeleted[] = "main.folder.deleted"; // %@ folder name
inline constexpr char folderUndo[] = "main.folder.undo";
inline constexpr char folderOpenAll[] = "main.folder.open_all";
inline constexpr char folderMore[] = "main.folder.more";
inline constexpr char folderAppMissing[] = "main.folder.app_missing";
inline constexpr char onboardingDesktopFolders[] = "onboarding.desktop_folders";

// The software updater's dialog.
inline constexpr char updateTitleCurrent[] = "update.title.current";
inline constexpr char updateMessageCurrent[] = "update.message.current"; // %@ the running version
inline constexpr char updateTitleAvailable[] = "update.title.available";
inline constexpr char updateMessageAvailable[] = "update.message.available"; // %1$@ new, %2$@ running version
inline constexpr char updateTitleFailed[] = "update.title.failed";
inline constexpr char updateNotes[] = "update.notes";
inline constexpr char updateButtonNotes[] = "update.button.notes";
inline constexpr char updateButtonDownload[] = "update.button.download";
inline constexpr char updateButtonLater[] = "update.button.later";
inline constexpr char updateButtonOk[] = "update.button.ok";
inline constexpr char updateFailedNoFeed[] = "update.failed.no_feed";
inline constexpr char updateFailedNoVersion[] = "update.failed.no_version";
inline constexpr char updateFailedChecker[] = "update.failed.checker";
inline constexpr char updateFailedAddress[] = "update.failed.address";
inline constexpr char updateFailedUnreadable[] = "update.failed.unreadable";
inline constexpr char updateFailedTooLarge[] = "update.failed.too_large";
inline constexpr char updateFailedTimedOut[] = "update.failed.timed_out";
inline constexpr char updateFailedNotAppcast[] = "update.failed.not_appcast";
inline constexpr char updateFailedNotRss[] = "update.failed.not_rss";
inline constexpr char updateFailedNoChannel[] = "update.failed.no_channel";
inline constexpr char updateFailedMalformed[] = "update.failed.malformed"; // %d the line
inline constexpr char updateNoBrowser[] = "update.no_browser";

// How a key's texts are stored and what a format text must take.
struct Entry {
    std::string_view key;
    // The tables hold the key itself.
    bool ownEntry;
    // The tables hold key + ".one", ".many" (and ".few" in Ukrainian), each taking the count.
    bool pluralBase;
    // The arguments every text of the key takes, in order: 'd' an integer, '@' a text.
    std::string_view arguments;
};

namespace detail {
constexpr Entry text(std::string_view key) {
    return {key, true, false, {}};
}
constexpr Entry format(std::string_view key, std::string_view arguments) {
    return {key, true, false, arguments};
}
constexpr Entry plural(std::string_view key) {
    return {key, false, true, "d"};
}
} // namespace detail

inline constexpr auto kAll = std::to_array<Entry>({
    detail::text(appName),
    detail::format(popupAccessibleName, "@"),
    detail::text(popupPin),
    detail::text(popupUnpin),
    detail::text(popupClose),
    detail::format(popupLaunchFailed, "@"),
    detail::text(popupOpenInMainWindow),
    detail::text(windowClose),
    detail::text(windowMinimize),
    detail::text(windowZoom),
    detail::text(windowTheme),
    detail::text(windowShowFolders),
    detail::text(folderListName),
    detail::text(saveFailedTitle),
    detail::text(saveFailedRetrying),
    detail::format(saveFailedReason, "@"),
    detail::text(foldersMenu),
    detail::text(foldersExport),
    detail::text(foldersImport),
    detail::text(foldersImportDesktop),
    detail::text(foldersExported),
    detail::text(foldersExportFailed),
    detail::text(foldersImported),
    detail::format(foldersImportedCounts, "dd"),
    detail::text(foldersImportFailed),
    detail::text(foldersGeneralTitle),
    detail::text(foldersGeneralSubtitle),
    detail::text(foldersDesktopTitle),
    detail::text(foldersDesktopSubtitle),
    detail::text(foldersDesktopImport),
    detail::format(folderDeleted, "@"),
    detail::text(folderUndo),
    detail::text(folderOpenAll),
    detail::text(folderMore),
    detail::text(folderAppMissing),
    detail::text(onboardingDesktopFolders),
    detail::text(settingsTitle),
    detail::text(settingsTabGeneral),
    detail::text(settingsTabAppearance),
    detail::text(settingsTabPopup),
    detail::text(settingsTabAbout),
    detail::plural(folderCount),
    detail::text(filterAll),
    detail::text(filterInDock),
    detail::text(searchPlaceholder),
    detail::text(newFolder),
    detail::text(noFolders),
    detail::format(footerTotal, "d"),
    detail::format(footerInDock, "d"),
    detail::text(noFoldersFoundTitle),
    detail::text(noFoldersFoundHint),
    detail::plural(appCount),
    detail::text(folderInDock),
    detail::text(folderEdit),
    detail::text(folderDone),
    detail::text(folderDeleteTitle),
    detail::text(folderDelete),
    detail::format(deleteConfirmationTitle, "@"),
    detail::text(deleteConfirmationMessage),
    detail::text(emptyFolderAlertTitle),
    detail::text(emptyFolderAlertMessage),
    detail::text(emptyFolderAlertOk),
    detail::text(folderNamePlaceholder),
    detail::text(folderAddApps),
    detail::format(folderRemoveApp, "@"),
    detail::format(folderAppPosition, "dd"),
    detail::text(emptyFolderTitle),
    detail::text(emptyFolderHint),
    detail::text(editorTitleNew),
    detail::text(editorTitleEdit),
    detail::text(editorNameLabel),
    detail::text(editorNamePlaceholderExample),
    detail::text(editorIconLabel),
    detail::text(cancel),
    detail::text(save),
    detail::format(folderNameRemoved, "@"),
    detail::format(folderNameTruncated, "d"),
    detail::format(folderNameCounter, "dd"),
    detail::format(folderNameCounterSpoken, "dd"),
    detail::text(appPickerTitle),
    detail::text(appPickerSearchPlaceholder),
    Entry{appPickerAddCount, true, true, "d"},
    detail::text(appPickerApps),
    detail::text(appPickerSelected),
    detail::text(appPickerAlreadyAdded),
    detail::format(appPickerNoMatch, "@"),
    detail::text(launchAtLogin),
    detail::text(showMenuBar),
    detail::text(language),
    detail::text(theme),
    detail::text(dock),
    detail::text(dockAutomatic),
    detail::format(dockInUse, "@"),
    detail::text(shellExtension),
    detail::text(shellExtensionSubtitle),
    detail::text(shellExtensionInstall),
    detail::text(shellExtensionUpdate),
    detail::text(shellExtensionInstalled),
    detail::text(shellExtensionActive),
    detail::text(shellExtensionNextLogin),
    detail::text(shellExtensionRefused),
    detail::text(shellExtensionRefusedNote),
    detail::format(shellExtensionFailed, "@"),
    detail::text(launchAtLoginSubtitle),
    detail::text(showMenuBarSubtitle),
    detail::text(showMenuBarNoTray),
    detail::text(launchAtLoginNotInBundle),
    detail::text(launchAtLoginCannotCreateFolder),
    detail::text(launchAtLoginCannotWrite),
    detail::text(launchAtLoginCannotRemove),
    detail::text(appearancePreview),
    detail::text(cornerRadius),
    detail::text(tileOpacity),
    detail::text(background),
    detail::text(tileBorder),
    detail::text(tileBorderWidth),
    detail::text(tileBorderOpacity),
    detail::text(backgroundMode),
    detail::text(backgroundModeSolid),
    detail::text(backgroundModeGradient),
    detail::text(backgroundModeGlass),
    detail::text(noFoldersToPreview),
    detail::text(backgroundFrosted),
    detail::text(backgroundDark),
    detail::text(backgroundLight),
    detail::text(backgroundBlue),
    detail::text(backgroundGreen),
    detail::text(backgroundRed),
    detail::text(backgroundOrange),
    detail::text(backgroundPink),
    detail::text(backgroundPurple),
    detail::text(backgroundYellow),
    detail::text(backgroundCustom),
    detail::text(colorPickerSquare),
    detail::text(colorPickerHue),
    detail::format(colorPickerSwatch, "@"),
    detail::text(popupSectionLayout),
    detail::text(popupSectionVisual),
    detail::text(popupShowTitle),
    detail::text(popupShowNames),
    detail::text(popupColumns),
    detail::text(popupIconSize),
    detail::text(popupPosition),
    detail::text(popupBlur),
    detail::text(popupOpacity),
    detail::text(popupAnimation),
    detail::text(positionCenter),
    detail::text(positionAboveDock),
    detail::text(blurThin),
    detail::text(blurRegular),
    detail::text(blurDark),
    detail::text(animationSpring),
    detail::text(animationNone),
    detail::format(aboutVersion, "@"),
    detail::text(aboutCopyright),
    detail::text(aboutCheckUpdates),
    detail::text(aboutTagline),
    detail::text(unknownVersion),
    detail::text(aboutMadeWith),
    detail::text(aboutCredit),
    detail::text(onboardingWindowTitle),
    detail::text(onboardingHeroTitle),
    detail::text(onboardingHeroSubtitle),
    detail::text(onboardingWelcomeTitle),
    detail::text(onboardingWelcomeSubtitle),
    detail::text(onboardingFoldersTitle),
    detail::text(onboardingFoldersSubtitle),
    detail::text(onboardingAppsTitle),
    detail::text(onboardingAppsSubtitle),
    detail::text(onboardingMenuTitle),
    detail::text(onboardingMenuSubtitle),
    detail::text(onboardingWorkflowTitle),
    detail::text(onboardingWorkflowSubtitle),
    detail::text(onboardingOptionAboveDock),
    detail::text(onboardingOptionCenterScreen),
    detail::text(onboardingQuickTitle),
    detail::text(onboardingQuickSubtitle),
    detail::text(onboardingThemeTitle),
    detail::text(onboardingThemeDark),
    detail::text(onboardingThemeLight),
    detail::text(onboardingThemeSystem),
    detail::text(onboardingMenuBarTitle),
    detail::text(onboardingMenuBarSubtitle),
    detail::text(onboardingLaunchTitle),
    detail::text(onboardingLaunchSubtitle),
    detail::text(onboardingBack),
    detail::text(onboardingNext),
    detail::text(onboardingStart),
    detail::format(onboardingStepIndicator, "dd"),
    detail::text(menuOpen),
    detail::text(menuSettings),
    detail::text(menuQuit),
    detail::text(updateTitleCurrent),
    detail::format(updateMessageCurrent, "@"),
    detail::text(updateTitleAvailable),
    detail::format(updateMessageAvailable, "@@"),
    detail::text(updateTitleFailed),
    detail::text(updateNotes),
    detail::text(updateButtonNotes),
    detail::text(updateButtonDownload),
    detail::text(updateButtonLater),
    detail::text(updateButtonOk),
    detail::text(updateFailedNoFeed),
    detail::text(updateFailedNoVersion),
    detail::text(updateFailedChecker),
    detail::format(updateFailedAddress, "@"),
    detail::format(updateFailedUnreadable, "@"),
    detail::text(updateFailedTooLarge),
    detail::text(updateFailedTimedOut),
    detail::format(updateFailedNotAppcast, "@"),
    detail::text(updateFailedNotRss),
    detail::text(updateFailedNoChannel),
    detail::format(updateFailedMalformed, "d"),
    detail::text(updateNoBrowser),
});

// The display-name key of each choice the pickers offer.
constexpr const char* displayNameKey(PopupPosition value) {
    return value == PopupPosition::AboveDock ? positionAboveDock : positionCenter;
}
constexpr const char* displayNameKey(PopupBlur value) {
    switch (value) {
    case PopupBlur::Thin:
        return blurThin;
    case PopupBlur::Regular:
        return blurRegular;
    case PopupBlur::Dark:
        return blurDark;
    }
    return blurRegular;
}
constexpr const char* displayNameKey(PopupAnimation value) {
    return value == PopupAnimation::None ? animationNone : animationSpring;
}
constexpr const char* displayNameKey(TileBackgroundMode value) {
    switch (value) {
    case TileBackgroundMode::Solid:
        return backgroundModeSolid;
    case TileBackgroundMode::Gradient:
        return backgroundModeGradient;
    case TileBackgroundMode::Glass:
        return backgroundModeGlass;
    }
    return backgroundModeGradient;
}
constexpr const char* displayNameKey(AppThemeMode value) {
    switch (value) {
    case AppThemeMode::Dark:
        break;
    case AppThemeMode::Light:
        return onboardingThemeLight;
    case AppThemeMode::System:
        return onboardingThemeSystem;
    }
    return onboardingThemeDark;
}

constexpr const char* displayNameKey(TileBackground value) {
    switch (value) {
    case TileBackground::Frosted:
        return backgroundFrosted;
    case TileBackground::Dark:
        return backgroundDark;
    case TileBackground::Light:
        return backgroundLight;
    case TileBackground::Blue:
        return backgroundBlue;
    case TileBackground::Green:
        return backgroundGreen;
    case TileBackground::Red:
        return backgroundRed;
    case TileBackground::Orange:
        return backgroundOrange;
    case TileBackground::Pink:
        return backgroundPink;
    case TileBackground::Purple:
        return backgroundPurple;
    case TileBackground::Yellow:
        return backgroundYellow;
    case TileBackground::Custom:
        return backgroundCustom;
    }
    return backgroundLight;
}

} // namespace L10nKey
