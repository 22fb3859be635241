// Tells Trellin's folder helpers where their launcher's icon stands in the dash or in dash-to-dock:
// on Wayland an application learns neither where the pointer is nor where the shell draws its dock.
// Exported on the shell's own bus connection, so it needs no bus name of its own.
/* exported init */
const {Clutter, Gio, GLib, St} = imports.gi;
const Main = imports.ui.main;

const ExtensionUtils = imports.misc.extensionUtils;

// The object's path and interface, as Trellin reads them too, from the description shipped beside.
const INTERFACE_FILE = 'app.trellin.ShellTiles.xml';

// The plain dash leaves with the overview once an icon in it is clicked, so a helper asking
// afterwards finds it hidden: the icon pressed last is kept for as long as a launch takes.
const PRESS_KEPT_MICROSECONDS = 10 * GLib.USEC_PER_SEC;
const DOCK_NAME = 'dashtodockContainer';
const EDGES = {
    [St.Side.TOP]: 'TOP',
    [St.Side.RIGHT]: 'RIGHT',
    [St.Side.BOTTOM]: 'BOTTOM',
    [St.Side.LEFT]: 'LEFT',
};

function appOf(actor) {
    const app = actor.app ?? actor._delegate?.app;
    return app && typeof app.get_id === 'function' ? app : null;
}

// The dash an actor stands in, with its edge; null for icons elsewhere (the app grid, search).
// dash-to-dock's dock first: it may take the overview's dash into itself.
function dashOf(actor) {
    let overviewDash = null;
    for (let parent = actor; parent; parent = parent.get_parent()) {
        if (parent.name === DOCK_NAME && parent.position in EDGES)
            return {edge: EDGES[parent.position], iconSize: parent.dash?.iconSize ?? 0};
        if (parent === Main.overview.dash)
            overviewDash = {edge: 'BOTTOM', iconSize: parent.iconSize};
    }
    return overviewDash;
}

function tileOf(actor) {
    const dash = dashOf(actor);
    if (!dash)
        return null;
    const [x, y] = actor.get_transformed_position();
    const [width, height] = actor.get_transformed_size();
    return {rect: [x, y, width, height].map(Math.round), edge: dash.edge};
}

function shownIcon(actor, entryId) {
    if (!actor.visible)
        return null;
    // The innermost actor of the app is the icon itself, as a press on it finds it.
    for (const child of actor.get_children()) {
        const icon = shownIcon(child, entryId);
        if (icon)
            return icon;
    }
    const app = appOf(actor);
    return app && app.get_id() === entryId && actor.is_mapped() && dashOf(actor) ? actor : null;
}

class ShellTiles {
    constructor() {
        this._pressed = null;
    }

    enable() {
        const file = ExtensionUtils.getCurrentExtension().dir.get_child(INTERFACE_FILE);
        const [, bytes] = file.load_contents(null);
        const node = Gio.DBusNodeInfo.new_for_xml(new TextDecoder().decode(bytes));
        this._object = Gio.DBusExportedObject.wrapJSObject(node.interfaces[0], this);
        this._object.export(Gio.DBus.session, node.path);
        this._eventId = global.stage.connect('captured-event', (stage, event) => {
            this._notePress(event);
            return Clutter.EVENT_PROPAGATE;
        });
    }

    disable() {
        global.stage.disconnect(this._eventId);
        this._object.unexport();
        this._object = null;
        this._pressed = null;
    }

    _notePress(event) {
        const type = event.type();
        let source;
        if (type === Clutter.EventType.BUTTON_PRESS || type === Clutter.EventType.TOUCH_BEGIN)
            source = global.stage.get_event_actor?.(event) ?? event.get_source();
        else if (type === Clutter.EventType.KEY_PRESS)
            source = global.stage.get_key_focus();
        else
            return;
        for (let actor = source; actor; actor = actor.get_parent()) {
            const app = appOf(actor);
            if (!app)
                continue;
            const tile = tileOf(actor);
            this._pressed = tile ? {id: app.get_id(), tile, time: GLib.get_monotonic_time()} : null;
            return;
        }
    }

    GetTile(entryId) {
        // The icon pressed just before the launch, which is the one clicked where the dash shows
        // the launcher more than once (a dock on each monitor); else the one shown now.
        const pressed = this._pressed;
        let tile = null;
        if (pressed && pressed.id === entryId && GLib.get_monotonic_time() - pressed.time < PRESS_KEPT_MICROSECONDS)
            tile = pressed.tile;
        const icon = tile ? null : shownIcon(global.stage, entryId);
        if (icon)
            tile = tileOf(icon);
        return tile ? [true, ...tile.rect, tile.edge] : [false, 0, 0, 0, 0, ''];
    }

    GetDock() {
        const docks = Main.layoutManager.uiGroup.get_children().filter(actor => actor.name === DOCK_NAME);
        const dock = docks.find(actor => actor.monitorIndex === Main.layoutManager.primaryIndex) ?? docks[0];
        const dash = dock ? dashOf(dock) : dashOf(Main.overview.dash);
        return dash ? [true, dash.edge, dash.iconSize] : [false, '', 0];
    }
}

function init() {
    return new ShellTiles();
}
