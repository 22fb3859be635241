#include "Symbols.h"

#include "Console.h"
#include "SymbolOutlineFile.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QTransform>

#include <array>
#include <cmath>

namespace {

// Outline glyphs stand for the plain names and filled ones for ".fill", where the font has both.
constexpr auto kTable = std::to_array<Symbols::Entry>({
    // The folder glyphs a user can pick, in the picker's order.
    {"folder", "folder_open"},
    {"briefcase", "work"},
    {"hammer", "hardware"},
    {"wrench.and.screwdriver", "handyman"},
    {"music.note", "music_note"},
    {"music.mic", "mic_external_on"},
    {"books.vertical", "library_books"},
    {"paintpalette", "palette"},
    {"leaf", "eco"},
    {"bolt", "bolt"},
    {"globe", "public"},
    {"house", "home"},
    {"gamecontroller", "sports_esports"},
    {"message", "chat_bubble_outline"},
    {"camera", "photo_camera"},
    {"target", "adjust"},
    {"key", "vpn_key"},
    {"film", "theaters"},
    {"flask", "science"},
    {"laptopcomputer", "laptop_mac"},
    {"desktopcomputer", "desktop_mac"},
    {"keyboard", "keyboard"},
    {"printer", "print"},
    {"scanner", "scanner"},
    {"wifi", "wifi"},
    {"antenna.radiowaves.left.and.right", "cell_tower"},
    {"headphones", "headphones"},
    {"speaker.wave.2", "volume_up"},
    {"mic", "mic"},
    {"video", "videocam"},
    {"tv", "tv"},
    {"display", "monitor"},
    {"cpu", "memory"},
    {"memorychip", "developer_board"},
    {"battery.100", "battery_full"},
    {"lock", "lock_outline"},
    {"shield", "shield"},
    {"bell", "notifications_none"},
    {"clock", "schedule"},
    {"calendar", "calendar_today"},
    {"map", "map"},
    {"location", "near_me"},
    {"car", "directions_car"},
    {"tram", "tram"},
    {"airplane", "flight"},
    {"bicycle", "pedal_bike"},
    {"figure.walk", "directions_walk"},
    {"figure.run", "directions_run"},
    {"heart", "favorite_border"},
    {"cross.case", "medical_services"},
    {"pills", "medication"},
    {"stethoscope", "health_and_safety"},
    {"pawprint", "pets"},
    {"sun.max", "wb_sunny"},
    {"moon", "nightlight"},
    {"cloud", "cloud_queue"},
    {"cloud.rain", "thunderstorm"},
    {"snowflake", "ac_unit"},
    {"flame", "local_fire_department"},
    {"drop", "water_drop"},
    {"gift", "card_giftcard"},
    {"tag", "sell"},
    {"cart", "shopping_cart"},
    {"doc", "insert_drive_file"},
    {"doc.text", "description"},
    {"doc.richtext", "article"},
    {"doc.plaintext", "text_snippet"},
    {"doc.on.doc", "file_copy"},
    {"archivebox", "archive"},
    {"tray", "inbox"},
    {"shippingbox", "inventory_2"},
    {"suitcase.rolling", "luggage"},
    {"backpack", "backpack"},
    {"menucard", "menu_book"},
    {"ticket", "confirmation_number"},
    {"creditcard", "credit_card"},
    {"banknote", "payments"},
    {"chart.bar", "bar_chart"},
    {"chart.pie", "pie_chart"},
    {"waveform", "graphic_eq"},
    {"waveform.path.ecg", "monitor_heart"},
    {"lightbulb", "lightbulb_outline"},
    {"atom", "hub"},
    {"star", "star_border"},
    {"flag", "outlined_flag"},
    {"bookmark", "bookmark_border"},
    {"paperclip", "attach_file"},
    {"link", "link"},
    {"person", "person_outline"},
    {"person.2", "people"},
    {"person.3", "groups"},
    {"checkmark.seal", "verified"},
    {"rosette", "workspace_premium"},
    {"bubble.left", "chat_bubble_outline"},
    {"bubble.right", "mode_comment"},
    {"phone", "call"},
    {"envelope", "mail_outline"},
    {"lock.doc", "enhanced_encryption"},
    {"photo", "photo"},

    // The glyphs of the program's own controls, badges and placeholders.
    {"folder.fill", "folder"},
    {"folder.badge.plus", "create_new_folder"},
    {"square.grid.3x1.folder.badge.plus", "create_new_folder"},
    {"pin", "push_pin"},
    {"pin.fill", "push_pin"},
    {"xmark", "close"},
    {"xmark.circle", "highlight_off"},
    {"nosign", "block"},
    {"checkmark", "check"},
    {"checkmark.circle", "check_circle_outline"},
    {"checkmark.circle.fill", "check_circle"},
    {"gearshape", "settings"},
    {"gearshape.fill", "settings"},
    {"square.grid.2x2", "grid_view"},
    {"square.grid.2x2.fill", "window"},
    {"square.grid.3x3.fill", "apps"},
    {"macwindow", "web_asset"},
    {"dock.rectangle", "call_to_action"},
    {"info.circle.fill", "info"},
    {"exclamationmark.triangle.fill", "warning"},
    {"magnifyingglass", "search"},
    {"moon.fill", "dark_mode"},
    {"sun.max.fill", "light_mode"},
    {"heart.fill", "favorite"},
    {"minus", "remove"},
    {"plus", "add"},
    {"chevron.right", "chevron_right"},
    {"square.and.pencil", "edit_note"},
    {"pencil", "edit"},
    {"trash", "delete_outline"},
    {"power", "power_settings_new"},
    {"app.dashed", "crop_free"},
    {"app.fill", "square"},
    {"doc.fill", "description"},
    {"ellipsis", "more_horiz"},
    {"arrow.up.forward.app", "launch"},
});

constexpr bool namesAreUnique() {
    for (std::size_t i = 0; i < kTable.size(); ++i)
        for (std::size_t j = i + 1; j < kTable.size(); ++j)
            if (kTable[i].name == kTable[j].name)
                return false;
    return true;
}
static_assert(namesAreUnique(), "a symbol name maps to one glyph");

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// Loaded once per process; none (said once) when the font file is missing or unusable.
const std::optional<QString>& fontFamily() {
    static const std::optional<QString> family = []() -> std::optional<QString> {
        const QString path = Symbols::fontPath();
        if (!QFile::exists(path)) {
            Console::printLine(QStringLiteral("Symbols: no symbol font at %1; symbols are drawn as text").arg(path));
            return std::nullopt;
        }
        const int id = QFontDatabase::addApplicationFont(path);
        const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty()) {
            Console::printLine(
                QStringLiteral("Symbols: cannot load the symbol font %1; symbols are drawn as text").arg(path));
            return std::nullopt;
        }
        return families.first();
    }();
    return family;
}

