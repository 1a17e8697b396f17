// SPDX-License-Identifier: MIT
//
// The program's windows as models, with their controls under the names the
// program uses. Form1 is the main window with the map, Form2 the airport
// window, Form3 the airport search, Form4 the readout and fly-there status
// window, Form5 carries the watchdog timer only, Form6 is the start-up picture.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/forms/Controls.h"

namespace corvane::forms {

// The pop-up menu of the main window: the top item `mnuview` and every entry
// under it, each reachable by its name.
struct MainMenu {
    MenuItem mnuview{"mnuview", "&View", 0};
    MenuItem MnuRange{"MnuRange", "Range", 1};
    MenuItem Mnu5miles{"Mnu5miles", "5 miles", 2};
    MenuItem Mnu10miles{"Mnu10miles", "10 miles", 2};
    MenuItem Mnu25miles{"Mnu25miles", "25 miles", 2};
    MenuItem Mnu50miles{"Mnu50miles", "50 miles", 2};
    MenuItem Mnu100miles{"Mnu100miles", "100 miles", 2};
    MenuItem Mnu250miles{"Mnu250miles", "250 miles", 2};
    MenuItem mnudisplay{"mnudisplay", "Display settings", 1};
    MenuItem mnuhide{"mnuhide", "Hide plane data", 2};
    MenuItem mnuairportdots{"mnuairportdots", "Hide airport dots", 2};
    MenuItem mnundbdots{"mnundbdots", "Hide NDB dots", 2};
    MenuItem mnuvordots{"mnuvordots", "Hide VOR dots", 2};
    MenuItem mnushowplace{"mnushowplace", "Show selected map", 1};
    MenuItem mnuthrottle{"mnuthrottle", "Show throttle", 1};
    MenuItem mnuJoystick{"mnuJoystick", "&Joystick", 1};
    MenuItem mnujoyshow{"mnujoyshow", "Hide joystick", 2};
    MenuItem mnuRevVert{"mnuRevVert", "Reverse vertical", 2};
    MenuItem mnuRevHoriz{"mnuRevHoriz", "Reverse horizontal", 2, false};
    MenuItem mnuminimize{"mnuminimize", "Minimize", 1};
    MenuItem mnushape{"mnushape", "Round window", 1};
    MenuItem mnucrosswire{"mnucrosswire", "Crosswires", 1};
    MenuItem mnuFlyPast{"mnuFlyPast", "Fly past view", 1};
    MenuItem mnuFlythereOff{"mnuFlythereOff", "Stop 'fly there and land'", 1, false};
    MenuItem mnuFlyHeight{"mnuFlyHeight", "Cruising height", 1, false};
    MenuItem mnuAbs3000{"mnuAbs3000", "3,000 ft above sea level", 2};
    MenuItem mnuAbs6000{"mnuAbs6000", "6,000 ft above sea level", 2};
    MenuItem mnuAbs15000{"mnuAbs15000", "15,000 ft above sea level", 2};
    MenuItem mnuAbs30000{"mnuAbs30000", "30,000 ft above sea level", 2};
    MenuItem mnuground2000{"mnuground2000", "2,000 ft above ground", 2};
    MenuItem mnuground4000{"mnuground4000", "4,000 ft above ground", 2, true, true};
    MenuItem mnuground8000{"mnuground8000", "8,000 ft above ground", 2};
    MenuItem mnuground16000{"mnuground16000", "16,000 ft above ground", 2};
    MenuItem mnuHelp{"mnuHelp", "Help", 1};
    MenuItem Mnuexit{"Mnuexit", "E&xit", 1};

    MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // Every entry in the order shown (depth first), the top item first.
    std::vector<MenuItem*> All();
    MenuItem* Find(const std::string& name);
    // The menu is open as a pop-up (the host shows it and reports the choice).
    bool popupRequested = false;
    int popupX = 0;  // screen pixels
    int popupY = 0;
};

struct Form1Model : Form {
    Form1Model();
    Picture Picture1{"Picture1"};    // the visible map
    Picture Picture2{"Picture2"};    // the off-screen work canvas of each frame
    Picture picstore{"picstore"};    // the stored background (overlays)
    Picture Picyellow{"Picyellow"};  // its size sets the hover catch distance
    TextBox Text1{"Text1"};          // frame time and dot count
    Image Image1{"Image1"};          // the joystick knob
    ScrollBar VScroll1{"VScroll1"};  // the throttle
    MainMenu menu;

    // The form's controls in its control collection's order (for the list of
    // windowed controls).
    std::array<Control*, 7> ControlCollection();
};

struct Form2Model : Form {
    Form2Model();
    ListBox foundlist{"foundlist"};
    Picture picmap{"picmap"};
    Grid rungrid{"rungrid"};
    Button cmdDetails{"cmdDetails"};
    Button cmdflyme{"cmdflyme"};
    Button cmdclose{"cmdclose"};
    // The window's own surface, on which the airport's text block is written.
    Picture surface{"surface"};
    std::array<Control*, 6> ControlCollection();
};

struct Form3Model : Form {
    Form3Model();
    Label Label1{"Label1"};
    TextBox TxtAirport{"TxtAirport"};
    Button cmdOK{"cmdOK"};
    std::array<Control*, 3> ControlCollection();
};

struct Form4Model : Form {
    Form4Model();
    Label Label1{"Label1"};
    Label Label2{"Label2"};
    Label Label3{"Label3"};
    Label Label4{"Label4"};
    Label Label5{"Label5"};
    Label Label6{"Label6"};
    Label Label7{"Label7"};
};

struct Form5Model : Form {
    Form5Model() : Form("Form5") {}
};

struct Form6Model : Form {
    Form6Model();
    Picture Picture1{"Picture1"};  // the start-up picture
    Label lblStatus{"lblStatus"};  // what start-up is waiting for, over the picture's foot
};

// All windows of the program.
struct Forms {
    Form1Model Form1;
    Form2Model Form2;
    Form3Model Form3;
    Form4Model Form4;
    Form5Model Form5;
    Form6Model Form6;
};

}  // namespace corvane::forms
