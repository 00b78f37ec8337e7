#pragma once

#include "platform/forms/property_bag.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The stored form: plain text, one section per control instance.
//
//   # comment
//   [barMMControl1 Sorvinta.XP_ProgressBar]
//   left = 429
//   color = RGB(126, 142, 197)
//   font = Verdana, 9.75, 400, 0, 0, 0
//   showtext = True
//
// Values: integers in decimal (or 0x hex); True / False; colours as RGB(r, g, b) or a 0x hex
// value (0x8000000D for a system colour); text in double quotes with \" \\ \n escapes; fonts as
// name, points[, weight[, italic[, underline[, strikeout]]]]; pictures as none, a path, or
// base64:<PNG data>. Every type also takes the host's keys left, top, width and height (pixels).
// A member of a control array is named with its index: [optFreq(0) Sorvinta.bvlBUTTON].

struct FormKey {
    std::string_view key; // lower case
    PropertyType type;
};

struct FormType {
    std::string_view typeName; // e.g. "Sorvinta.XP_ProgressBar"
    std::span<const FormKey> keys;
};

struct FormDiagnostic {
    std::string fileName;
    int line = 0; // 1-based; 0 when the message concerns the whole file
    std::string message;
    // "form1.form:12: message", or "form1.form: message" for line 0.
    std::string text() const;
};

struct FormInstance {
    std::string name;
    std::string typeName;
    int line = 0; // line of the section header
    PropertyBag bag;
};

struct FormFile {
    std::vector<FormInstance> instances;
    std::vector<FormDiagnostic> diagnostics;

    const FormInstance* find(std::string_view name) const; // name matched without regard to case
};

// Parses a form's text, knowing the control types in `types` (each control keeps its own list
// beside it). Never throws: whatever cannot be used becomes a diagnostic naming the file and
// line, and the rest of the file is still read (the caller's defaults fill the gaps).
FormFile parseFormFile(std::string_view text, std::string_view fileName,
                       std::span<const FormType> types);

// Reads and parses a file (resource paths such as ":/form1.form" work). A missing or unreadable
// file gives an empty form with one diagnostic.
FormFile loadFormFile(const std::string& path, std::span<const FormType> types);

// The text of a form; parseFormFile gives the same instances back.
std::string writeFormFile(const std::vector<FormInstance>& instances);

// One value in its stored form, and back; parseFormValue returns false when the text is not a
// value of that type.
std::string formatFormValue(const PropertyValue& value);
bool parseFormValue(std::string_view text, PropertyType type, PropertyValue& out);
