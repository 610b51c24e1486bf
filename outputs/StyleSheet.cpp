// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/StyleSheet.h"

#include "settings/ColorText.h"

namespace {

const QString LineEnd = QStringLiteral("\r\n");

bool hasFont(const QString &font)
{
    return font != NoFontSpecified;
}

} // namespace

QString CssDeclaration(const QString &Name, const QString &Value)
{
    return QLatin1Char('\t') + Name + QStringLiteral(": ") + Value + QLatin1Char(';') + LineEnd;
}

QString CssColorDeclaration(const QString &Name, TColor Color)
{
    return QLatin1Char('\t') + Name + QStringLiteral(": #") + ColorToHexText(Color) +
           QLatin1Char(';') + LineEnd;
}

QString CssRule(const QString &Selector, QString &Declarations)
{
    QString rule = Selector + QStringLiteral(" {") + LineEnd + Declarations + LineEnd +
                   QLatin1Char('}') + LineEnd;
    Declarations.clear();
    return rule;
}

QString BuildStyleSheet(const TGlobalVariant &g)
{
    const TLink &link = g.Document.Link;
    const TBVK &bvk = g.Document.BVK;
    QString css =
        QStringLiteral("<style type=\"text/css\">") + LineEnd + QStringLiteral("<!--") + LineEnd;
    QString d;

    d += CssColorDeclaration(QStringLiteral("background-color"), g.Document.BackColor);
    css += CssRule(QStringLiteral("body"), d);

    d += CssDeclaration(QStringLiteral("font-size"), g.Title.Size);
    d += CssDeclaration(QStringLiteral("text-align"), QStringLiteral("center"));
    d += CssColorDeclaration(QStringLiteral("color"), g.Title.Color);
    if (hasFont(g.Title.Font))
        d += CssDeclaration(QStringLiteral("font-family"), g.Title.Font);
    if (g.Title.Italic)
        d += CssDeclaration(QStringLiteral("font-style"), QStringLiteral("italic"));
    if (g.Title.Bold)
        d += CssDeclaration(QStringLiteral("font-weight"), QStringLiteral("bold"));
    css += CssRule(QStringLiteral(".TitleMessage"), d);

    d += CssDeclaration(QStringLiteral("font-size"), g.Folder.Size);
    d += CssColorDeclaration(QStringLiteral("color"), g.Folder.Color);
    if (hasFont(g.Folder.Font))
        d += CssDeclaration(QStringLiteral("font-family"), g.Folder.Font);
    if (g.Folder.Italic)
        d += CssDeclaration(QStringLiteral("font-style"), QStringLiteral("italic"));
    if (g.Folder.Bold)
        d += CssDeclaration(QStringLiteral("font-weight"), QStringLiteral("bold"));
    css += CssRule(QStringLiteral(".FolderName"), d);

    d += CssDeclaration(QStringLiteral("padding-left"), QStringLiteral("10px"));
    d += CssDeclaration(QStringLiteral("font-size"), link.Size);
    if (hasFont(link.Font))
        d += CssDeclaration(QStringLiteral("font-family"), link.Font);
    css += CssRule(QStringLiteral(".FileList"), d);

    d += CssDeclaration(QStringLiteral("text-decoration"),
                        link.UnderbarFlag ? QStringLiteral("underline") : QStringLiteral("none"));
    css += CssRule(QStringLiteral("A"), d);

    d += CssColorDeclaration(QStringLiteral("color"), link.LinkColor);
    css += CssRule(QStringLiteral("A:link"), d);
    d += CssColorDeclaration(QStringLiteral("color"), link.VisitedColor);
    css += CssRule(QStringLiteral("A:visited"), d);
    d += CssColorDeclaration(QStringLiteral("color"), link.ActiveColor);
    css += CssRule(QStringLiteral("A:active"), d);

    d += CssColorDeclaration(QStringLiteral("color"), link.HoverColor);
    if (link.BackColorFlag)
        d += CssColorDeclaration(QStringLiteral("background-color"), link.BackColor);
    css += CssRule(QStringLiteral("A:hover"), d);

    d += CssDeclaration(QStringLiteral("margin-left"), QStringLiteral("20px"));
    d += CssDeclaration(QStringLiteral("font-size"), bvk.Size);
    d += CssColorDeclaration(QStringLiteral("color"), bvk.Color);
    if (hasFont(bvk.Font))
        d += CssDeclaration(QStringLiteral("font-family"), bvk.Font);
    css += CssRule(QStringLiteral(".BVKComment"), d);

    css += QStringLiteral("-->") + LineEnd + QStringLiteral("</style>") + LineEnd;
    return css;
}
