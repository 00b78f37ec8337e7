#pragma once

#include "platform/forms/form_file.h"

// What a stored form may hold for a progress bar: its type name and its keys with their types.
extern const FormType kProgressBarFormType;
