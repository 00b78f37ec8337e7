#pragma once

#include "app/form_pictures.h"
#include "platform/skin/skin_style.h"

// The main window's frame skin, "Neo Classic", with the window's font for its caption.
SkinStyle formSkinStyle(const QFont& windowFont, const FormPictures& pictures);
