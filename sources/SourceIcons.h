// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkIcon.h"

#include <QString>

// The icons of a source's links, where the source keeps them. Icons are an extra to a page:
// whatever cannot be read of them is passed over and told once, never a failure of the page.
class SourceIcons : public IconLookup
{
public:
    // What could not be read while icons were looked up, as one line ("3 icons could not be
    // read: database disk image is malformed"); empty when nothing was lost.
    virtual QString readWarning() const { return QString(); }
};
