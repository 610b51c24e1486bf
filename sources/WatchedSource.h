// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkSource.h"
#include "platform/FileWatcher.h"

#include <QString>

#include <memory>

// A source kept in memory and kept current: read whole once, then told of the changes to its
// files and read again only where they changed. Between two refreshes it gives any number of
// pages (snapshot()).
class WatchedSource
{
public:
    virtual ~WatchedSource() = default;

    // Reads the whole source and watches its files. False, with the reason in error, when it
    // cannot be read at all.
    virtual bool load(FileWatcher &watcher, QString &error) = 0;

    // Whether a change concerns this source; it then notes what to read again at the next
    // refresh.
    virtual bool take(const FileWatcher::Event &event) = 0;
    // Anything may have changed (changes were lost): the next refresh checks every file.
    virtual void checkAll() = 0;

    // Reads again what changed since the last refresh. False, with the reason in error, when
    // the source cannot be read now (it went away): it keeps what it held, and a later refresh
    // catches up. changed tells whether anything it gives differs from before.
    virtual bool refresh(FileWatcher &watcher, QString &error, bool &changed) = 0;

    // Whether its watches do not cover it (the system's limit on watches was reached): it must
    // then be checked whole (checkAll(), refresh()) from time to time.
    virtual bool needsPolling() const = 0;

    // The folders and links held now, as a source; valid until the next refresh.
    virtual std::unique_ptr<LinkSource> snapshot() const = 0;

    // Ends its watches, before it is let go while the watcher goes on.
    virtual void release(FileWatcher &watcher) = 0;
};
