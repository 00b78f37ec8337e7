#include "platform/forms/property_bag.h"

#include "common/ascii.h"

#include <algorithm>

PropertyType typeOf(const PropertyValue& value) {
    return static_cast<PropertyType>(value.index());
}

const char* typeName(PropertyType type) {
    switch (type) {
    case PropertyType::Integer:
        return "integer";
    case PropertyType::Boolean:
        return "boolean";
    case PropertyType::Colour:
        return "colour";
    case PropertyType::Text:
        return "text";
    case PropertyType::Font:
        return "font";
    case PropertyType::Picture:
        return "picture";
    }
    return "value";
}

const PropertyValue* PropertyBag::find(std::string_view key) const {
    const std::string k = asciiLower(key);
    for (const auto& [name, value] : m_entries)
        if (name == k)
            return &value;
    return nullptr;
}

void PropertyBag::set(std::string_view key, PropertyValue value) {
    const std::string k = asciiLower(key);
    for (auto& [name, stored] : m_entries) {
        if (name == k) {
            stored = std::move(value);
            return;
        }
    }
    m_entries.emplace_back(k, std::move(value));
}

void PropertyBag::remove(std::string_view key) {
    const std::string k = asciiLower(key);
    std::erase_if(m_entries, [&](const auto& e) { return e.first == k; });
}
