// The main menu: the bottom screen of the program, entered at the end of the
// start-up and left only when the window is closed.
#pragma once

// Menu entries (the chosen action of a frame; 0 when none).
enum MainMenuAction : int {
    MenuEditPersons = 1,   // 人物編集
    MenuCreatePerson = 2,  // 人物作成
    MenuSave = 3,          // 保存
    MenuApplyScenario = 4, // シナリオに反映
};

// Runs the menu until QuitFlag is set. A left click on an entry runs it; the
// right button and the keyboard do nothing here.
void MainMenu();
// Draws one frame of the menu into BackBuffer; returns the entry under the mouse.
int DrawMainMenu();
