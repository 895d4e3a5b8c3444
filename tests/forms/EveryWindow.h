#pragma once

#include "forms/Unit1.h"
#include "forms/Unit12.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"

#include <QWidget>

#include <utility>
#include <vector>

namespace testing_support {

// Every window of the program beside a main window, made as the main window makes them, each
// with the caption its title must show.
class EveryWindow {
public:
    explicit EveryWindow(TForm1& main)
        : character(&main, main.ADOConnection1, main.ADOTable1), npcs(&main, main.ADOConnection1),
          item(&main, main.DataSource3), dice(new forms::TForm12(&main)),
          about(new forms::TAboutBox(&main)), withCaptions{{&main, "Tavrix"},
                                                           {&character, "Add new character"},
                                                           {&npcs, "Add NPC"},
                                                           {&item, "Add Item"},
                                                           {dice, "Dice"},
                                                           {about, "About"}}
    {
    }

    TForm2 character;
    TForm4 npcs;
    TForm3 item;
    forms::TForm12* dice;    // owned by the main window
    forms::TAboutBox* about; // owned by the main window
    const std::vector<std::pair<QWidget*, const char*>> withCaptions;
};

} // namespace testing_support