// The outlines are taken from the font at this size, then brought to the unit square.
constexpr int kOutlinePixels = 1024;

std::optional<SymbolOutlineFile>& outlineFile() {
    static std::optional<SymbolOutlineFile> file;
    return file;
}

} // namespace

std::span<const Symbols::Entry> Symbols::table() {
    return kTable;
}

std::optional<QString> Symbols::materialName(const QString& name) {
    for (const Entry& entry : kTable)
        if (QLatin1StringView(entry.name.data(), qsizetype(entry.name.size())) == name)
            return fromView(entry.ligature);
    return std::nullopt;
}

bool Symbols::isKnown(const QString& name) {
    return materialName(name).has_value();
}

QString Symbols::fontPath() {
    return QStringLiteral("/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf");
}

std::optional<QFont> Symbols::font(double pixelSize) {
    // The font database belongs to a QGuiApplication; without one there is nothing to load into.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || !(pixelSize > 0))
        return std::nullopt;
    const std::optional<QString>& family = fontFamily();
    if (!family)
        return std::nullopt;
    QFont font(*family);
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    // Hinting would pull the glyph onto the pixel grid and off the centre of its square.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

std::optional<QPainterPath> Symbols::fontOutline(const QString& name) {
    const std::optional<QString> ligature = materialName(name);
    if (!ligature)
        return std::nullopt;
    const std::optional<QFont> symbolFont = font(kOutlinePixels);
    if (!symbolFont)
        return std::nullopt;

    QTextLayout layout(*ligature, *symbolFont);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return std::nullopt;
    // A font without this ligature sets the name as letters; that is no symbol.
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1 || runs.first().glyphIndexes().size() != 1)
        return std::nullopt;
    const QGlyphRun& run = runs.first();
    QPainterPath glyph = run.rawFont().pathForGlyph(run.glyphIndexes().first());
    // The glyph is designed centred in its em square, so centring that square centres the glyph.
    const QPointF origin((kOutlinePixels - line.naturalTextWidth()) / 2.0, (kOutlinePixels - line.height()) / 2.0);
    glyph.translate(origin + run.positions().first());
    return QTransform::fromScale(1.0 / kOutlinePixels, 1.0 / kOutlinePixels).map(glyph);
}

void Symbols::useOutlineFile(const QString& path) {
    outlineFile().emplace(path);
}

std::optional<QPainterPath> Symbols::outline(const QString& name) {
    if (!isKnown(name))
        return std::nullopt;
    if (std::optional<SymbolOutlineFile>& file = outlineFile()) {
        if (std::optional<QPainterPath> kept = file->outline(name))
            return kept;
    }
    return fontOutline(name);
}

std::optional<QImage> Symbols::image(const QString& name, double pointSize, bool bold, const QColor& color) {
    // Sizes come from layout arithmetic; refuse the nonsensical ones instead of allocating for them.
    if (!std::isfinite(pointSize) || pointSize <= 0 || pointSize > 4096)
        return std::nullopt;
    const std::optional<QPainterPath> unit = outline(name);
    if (!unit)
        return std::nullopt;
    const int side = int(std::ceil(pointSize));
    const QPainterPath glyph = QTransform::fromScale(side, side).map(*unit);

    // Coverage first, then the tint over it, so that overlapping strokes never add up past the
    // colour's own alpha.
    QImage mask(side, side, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    QPainter maskPainter(&mask);
    maskPainter.setRenderHint(QPainter::Antialiasing);
    maskPainter.fillPath(glyph, Qt::white);
    if (bold) {
        // The font has one weight: thicken every stroke by an outline of about 1/24 of the em,
        // which is what a bold symbol adds to a regular one.
        maskPainter.strokePath(glyph, QPen(Qt::white, side / 24.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    maskPainter.end();

    QImage result(side, side, QImage::Format_ARGB32_Premultiplied);
    result.fill(color);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, mask);
    painter.end();
    return result;
}
