<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="app.name">
        <source>Trellin</source>
        <translation>Trellin</translation>
    </message>
    <message id="settings.title">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="settings.tab.general">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="settings.tab.appearance">
        <source>Appearance</source>
        <translation>Appearance</translation>
    </message>
    <message id="settings.tab.popup">
        <source>Popup</source>
        <translation>Popup</translation>
    </message>
    <message id="settings.tab.about">
        <source>About</source>
        <translation>About</translation>
    </message>
    <message id="main.folder_count.one">
        <source>%d folder</source>
        <translation>%d folder</translation>
    </message>
    <message id="main.folder_count.many">
        <source>%d folders</source>
        <translation>%d folders</translation>
    </message>
    <message id="main.filter.all">
        <source>All</source>
        <translation>All</translation>
    </message>
    <message id="main.filter.in_dock">
        <source>In Dock</source>
        <translation>In Dock</translation>
    </message>
    <message id="main.search_placeholder">
        <source>Search folders</source>
        <translation>Search folders</translation>
    </message>
    <message id="main.new_folder">
        <source>New Folder</source>
        <translation>New Folder</translation>
    </message>
    <message id="main.no_folders">
        <source>No folders yet</source>
        <translation>No folders yet</translation>
    </message>
    <message id="main.footer.total">
        <source>Total: %d</source>
        <translation>Total: %d</translation>
    </message>
    <message id="main.footer.in_dock">
        <source>In Dock: %d</source>
        <translation>In Dock: %d</translation>
    </message>
    <message id="main.app_count.one">
        <source>%d app</source>
        <translation>%d app</translation>
    </message>
    <message id="main.app_count.many">
        <source>%d apps</source>
        <translation>%d apps</translation>
    </message>
    <message id="main.folder.in_dock">
        <source>In Dock</source>
        <translation>In Dock</translation>
    </message>
    <message id="main.folder.edit">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="main.folder.done">
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message id="main.folder.delete_title">
        <source>Delete Folder</source>
        <translation>Delete Folder</translation>
    </message>
    <message id="main.folder.delete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="main.folder.delete_confirmation_title">
        <source>Delete “%@”?</source>
        <translation>Delete “%@”?</translation>
    </message>
    <message id="main.folder.delete_confirmation_message">
        <source>The folder and its Dock tile will be removed. The apps in it stay installed. For a few seconds you can still undo it.</source>
        <translation>The folder and its Dock tile will be removed. The apps in it stay installed. For a few seconds you can still undo it.</translation>
    </message>
    <message id="main.folder.empty_folder_alert.title">
        <source>Add Apps First</source>
        <translation>Add Apps First</translation>
    </message>
    <message id="main.folder.empty_folder_alert.message">
        <source>A folder needs at least one app before it can go into the Dock.</source>
        <translation>A folder needs at least one app before it can go into the Dock.</translation>
    </message>
    <message id="main.folder.empty_folder_alert.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="main.folder.add_apps">
        <source>Add Apps</source>
        <translation>Add Apps</translation>
    </message>
    <message id="main.folder.remove_app">
        <source>Remove %@</source>
        <translation>Remove %@</translation>
    </message>
    <message id="folder.editor.name_placeholder">
        <source>Folder name</source>
        <translation>Folder name</translation>
    </message>
    <message id="folder.editor.title.new">
        <source>New Folder</source>
        <translation>New Folder</translation>
    </message>
    <message id="folder.editor.title.edit">
        <source>Edit Folder</source>
        <translation>Edit Folder</translation>
    </message>
    <message id="folder.editor.name_label">
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message id="folder.editor.name_placeholder_example">
        <source>e.g. Design</source>
        <translation>e.g. Design</translation>
    </message>
    <message id="folder.editor.icon_label">
        <source>Icon</source>
        <translation>Icon</translation>
    </message>
    <message id="folder.editor.btn.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="folder.editor.btn.save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="app_picker.title">
        <source>Choose Apps</source>
        <translation>Choose Apps</translation>
    </message>
    <message id="app_picker.search_placeholder">
        <source>Search apps</source>
        <translation>Search apps</translation>
    </message>
    <message id="app_picker.add_count">
        <source>Add (%d)</source>
        <translation>Add (%d)</translation>
    </message>
    <message id="app_picker.add_count.one">
        <source>Add %d App</source>
        <translation>Add %d App</translation>
    </message>
    <message id="app_picker.add_count.many">
        <source>Add %d Apps</source>
        <translation>Add %d Apps</translation>
    </message>
    <message id="app_picker.apps">
        <source>Applications</source>
        <translation>Applications</translation>
    </message>
    <message id="app_picker.cell.selected">
        <source>Selected</source>
        <translation>Selected</translation>
    </message>
    <message id="app_picker.cell.already_added">
        <source>Already in the folder</source>
        <translation>Already in the folder</translation>
    </message>
    <message id="settings.general.launch_at_login">
        <source>Launch at Login</source>
        <translation>Launch at Login</translation>
    </message>
    <message id="settings.general.show_menu_bar">
        <source>Show in Menu Bar</source>
        <translation>Show in Menu Bar</translation>
    </message>
    <message id="settings.general.show_menu_bar.no_tray">
        <source>No system tray is running, so Trellin stays in the Dock.</source>
        <translation>No system tray is running, so Trellin stays in the Dock.</translation>
    </message>
    <message id="launch_at_login.error.not_in_bundle">
        <source>Couldn’t turn this on: Trellin isn’t running from its app bundle.</source>
        <translation>Couldn’t turn this on: Trellin isn’t running from its app bundle.</translation>
    </message>
    <message id="launch_at_login.error.cannot_create_folder">
        <source>Couldn’t turn this on: the autostart folder can’t be created.</source>
        <translation>Couldn’t turn this on: the autostart folder can’t be created.</translation>
    </message>
    <message id="launch_at_login.error.cannot_write">
        <source>Couldn’t turn this on: the autostart file can’t be written.</source>
        <translation>Couldn’t turn this on: the autostart file can’t be written.</translation>
    </message>
    <message id="launch_at_login.error.cannot_remove">
        <source>Couldn’t turn this off: the autostart file can’t be removed.</source>
        <translation>Couldn’t turn this off: the autostart file can’t be removed.</translation>
    </message>
    <message id="settings.general.language">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="settings.general.theme">
        <source>Theme</source>
        <translation>Theme</translation>
    </message>
    <message id="settings.general.dock">
        <source>Dock</source>
        <translation>Dock</translation>
    </message>
    <message id="settings.general.dock.automatic">
        <source>Automatic</source>
        <translation>Automatic</translation>
    </message>
    <message id="settings.general.dock.in_use">
        <source>In use: %@</source>
        <translation>In use: %@</translation>
    </message>
    <message id="settings.general.shell_extension">
        <source>GNOME Shell extension</source>
        <translation>GNOME Shell extension</translation>
    </message>
    <message id="settings.general.shell_extension.subtitle">
        <source>Opens a folder’s popup at its icon on Wayland</source>
        <translation>Opens a folder’s popup at its icon on Wayland</translation>
    </message>
    <message id="settings.general.shell_extension.install">
        <source>Install</source>
        <translation>Install</translation>
    </message>
    <message id="settings.general.shell_extension.update">
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message id="settings.general.shell_extension.installed">
        <source>Installed</source>
        <translation>Installed</translation>
    </message>
    <message id="settings.general.shell_extension.active">
        <source>Active</source>
        <translation>Active</translation>
    </message>
    <message id="settings.general.shell_extension.next_login">
        <source>GNOME Shell starts it when you next log in.</source>
        <translation>GNOME Shell starts it when you next log in.</translation>
    </message>
    <message id="settings.general.shell_extension.refused">
        <source>Not running</source>
        <translation>Not running</translation>
    </message>
    <message id="settings.general.shell_extension.refused.note">
        <source>GNOME Shell did not start it: it is made for another version of GNOME Shell, or it failed there. The popup opens in the middle of the screen.</source>
        <translation>GNOME Shell did not start it: it is made for another version of GNOME Shell, or it failed there. The popup opens in the middle of the screen.</translation>
    </message>
    <message id="settings.general.shell_extension.failed">
        <source>Couldn’t install it: %@</source>
        <translation>Couldn’t install it: %@</translation>
    </message>
    <message id="settings.appearance.preview">
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message id="settings.appearance.corner_radius">
        <source>Corner Radius</source>
        <translation>Corner Radius</translation>
    </message>
    <message id="settings.appearance.tile_opacity">
        <source>Tile Opacity</source>
        <translation>Tile Opacity</translation>
    </message>
    <message id="settings.appearance.background">
        <source>Background</source>
        <translation>Background</translation>
    </message>
    <message id="settings.tile.border">
        <source>Border</source>
        <translation>Border</translation>
    </message>
    <message id="settings.tile.border.width">
        <source>Border Width</source>
        <translation>Border Width</translation>
    </message>
    <message id="settings.tile.border.opacity">
        <source>Border Opacity</source>
        <translation>Border Opacity</translation>
    </message>
    <message id="settings.tile.background_mode">
        <source>Background Style</source>
        <translation>Background Style</translation>
    </message>
    <message id="settings.tile.background_mode.solid">
        <source>Solid</source>
        <translation>Solid</translation>
    </message>
    <message id="settings.tile.background_mode.gradient">
        <source>Gradient</source>
        <translation>Gradient</translation>
    </message>
    <message id="settings.tile.background_mode.glass">
        <source>Glass</source>
        <translation>Glass</translation>
    </message>
    <message id="settings.popup.section.layout">
        <source>Layout</source>
        <translation>Layout</translation>
    </message>
    <message id="settings.popup.section.visual">
        <source>Style</source>
        <translation>Style</translation>
    </message>
    <message id="settings.popup.show_title">
        <source>Show Folder Name</source>
        <translation>Show Folder Name</translation>
    </message>
    <message id="settings.popup.show_names">
        <source>Show App Names</source>
        <translation>Show App Names</translation>
    </message>
    <message id="settings.popup.columns">
        <source>Columns</source>
        <translation>Columns</translation>
    </message>
    <message id="settings.popup.icon_size">
        <source>Icon Size</source>
        <translation>Icon Size</translation>
    </message>
    <message id="settings.popup.position">
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message id="settings.popup.blur">
        <source>Blur</source>
        <translation>Blur</translation>
    </message>
    <message id="settings.popup.opacity">
        <source>Opacity</source>
        <translation>Opacity</translation>
    </message>
    <message id="settings.popup.animation">
        <source>Animation</source>
        <translation>Animation</translation>
    </message>
    <message id="popup.position.center">
        <source>Center</source>
        <translation>Center</translation>
    </message>
    <message id="popup.position.above_dock">
        <source>Above Dock</source>
        <translation>Above Dock</translation>
    </message>
    <message id="popup.blur.thin">
        <source>Thin</source>
        <translation>Thin</translation>
    </message>
    <message id="popup.blur.regular">
        <source>Regular</source>
        <translation>Regular</translation>
    </message>
    <message id="popup.blur.dark">
        <source>Dark</source>
        <translation>Dark</translation>
    </message>
    <message id="popup.animation.spring">
        <source>Spring</source>
        <translation>Spring</translation>
    </message>
    <message id="popup.animation.none">
        <source>None</source>
        <translation>None</translation>
    </message>
    <message id="settings.about.version">
        <source>Version %@</source>
        <translation>Version %@</translation>
    </message>
    <message id="settings.about.copyright">
        <source>© 2026 Trellin. All rights reserved.</source>
        <translation>© 2026 Trellin. All rights reserved.</translation>
    </message>
    <message id="settings.about.check_updates">
        <source>Check for Updates…</source>
        <translation>Check for Updates…</translation>
    </message>
    <message id="onboarding.window_title">
        <source>Welcome to Trellin</source>
        <translation>Welcome to Trellin</translation>
    </message>
    <message id="onboarding.hero.title">
        <source>Your Dock, Neatly Organized</source>
        <translation>Your Dock, Neatly Organized</translation>
    </message>
    <message id="onboarding.hero.subtitle">
        <source>Group apps into folders and open them right from the Dock.</source>
        <translation>Group apps into folders and open them right from the Dock.</translation>
    </message>
    <message id="onboarding.welcome.title">
        <source>What Trellin Does</source>
        <translation>What Trellin Does</translation>
    </message>
    <message id="onboarding.welcome.subtitle">
        <source>A quick look at the essentials before you begin.</source>
        <translation>A quick look at the essentials before you begin.</translation>
    </message>
    <message id="onboarding.welcome.item.folders.title">
        <source>Folders of Apps</source>
        <translation>Folders of Apps</translation>
    </message>
    <message id="onboarding.welcome.item.folders.subtitle">
        <source>Gather related apps into named folders with icons of your choice.</source>
        <translation>Gather related apps into named folders with icons of your choice.</translation>
    </message>
    <message id="onboarding.welcome.item.apps.title">
        <source>Folders in the Dock</source>
        <translation>Folders in the Dock</translation>
    </message>
    <message id="onboarding.welcome.item.apps.subtitle">
        <source>Each folder gets a Dock tile of its own. Click it to see the apps and launch one.</source>
        <translation>Each folder gets a Dock tile of its own. Click it to see the apps and launch one.</translation>
    </message>
    <message id="onboarding.welcome.item.menu.title">
        <source>Always at Hand</source>
        <translation>Always at Hand</translation>
    </message>
    <message id="onboarding.welcome.item.menu.subtitle">
        <source>Manage your folders from the menu bar, even without a Dock icon.</source>
        <translation>Manage your folders from the menu bar, even without a Dock icon.</translation>
    </message>
    <message id="onboarding.workflow.title">
        <source>Where Should Folders Open?</source>
        <translation>Where Should Folders Open?</translation>
    </message>
    <message id="onboarding.workflow.subtitle">
        <source>Choose where a folder’s popup appears when you click its tile. You can change this later in Settings.</source>
        <translation>Choose where a folder’s popup appears when you click its tile. You can change this later in Settings.</translation>
    </message>
    <message id="onboarding.workflow.option.above_dock">
        <source>Right above its Dock tile</source>
        <translation>Right above its Dock tile</translation>
    </message>
    <message id="onboarding.workflow.option.center_screen">
        <source>In the center of the screen</source>
        <translation>In the center of the screen</translation>
    </message>
    <message id="onboarding.quick.title">
        <source>Quick Setup</source>
        <translation>Quick Setup</translation>
    </message>
    <message id="onboarding.quick.subtitle">
        <source>A few preferences to make Trellin yours. You can change any of them later.</source>
        <translation>A few preferences to make Trellin yours. You can change any of them later.</translation>
    </message>
    <message id="onboarding.quick.theme.title">
        <source>Theme</source>
        <translation>Theme</translation>
    </message>
    <message id="onboarding.quick.theme.dark">
        <source>Dark</source>
        <translation>Dark</translation>
    </message>
    <message id="onboarding.quick.theme.light">
        <source>Light</source>
        <translation>Light</translation>
    </message>
    <message id="onboarding.quick.theme.system">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="onboarding.quick.menubar.title">
        <source>Show in Menu Bar</source>
        <translation>Show in Menu Bar</translation>
    </message>
    <message id="onboarding.quick.menubar.subtitle">
        <source>Keep Trellin one click away in the menu bar.</source>
        <translation>Keep Trellin one click away in the menu bar.</translation>
    </message>
    <message id="onboarding.quick.launch.title">
        <source>Launch at Login</source>
        <translation>Launch at Login</translation>
    </message>
    <message id="onboarding.quick.launch.subtitle">
        <source>Start Trellin automatically when you log in.</source>
        <translation>Start Trellin automatically when you log in.</translation>
    </message>
    <message id="onboarding.action.back">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="onboarding.action.next">
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message id="onboarding.action.start">
        <source>Get Started</source>
        <translation>Get Started</translation>
    </message>
    <message id="onboarding.step_indicator">
        <source>Step %d of %d</source>
        <translation>Step %d of %d</translation>
    </message>
    <message id="menu.open">
        <source>Open Trellin</source>
        <translation>Open Trellin</translation>
    </message>
    <message id="menu.settings">
        <source>Settings…</source>
        <translation>Settings…</translation>
    </message>
    <message id="menu.quit">
        <source>Quit Trellin</source>
        <translation>Quit Trellin</translation>
    </message>
    <message id="This folder is empty">
        <source>This folder is empty</source>
        <translation>This folder is empty</translation>
    </message>
    <message id="Add apps to get started.">
        <source>Add apps to get started.</source>
        <translation>Add apps to get started.</translation>
    </message>
    <message id="No folders found">
        <source>No folders found</source>
        <translation>No folders found</translation>
    </message>
    <message id="Try another search or switch back to All.">
        <source>Try another search or switch back to All.</source>
        <translation>Try another search or switch back to All.</translation>
    </message>
    <message id="Create a folder to preview tile styles">
        <source>Create a folder to preview tile styles</source>
        <translation>Create a folder to preview tile styles</translation>
    </message>
    <message id="Start Trellin when you log in">
        <source>Start Trellin when you log in</source>
        <translation>Start Trellin when you log in</translation>
    </message>
    <message id="Access from the menu bar">
        <source>Access from the menu bar</source>
        <translation>Access from the menu bar</translation>
    </message>
    <message id="Unknown">
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
    <message id="popup.accessibility.name">
        <source>Folder %@</source>
        <translation>Folder %@</translation>
    </message>
    <message id="popup.accessibility.pin">
        <source>Pin</source>
        <translation>Pin</translation>
    </message>
    <message id="popup.accessibility.unpin">
        <source>Unpin</source>
        <translation>Unpin</translation>
    </message>
    <message id="popup.accessibility.close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="popup.launch_failed">
        <source>Couldn’t open “%@”.</source>
        <translation>Couldn’t open “%@”.</translation>
    </message>
    <message id="popup.open_in_main_window">
        <source>Open in Trellin</source>
        <translation>Open in Trellin</translation>
    </message>
    <message id="main.window.close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="main.window.minimize">
        <source>Minimize</source>
        <translation>Minimize</translation>
    </message>
    <message id="main.window.zoom">
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message id="main.window.theme">
        <source>Switch Theme</source>
        <translation>Switch Theme</translation>
    </message>
    <message id="main.window.show_folders">
        <source>Show Folders</source>
        <translation>Show Folders</translation>
    </message>
    <message id="main.folder_list">
        <source>Folders</source>
        <translation>Folders</translation>
    </message>
    <message id="main.folders_menu">
        <source>Folders</source>
        <translation>Folders</translation>
    </message>
    <message id="main.folders.export">
        <source>Export…</source>
        <translation>Export…</translation>
    </message>
    <message id="main.folders.import">
        <source>Import…</source>
        <translation>Import…</translation>
    </message>
    <message id="main.folders.import_desktop">
        <source>Import GNOME App Folders</source>
        <translation>Import GNOME App Folders</translation>
    </message>
    <message id="main.folders.exported">
        <source>Folders exported</source>
        <translation>Folders exported</translation>
    </message>
    <message id="main.folders.export_failed">
        <source>Could not export the folders</source>
        <translation>Could not export the folders</translation>
    </message>
    <message id="main.folders.imported">
        <source>Folders imported</source>
        <translation>Folders imported</translation>
    </message>
    <message id="main.folders.imported_counts">
        <source>%d added, %d updated.</source>
        <translation>%d added, %d updated.</translation>
    </message>
    <message id="main.folders.import_failed">
        <source>Could not import the folders</source>
        <translation>Could not import the folders</translation>
    </message>
    <message id="settings.general.folders">
        <source>Your folders</source>
        <translation>Your folders</translation>
    </message>
    <message id="settings.general.folders_subtitle">
        <source>Export them to a file, or import a file exported before</source>
        <translation>Export them to a file, or import a file exported before</translation>
    </message>
    <message id="settings.general.desktop_folders">
        <source>GNOME app folders</source>
        <translation>GNOME app folders</translation>
    </message>
    <message id="settings.general.desktop_folders_subtitle">
        <source>Bring in the folders of the app grid; again updates them</source>
        <translation>Bring in the folders of the app grid; again updates them</translation>
    </message>
    <message id="settings.general.desktop_folders_import">
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message id="main.folder.deleted">
        <source>“%@” deleted</source>
        <translation>“%@” deleted</translation>
    </message>
    <message id="main.folder.undo">
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message id="main.folder.open_all">
        <source>Open All</source>
        <translation>Open All</translation>
    </message>
    <message id="main.folder.more">
        <source>More</source>
        <translation>More</translation>
    </message>
    <message id="main.folder.app_missing">
        <source>Not installed on this computer</source>
        <translation>Not installed on this computer</translation>
    </message>
    <message id="onboarding.desktop_folders">
        <source>Bring in your GNOME app folders</source>
        <translation>Bring in your GNOME app folders</translation>
    </message>
    <message id="main.save_failed.title">
        <source>Your changes are not saved yet</source>
        <translation>Your changes are not saved yet</translation>
    </message>
    <message id="main.save_failed.retrying">
        <source>Trellin will keep trying.</source>
        <translation>Trellin will keep trying.</translation>
    </message>
    <message id="main.save_failed.reason">
        <source>The system said: %@</source>
        <translation>The system said: %@</translation>
    </message>
    <message id="settings.about.made_with">
        <source>Made with</source>
        <translation>Made with</translation>
    </message>
    <message id="settings.about.credit">
        <source>by the Trellin team</source>
        <translation>by the Trellin team</translation>
    </message>
    <message id="settings.appearance.background.frosted">
        <source>Frosted</source>
        <translation>Frosted</translation>
    </message>
    <message id="settings.appearance.background.dark">
        <source>Dark</source>
        <translation>Dark</translation>
    </message>
    <message id="settings.appearance.background.light">
        <source>Light</source>
        <translation>Light</translation>
    </message>
    <message id="settings.appearance.background.blue">
        <source>Blue</source>
        <translation>Blue</translation>
    </message>
    <message id="settings.appearance.background.green">
        <source>Green</source>
        <translation>Green</translation>
    </message>
    <message id="settings.appearance.background.red">
        <source>Red</source>
        <translation>Red</translation>
    </message>
    <message id="settings.appearance.background.orange">
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message id="settings.appearance.background.pink">
        <source>Pink</source>
        <translation>Pink</translation>
    </message>
    <message id="settings.appearance.background.purple">
        <source>Purple</source>
        <translation>Purple</translation>
    </message>
    <message id="settings.appearance.background.yellow">
        <source>Yellow</source>
        <translation>Yellow</translation>
    </message>
    <message id="settings.appearance.background.custom">
        <source>Custom Color</source>
        <translation>Custom Color</translation>
    </message>
    <message id="settings.appearance.color_picker.square">
        <source>Saturation and Brightness</source>
        <translation>Saturation and Brightness</translation>
    </message>
    <message id="settings.appearance.color_picker.hue">
        <source>Hue</source>
        <translation>Hue</translation>
    </message>
    <message id="settings.appearance.color_picker.swatch">
        <source>Color %@</source>
        <translation>Color %@</translation>
    </message>
    <message id="update.title.current">
        <source>You’re up to date</source>
        <translation>You’re up to date</translation>
    </message>
    <message id="update.message.current">
        <source>Trellin %@ is the newest version available.</source>
        <translation>Trellin %@ is the newest version available.</translation>
    </message>
    <message id="update.title.available">
        <source>A new version of Trellin is available</source>
        <translation>A new version of Trellin is available</translation>
    </message>
    <message id="update.message.available">
        <source>Trellin %1$@ is available — you have %2$@.</source>
        <translation>Trellin %1$@ is available — you have %2$@.</translation>
    </message>
    <message id="update.title.failed">
        <source>Could not check for updates</source>
        <translation>Could not check for updates</translation>
    </message>
    <message id="update.notes">
        <source>Release Notes</source>
        <translation>Release Notes</translation>
    </message>
    <message id="update.button.notes">
        <source>Release Notes</source>
        <translation>Release Notes</translation>
    </message>
    <message id="update.button.download">
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message id="update.button.later">
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message id="update.button.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="update.failed.no_feed">
        <source>This copy of Trellin names no update feed.</source>
        <translation>This copy of Trellin names no update feed.</translation>
    </message>
    <message id="update.failed.no_version">
        <source>This copy of Trellin states no version to compare.</source>
        <translation>This copy of Trellin states no version to compare.</translation>
    </message>
    <message id="update.failed.checker">
        <source>The update checker could not run.</source>
        <translation>The update checker could not run.</translation>
    </message>
    <message id="update.failed.address">
        <source>The update feed’s address is not an https: or file: address: %@</source>
        <translation>The update feed’s address is not an https: or file: address: %@</translation>
    </message>
    <message id="update.failed.unreadable">
        <source>The update feed could not be read: %@</source>
        <translation>The update feed could not be read: %@</translation>
    </message>
    <message id="update.failed.too_large">
        <source>The update feed is too large.</source>
        <translation>The update feed is too large.</translation>
    </message>
    <message id="update.failed.timed_out">
        <source>The update feed did not answer in time.</source>
        <translation>The update feed did not answer in time.</translation>
    </message>
    <message id="update.failed.not_appcast">
        <source>The update feed is not a valid appcast: %@</source>
        <translation>The update feed is not a valid appcast: %@</translation>
    </message>
    <message id="update.failed.not_rss">
        <source>The update feed is not an RSS feed.</source>
        <translation>The update feed is not an RSS feed.</translation>
    </message>
    <message id="update.failed.no_channel">
        <source>The update feed has no channel of releases.</source>
        <translation>The update feed has no channel of releases.</translation>
    </message>
    <message id="update.failed.malformed">
        <source>The update feed is broken at line %d.</source>
        <translation>The update feed is broken at line %d.</translation>
    </message>
    <message id="update.no_browser">
        <source>No web browser is set up to open the page.</source>
        <translation>No web browser is set up to open the page.</translation>
    </message>
    <message id="folder.name.removed">
        <source>Removed: %@</source>
        <translation>Removed: %@</translation>
    </message>
    <message id="folder.name.truncated">
        <source>Names are at most %d characters</source>
        <translation>Names are at most %d characters</translation>
    </message>
    <message id="folder.name.counter">
        <source>%d/%d</source>
        <translation>%d/%d</translation>
    </message>
    <message id="folder.name.counter.spoken">
        <source>%d of %d characters</source>
        <translation>%d of %d characters</translation>
    </message>
    <message id="main.folder.app_position">
        <source>Position %d of %d. Ctrl with the arrow keys moves it.</source>
        <translation>Position %d of %d. Ctrl with the arrow keys moves it.</translation>
    </message>
    <message id="app_picker.no_match">
        <source>No applications match “%@”</source>
        <translation>No applications match “%@”</translation>
    </message>
    <message id="settings.about.tagline">
        <source>Folders of apps for your Dock.</source>
        <translation>Folders of apps for your Dock.</translation>
    </message>
</context>
</TS>
