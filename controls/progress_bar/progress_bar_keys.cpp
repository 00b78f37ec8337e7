#include "controls/progress_bar/progress_bar_keys.h"

namespace {

constexpr FormKey kProgressBarKeys[] = {
    {"font", PropertyType::Font},           {"brushstyle", PropertyType::Integer},
    {"color", PropertyType::Colour},        {"image", PropertyType::Picture},
    {"max", PropertyType::Integer},         {"min", PropertyType::Integer},
    {"orientation", PropertyType::Integer}, {"scrolling", PropertyType::Integer},
    {"showtext", PropertyType::Boolean},    {"value", PropertyType::Integer},
};

} // namespace

constinit const FormType kProgressBarFormType{"Sorvinta.XP_ProgressBar", kProgressBarKeys};
