#include "ui/controls.h"

namespace kelvane::ui {

using C = ControlId;
using K = ControlKind;

// In ControlId order. Captions: German as designed, English as start-up sets it.
const std::array<ControlDesign, kControlCount> kControls = {{
    {C::Form1, "Form1", K::Window, C::Form1, {0, 0, 4815, 5715}, -1, "Kelvane v.1.0", "", true},
    {C::Label2, "Label2", K::Link, C::Form1, {1515, 0, 1710, 195}, 17, "Für ICQ 7.1 Build #2096",
     "For ICQ 7.1 Build #2096", true},
    {C::Frame1, "Frame1", K::Frame, C::Form1, {120, 240, 4575, 855}, 15,
     "ICQ-Installationsverzeichnis", "ICQ installation directory", true},
    {C::Picture2, "Picture2", K::Container, C::Frame1, {120, 300, 4400, 420}, 20, "", "", true},
    {C::Text1, "Text1", K::Edit, C::Picture2, {0, 40, 3375, 285}, 3, "", "", true},
    {C::Command4, "Command4", K::Button, C::Picture2, {3480, 0, 855, 375}, 4, "Ändern", "Change",
     true},
    {C::Frame2, "Frame2", K::Frame, C::Form1, {120, 1200, 4575, 3975}, 16, "Optionen", "Options",
     true},
    {C::Picture1, "Picture1", K::Container, C::Frame2, {120, 240, 4335, 3705}, 18, "", "", true},
    {C::Option2, "Option2", K::Radio, C::Picture1, {240, 0, 3375, 255}, 5,
     "Standard (setzt alle Veränderungen zurück)", "Standard (resets all changes)", true},
    {C::Option1, "Option1", K::Radio, C::Picture1, {240, 240, 3045, 255}, 6,
     "ICQ mit folgenden Optionen anpassen", "Tweak ICQ with the following settings", true},
    {C::Check0, "Check0", K::CheckBox, C::Picture1, {480, 480, 3375, 255}, 7,
     "Werbung unter der Kontaktliste entfernen", "Remove banner ads under the contact list", true},
    {C::Check1, "Check1", K::CheckBox, C::Picture1, {720, 720, 3375, 255}, 8,
     "An dieser Stelle keinen freien Platz lassen", "Don't leave a space at this place", true},
    {C::Check2, "Check2", K::CheckBox, C::Picture1, {480, 960, 3135, 255}, 9,
     "Suchleiste in der Kontaktliste entfernen", "Remove search bar in the contact list", true},
    {C::Check3, "Check3", K::CheckBox, C::Picture1, {480, 1200, 3135, 255}, 10,
     "Buttons über der Kontaktliste entfernen", "Remove buttons above the contact list", true},
    {C::Check4, "Check4", K::CheckBox, C::Picture1, {480, 1440, 3135, 255}, 11,
     "Werbebanner im Chatfenster entfernen", "Remove banner ads in the chat window", true},
    {C::Check5, "Check5", K::CheckBox, C::Picture1, {720, 1680, 3255, 255}, 12,
     "An dieser Stelle keinen freien Platz lassen", "Don't leave a space at this place", true},
    {C::Check6, "Check6", K::CheckBox, C::Picture1, {480, 1920, 3375, 255}, 13,
     "Werbung im Nachrichtenfeld deaktivieren", "Deactivate banner ads in the message field", true},
    {C::Check7, "Check7", K::CheckBox, C::Picture1, {480, 2160, 2895, 255}, 24,
     "SMS-Tab im Chatfenster entfernen", "Remove sms tab in the chat window", true},
    {C::Check8, "Check8", K::CheckBox, C::Picture1, {480, 2400, 3735, 255}, 22,
     "Minimalgröße für Haupt- && Chatfenster aktivieren", "Activate minimum size of chat window",
     true},
    {C::Check9, "Check9", K::CheckBox, C::Picture1, {480, 2640, 2415, 255}, 25,
     "Nachrichten mit Alt+S senden", "Send messages with Alt+S", true},
    {C::Check10, "Check10", K::CheckBox, C::Picture1, {480, 2880, 2895, 255}, 14,
     "ICQ nicht in der Taskleiste anzeigen", "Don't show ICQ in the taskbar", true},
    {C::Label4, "Label4", K::Link, C::Picture1, {3480, 2900, 555, 195}, 23, "Hinweis", "Hint",
     false},
    {C::Label1, "Label1", K::Label, C::Picture1, {240, 3290, 2385, 195}, 19,
     "Einstellungen wählen und starten!", "Choose settings and click Start", true},
    {C::Label3, "Label3", K::Link, C::Picture1, {2160, 3390, 315, 195}, 21, "Hilfe", "Help", false},
    {C::Image1, "Image1", K::Mark, C::Picture1, {3240, 3210, 330, 255}, -1, "", "", false},
    {C::Image2, "Image2", K::Mark, C::Picture1, {3840, 3180, 330, 360}, -1, "", "", false},
    {C::Command3, "Command3", K::Button, C::Form1, {120, 5280, 1935, 375}, 0, "Start", "", true},
    {C::Command1, "Command1", K::Button, C::Form1, {2160, 5280, 855, 375}, 1, "Info", "", true},
    {C::Command2, "Command2", K::Button, C::Form1, {3120, 5280, 1575, 375}, 2, "Beenden", "Exit",
     true},
}};

}  // namespace kelvane::ui
