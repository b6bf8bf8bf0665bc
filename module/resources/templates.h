// The module's dialog templates as data in the window framework's template form.
#pragma once

#include "platform/dialog.h"

// The template with this id (IDD_* of resource.h), or null for an id the module does not have.
const platform::DialogTemplate* FindDialogTemplate(int id);
