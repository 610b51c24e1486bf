// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/SettingsTable.h"

// Each field is reached through a function of the record, so that the one table serves any
// record: the program-wide one, a page job's copy, a window's values.
#define TEXT(member) [](TGlobalVariant &g) -> QString & { return g.member; }
#define COLOR(member) [](TGlobalVariant &g) -> TColor & { return g.member; }
#define FLAG(member) [](TGlobalVariant &g) -> bool & { return g.member; }

const std::array<DesignSetting, 28> &designSettings()
{
    using S = DesignSetting;
    static const std::array<DesignSetting, 28> table{{
        {u"Document", u"FavoriteFolder", S::Text(TEXT(FavoriteFolder)), u"", nullptr},
        {u"Document", u"Title", S::Text(TEXT(Document.Title)), u"お気に入り一覧",
         "txtDocumentTitle"},
        {u"Document", u"BackColor", S::Color(COLOR(Document.BackColor)), u"FFFFFF",
         "btnDocumentBackColor"},
        {u"Document", u"BVKCommentFlag", S::Flag(FLAG(Document.BVKCommentFlag)), u"0",
         "chkBVKComment"},
        {u"BVK", u"Font", S::Text(TEXT(Document.BVK.Font)), u"<<指定無し>>", "cmbBVKFont"},
        {u"BVK", u"Size", S::Text(TEXT(Document.BVK.Size)), u"12px", "cmbBVKFontSize"},
        {u"BVK", u"Color", S::Color(COLOR(Document.BVK.Color)), u"000000", "btnBVKColor"},
        {u"Link", u"Font", S::Text(TEXT(Document.Link.Font)), u"<<指定無し>>", "cmbLinkFont"},
        {u"Link", u"Size", S::Text(TEXT(Document.Link.Size)), u"14px", "cmbLinkFontSize"},
        {u"Link", u"LinkColor", S::Color(COLOR(Document.Link.LinkColor)), u"0000FF",
         "btnLinkColor"},
        {u"Link", u"VisitedColor", S::Color(COLOR(Document.Link.VisitedColor)), u"0000FF",
         "btnVisitedColor"},
        {u"Link", u"HoverColor", S::Color(COLOR(Document.Link.HoverColor)), u"0000FF",
         "btnHoverColor"},
        {u"Link", u"ActiveColor", S::Color(COLOR(Document.Link.ActiveColor)), u"0000FF",
         "btnActiveColor"},
        {u"Link", u"UnderbarFlag", S::Flag(FLAG(Document.Link.UnderbarFlag)), u"0", "chkUnderBar"},
        {u"Link", u"BackColorFlag", S::Flag(FLAG(Document.Link.BackColorFlag)), u"1",
         "chkRollOverBackColor"},
        {u"Link", u"BackColor", S::Color(COLOR(Document.Link.BackColor)), u"FFFF00",
         "btnRollOverBackColor"},
        {u"Link", u"OpenRightWindowFlag", S::Flag(FLAG(Document.Link.OpenRightWindowFlag)), u"0",
         "rbMode2"},
        {u"Title", u"Title", S::Text(TEXT(Title.Title)), u"Favorite", "txtTitle"},
        {u"Title", u"Font", S::Text(TEXT(Title.Font)), u"<<指定無し>>", "cmbTitleFont"},
        {u"Title", u"Size", S::Text(TEXT(Title.Size)), u"20px", "cmbTitleFontSize"},
        {u"Title", u"Color", S::Color(COLOR(Title.Color)), u"008040", "btnTitleColor"},
        {u"Title", u"Bold", S::Flag(FLAG(Title.Bold)), u"1", "chkTitleBold"},
        {u"Title", u"Italic", S::Flag(FLAG(Title.Italic)), u"0", "chkTitleItalic"},
        {u"Folder", u"Font", S::Text(TEXT(Folder.Font)), u"<<指定無し>>", "cmbFolderFont"},
        {u"Folder", u"Size", S::Text(TEXT(Folder.Size)), u"16px", "cmbFolderFontSize"},
        {u"Folder", u"Color", S::Color(COLOR(Folder.Color)), u"FF0000", "btnFolderColor"},
        {u"Folder", u"Bold", S::Flag(FLAG(Folder.Bold)), u"0", "chkFolderBold"},
        {u"Folder", u"Italic", S::Flag(FLAG(Folder.Italic)), u"0", "chkFolderItalic"},
    }};
    return table;
}
