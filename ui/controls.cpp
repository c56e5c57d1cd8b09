#include "ui/controls.h"

#include "ui/product.h"

namespace kelvane::ui {

using C = ControlId;
using K = ControlKind;

// clang-format off
const std::array<ControlDesign, kControlCount> kControls = {{
    {C::Form1,    "Form1",    K::Window,    C::Form1,    {0,    0,    4815, 5715}, -1, true},
    {C::Label2,   "Label2",   K::Link,      C::Form1,    {1515, 0,    1710, 195},  17, true},
    {C::Frame1,   "Frame1",   K::Frame,     C::Form1,    {120,  240,  4575, 855},  15, true},
    {C::Picture2, "Picture2", K::Container, C::Frame1,   {120,  300,  4400, 420},  20, true},
    {C::Text1,    "Text1",    K::Edit,      C::Picture2, {0,    40,   3375, 285},  3,  true},
    {C::Command4, "Command4", K::Button,    C::Picture2, {3480, 0,    855,  375},  4,  true},
    {C::Frame2,   "Frame2",   K::Frame,     C::Form1,    {120,  1200, 4575, 3975}, 16, true},
    {C::Picture1, "Picture1", K::Container, C::Frame2,   {120,  240,  4335, 3705}, 18, true},
    {C::Option2,  "Option2",  K::Radio,     C::Picture1, {240,  0,    3375, 255},  5,  true},
    {C::Option1,  "Option1",  K::Radio,     C::Picture1, {240,  240,  3045, 255},  6,  true},
    {C::Check0,   "Check0",   K::CheckBox,  C::Picture1, {480,  480,  3375, 255},  7,  true},
    {C::Check1,   "Check1",   K::CheckBox,  C::Picture1, {720,  720,  3375, 255},  8,  true},
    {C::Check2,   "Check2",   K::CheckBox,  C::Picture1, {480,  960,  3135, 255},  9,  true},
    {C::Check3,   "Check3",   K::CheckBox,  C::Picture1, {480,  1200, 3135, 255},  10, true},
    {C::Check4,   "Check4",   K::CheckBox,  C::Picture1, {480,  1440, 3135, 255},  11, true},
    {C::Check5,   "Check5",   K::CheckBox,  C::Picture1, {720,  1680, 3255, 255},  12, true},
    {C::Check6,   "Check6",   K::CheckBox,  C::Picture1, {480,  1920, 3375, 255},  13, true},
    {C::Check7,   "Check7",   K::CheckBox,  C::Picture1, {480,  2160, 2895, 255},  24, true},
    {C::Check8,   "Check8",   K::CheckBox,  C::Picture1, {480,  2400, 3735, 255},  22, true},
    {C::Check9,   "Check9",   K::CheckBox,  C::Picture1, {480,  2640, 2415, 255},  25, true},
    {C::Check10,  "Check10",  K::CheckBox,  C::Picture1, {480,  2880, 2895, 255},  14, true},
    {C::Label4,   "Label4",   K::Link,      C::Picture1, {3480, 2900, 555,  195},  23, false},
    {C::Label1,   "Label1",   K::Label,     C::Picture1, {240,  3290, 2385, 195},  19, true},
    {C::Label3,   "Label3",   K::Link,      C::Picture1, {2160, 3390, 315,  195},  21, false},
    {C::Image1,   "Image1",   K::Mark,      C::Picture1, {3240, 3210, 330,  255},  -1, false},
    {C::Image2,   "Image2",   K::Mark,      C::Picture1, {3840, 3180, 330,  360},  -1, false},
    {C::Command3, "Command3", K::Button,    C::Form1,    {120,  5280, 1935, 375},  0,  true},
    {C::Command1, "Command1", K::Button,    C::Form1,    {2160, 5280, 855,  375},  1,  true},
    {C::Command2, "Command2", K::Button,    C::Form1,    {3120, 5280, 1575, 375},  2,  true},
}};

const std::array<Caption, kControlCount> kCaptions = {{
    {C::Form1,    kWindowTitle,                                        ""},
    {C::Label2,   "Für ICQ 7.1 Build #2096",                           "For ICQ 7.1 Build #2096"},
    {C::Frame1,   "ICQ-Installationsverzeichnis",                      "ICQ installation directory"},
    {C::Picture2, "",                                                  ""},
    {C::Text1,    "",                                                  ""},
    {C::Command4, "Ändern",                                            "Change"},
    {C::Frame2,   "Optionen",                                          "Options"},
    {C::Picture1, "",                                                  ""},
    {C::Option2,  "Standard (setzt alle Veränderungen zurück)",        "Standard (resets all changes)"},
    {C::Option1,  "ICQ mit folgenden Optionen anpassen",               "Tweak ICQ with the following settings"},
    {C::Check0,   "Werbung unter der Kontaktliste entfernen",          "Remove banner ads under the contact list"},
    {C::Check1,   "An dieser Stelle keinen freien Platz lassen",       "Don't leave a space at this place"},
    {C::Check2,   "Suchleiste in der Kontaktliste entfernen",          "Remove search bar in the contact list"},
    {C::Check3,   "Buttons über der Kontaktliste entfernen",           "Remove buttons above the contact list"},
    {C::Check4,   "Werbebanner im Chatfenster entfernen",              "Remove banner ads in the chat window"},
    {C::Check5,   "An dieser Stelle keinen freien Platz lassen",       "Don't leave a space at this place"},
    {C::Check6,   "Werbung im Nachrichtenfeld deaktivieren",           "Deactivate banner ads in the message field"},
    {C::Check7,   "SMS-Tab im Chatfenster entfernen",                  "Remove sms tab in the chat window"},
    {C::Check8,   "Minimalgröße für Haupt- && Chatfenster aktivieren", "Activate minimum size of chat window"},
    {C::Check9,   "Nachrichten mit Alt+S senden",                      "Send messages with Alt+S"},
    {C::Check10,  "ICQ nicht in der Taskleiste anzeigen",              "Don't show ICQ in the taskbar"},
    {C::Label4,   "Hinweis",                                           "Hint"},
    {C::Label1,   "Einstellungen wählen und starten!",                 "Choose settings and click Start"},
    {C::Label3,   "Hilfe",                                             "Help"},
    {C::Image1,   "",                                                  ""},
    {C::Image2,   "",                                                  ""},
    {C::Command3, "Start",                                             ""},
    {C::Command1, "Info",                                              ""},
    {C::Command2, "Beenden",                                           "Exit"},
}};

const LayoutChanges kLayoutChanges = {
    .english_check10_width = 2500,
    .english_label4_left = 3080,
    .english_label3_left = 1840,
    .two_line_label1_top = 3190,
    .two_line_image2_top = 3210,
    .mark_gap = 130,
};

// "Homepage:" runs almost to the button beside it, so that its colon still shows at 125 %.
const std::array<InfoControlDesign, kInfoControlCount> kInfoControls = {{
    {InfoControlId::Command1, "Command1", K::Button, false, {900,  1200, 1335, 375}, "OK"},
    {InfoControlId::Frame1,   "Frame1",   K::Frame,  false, {125,  120,  2895, 975}, kWindowTitle},
    {InfoControlId::Label4,   "Label4",   K::Label,  true,  {300,  285,  2265, 195}, kLegalNotice},
    {InfoControlId::Label5,   "Label5",   K::Label,  true,  {240,  615,  1000, 195}, "Homepage:"},
    {InfoControlId::Command4, "Command4", K::Button, false, {1300, 720,  1455, 255}, kHomePageCaption},
}};
// clang-format on

}  // namespace kelvane::ui
