#include "controls/bevel_button/bevel_button_keys.h"

namespace {

constexpr FormKey kBevelButtonKeys[] = {
    {"accesskeys", PropertyType::Text},
    {"appearance", PropertyType::Integer},
    {"backcolour", PropertyType::Colour},
    {"behaviour", PropertyType::Integer},
    {"bevelautoadjust", PropertyType::Boolean},
    {"bevelheight", PropertyType::Integer},
    {"caption", PropertyType::Text},
    {"captionjustify", PropertyType::Integer},
    {"captioncolour", PropertyType::Colour},
    {"captionhovercolour", PropertyType::Colour},
    {"captionoffset", PropertyType::Text},
    {"enabled", PropertyType::Boolean},
    {"font", PropertyType::Font},
    {"mousekeys", PropertyType::Integer},
    {"picture", PropertyType::Picture},
    {"picturejustify", PropertyType::Integer},
    {"picturehover", PropertyType::Picture},
    {"pictureoffset", PropertyType::Text},
    {"transparency", PropertyType::Colour},
    {"usetransparency", PropertyType::Boolean},
    {"value", PropertyType::Boolean},
    {"mouseicon", PropertyType::Picture},
    {"mousepointer", PropertyType::Integer},
};

} // namespace

constinit const FormType kBevelButtonFormType{"Sorvinta.bvlBUTTON", kBevelButtonKeys};
