// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "settings/DesignSettings.h"

#include <array>
#include <variant>

// The 28 design settings, once: where each lives in the settings file, what it holds, its
// default, and the control of the design settings window that edits it. The file is read and
// written, and the window filled and read back, by going through this table in its order (which
// is also the order of sections and keys in a file the program creates).
struct DesignSetting
{
    using Text = QString &(*)(TGlobalVariant &);
    using Color = TColor &(*)(TGlobalVariant &);
    using Flag = bool &(*)(TGlobalVariant &);

    const char16_t *section;
    const char16_t *key;
    // The setting's field in a record.
    std::variant<Text, Color, Flag> field;
    // The default, as stored text: a colour as six hex digits, a flag as "0" or "1".
    const char16_t *defaultText;
    // The object name of the design settings window's control for it; null for the Favourites
    // folder, which the folder window edits. A flag's control is a check box, or the radio
    // button that stands for true.
    const char *control;
};

const std::array<DesignSetting, 28> &designSettings();
