#pragma once

#include <QString>
#include <QtGlobal>

// What one page write did, for callers that report it (the command-line tool's summary and
// error line).
struct PageWriteReport
{
    int folders = 0;  // folder sections written
    qint64 links = 0; // link lines written
    qint64 bytes = 0; // bytes that reached the file
    QString error;    // why the write failed (the system's reason); empty after a success
};
