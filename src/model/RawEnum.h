#pragma once

#include <QString>

#include <array>
#include <optional>
#include <utility>

// Enumerations stored and exchanged by their raw string. Each enum declares its cases once,
// in the order pickers list them, as a table of (case, raw value).
template <typename Enum, std::size_t N> using RawTable = std::array<std::pair<Enum, const char*>, N>;

template <typename Enum, std::size_t N> QString rawValueIn(const RawTable<Enum, N>& table, Enum value) {
    for (const auto& [candidate, raw] : table) {
        if (candidate == value)
            return QString::fromLatin1(raw);
    }
    return {};
}

// "No value" for a raw string that matches no case.
template <typename Enum, std::size_t N> std::optional<Enum> caseIn(const RawTable<Enum, N>& table, const QString& raw) {
    for (const auto& [candidate, rawValue] : table) {
        if (raw == QLatin1String(rawValue))
            return candidate;
    }
    return std::nullopt;
}
