// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/StyleSheet.h"

#include "support/PageTestSupport.h"

#include <gtest/gtest.h>

namespace {

class StyleSheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_settings = defaultSettings(m_dir);
    }

    // The declaration lines of one rule, without the selector line and closing lines.
    static QString rule(const QString &css, const QString &selector)
    {
        const QString open = QStringLiteral("\r\n") + selector + QStringLiteral(" {\r\n");
        const qsizetype start = css.indexOf(open);
        if (start < 0)
            return QStringLiteral("<missing>");
        const qsizetype body = start + open.size();
        return css.mid(body, css.indexOf(QStringLiteral("\r\n}\r\n"), body) - body);
    }

    QTemporaryDir m_dir;
    TGlobalVariant m_settings;
};

} // namespace

TEST_F(StyleSheetTest, DefaultBlockMatchesGoldenFile)
{
    const QByteArray block = toShiftJis(BuildStyleSheet(m_settings));
    EXPECT_EQ(block.size(), 586);
    EXPECT_EQ(block.count("\r\n"), 52);
    EXPECT_EQ(block, goldenFile("style-default.css"));
}

TEST_F(StyleSheetTest, RulePiecesHaveTheirFixedLayout)
{
    QString declarations = CssDeclaration(QStringLiteral("font-size"), QStringLiteral("1em"));
    EXPECT_EQ(declarations, QStringLiteral("\tfont-size: 1em;\r\n"));
    // A rule with one declaration still has the empty line before its brace, and the scratch
    // text is emptied for the next rule.
    EXPECT_EQ(CssRule(QStringLiteral("p"), declarations),
              QStringLiteral("p {\r\n\tfont-size: 1em;\r\n\r\n}\r\n"));
    EXPECT_TRUE(declarations.isEmpty());
    EXPECT_EQ(CssRule(QStringLiteral("q"), declarations), QStringLiteral("q {\r\n\r\n}\r\n"));
    // Windows layout: red in the low byte; the text is red, green, blue.
    EXPECT_EQ(CssColorDeclaration(QStringLiteral("color"), 0x00563412),
              QStringLiteral("\tcolor: #123456;\r\n"));
}

TEST_F(StyleSheetTest, EverySettingReachesItsRule)
{
    TGlobalVariant &g = m_settings;
    g.Document.BackColor = 0x000000FF;
    g.Title.Size = QStringLiteral("2em");
    g.Title.Color = 0x00FF0000;
    g.Title.Font = QStringLiteral("ＭＳ Ｐゴシック");
    g.Title.Bold = true;
    g.Title.Italic = true;
    g.Folder.Size = QStringLiteral("18");
    g.Folder.Color = 0x0000FF00;
    g.Folder.Font = QString();
    g.Folder.Bold = true;
    g.Folder.Italic = true;
    g.Document.Link.Size = QStringLiteral("13px");
    g.Document.Link.Font = QStringLiteral("serif");
    g.Document.Link.UnderbarFlag = true;
    g.Document.Link.LinkColor = 0x00010203;
    g.Document.Link.VisitedColor = 0x00040506;
    g.Document.Link.ActiveColor = 0x00070809;
    g.Document.Link.HoverColor = 0x000A0B0C;
    g.Document.Link.BackColorFlag = false;
    g.Document.Link.OpenRightWindowFlag = true;
    g.Document.BVK.Size = QStringLiteral("9pt");
    g.Document.BVK.Color = 0x00ABCDEF;
    g.Document.BVK.Font = QStringLiteral("a;b}");
    const QString css = BuildStyleSheet(m_settings);

    EXPECT_EQ(rule(css, QStringLiteral("body")),
              QStringLiteral("\tbackground-color: #FF0000;\r\n"));
    EXPECT_EQ(rule(css, QStringLiteral(".TitleMessage")),
              QStringLiteral("\tfont-size: 2em;\r\n\ttext-align: center;\r\n\tcolor: #0000FF;\r\n"
                             "\tfont-family: ＭＳ Ｐゴシック;\r\n\tfont-style: italic;\r\n"
                             "\tfont-weight: bold;\r\n"));
    // An empty font is a font: the declaration is written with an empty value.
    EXPECT_EQ(rule(css, QStringLiteral(".FolderName")),
              QStringLiteral("\tfont-size: 18;\r\n\tcolor: #00FF00;\r\n\tfont-family: ;\r\n"
                             "\tfont-style: italic;\r\n\tfont-weight: bold;\r\n"));
    EXPECT_EQ(rule(css, QStringLiteral(".FileList")),
              QStringLiteral("\tpadding-left: 10px;\r\n\tfont-size: 13px;\r\n"
                             "\tfont-family: serif;\r\n"));
    EXPECT_EQ(rule(css, QStringLiteral("A")), QStringLiteral("\ttext-decoration: underline;\r\n"));
    EXPECT_EQ(rule(css, QStringLiteral("A:link")), QStringLiteral("\tcolor: #030201;\r\n"));
    EXPECT_EQ(rule(css, QStringLiteral("A:visited")), QStringLiteral("\tcolor: #060504;\r\n"));
    EXPECT_EQ(rule(css, QStringLiteral("A:active")), QStringLiteral("\tcolor: #090807;\r\n"));
    EXPECT_EQ(rule(css, QStringLiteral("A:hover")), QStringLiteral("\tcolor: #0C0B0A;\r\n"));
    // Values go in unchecked, even when they make invalid CSS.
    EXPECT_EQ(rule(css, QStringLiteral(".BVKComment")),
              QStringLiteral("\tmargin-left: 20px;\r\n\tfont-size: 9pt;\r\n\tcolor: #EFCDAB;\r\n"
                             "\tfont-family: a;b};\r\n"));
    // The order of the rules never changes; A:active comes before A:hover.
    EXPECT_LT(css.indexOf(QStringLiteral("A:active {")), css.indexOf(QStringLiteral("A:hover {")));
    EXPECT_TRUE(css.startsWith(QStringLiteral("<style type=\"text/css\">\r\n<!--\r\nbody {")));
    EXPECT_TRUE(css.endsWith(QStringLiteral("}\r\n-->\r\n</style>\r\n")));
}

TEST_F(StyleSheetTest, OnlyTheExactNoFontTextLeavesTheFontOut)
{
    m_settings.Document.Link.Font = QStringLiteral("<<指定無し>> ");
    m_settings.Document.BVK.Font = NoFontSpecified;
    const QString css = BuildStyleSheet(m_settings);
    EXPECT_TRUE(rule(css, QStringLiteral(".FileList")).contains(u"font-family: <<指定無し>> ;"));
    EXPECT_FALSE(rule(css, QStringLiteral(".BVKComment")).contains(u"font-family"));
}
