// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>
#include <QtGlobal>

// What one page write did, for callers that report it (the windows' messages, the command-line
// tool's summary, error line and exit status).
struct PageWriteReport
{
    enum class Failure
    {
        None,
        // A source could not be read at all (failedSource); the output was not touched.
        SourceUnreadable,
        // The page could not be written whole: the output could not be created, a write
        // failed, or the footer's version could not be read.
        WriteFailed,
        // The output is one of the files the page is made from (a bookmark file, its log, the
        // settings file): writing it would destroy them. Nothing was touched.
        OutputIsInput,
    };

    Failure failure = Failure::None;
    int folders = 0;       // folder sections written
    qint64 links = 0;      // link lines written
    qint64 bytes = 0;      // bytes that reached the output
    qint64 duplicates = 0; // links left out as duplicates (PageJob::dropDuplicates)
    QString failedSource;  // the source that could not be read (SourceUnreadable)
    QString error;         // why the write failed (the system's reason); empty after a success
    // What the source could not read (LinkSource::readWarning); of several sources, one line
    // each, "name: warning".
    QString warning;
    // Why icons that were asked for are missing from the page (no icon database beside a
    // bookmark file, a damaged one), one line a source ("path: reason" of several); empty when
    // they were read.
    QString iconWarning;

    bool written() const { return failure == Failure::None; }
};
