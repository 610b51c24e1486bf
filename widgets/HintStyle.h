// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QProxyStyle>

// The program's hint timing: a hint appears 5 ms after the pointer comes to rest on a control
// (instead of the usual delay) and stays for 10 000 ms. It wraps the application's style, which
// decides the delay, and watches the application's hint requests to set how long one stays.
class THintStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr int ShowDelay = 5;
    static constexpr int ShowDuration = 10000;

    // Puts the timing on the whole application; calling it again changes nothing.
    static void install();

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit THintStyle(const QString &baseStyleName);
};
