// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "TestDisplay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

QString captionOf(Display *display, ::Window window)
{
    static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    QString caption;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8String, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        caption = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(count));
    }
    if (data)
        XFree(data);
    return caption;
}

// X errors for windows that go away while they are looked at are expected; nothing to report.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
}

TestDisplay::TestDisplay()
{
    // Xvfb writes the number of the display it found free to the given descriptor, its output.
    m_server.setProgram(QStringLiteral("Xvfb"));
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                           QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")});
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start();
    if (!m_server.waitForStarted(10000))
        return;
    QByteArray number;
    waitFor(
        [this, &number] {
            m_server.waitForReadyRead(50);
            number += m_server.readAllStandardOutput();
            return number.contains('\n') || m_server.state() != QProcess::Running;
        },
        30000);
    number = number.trimmed();
    if (number.isEmpty())
        return;
    m_name = QLatin1Char(':') + QString::fromLatin1(number);
    XSetErrorHandler(ignoreErrors);
    m_display = XOpenDisplay(m_name.toLatin1().constData());
}

TestDisplay::~TestDisplay()
{
    if (m_display)
        XCloseDisplay(m_display);
    m_server.terminate();
    if (!m_server.waitForFinished(5000))
        m_server.kill();
    m_server.waitForFinished(5000);
}

QList<TestDisplay::Window> TestDisplay::windows() const
{
    QList<Window> found;
    if (!m_display)
        return found;
    ::Window root = DefaultRootWindow(m_display);
    ::Window parent = 0;
    ::Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display, root, &root, &parent, &children, &count))
        return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, children[i], &attributes) ||
            attributes.map_state != IsViewable || attributes.override_redirect)
            continue;
        // Under a window manager the program's window is a child of the frame.
        ::Window client = children[i];
        QString caption = captionOf(m_display, client);
        if (caption.isEmpty()) {
            ::Window r = 0, p = 0, *inner = nullptr;
            unsigned int n = 0;
            if (XQueryTree(m_display, client, &r, &p, &inner, &n)) {
                for (unsigned int j = 0; j < n && caption.isEmpty(); ++j) {
                    caption = captionOf(m_display, inner[j]);
                    if (!caption.isEmpty())
                        client = inner[j];
                }
                if (inner)
                    XFree(inner);
            }
        }
        if (caption.isEmpty())
            continue;
        XWindowAttributes clientAttributes;
        int x = 0, y = 0;
        ::Window child = 0;
        if (!XGetWindowAttributes(m_display, client, &clientAttributes) ||
            !XTranslateCoordinates(m_display, client, root, 0, 0, &x, &y, &child))
            continue;
        found.append(
            {client, caption, QRect(x, y, clientAttributes.width, clientAttributes.height)});
    }
    if (children)
        XFree(children);
    return found;
}

std::optional<TestDisplay::Window> TestDisplay::waitForWindow(const QString &caption,
                                                              int timeoutMs) const
{
    std::optional<Window> result;
    waitFor(
        [&] {
            for (const Window &window : windows()) {
                if (window.caption == caption)
                    result = window;
            }
            return result.has_value();
        },
        timeoutMs);
    return result;
}

bool TestDisplay::waitUntilGone(unsigned long id, int timeoutMs) const
{
    return waitFor(
        [&] {
            for (const Window &window : windows()) {
                if (window.id == id)
                    return false;
            }
            return true;
        },
        timeoutMs);
}

bool TestDisplay::waitUntilFewer(const QString &caption, int count, int timeoutMs) const
{
    return waitFor(
        [&] {
            int n = 0;
            for (const Window &window : windows())
                n += window.caption == caption ? 1 : 0;
            return n < count;
        },
        timeoutMs);
}

bool TestDisplay::waitForFocus(const Window &window, int timeoutMs) const
{
    return waitFor(
        [&] {
            ::Window focus = 0;
            int revert = 0;
            XGetInputFocus(m_display, &focus, &revert);
            // The focus may lie on a window inside the top-level one.
            while (focus != 0 && focus != PointerRoot && focus != window.id) {
                ::Window root = 0, parent = 0, *children = nullptr;
                unsigned int n = 0;
                if (!XQueryTree(m_display, focus, &root, &parent, &children, &n))
                    return false;
                if (children)
                    XFree(children);
                focus = parent == root ? 0 : parent;
            }
            return focus == window.id;
        },
        timeoutMs);
}

bool TestDisplay::xdotool(const QStringList &arguments) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_name);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(30000) && process.exitCode() == 0;
}

void TestDisplay::click(const Window &window, int x, int y) const
{
    const QPoint at = window.geometry.topLeft() + QPoint(x, y);
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}

void TestDisplay::scrollDown(const Window &window, int x, int y) const
{
    const QPoint at = window.geometry.topLeft() + QPoint(x, y);
    // Button 5 is the wheel turned one step towards the user.
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("5")});
}

void TestDisplay::key(const QString &keys) const
{
    xdotool({QStringLiteral("key"), keys});
}

void TestDisplay::type(const QString &text) const
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}
