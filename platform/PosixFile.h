// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>
#include <QtGlobal>

#include <sys/types.h>

// The system calls on file descriptors as the program uses them: retried when a signal
// interrupts them, with the system's reason for a failure as text.

// The system's reason for an errno value ("No space left on device").
QString systemReason(int error);

// read(), retried while a signal interrupts it: the bytes read, 0 at the end, or -1 with errno.
ssize_t readRetrying(int fd, void *buffer, size_t size);

// Writes all size bytes of data. False when a write fails, with errno set (ENOSPC for a write
// that took nothing, as a full disk may answer). With written, the bytes that were written are
// added to it, also before a failure.
bool writeAll(int fd, const char *data, qsizetype size, qint64 *written = nullptr);
