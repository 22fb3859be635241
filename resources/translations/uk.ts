<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="app.name">
        <source>Trellin</source>
        <translation>Trellin</translation>
    </message>
    <message id="settings.title">
        <source>Settings</source>
        <translation>Налаштування</translation>
    </message>
    <message id="settings.tab.general">
        <source>General</source>
        <translation>Загальні</translation>
    </message>
    <message id="settings.tab.appearance">
        <source>Appearance</source>
        <translation>Вигляд</translation>
    </message>
    <message id="settings.tab.popup">
        <source>Popup</source>
        <translation>Панель</translation>
    </message>
    <message id="settings.tab.about">
        <source>About</source>
        <translation>Про програму</translation>
    </message>
    <message id="main.folder_count.one">
        <source>%d folder</source>
        <translation>%d папка</translation>
    </message>
    <message id="main.folder_count.few">
        <source>%d folders</source>
        <translation>%d папки</translation>
    </message>
    <message id="main.folder_count.many">
        <source>%d folders</source>
        <translation>%d папок</translation>
    </message>
    <message id="main.filter.all">
        <source>All</source>
        <translation>Усі</translation>
    </message>
    <message id="main.filter.in_dock">
        <source>In Dock</source>
        <translation>У Dock</translation>
    </message>
    <message id="main.search_placeholder">
        <source>Search folders</source>
        <translation>Пошук папок</translation>
    </message>
    <message id="main.new_folder">
        <source>New Folder</source>
        <translation>Нова папка</translation>
    </message>
    <message id="main.no_folders">
        <source>No folders yet</source>
        <translation>Ще немає жодної папки</translation>
    </message>
    <message id="main.footer.total">
        <source>Total: %d</source>
        <translation>Усього: %d</translation>
    </message>
    <message id="main.footer.in_dock">
        <source>In Dock: %d</source>
        <translation>У Dock: %d</translation>
    </message>
    <message id="main.app_count.one">
        <source>%d app</source>
        <translation>%d програма</translation>
    </message>
    <message id="main.app_count.few">
        <source>%d apps</source>
        <translation>%d програми</translation>
    </message>
    <message id="main.app_count.many">
        <source>%d apps</source>
        <translation>%d програм</translation>
    </message>
    <message id="main.folder.in_dock">
        <source>In Dock</source>
        <translation>У Dock</translation>
    </message>
    <message id="main.folder.edit">
        <source>Edit</source>
        <translation>Змінити</translation>
    </message>
    <message id="main.folder.done">
        <source>Done</source>
        <translation>Готово</translation>
    </message>
    <message id="main.folder.delete_title">
        <source>Delete Folder</source>
        <translation>Видалити папку</translation>
    </message>
    <message id="main.folder.delete">
        <source>Delete</source>
        <translation>Видалити</translation>
    </message>
    <message id="main.folder.delete_confirmation_title">
        <source>Delete “%@”?</source>
        <translation>Видалити «%@»?</translation>
    </message>
    <message id="main.folder.delete_confirmation_message">
        <source>The folder and its Dock tile will be removed. The apps in it stay installed. For a few seconds you can still undo it.</source>
        <translation>Папку та її плитку в Dock буде видалено. Програми з неї залишаться встановленими. Ще кілька секунд дію можна буде скасувати.</translation>
    </message>
    <message id="main.folder.empty_folder_alert.title">
        <source>Add Apps First</source>
        <translation>Спершу додайте програми</translation>
    </message>
    <message id="main.folder.empty_folder_alert.message">
        <source>A folder needs at least one app before it can go into the Dock.</source>
        <translation>Щоб додати папку в Dock, у ній має бути хоча б одна програма.</translation>
    </message>
    <message id="main.folder.empty_folder_alert.ok">
        <source>OK</source>
        <translation>Гаразд</translation>
    </message>
    <message id="main.folder.add_apps">
        <source>Add Apps</source>
        <translation>Додати програми</translation>
    </message>
    <message id="main.folder.remove_app">
        <source>Remove %@</source>
        <translation>Вилучити %@</translation>
    </message>
    <message id="folder.editor.name_placeholder">
        <source>Folder name</source>
        <translation>Назва папки</translation>
    </message>
    <message id="folder.editor.title.new">
        <source>New Folder</source>
        <translation>Нова папка</translation>
    </message>
    <message id="folder.editor.title.edit">
        <source>Edit Folder</source>
        <translation>Редагувати папку</translation>
    </message>
    <message id="folder.editor.name_label">
        <source>Name</source>
        <translation>Назва</translation>
    </message>
    <message id="folder.editor.name_placeholder_example">
        <source>e.g. Design</source>
        <translation>Напр.: Дизайн</translation>
    </message>
    <message id="folder.editor.icon_label">
        <source>Icon</source>
        <translation>Значок</translation>
    </message>
    <message id="folder.editor.btn.cancel">
        <source>Cancel</source>
        <translation>Скасувати</translation>
    </message>
    <message id="folder.editor.btn.save">
        <source>Save</source>
        <translation>Зберегти</translation>
    </message>
    <message id="app_picker.title">
        <source>Choose Apps</source>
        <translation>Вибір програм</translation>
    </message>
    <message id="app_picker.search_placeholder">
        <source>Search apps</source>
        <translation>Пошук програм</translation>
    </message>
    <message id="app_picker.add_count">
        <source>Add (%d)</source>
        <translation>Додати (%d)</translation>
    </message>
    <message id="app_picker.add_count.one">
        <source>Add %d App</source>
        <translation>Додати %d програму</translation>
    </message>
    <message id="app_picker.add_count.few">
        <source>Add %d Apps</source>
        <translation>Додати %d програми</translation>
    </message>
    <message id="app_picker.add_count.many">
        <source>Add %d Apps</source>
        <translation>Додати %d програм</translation>
    </message>
    <message id="app_picker.apps">
        <source>Applications</source>
        <translation>Програми</translation>
    </message>
    <message id="app_picker.cell.selected">
        <source>Selected</source>
        <translation>Вибрано</translation>
    </message>
    <message id="app_picker.cell.already_added">
        <source>Already in the folder</source>
        <translation>Уже в папці</translation>
    </message>
    <message id="settings.general.launch_at_login">
        <source>Launch at Login</source>
        <translation>Запуск під час входу</translation>
    </message>
    <message id="settings.general.show_menu_bar">
        <source>Show in Menu Bar</source>
        <translation>Показувати в рядку меню</translation>
    </message>
    <message id="settings.general.show_menu_bar.no_tray">
        <source>No system tray is running, so Trellin stays in the Dock.</source>
        <translation>Системний лоток не запущено, тому Trellin залишається в Dock.</translation>
    </message>
    <message id="launch_at_login.error.not_in_bundle">
        <source>Couldn’t turn this on: Trellin isn’t running from its app bundle.</source>
        <translation>Не вдалося ввімкнути: Trellin запущено не з його пакета програми.</translation>
    </message>
    <message id="launch_at_login.error.cannot_create_folder">
        <source>Couldn’t turn this on: the autostart folder can’t be created.</source>
        <translation>Не вдалося ввімкнути: неможливо створити папку автозапуску.</translation>
    </message>
    <message id="launch_at_login.error.cannot_write">
        <source>Couldn’t turn this on: the autostart file can’t be written.</source>
        <translation>Не вдалося ввімкнути: неможливо записати файл автозапуску.</translation>
    </message>
    <message id="launch_at_login.error.cannot_remove">
        <source>Couldn’t turn this off: the autostart file can’t be removed.</source>
        <translation>Не вдалося вимкнути: неможливо видалити файл автозапуску.</translation>
    </message>
    <message id="settings.general.language">
        <source>Language</source>
        <translation>Мова</translation>
    </message>
    <message id="settings.general.theme">
        <source>Theme</source>
        <translation>Тема</translation>
    </message>
    <message id="settings.general.dock">
        <source>Dock</source>
        <translation>Dock</translation>
    </message>
    <message id="settings.general.dock.automatic">
        <source>Automatic</source>
        <translation>Автоматично</translation>
    </message>
    <message id="settings.general.dock.in_use">
        <source>In use: %@</source>
        <translation>Зараз використовується: %@</translation>
    </message>
    <message id="settings.general.shell_extension">
        <source>GNOME Shell extension</source>
        <translation>Розширення GNOME Shell</translation>
    </message>
    <message id="settings.general.shell_extension.subtitle">
        <source>Opens a folder’s popup at its icon on Wayland</source>
        <translation>Відкриває вікно теки біля її значка у Wayland</translation>
    </message>
    <message id="settings.general.shell_extension.install">
        <source>Install</source>
        <translation>Встановити</translation>
    </message>
    <message id="settings.general.shell_extension.update">
        <source>Update</source>
        <translation>Оновити</translation>
    </message>
    <message id="settings.general.shell_extension.installed">
        <source>Installed</source>
        <translation>Встановлено</translation>
    </message>
    <message id="settings.general.shell_extension.active">
        <source>Active</source>
        <translation>Активне</translation>
    </message>
    <message id="settings.general.shell_extension.next_login">
        <source>GNOME Shell starts it when you next log in.</source>
        <translation>GNOME Shell увімкне його, коли ви наступного разу ввійдете в систему.</translation>
    </message>
    <message id="settings.general.shell_extension.refused">
        <source>Not running</source>
        <translation>Не працює</translation>
    </message>
    <message id="settings.general.shell_extension.refused.note">
        <source>GNOME Shell did not start it: it is made for another version of GNOME Shell, or it failed there. The popup opens in the middle of the screen.</source>
        <translation>GNOME Shell не запустив його: воно створене для іншої версії GNOME Shell або не змогло там працювати. Вікно теки відкривається посередині екрана.</translation>
    </message>
    <message id="settings.general.shell_extension.failed">
        <source>Couldn’t install it: %@</source>
        <translation>Не вдалося встановити: %@</translation>
    </message>
    <message id="settings.appearance.preview">
        <source>Preview</source>
        <translation>Попередній перегляд</translation>
    </message>
    <message id="settings.appearance.corner_radius">
        <source>Corner Radius</source>
        <translation>Радіус заокруглення</translation>
    </message>
    <message id="settings.appearance.tile_opacity">
        <source>Tile Opacity</source>
        <translation>Непрозорість плитки</translation>
    </message>
    <message id="settings.appearance.background">
        <source>Background</source>
        <translation>Фон</translation>
    </message>
    <message id="settings.tile.border">
        <source>Border</source>
        <translation>Рамка</translation>
    </message>
    <message id="settings.tile.border.width">
        <source>Border Width</source>
        <translation>Товщина рамки</translation>
    </message>
    <message id="settings.tile.border.opacity">
        <source>Border Opacity</source>
        <translation>Непрозорість рамки</translation>
    </message>
    <message id="settings.tile.background_mode">
        <source>Background Style</source>
        <translation>Стиль фону</translation>
    </message>
    <message id="settings.tile.background_mode.solid">
        <source>Solid</source>
        <translation>Суцільний</translation>
    </message>
    <message id="settings.tile.background_mode.gradient">
        <source>Gradient</source>
        <translation>Градієнт</translation>
    </message>
    <message id="settings.tile.background_mode.glass">
        <source>Glass</source>
        <translation>Скло</translation>
    </message>
    <message id="settings.popup.section.layout">
        <source>Layout</source>
        <translation>Компонування</translation>
    </message>
    <message id="settings.popup.section.visual">
        <source>Style</source>
        <translation>Стиль</translation>
    </message>
    <message id="settings.popup.show_title">
        <source>Show Folder Name</source>
        <translation>Показувати назву папки</translation>
    </message>
    <message id="settings.popup.show_names">
        <source>Show App Names</source>
        <translation>Показувати назви програм</translation>
    </message>
    <message id="settings.popup.columns">
        <source>Columns</source>
        <translation>Стовпці</translation>
    </message>
    <message id="settings.popup.icon_size">
        <source>Icon Size</source>
        <translation>Розмір значків</translation>
    </message>
    <message id="settings.popup.position">
        <source>Position</source>
        <translation>Розташування</translation>
    </message>
    <message id="settings.popup.blur">
        <source>Blur</source>
        <translation>Розмиття</translation>
    </message>
    <message id="settings.popup.opacity">
        <source>Opacity</source>
        <translation>Непрозорість</translation>
    </message>
    <message id="settings.popup.animation">
        <source>Animation</source>
        <translation>Анімація</translation>
    </message>
    <message id="popup.position.center">
        <source>Center</source>
        <translation>По центру</translation>
    </message>
    <message id="popup.position.above_dock">
        <source>Above Dock</source>
        <translation>Над Dock</translation>
    </message>
    <message id="popup.blur.thin">
        <source>Thin</source>
        <translation>Легке</translation>
    </message>
    <message id="popup.blur.regular">
        <source>Regular</source>
        <translation>Звичайне</translation>
    </message>
    <message id="popup.blur.dark">
        <source>Dark</source>
        <translation>Темне</translation>
    </message>
    <message id="popup.animation.spring">
        <source>Spring</source>
        <translation>Пружна</translation>
    </message>
    <message id="popup.animation.none">
        <source>None</source>
        <translation>Без анімації</translation>
    </message>
    <message id="settings.about.version">
        <source>Version %@</source>
        <translation>Версія %@</translation>
    </message>
    <message id="settings.about.copyright">
        <source>© 2026 Trellin. All rights reserved.</source>
        <translation>© 2026 Trellin. Усі права захищено.</translation>
    </message>
    <message id="settings.about.check_updates">
        <source>Check for Updates…</source>
        <translation>Перевірити оновлення…</translation>
    </message>
    <message id="onboarding.window_title">
        <source>Welcome to Trellin</source>
        <translation>Ласкаво просимо до Trellin</translation>
    </message>
    <message id="onboarding.hero.title">
        <source>Your Dock, Neatly Organized</source>
        <translation>Ваш Dock — у порядку</translation>
    </message>
    <message id="onboarding.hero.subtitle">
        <source>Group apps into folders and open them right from the Dock.</source>
        <translation>Групуйте програми в папки й відкривайте їх просто з Dock.</translation>
    </message>
    <message id="onboarding.welcome.title">
        <source>What Trellin Does</source>
        <translation>Що вміє Trellin</translation>
    </message>
    <message id="onboarding.welcome.subtitle">
        <source>A quick look at the essentials before you begin.</source>
        <translation>Коротко про головне, перш ніж почати.</translation>
    </message>
    <message id="onboarding.welcome.item.folders.title">
        <source>Folders of Apps</source>
        <translation>Папки з програмами</translation>
    </message>
    <message id="onboarding.welcome.item.folders.subtitle">
        <source>Gather related apps into named folders with icons of your choice.</source>
        <translation>Збирайте пов’язані програми в папки з власними назвами та значками.</translation>
    </message>
    <message id="onboarding.welcome.item.apps.title">
        <source>Folders in the Dock</source>
        <translation>Папки в Dock</translation>
    </message>
    <message id="onboarding.welcome.item.apps.subtitle">
        <source>Each folder gets a Dock tile of its own. Click it to see the apps and launch one.</source>
        <translation>Кожна папка отримує власну плитку в Dock. Клацніть її, щоб побачити програми й запустити потрібну.</translation>
    </message>
    <message id="onboarding.welcome.item.menu.title">
        <source>Always at Hand</source>
        <translation>Завжди під рукою</translation>
    </message>
    <message id="onboarding.welcome.item.menu.subtitle">
        <source>Manage your folders from the menu bar, even without a Dock icon.</source>
        <translation>Керуйте папками з рядка меню — навіть без значка в Dock.</translation>
    </message>
    <message id="onboarding.workflow.title">
        <source>Where Should Folders Open?</source>
        <translation>Де відкривати папки?</translation>
    </message>
    <message id="onboarding.workflow.subtitle">
        <source>Choose where a folder’s popup appears when you click its tile. You can change this later in Settings.</source>
        <translation>Виберіть, де з’являтиметься панель папки, коли ви клацнете її плитку. Це можна змінити пізніше в налаштуваннях.</translation>
    </message>
    <message id="onboarding.workflow.option.above_dock">
        <source>Right above its Dock tile</source>
        <translation>Просто над плиткою в Dock</translation>
    </message>
    <message id="onboarding.workflow.option.center_screen">
        <source>In the center of the screen</source>
        <translation>У центрі екрана</translation>
    </message>
    <message id="onboarding.quick.title">
        <source>Quick Setup</source>
        <translation>Швидке налаштування</translation>
    </message>
    <message id="onboarding.quick.subtitle">
        <source>A few preferences to make Trellin yours. You can change any of them later.</source>
        <translation>Кілька параметрів, щоб налаштувати Trellin під себе. Будь-який із них можна змінити пізніше.</translation>
    </message>
    <message id="onboarding.quick.theme.title">
        <source>Theme</source>
        <translation>Тема</translation>
    </message>
    <message id="onboarding.quick.theme.dark">
        <source>Dark</source>
        <translation>Темна</translation>
    </message>
    <message id="onboarding.quick.theme.light">
        <source>Light</source>
        <translation>Світла</translation>
    </message>
    <message id="onboarding.quick.theme.system">
        <source>System</source>
        <translation>Системна</translation>
    </message>
    <message id="onboarding.quick.menubar.title">
        <source>Show in Menu Bar</source>
        <translation>Показувати в рядку меню</translation>
    </message>
    <message id="onboarding.quick.menubar.subtitle">
        <source>Keep Trellin one click away in the menu bar.</source>
        <translation>Trellin завжди буде за один клік у рядку меню.</translation>
    </message>
    <message id="onboarding.quick.launch.title">
        <source>Launch at Login</source>
        <translation>Запускати під час входу</translation>
    </message>
    <message id="onboarding.quick.launch.subtitle">
        <source>Start Trellin automatically when you log in.</source>
        <translation>Автоматично запускати Trellin, коли ви входите в систему.</translation>
    </message>
    <message id="onboarding.action.back">
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message id="onboarding.action.next">
        <source>Continue</source>
        <translation>Далі</translation>
    </message>
    <message id="onboarding.action.start">
        <source>Get Started</source>
        <translation>Почати</translation>
    </message>
    <message id="onboarding.step_indicator">
        <source>Step %d of %d</source>
        <translation>Крок %d з %d</translation>
    </message>
    <message id="menu.open">
        <source>Open Trellin</source>
        <translation>Відкрити Trellin</translation>
    </message>
    <message id="menu.settings">
        <source>Settings…</source>
        <translation>Налаштування…</translation>
    </message>
    <message id="menu.quit">
        <source>Quit Trellin</source>
        <translation>Вийти з Trellin</translation>
    </message>
    <message id="This folder is empty">
        <source>This folder is empty</source>
        <translation>Ця папка порожня</translation>
    </message>
    <message id="Add apps to get started.">
        <source>Add apps to get started.</source>
        <translation>Додайте програми, щоб почати.</translation>
    </message>
    <message id="No folders found">
        <source>No folders found</source>
        <translation>Папок не знайдено</translation>
    </message>
    <message id="Try another search or switch back to All.">
        <source>Try another search or switch back to All.</source>
        <translation>Спробуйте інший запит або поверніться до «Усі».</translation>
    </message>
    <message id="Create a folder to preview tile styles">
        <source>Create a folder to preview tile styles</source>
        <translation>Створіть папку, щоб переглянути стилі плитки</translation>
    </message>
    <message id="Start Trellin when you log in">
        <source>Start Trellin when you log in</source>
        <translation>Запускати Trellin під час входу в систему</translation>
    </message>
    <message id="Access from the menu bar">
        <source>Access from the menu bar</source>
        <translation>Доступ із рядка меню</translation>
    </message>
    <message id="Unknown">
        <source>Unknown</source>
        <translation>Невідомо</translation>
    </message>
    <message id="popup.accessibility.name">
        <source>Folder %@</source>
        <translation>Тека %@</translation>
    </message>
    <message id="popup.accessibility.pin">
        <source>Pin</source>
        <translation>Закріпити</translation>
    </message>
    <message id="popup.accessibility.unpin">
        <source>Unpin</source>
        <translation>Відкріпити</translation>
    </message>
    <message id="popup.accessibility.close">
        <source>Close</source>
        <translation>Закрити</translation>
    </message>
    <message id="popup.launch_failed">
        <source>Couldn’t open “%@”.</source>
        <translation>Не вдалося відкрити «%@».</translation>
    </message>
    <message id="popup.open_in_main_window">
        <source>Open in Trellin</source>
        <translation>Відкрити в Trellin</translation>
    </message>
    <message id="main.window.close">
        <source>Close</source>
        <translation>Закрити</translation>
    </message>
    <message id="main.window.minimize">
        <source>Minimize</source>
        <translation>Згорнути</translation>
    </message>
    <message id="main.window.zoom">
        <source>Zoom</source>
        <translation>Масштабувати</translation>
    </message>
    <message id="main.window.theme">
        <source>Switch Theme</source>
        <translation>Змінити тему</translation>
    </message>
    <message id="main.window.show_folders">
        <source>Show Folders</source>
        <translation>Показати папки</translation>
    </message>
    <message id="main.folder_list">
        <source>Folders</source>
        <translation>Папки</translation>
    </message>
    <message id="main.folders_menu">
        <source>Folders</source>
        <translation>Папки</translation>
    </message>
    <message id="main.folders.export">
        <source>Export…</source>
        <translation>Експортувати…</translation>
    </message>
    <message id="main.folders.import">
        <source>Import…</source>
        <translation>Імпортувати…</translation>
    </message>
    <message id="main.folders.import_desktop">
        <source>Import GNOME App Folders</source>
        <translation>Імпортувати папки програм GNOME</translation>
    </message>
    <message id="main.folders.exported">
        <source>Folders exported</source>
        <translation>Папки експортовано</translation>
    </message>
    <message id="main.folders.export_failed">
        <source>Could not export the folders</source>
        <translation>Не вдалося експортувати папки</translation>
    </message>
    <message id="main.folders.imported">
        <source>Folders imported</source>
        <translation>Папки імпортовано</translation>
    </message>
    <message id="main.folders.imported_counts">
        <source>%d added, %d updated.</source>
        <translation>Додано: %d, оновлено: %d.</translation>
    </message>
    <message id="main.folders.import_failed">
        <source>Could not import the folders</source>
        <translation>Не вдалося імпортувати папки</translation>
    </message>
    <message id="settings.general.folders">
        <source>Your folders</source>
        <translation>Ваші папки</translation>
    </message>
    <message id="settings.general.folders_subtitle">
        <source>Export them to a file, or import a file exported before</source>
        <translation>Експортуйте їх у файл або імпортуйте експортований раніше</translation>
    </message>
    <message id="settings.general.desktop_folders">
        <source>GNOME app folders</source>
        <translation>Папки програм GNOME</translation>
    </message>
    <message id="settings.general.desktop_folders_subtitle">
        <source>Bring in the folders of the app grid; again updates them</source>
        <translation>Перенесіть папки сітки програм; повторний імпорт оновить їх</translation>
    </message>
    <message id="settings.general.desktop_folders_import">
        <source>Import</source>
        <translation>Імпортувати</translation>
    </message>
    <message id="main.folder.deleted">
        <source>“%@” deleted</source>
        <translation>Папку «%@» видалено</translation>
    </message>
    <message id="main.folder.undo">
        <source>Undo</source>
        <translation>Скасувати</translation>
    </message>
    <message id="main.folder.open_all">
        <source>Open All</source>
        <translation>Відкрити всі</translation>
    </message>
    <message id="main.folder.more">
        <source>More</source>
        <translation>Більше</translation>
    </message>
    <message id="main.folder.app_missing">
        <source>Not installed on this computer</source>
        <translation>Не встановлено на цьому комп’ютері</translation>
    </message>
    <message id="onboarding.desktop_folders">
        <source>Bring in your GNOME app folders</source>
        <translation>Перенести папки програм GNOME</translation>
    </message>
    <message id="main.save_failed.title">
        <source>Your changes are not saved yet</source>
        <translation>Ваші зміни ще не збережено</translation>
    </message>
    <message id="main.save_failed.retrying">
        <source>Trellin will keep trying.</source>
        <translation>Trellin і далі намагатиметься їх зберегти.</translation>
    </message>
    <message id="main.save_failed.reason">
        <source>The system said: %@</source>
        <translation>Система повідомила: %@</translation>
    </message>
    <message id="settings.about.made_with">
        <source>Made with</source>
        <translation>Зроблено з</translation>
    </message>
    <message id="settings.about.credit">
        <source>by the Trellin team</source>
        <translation>командою Trellin</translation>
    </message>
    <message id="settings.appearance.background.frosted">
        <source>Frosted</source>
        <translation>Матовий</translation>
    </message>
    <message id="settings.appearance.background.dark">
        <source>Dark</source>
        <translation>Темний</translation>
    </message>
    <message id="settings.appearance.background.light">
        <source>Light</source>
        <translation>Світлий</translation>
    </message>
    <message id="settings.appearance.background.blue">
        <source>Blue</source>
        <translation>Синій</translation>
    </message>
    <message id="settings.appearance.background.green">
        <source>Green</source>
        <translation>Зелений</translation>
    </message>
    <message id="settings.appearance.background.red">
        <source>Red</source>
        <translation>Червоний</translation>
    </message>
    <message id="settings.appearance.background.orange">
        <source>Orange</source>
        <translation>Помаранчевий</translation>
    </message>
    <message id="settings.appearance.background.pink">
        <source>Pink</source>
        <translation>Рожевий</translation>
    </message>
    <message id="settings.appearance.background.purple">
        <source>Purple</source>
        <translation>Фіолетовий</translation>
    </message>
    <message id="settings.appearance.background.yellow">
        <source>Yellow</source>
        <translation>Жовтий</translation>
    </message>
    <message id="settings.appearance.background.custom">
        <source>Custom Color</source>
        <translation>Власний колір</translation>
    </message>
    <message id="settings.appearance.color_picker.square">
        <source>Saturation and Brightness</source>
        <translation>Насиченість і яскравість</translation>
    </message>
    <message id="settings.appearance.color_picker.hue">
        <source>Hue</source>
        <translation>Відтінок</translation>
    </message>
    <message id="settings.appearance.color_picker.swatch">
        <source>Color %@</source>
        <translation>Колір %@</translation>
    </message>
    <message id="update.title.current">
        <source>You’re up to date</source>
        <translation>Установлено найновішу версію</translation>
    </message>
    <message id="update.message.current">
        <source>Trellin %@ is the newest version available.</source>
        <translation>Trellin %@ — найновіша доступна версія.</translation>
    </message>
    <message id="update.title.available">
        <source>A new version of Trellin is available</source>
        <translation>Доступна нова версія Trellin</translation>
    </message>
    <message id="update.message.available">
        <source>Trellin %1$@ is available — you have %2$@.</source>
        <translation>Доступна версія Trellin %1$@ — у вас %2$@.</translation>
    </message>
    <message id="update.title.failed">
        <source>Could not check for updates</source>
        <translation>Не вдалося перевірити оновлення</translation>
    </message>
    <message id="update.notes">
        <source>Release Notes</source>
        <translation>Примітки до випуску</translation>
    </message>
    <message id="update.button.notes">
        <source>Release Notes</source>
        <translation>Примітки до випуску</translation>
    </message>
    <message id="update.button.download">
        <source>Download</source>
        <translation>Завантажити</translation>
    </message>
    <message id="update.button.later">
        <source>Later</source>
        <translation>Пізніше</translation>
    </message>
    <message id="update.button.ok">
        <source>OK</source>
        <translation>Гаразд</translation>
    </message>
    <message id="update.failed.no_feed">
        <source>This copy of Trellin names no update feed.</source>
        <translation>У цій копії Trellin не вказано стрічку оновлень.</translation>
    </message>
    <message id="update.failed.no_version">
        <source>This copy of Trellin states no version to compare.</source>
        <translation>У цій копії Trellin не вказано версію для порівняння.</translation>
    </message>
    <message id="update.failed.checker">
        <source>The update checker could not run.</source>
        <translation>Не вдалося запустити перевірку оновлень.</translation>
    </message>
    <message id="update.failed.address">
        <source>The update feed’s address is not an https: or file: address: %@</source>
        <translation>Адреса стрічки оновлень не починається з https: чи file: — %@</translation>
    </message>
    <message id="update.failed.unreadable">
        <source>The update feed could not be read: %@</source>
        <translation>Не вдалося прочитати стрічку оновлень: %@</translation>
    </message>
    <message id="update.failed.too_large">
        <source>The update feed is too large.</source>
        <translation>Стрічка оновлень завелика.</translation>
    </message>
    <message id="update.failed.timed_out">
        <source>The update feed did not answer in time.</source>
        <translation>Стрічка оновлень не відповіла вчасно.</translation>
    </message>
    <message id="update.failed.not_appcast">
        <source>The update feed is not a valid appcast: %@</source>
        <translation>Стрічка оновлень має хибний формат: %@</translation>
    </message>
    <message id="update.failed.not_rss">
        <source>The update feed is not an RSS feed.</source>
        <translation>Стрічка оновлень — не RSS-стрічка.</translation>
    </message>
    <message id="update.failed.no_channel">
        <source>The update feed has no channel of releases.</source>
        <translation>У стрічці оновлень немає каналу з випусками.</translation>
    </message>
    <message id="update.failed.malformed">
        <source>The update feed is broken at line %d.</source>
        <translation>Стрічку оновлень пошкоджено в рядку %d.</translation>
    </message>
    <message id="update.no_browser">
        <source>No web browser is set up to open the page.</source>
        <translation>Немає браузера, щоб відкрити сторінку.</translation>
    </message>
    <message id="folder.name.removed">
        <source>Removed: %@</source>
        <translation>Вилучено: %@</translation>
    </message>
    <message id="folder.name.truncated">
        <source>Names are at most %d characters</source>
        <translation>Назва — щонайбільше %d символів</translation>
    </message>
    <message id="folder.name.counter">
        <source>%d/%d</source>
        <translation>%d/%d</translation>
    </message>
    <message id="folder.name.counter.spoken">
        <source>%d of %d characters</source>
        <translation>%d із %d символів</translation>
    </message>
    <message id="main.folder.app_position">
        <source>Position %d of %d. Ctrl with the arrow keys moves it.</source>
        <translation>Місце %d із %d. Ctrl зі стрілками переміщує програму.</translation>
    </message>
    <message id="app_picker.no_match">
        <source>No applications match “%@”</source>
        <translation>Немає програм, що відповідають «%@»</translation>
    </message>
    <message id="settings.about.tagline">
        <source>Folders of apps for your Dock.</source>
        <translation>Папки програм для вашого Dock.</translation>
    </message>
</context>
</TS>
