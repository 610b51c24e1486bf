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
        // The source could not be read at all; the output was not touched.
        SourceUnreadable,
        // The page could not be written whole: the output could not be created, a write
        // failed, or the footer's version could not be read.
        WriteFailed,
        // The output is one of the files the page is made from (a bookmark file, its log, the
        // settings file): writing it would destroy them. Nothing was touched.
        OutputIsInput,
    };

    Failure failure = Failure::None;
    int folders = 0;  // folder sections written
    qint64 links = 0; // link lines written
    qint64 bytes = 0; // bytes that reached the output
    QString error;    // why the write failed (the system's reason); empty after a success
    QString warning;  // what the source could not read (LinkSource::readWarning)
    // Why icons that were asked for are missing from the page (no icon database beside the
    // bookmark file, a damaged one), as one line; empty when they were read.
    QString iconWarning;

    bool written() const { return failure == Failure::None; }
};
