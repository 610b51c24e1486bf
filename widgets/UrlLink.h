// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SystemColors.h"

#include <QFont>
#include <QLabel>
#include <QString>

#include <memory>

// What a link label points at.
enum TURLtype : quint8
{
    tpURL,  // a web page: Link is opened as it is
    tpMAIL, // a mail address: "mailto:" + Link is opened
};

// A text label that behaves as a hyperlink: the text takes LinkColor while the pointer is over
// it, a left-button press opens the link target, and a small hint window can show the target
// next to the pointer.
//
// Naming: every property has a setter setName() and a getter name(). Every setter does nothing,
// not even a repaint, when the value does not change. Colours are TColor values; system colour
// references are resolved when they are used. The text colour is fontColor() (blue after
// construction); the label keeps QLabel's defaults otherwise (left-aligned, no word wrap; call
// adjustSize() after setText() to size it to its text).
class TURLLink final : public QLabel
{
    Q_OBJECT

public:
    explicit TURLLink(QWidget *parent = nullptr);
    ~TURLLink() override;

    // Link kind; default tpURL.
    void setURLType(TURLtype type);
    TURLtype urlType() const { return m_urlType; }

    // Link target, used exactly as stored; default "http://".
    void setLink(const QString &link);
    QString link() const { return m_link; }

    // Text colour while the pointer is over the label; default red (0x0000FF).
    void setLinkColor(TColor color);
    TColor linkColor() const { return m_linkColor; }

    // Background of the hint window: the system tooltip background (COLOR_INFOBK).
    static constexpr TColor HintFormColor = systemColorReference(COLOR_INFOBK);
    // Pixels from the pointer to the hint window's left and top edge.
    static constexpr int HintOffsetX = 15;
    static constexpr int HintOffsetY = 15;

    // Whether the hint window is used at all; default true.
    void setEnableShowHint(bool enable);
    bool enableShowHint() const { return m_enableShowHint; }

    // Font of the hint window; default the application font.
    void setHintFormFont(const QFont &font);
    QFont hintFormFont() const { return m_hintFormFont; }

    // The text colour (the caption font's colour); default blue (0xFF0000).
    void setFontColor(TColor color);
    TColor fontColor() const { return m_fontColor; }

    // The hint window (hidden until the pointer moves over the label); owned by the label.
    QWidget *hintWindow() const;
    // The link target a left-button press hands to the desktop (through the dialog seam):
    // "mailto:" + Link for tpMAIL, Link for tpURL.
    QString target() const;

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void hideHint();

    class HintWindow;
    std::unique_ptr<HintWindow> m_hintWindow;
    bool m_hintShown = false;
    TURLtype m_urlType = tpURL;
    QString m_link = QStringLiteral("http://");
    TColor m_savedColor = 0;
    TColor m_linkColor = 0x0000FF;
    bool m_enableShowHint = true;
    QFont m_hintFormFont;
    TColor m_fontColor = 0xFF0000;
};
