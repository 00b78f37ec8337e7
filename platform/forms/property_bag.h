#pragma once

#include "common/colour_ref.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// A stored font: family, size in points and the usual attributes.
struct FontValue {
    std::string name;
    double pointSize = 0.0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const FontValue&, const FontValue&) = default;
};

// A stored picture: empty for none, a file or resource path (":/x.png"), or "base64:" + PNG data.
struct PictureValue {
    std::string source;
    bool isNone() const { return source.empty(); }
    friend bool operator==(const PictureValue&, const PictureValue&) = default;
};

using PropertyValue =
    std::variant<std::int32_t, bool, ColourRef, std::string, FontValue, PictureValue>;

// The kinds of value a key may hold, in the order of PropertyValue's alternatives. A colour is
// the one unsigned alternative: an unsigned value is stored as a colour.
enum class PropertyType { Integer, Boolean, Colour, Text, Font, Picture };

PropertyType typeOf(const PropertyValue& value);
const char* typeName(PropertyType type);

// A control instance's stored design-time values. Keys match without regard to case and are
// held in lower case; a value equal to its default is not stored. Entries keep the order in
// which they were first written, so a saved form diffs cleanly.
class PropertyBag {
public:
    // The stored value when there is one of the default's type, else the default.
    template <class T> T read(std::string_view key, const T& defaultValue) const {
        if (const PropertyValue* v = find(key))
            if (const T* typed = std::get_if<T>(v))
                return *typed;
        return defaultValue;
    }
    std::string read(std::string_view key, const char* defaultValue) const {
        return read<std::string>(key, std::string(defaultValue));
    }

    // Stores the value, or removes the key when the value equals its default.
    template <class T> void write(std::string_view key, const T& value, const T& defaultValue) {
        if (value == defaultValue)
            remove(key);
        else
            set(key, PropertyValue(value));
    }
    // A value with no default is always stored.
    void write(std::string_view key, PropertyValue value) { set(key, std::move(value)); }

    bool contains(std::string_view key) const { return find(key) != nullptr; }
    const PropertyValue* find(std::string_view key) const;
    void set(std::string_view key, PropertyValue value);
    void remove(std::string_view key);
    void clear() { m_entries.clear(); }

    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }
    const std::vector<std::pair<std::string, PropertyValue>>& entries() const { return m_entries; }

    friend bool operator==(const PropertyBag&, const PropertyBag&) = default;

private:
    std::vector<std::pair<std::string, PropertyValue>> m_entries;
};
