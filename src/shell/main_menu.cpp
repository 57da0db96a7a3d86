// The main menu.
#include "main_menu.h"

#include "draw.h"
#include "scenario/scenario.h"
#include "shell.h"
#include "store/store.h"
#include "store/tables.h"

struct MenuEntry {
    int Row;
    const char* Label;
    int Action;
};

static const MenuEntry MenuEntries[] = {
    {40, "人物編集", MenuEditPersons},
    {70, "人物作成", MenuCreatePerson},
    {100, "保存", MenuSave},
    {130, "シナリオに反映", MenuApplyScenario},
};
constexpr int MenuColumn = 20;

// ---- Hooks for the person screens -------------------------------------
// The person list and the person editor are not part of the shell. Until
// they exist these two entries are drawn and hot but do nothing. Wire them
// here: the list (EditPersons) in the first, and the editor (EditPerson) on
// CurrentPersonId in the second.
static void OpenPersonList() {}
static void OpenPersonEditor() {}
// -----------------------------------------------------------------------

// 人物作成 always opens the first user slot; it does not look for a free one.
static void CreatePerson() {
    CurrentPersonId = UserPersonFirst;
    OpenPersonEditor();
}

int DrawMainMenu() {
    int chosen = 0;
    FillBox(BackBuffer, 0, 0, ScreenWidth, ScreenHeight,
            ColourRed(ScreenBackground), ColourGreen(ScreenBackground), ColourBlue(ScreenBackground));
    PutText(BackBuffer, 10, 10, "エディット");
    for (const MenuEntry& entry : MenuEntries)
        if (TextButton(BackBuffer, MenuColumn, entry.Row, entry.Label, 0) == 1) chosen = entry.Action;
    return chosen;
}

void MainMenu() {
    while (NextFrame()) {
        const int chosen = DrawMainMenu();
        PresentFrame();
        if (InputEvent == 1) {
            switch (chosen) {
            case MenuEditPersons: OpenPersonList(); break;
            case MenuCreatePerson: CreatePerson(); break;
            case MenuSave: SavePersonFiles(); break;
            case MenuApplyScenario: ApplyToScenario(); break;
            default: break;
            }
        }
        EndFrame();
    }
}
