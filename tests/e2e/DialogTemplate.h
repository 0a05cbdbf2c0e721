#pragma once
// Reads a DIALOGEX template and a menu out of the program's own resources, so that tests
// can check the layout the program was built with.
#include <windows.h>

#include <string>
#include <vector>

namespace qm::e2e {

struct TemplateItem {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;             // -1 for the unnamed statics
    std::string className; // "Button", "Edit", "Static", "ComboBox" or the registered name
    std::string text;
};

struct DialogTemplate {
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::string title;
    WORD pointSize = 0;
    std::string font;
    std::vector<TemplateItem> items;
};

struct MenuItem {
    std::string popup;  // the top-level menu it belongs to
    UINT id = 0;        // 0 for a separator
    std::string text;
};

bool LoadDialogTemplate(const std::string& module, int id, DialogTemplate& out);

// A control a template must hold: its id (-1 for an unnamed static, found by its text),
// window class, caption, place in dialog units, and the style bits that must be set.
struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    short x, y, cx, cy;
    DWORD style = 0;
};

// Checks that the template holds exactly the expected controls, each in its place.
void ExpectControls(const DialogTemplate& dialog, const std::vector<ExpectedControl>& expected);
bool LoadMenuItems(const std::string& module, int id, std::vector<MenuItem>& out);

}  // namespace qm::e2e
