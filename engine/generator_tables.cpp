// The markers, values and end anchors of the twelve ICQ files Kelvane writes.
#include "engine/generators.h"

namespace kelvane {
namespace {

using O = const TweakOptions&;

constexpr std::string_view kStars =
    "****************************************************************************";

// --- MainDlgPanelOwner.box: banner under the contact list, the buttons bar ---------------
constexpr std::string_view kTabPanels =
    R"(<box:aolTabPanels id="idMainPanels" style="imgTabBackground"/>)";

// Fillers are ICQ's own lines, and some of them tell where a marker stands.
constexpr std::string_view kFeedAlertNote =
    R"(<!-- <box:image src="#curtain.feedInfo" id="infoFeedAlert" inherits="newFeed"  s:strokeWidth="1"/> The attribute "newFeed" doesn't exist yet -->)";

const GeneratorTable kMainDlgPanelOwnerBox = {
    .custom =
        {
            {"Banner1", R"( hidden="true")",
             [](O o) { return o.remove_contact_list_banner && !o.collapse_contact_list_banner; }},
            {"Banner1", R"( hidden="true" s:maxHeight="1")",
             [](O o) { return o.remove_contact_list_banner && o.collapse_contact_list_banner; }},
            {"Banner2", R"(hidden="true")",
             [](O o) { return o.remove_contact_list_banner && !o.collapse_contact_list_banner; }},
            {"Banner2", R"(hidden="true" s:maxHeight="2")",
             [](O o) {
               return o.remove_contact_list_banner && o.collapse_contact_list_banner &&
                      o.remove_buttons_bar;
             }},
            {"Banner2", R"(hidden="true" s:maxHeight="6")",
             [](O o) {
               return o.remove_contact_list_banner && o.collapse_contact_list_banner &&
                      !o.remove_buttons_bar;
             }},
            {"MainPanel1", "", [](O o) { return o.remove_buttons_bar; }},
            {"MainPanel2", kTabPanels, [](O o) { return o.remove_buttons_bar; }},
            {"ButtonsBar", R"( hidden="true")", [](O o) { return o.remove_buttons_bar; }},
        },
    .standard = {{"Banner1", ""},
                 {"Banner2", ""},
                 {"MainPanel1", kTabPanels},
                 {"MainPanel2", ""},
                 {"ButtonsBar", ""}},
    .fillers =
        {
            "<!-- ICQ6 Main Dialog Owner Panel content box file -->",
            R"(<!--<box:binding elementSource="gadget:idConnectionStatusText" targetProperty="tooltip" path="value" method="oneWay"/>-->)",
            "<!-- full Owner panel gadget -->",
            "<!-- Xtraz Bar + Contact List + Search Bar -->",
            kFeedAlertNote,
            "<!-- Entertainment Bar -->",
            "<!-- style for internal border frame -->",
            "<!-- Tab related gadgets -->",
            R"(<attributes selectableMode="item" focusMode="ignore" canClose="false" icon="" counter="0"/>)",
            R"(<box:vbox id="tab" blockEvents="false" inherits="focused,pressed,hovered,selected,disabled,label,icon,context">)",
            R"(<box:image id="idIcon" inherits="src=icon,PanelName,pressed,focused,hovered,selected,disabled,tooltip" />)",
        },
    .anchor = "</library>",
    .spots =
        {
            InTag{"ButtonsBar", "", R"(id="idDataBound")", R"(s:maxwidth="auto")", ""},
            OnLines{{"MainPanel1"}, {}, kFeedAlertNote},
            OnLines{{"MainPanel2"}, {kFeedAlertNote, "</box:vbox>"}, ""},
            InTag{"Banner1", "", R"(id="feedXtraBox")", "", ""},
            InTag{"Banner2", "", R"(id="idAdBoxPlace")", R"(style="mainEntertainmentBox" )", ""},
        },
};

// --- MsgSessionPanel.box: chat banner, the space it leaves, the SMS tab -------------------
constexpr std::string_view kFeatures1 = R"(<box:vbox id="idFeaturesArea" collapsed="true">)";
constexpr std::string_view kFeatures2 = R"(<box:FeaturesContainer id="idFeaturesContainer"/>)";
constexpr std::string_view kFeatures3 = "</box:vbox>";

bool CollapseChat(O o) {
  return o.remove_chat_banner && o.collapse_chat_banner;
}

const GeneratorTable kMsgSessionPanelBox = {
    .custom =
        {
            {"AdBox", R"(<!--box:icqAd id="idAdBox"/-->)",
             [](O o) { return o.remove_chat_banner; }},
            {"4Free1", kFeatures1, CollapseChat},
            {"4Free2", kFeatures2, CollapseChat},
            {"4Free3", kFeatures3, CollapseChat},
            {"4Free4", "", CollapseChat},
            {"4Free5", "", CollapseChat},
            {"4Free6", "", CollapseChat},
            {"BottomBox", R"( s:height="0")", CollapseChat},
            {"SMSButton", R"( hidden="true")", [](O o) { return o.remove_sms_tab; }},
        },
    .standard = {{"AdBox", R"(<box:icqAd id="idAdBox"/>)"},
                 {"BottomBox", ""},
                 {"SMSButton", ""},
                 {"4Free1", ""},
                 {"4Free2", ""},
                 {"4Free3", ""},
                 {"4Free4", kFeatures1},
                 {"4Free5", kFeatures2},
                 {"4Free6", kFeatures3}},
    .fillers = {kStars},
    .anchor = "</library>",
    .spots =
        {
            InTag{"SMSButton", "", R"(id="msgWinImTabsBox")", "", ""},
            OnLines{{"4Free1", "4Free2", "4Free3"},
                    {"<!-- bottom panel ( ad, features ) -->"},
                    R"(id="idBottomBox")"},
            InTag{"BottomBox", "", R"(id="idBottomBox")", "", ""},
            OnLines{{"4Free4", "4Free5", "4Free6"},
                    {R"(id="idBottomBox")"},
                    R"(id="idBottomBannerContainer")"},
            InTag{"BottomBox", "", R"(id="idBottomBannerContainer")", "", ""},
            OnLines{{"AdBox"}, {R"(id="idBottomBannerContainer")"}, ""},
        },
};

// --- MsgSessionDlg.style.box: chat window minimum size, features box, ad box width --------
bool MinSize(O o) {
  return o.enable_minimum_size;
}

const GeneratorTable kMsgSessionDlgStyleBox = {
    .custom =
        {
            {"Min1", "475", MinSize},
            {"Min2", "436", MinSize},
            {"Min3", "relative", CollapseChat},
            {"Min4", "450", [](O o) { return CollapseChat(o) && o.enable_minimum_size; }},
            {"Min4", "500", [](O o) { return CollapseChat(o) && !o.enable_minimum_size; }},
            {"Min5", "right", MinSize},
            {"Min6", "450", MinSize},
        },
    .standard = {{"Min1", "525"},
                 {"Min2", "467"},
                 {"Min3", "fixed"},
                 {"Min4", "100%"},
                 {"Min5", "end"},
                 {"Min6", "468"}},
    .fillers = {kStars},
    .anchor = "</library>",
    .spots =
        {
            InTag{"Min1", "", R"(id="msgWindowStyle")", R"(minWidth=")", R"(")"},
            InTag{"Min2", "", R"(id="msgWindowStyle")", R"(minHeight=")", R"(")"},
            InTag{"Min3", R"(tag="FeaturesContainer")", R"(id="mainBox")", R"(position=")", R"(")"},
            InTag{"Min4", R"(tag="FeaturesContainer")", R"(id="mainBox")", R"(width=")", R"(")"},
            InTag{"Min5", R"(tag="icqMsgSessionPanel")", R"(name="msgWinFeatureButtons")",
                  R"(halign=")", R"(")"},
            InTag{"Min6", R"(tag="icqMsgSessionPanel")", R"(name="idAdBox")", R"(width=")", R"(")"},
        },
};

// --- MainDlg.box: keep ICQ out of the taskbar ---------------------------------------------
const GeneratorTable kMainDlgBox = {
    .custom = {{"NoTaskBar", R"( floating="true" minimizable="false")",
                [](O o) { return o.hide_from_taskbar; }}},
    .standard = {{"NoTaskBar", ""}},
    .fillers =
        {
            "<!-- ICQ6 Main Dialog content box file -->",
            R"(<key key="&mainMenu.contacts.ImportContacts_accelText;" command="cmdImportContacts"/>)",
            "<!-- Menu Bar + Owner Bar -->",
        },
    .anchor = "</icqMainDialog>",
    .spots = {InTag{"NoTaskBar", "", "<icqMainDialog", R"(wideMinWidth="false")", ""}},
};

// --- ContentPanelCL.box: the search bar above the contact list ----------------------------
const GeneratorTable kContentPanelCLBox = {
    .custom = {{"SearchBar", R"( hidden="true" s:maxHeight="1")",
                [](O o) { return o.remove_search_bar; }}},
    .standard = {{"SearchBar", ""}},
    .fillers =
        {
            "<!-- ICQ6 Main Dialog Owner Panel content box file -->",
            "<!-- Owner tab panel for contact list gadget -->",
            "<!-- <box:icqExServiceCurtain /> -->",
            "<!-- style for internal border frame -->",
        },
    .anchor = "</library>",
    .spots = {InTag{"SearchBar", "", R"(id="idSuggestHBox")", "", ""}},
};

// --- Alt+S as send key, and the access keys that clashed with it --------------------------
bool AltS(O o) {
  return o.send_with_alt_s;
}

const GeneratorTable kMsgSessionDlgBox = {
    .custom = {{"UseAltS", R"(S" alt)", AltS}},
    .standard = {{"UseAltS", R"(RETURN" ctrl)"}},
    .fillers =
        {
            "<!-- Move here the definition of icqFlashPlayer after it's fixed -->",
            "<!-- for preloading zlango xtra  -->",
            R"(<aolLabel value="&MsgSessionDlg.ZlangoLoading;" style="sLabelZlango"/>)",
        },
    .anchor = "</icqWindow>",
    .spots = {InTag{"UseAltS", "", R"(command="cmdCtrlEnterPressed")", R"(key=")", R"(="true")"}},
};

constexpr std::string_view kPanelDtdTitle = R"(<!-- ***** en-US\MsgPanel.dtd ***** -->)";

const GeneratorTable kGermanMsgSessionPanelDtd = {
    .custom = {{"Font1", "T", AltS}, {"Font2", "t", AltS}},
    .standard = {{"Font1", "S"}, {"Font2", "s"}},
    .fillers =
        {
            kPanelDtdTitle,
            "<!-- Action buttons -->",
            "<!-- Hover action buttons - Users devil -->",
            "<!-- Hover action buttons - Owner's devil -->",
            "<!-- User Information Button -->",
        },
    .anchor = "%englishFallbackDTD;",
    .spots =
        {
            InEntity{"Font1", "MsgSessionPanel.FeaturedTabs.Text_tlp", true},
            InEntity{"Font2", "MsgSessionPanel.FeaturedTabs.Text_tlp_accessKey", false},
        },
};

const GeneratorTable kMsgSessionPanelDtd = {
    .custom = {{"Pic", "P", AltS}},
    .standard = {{"Pic", "S"}},
    .fillers =
        {
            kPanelDtdTitle,
            "<!-- Action buttons -->",
            "<!-- Hover action buttons - User's devil -->",
            "<!-- Hover action buttons - Owner's devil -->",
            "<!-- User Information Button -->",
        },
    .anchor = R"(<!ENTITY MsgSessionPanel.OpenZlangoTooltip "Show Zlango icons and messages">)",
    .spots = {InEntity{"Pic", "MsgSessionPanel.dtdActionShareFiles", true}},
};

const GeneratorTable kMsgSessionDlgDtd = {
    .custom = {{"Pic", "P", AltS}},
    .standard = {{"Pic", "S"}},
    .fillers =
        {
            R"(<!-- ***** en-US\MsgSessionDlg.dtd ***** -->)",
            "<!-- Window Title in case there are more than 1 panel opened -->",
            "<!-- Menu Items Text and Accelerators -->",
            "<!-- File Xfer strings -->",
            "<!-- Failure sending text message -->",
        },
    .anchor = R"(<!ENTITY MessageMenu.Tools_accessKey "M">)",
    .spots = {InEntity{"Pic", "MessageMenu.Start.ShareFiles_accessKey", false}},
};

// --- Main window theme: the main-window half of the minimum size --------------------------
constexpr std::string_view kMainDlgDoctypeNote =
    R"(<!-- <!DOCTYPE window SYSTEM "box://imapp/resources/MainDlg.dtd"> -->)";

const GeneratorTable kMainDlgStyleBox = {
    .custom = {{"Min1", "185", MinSize}, {"Min2", "530", MinSize}},
    .standard = {{"Min1", "221"}, {"Min2", "560"}},
    .fillers =
        {
            "<!-- ***** MainDlg.style.box - Theme File ***** -->",
            kMainDlgDoctypeNote,
            "<!-- Color Picker image -->",
            "<!--Line Separator between the main window and the HBOX with the scrolling text-->",
            "<!--When hidden, this HBOX should have a marginTop of -12 and when shown, a value of "
            "-1-->",
        },
    .anchor = "</library>",
    .spots =
        {
            InTag{"Min1", "", R"(id="sMainDlg")", R"(minWidth=")", R"(")"},
            InTag{"Min2", "", R"(id="sMainDlg")", R"(minHeight=")", R"(")"},
        },
};

const GeneratorTable kMainDlgPanelOwnerStyleBox = {
    .custom = {{"Min1", "50", MinSize}, {"Min2", R"( minWidth="50")", MinSize}},
    .standard = {{"Min1", "90"}, {"Min2", ""}},
    .fillers =
        {
            "<!-- ***** MainDlgPanelOwner.style.box - Theme File ***** -->",
            kMainDlgDoctypeNote,
            "<!-- Images for tab icons must reside here, and not within panels -->",
            "<!-- CL small icons for zones & game center -->",
            "<!-- end of tab icon images -->",
        },
    .anchor = "</library>",
    .spots =
        {
            InTag{"Min1", "", R"(id="sIdOwnerNameTitle")", R"(minWidth=")", R"(")"},
            InTag{"Min2", R"(id="sIdOwnerNameTitle")", R"(name="idLabel")", R"(maxHeight="21")",
                  ""},
        },
};

const GeneratorTable kLifestreamTabStyleBox = {
    .custom = {{"Min", "173", MinSize}},
    .standard = {{"Min", "209"}},
    .fillers =
        {
            R"(<?xml version="1.0" encoding="UTF-8"?>)",
            R"(<?import href="box://imapp/theme/muiutils/toolkitex.style.box"?>)",
            R"(<part name="extrasDraggerArea" flex="1" marginRight="0" orient="vertical" vAlign="center" minHeight="6" hAlign="center" inherits="#gradClXtrazSplitter">)",
        },
    .anchor = "</library>",
    .spots =
        {
            InTag{"Min", R"(id="LifeStreamTab")", R"(name="idBoxFirstXtraz")", R"(minWidth=")",
                  R"(")"},
            InTag{"Min", R"(id="LifeStreamTab")", R"(name="idBoxSecondXtraz")", R"(minWidth=")",
                  R"(")"},
        },
};

}  // namespace

const Generator GenerateMainDlgPanelOwnerBox{kMainDlgPanelOwnerBox};
const Generator GenerateMsgSessionPanelBox{kMsgSessionPanelBox};
const Generator GenerateMsgSessionDlgStyleBox{kMsgSessionDlgStyleBox};
const Generator GenerateMainDlgBox{kMainDlgBox};
const Generator GenerateContentPanelCLBox{kContentPanelCLBox};
const Generator GenerateMsgSessionDlgBox{kMsgSessionDlgBox};
const Generator GenerateGermanMsgSessionPanelDtd{kGermanMsgSessionPanelDtd};
const Generator GenerateMsgSessionPanelDtd{kMsgSessionPanelDtd};
const Generator GenerateMsgSessionDlgDtd{kMsgSessionDlgDtd};
const Generator GenerateMainDlgStyleBox{kMainDlgStyleBox};
const Generator GenerateMainDlgPanelOwnerStyleBox{kMainDlgPanelOwnerStyleBox};
const Generator GenerateLifestreamTabStyleBox{kLifestreamTabStyleBox};

}  // namespace kelvane
