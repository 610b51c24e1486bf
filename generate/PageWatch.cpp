// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/PageWatch.h"

#include "generate/PageWriter.h"
#include "platform/FileNames.h"
#include "platform/FileWatcher.h"
#include "sources/OpenWatchedSource.h"

#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Watched
{
    QString path;
    std::unique_ptr<WatchedSource> source;
    bool away = false;    // could not be read at the last refresh (told once)
    bool polling = false; // told that no watch covers it
};

PageWriteReport writeHeld(const PageJob &job, const std::vector<Watched> &sources)
{
    std::vector<std::unique_ptr<LinkSource>> snapshots;
    for (const Watched &watched : sources)
        snapshots.push_back(watched.source->snapshot());
    return writePage(job, std::move(snapshots));
}

} // namespace

PageWriteReport watchPage(PageJob job, const WatchHooks &hooks, const WatchTimes &times)
{
    FileWatcher::stopOnSignals();
    FileWatcher watcher;
    if (!watcher.isOpen())
        hooks.message(QStringLiteral("cannot watch for changes (%1); the sources are looked at "
                                     "every %2 s instead")
                          .arg(watcher.errorString())
                          .arg(double(times.pollInterval.count()) / 1000.0));

    std::vector<Watched> sources;
    for (const QString &path : std::as_const(job.sources)) {
        Watched watched{path, openWatchedSource(path)};
        QString error;
        if (!watched.source->load(watcher, error)) {
            PageWriteReport report;
            report.failure = PageWriteReport::Failure::SourceUnreadable;
            report.failedSource = path;
            report.error = error;
            return report;
        }
        if (FileWatcher::stopRequested())
            return PageWriteReport();
        sources.push_back(std::move(watched));
    }
    auto tellPolling = [&] {
        for (Watched &watched : sources) {
            const bool polling = watched.source->needsPolling() && watcher.isOpen();
            if (polling && !watched.polling)
                hooks.message(QStringLiteral("%1: not every folder can be watched (%2); it is "
                                             "looked at every %3 s instead")
                                  .arg(watched.path, watcher.errorString())
                                  .arg(double(times.pollInterval.count()) / 1000.0));
            watched.polling = polling;
        }
    };
    tellPolling();

    // The settings file's folder: editors and our own save replace the file by a rename.
    const QFileInfo settingsFile(job.settingsPath);
    const QByteArray settingsName = textToFileName(settingsFile.fileName());
    const int settingsWatch =
        job.settingsPath.isEmpty()
            ? -1
            : watcher.watchFolder(textToFileName(settingsFile.absolutePath()));

    // Another Favourites source named in the settings: read whole and watched in place of the
    // old one; one that cannot be read leaves the old one.
    auto changeSource = [&](Watched &watched, const QString &path) {
        Watched next{path, openWatchedSource(path)};
        QString error;
        if (!next.source->load(watcher, error)) {
            hooks.message(
                QStringLiteral("cannot read %1: %2; %3 is read on").arg(path, error, watched.path));
            next.source->release(watcher);
            return;
        }
        watched.source->release(watcher);
        watched = std::move(next);
        job.sources = {path};
    };

    const PageWriteReport first = writeHeld(job, sources);
    if (hooks.written)
        hooks.written(first);
    if (!first.written())
        return first;

    std::vector<FileWatcher::Event> events;
    bool pending = false;
    bool settingsChanged = false;
    Clock::time_point firstChange;
    Clock::time_point lastChange;
    Clock::time_point nextPoll = Clock::now() + times.pollInterval;
    for (;;) {
        const bool polling =
            !watcher.isOpen() ||
            std::any_of(sources.begin(), sources.end(),
                        [](const Watched &watched) { return watched.source->needsPolling(); });
        const Clock::time_point now = Clock::now();
        Clock::time_point wake = Clock::time_point::max();
        if (pending)
            wake = std::min(lastChange + times.quietPeriod, firstChange + times.longestWait);
        if (polling)
            wake = std::min(wake, nextPoll);
        const int timeout =
            wake == Clock::time_point::max()
                ? -1
                : int(std::max<qint64>(
                      0, std::chrono::ceil<std::chrono::milliseconds>(wake - now).count()));
        events.clear();
        if (!watcher.wait(timeout, events) || FileWatcher::stopRequested())
            break;

        bool relevant = false;
        for (const FileWatcher::Event &event : events) {
            if (event.change == FileWatcher::Change::Overflow) {
                for (Watched &watched : sources)
                    watched.source->checkAll();
                relevant = true;
                continue;
            }
            if (event.watch >= 0 && event.watch == settingsWatch && event.name == settingsName) {
                settingsChanged = true;
                relevant = true;
            }
            for (Watched &watched : sources)
                relevant = watched.source->take(event) || relevant;
        }
        const Clock::time_point after = Clock::now();
        if (polling && after >= nextPoll) {
            for (Watched &watched : sources) {
                if (watched.source->needsPolling() || !watcher.isOpen())
                    watched.source->checkAll();
            }
            nextPoll = after + times.pollInterval;
            relevant = true;
            lastChange = after - times.quietPeriod; // due at once
            if (!pending)
                firstChange = after;
            pending = true;
        } else if (relevant) {
            if (!pending)
                firstChange = after;
            lastChange = after;
            pending = true;
        }
        if (!pending ||
            (after < lastChange + times.quietPeriod && after < firstChange + times.longestWait))
            continue;

        // Quiet for long enough: read what changed, then write the page if anything did.
        pending = false;
        bool changed = false;
        if (std::exchange(settingsChanged, false) && hooks.reloadSettings) {
            if (const std::optional<TGlobalVariant> settings = hooks.reloadSettings()) {
                job.settings = *settings;
                changed = true;
                if (hooks.sourceFromSettings && sources.size() == 1 &&
                    settings->FavoriteFolder != sources.front().path)
                    changeSource(sources.front(), settings->FavoriteFolder);
            }
        }
        for (Watched &watched : sources) {
            QString error;
            bool sourceChanged = false;
            if (!watched.source->refresh(watcher, error, sourceChanged)) {
                if (!watched.away)
                    hooks.message(QStringLiteral("%1: %2; the page keeps what it last read there "
                                                 "until it can be read again")
                                      .arg(watched.path, error));
                watched.away = true;
                continue;
            }
            // Back after it was away: the page catches up.
            changed = changed || sourceChanged || std::exchange(watched.away, false);
        }
        tellPolling();
        if (FileWatcher::stopRequested())
            break;
        if (changed) {
            const PageWriteReport report = writeHeld(job, sources);
            if (hooks.written)
                hooks.written(report);
        }
    }
    return PageWriteReport();
}
