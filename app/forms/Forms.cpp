// SPDX-License-Identifier: MIT
#include "app/forms/Forms.h"

namespace corvane::forms {

MainMenu::MainMenu() {
    mnuview.children = {&MnuRange,     &mnudisplay, &mnushowplace, &mnuthrottle, &mnuJoystick,
                        &mnuminimize,  &mnushape,   &mnucrosswire, &mnuFlyPast,  &mnuFlythereOff,
                        &mnuFlyHeight, &mnuHelp,    &Mnuexit};
    MnuRange.children = {&Mnu5miles,  &Mnu10miles,  &Mnu25miles,
                         &Mnu50miles, &Mnu100miles, &Mnu250miles};
    mnudisplay.children = {&mnuhide, &mnuairportdots, &mnundbdots, &mnuvordots};
    mnuJoystick.children = {&mnujoyshow, &mnuRevVert, &mnuRevHoriz};
    mnuFlyHeight.children = {&mnuAbs3000,    &mnuAbs6000,    &mnuAbs15000,   &mnuAbs30000,
                             &mnuground2000, &mnuground4000, &mnuground8000, &mnuground16000};
}

std::vector<MenuItem*> MainMenu::All() {
    std::vector<MenuItem*> all;
    std::function<void(MenuItem*)> visit = [&](MenuItem* item) {
        all.push_back(item);
        for (MenuItem* child : item->children)
            visit(child);
    };
    visit(&mnuview);
    return all;
}

MenuItem* MainMenu::Find(const std::string& name) {
    for (MenuItem* item : All()) {
        if (item->name == name)
            return item;
    }
    return nullptr;
}

Form1Model::Form1Model() : Form("Form1") {
    caption = "Corvane";
    Picture1.width = 2500;
    Picture1.height = 2500;
    Picture2.width = 2500;
    Picture2.height = 2500;
    Picture2.visible = false;
    picstore.width = 2500;
    picstore.height = 2500;
    picstore.visible = false;
    Picyellow.width = 66;
    Picyellow.height = 66;
    Picyellow.visible = false;
    Text1.visible = false;
    Image1.width = 300;
    Image1.height = 300;
    VScroll1.left = 2500;
    VScroll1.top = 0;
    VScroll1.width = 255;
    VScroll1.height = 2500;
    VScroll1.min = 0;
    VScroll1.max = 16383;
    VScroll1.smallChange = 100;
    VScroll1.largeChange = 1000;
    VScroll1.value = 16383;
}

std::array<Control*, 7> Form1Model::ControlCollection() {
    return {&Picture1, &Picture2, &picstore, &Picyellow, &Text1, &Image1, &VScroll1};
}

Form2Model::Form2Model() : Form("Form2") {
    caption = "Airport Selection";
    tag = "";
    foundlist.left = 120;
    foundlist.top = 120;
    foundlist.width = 4200;
    foundlist.height = 6000;
    picmap.left = 4440;
    picmap.top = 120;
    picmap.width = 6000;
    picmap.height = 6000;
    rungrid.visible = false;
    rungrid.left = 120;
    rungrid.top = 6240;
    rungrid.width = 10320;
    rungrid.height = 2400;
    // The buttons in a row below the details grid.
    cmdDetails.caption = "Show details";
    cmdDetails.visible = false;
    cmdflyme.caption = "Fly there";
    cmdclose.caption = "Close";
    for (Button* b : {&cmdDetails, &cmdflyme, &cmdclose}) {
        b->top = 8720;
        b->width = 1500;
        b->height = 375;
    }
    cmdDetails.left = 120;
    cmdflyme.left = 1740;
    cmdclose.left = 8940;
    surface.visible = false;
    width = 10680;
    height = 9200;
}

std::array<Control*, 6> Form2Model::ControlCollection() {
    return {&foundlist, &picmap, &rungrid, &cmdDetails, &cmdflyme, &cmdclose};
}

Form3Model::Form3Model() : Form("Form3") {
    caption = "Display Airport Map";
    Label1.caption =
        "Please enter all or part of the name of the airport whose map you wish to display";
    Label1.left = 120;
    Label1.top = 120;
    Label1.width = 4800;
    Label1.height = 480;
    TxtAirport.left = 120;
    TxtAirport.top = 720;
    TxtAirport.width = 3600;
    TxtAirport.height = 315;
    cmdOK.caption = "OK";
    cmdOK.left = 3840;
    cmdOK.top = 720;
    cmdOK.width = 1080;
    cmdOK.height = 315;
    width = 5160;
    height = 1500;
}

std::array<Control*, 3> Form3Model::ControlCollection() {
    return {&Label1, &TxtAirport, &cmdOK};
}

Form4Model::Form4Model() : Form("Form4") {
    caption = "";
    // Wide enough for the longest readouts: "N 51* 28.64'  W 0* 27.37'",
    // "Heading  123.4", "12500 ft  +88.3 ft/sec", "191 Kts", and hover labels
    // such as "VOR - AALBORG - AAL 116.70".
    Label1.width = 3400;
    Label2.width = 1700;
    Label3.width = 2600;
    Label4.width = 1300;
    for (Label* l : {&Label1, &Label2, &Label3, &Label4})
        l->height = 255;
    for (Label* l : {&Label5, &Label6, &Label7}) {
        l->width = 8000;
        l->height = 255;
    }
}

Form6Model::Form6Model() : Form("Form6") {
    caption = "Corvane";
    Picture1.width = 4800;
    Picture1.height = 2400;
    lblStatus.left = 0;
    lblStatus.top = 2040;
    lblStatus.width = 4800;
    lblStatus.height = 360;
    width = 5000;
    height = 2700;
}

}  // namespace corvane::forms
