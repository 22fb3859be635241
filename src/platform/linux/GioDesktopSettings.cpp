#include "platform/linux/GioDesktopSettings.h"

#include <QStringList>

#include <vector>

#include <gio/gio.h>

namespace {

class GioSchema final : public DesktopSettings::Schema {
public:
    GioSchema(GSettingsSchema* schema, GSettings* settings)
        : m_schema(schema)
        , m_settings(settings) {}
    ~GioSchema() override {
        if (m_handler)
            g_signal_handler_disconnect(m_settings, m_handler);
        g_object_unref(m_settings);
        g_settings_schema_unref(m_schema);
    }
    GioSchema(const GioSchema&) = delete;
    GioSchema& operator=(const GioSchema&) = delete;

    std::optional<QVariant> value(const QString& key) const override {
        const QByteArray name = key.toUtf8();
        if (!g_settings_schema_has_key(m_schema, name.constData()))
            return std::nullopt;
        GVariant* variant = g_settings_get_value(m_settings, name.constData());
        std::optional<QVariant> result;
        if (g_variant_is_of_type(variant, G_VARIANT_TYPE_STRING_ARRAY)) {
            gsize count = 0;
            const gchar** strings = g_variant_get_strv(variant, &count);
            QStringList list;
            for (gsize i = 0; i < count; ++i)
                list << QString::fromUtf8(strings[i]);
            g_free(strings);
            result = QVariant(list);
        } else if (g_variant_is_of_type(variant, G_VARIANT_TYPE_STRING)) {
            result = QVariant(QString::fromUtf8(g_variant_get_string(variant, nullptr)));
        } else if (g_variant_is_of_type(variant, G_VARIANT_TYPE_INT32)) {
            result = QVariant(int(g_variant_get_int32(variant)));
        } else if (g_variant_is_of_type(variant, G_VARIANT_TYPE_UINT32)) {
            result = QVariant(qlonglong(g_variant_get_uint32(variant)));
        } else if (g_variant_is_of_type(variant, G_VARIANT_TYPE_BOOLEAN)) {
            result = QVariant(bool(g_variant_get_boolean(variant)));
        }
        g_variant_unref(variant);
        return result;
    }

    std::optional<QString> setStringList(const QString& key, const QStringList& value) override {
        const QByteArray name = key.toUtf8();
        if (!g_settings_schema_has_key(m_schema, name.constData()))
            return QStringLiteral("%1 has no key %2").arg(schemaId(), key);
        GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(m_schema, name.constData());
        const bool isList =
            g_variant_type_equal(g_settings_schema_key_get_value_type(schemaKey), G_VARIANT_TYPE_STRING_ARRAY);
        g_settings_schema_key_unref(schemaKey);
        if (!isList)
            return QStringLiteral("%1 %2 is not a list of strings").arg(schemaId(), key);
        std::vector<QByteArray> texts;
        texts.reserve(size_t(value.size()));
        for (const QString& text : value)
            texts.push_back(text.toUtf8());
        std::vector<const gchar*> strings;
        for (const QByteArray& text : texts)
            strings.push_back(text.constData());
        strings.push_back(nullptr);
        if (!g_settings_set_strv(m_settings, name.constData(), strings.data()))
            return QStringLiteral("%1 %2 cannot be written").arg(schemaId(), key);
        // Written out now, so the dock sees it at once and nothing is lost if this process ends.
        g_settings_sync();
        return std::nullopt;
    }

    void onChanged(std::function<void(const QString& key)> callback) override {
        m_callback = std::move(callback);
        if (!m_handler)
            m_handler = g_signal_connect(m_settings, "changed", G_CALLBACK(&GioSchema::changed), this);
        // Some backends report a key's changes only once it has been read.
        gchar** keys = g_settings_schema_list_keys(m_schema);
        for (gchar** key = keys; *key; ++key)
            g_variant_unref(g_settings_get_value(m_settings, *key));
        g_strfreev(keys);
    }

private:
    static void changed(GSettings*, const gchar* key, gpointer self) {
        const auto* schema = static_cast<GioSchema*>(self);
        if (schema->m_callback)
            schema->m_callback(QString::fromUtf8(key));
    }

    QString schemaId() const { return QString::fromUtf8(g_settings_schema_get_id(m_schema)); }

    GSettingsSchema* m_schema;
    GSettings* m_settings;
    gulong m_handler = 0;
    std::function<void(const QString&)> m_callback;
};

} // namespace

std::unique_ptr<DesktopSettings::Schema> GioDesktopSettings::open(const QString& schemaId, const QString& path) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId.toUtf8().constData(), TRUE);
    if (!schema)
        return nullptr;
    const char* fixedPath = g_settings_schema_get_path(schema);
    // A relocatable schema needs a path; a fixed one takes none other than its own.
    if ((!fixedPath && path.isEmpty()) || (fixedPath && !path.isEmpty() && path != QString::fromUtf8(fixedPath))) {
        g_settings_schema_unref(schema);
        return nullptr;
    }
    const QByteArray pathBytes = path.toUtf8();
    // GSettings refuses any other path with a critical warning and no settings.
    if (!fixedPath && (!pathBytes.startsWith('/') || !pathBytes.endsWith('/') || pathBytes.contains("//"))) {
        g_settings_schema_unref(schema);
        return nullptr;
    }
    GSettings* settings = g_settings_new_full(schema, nullptr, fixedPath ? nullptr : pathBytes.constData());
    return std::make_unique<GioSchema>(schema, settings);
}

extern "C" Q_DECL_EXPORT DesktopSettings* trellinCreateDesktopSettings() {
    return new GioDesktopSettings();
}
