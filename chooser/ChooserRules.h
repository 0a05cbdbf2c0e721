#pragma once
// The chooser's rules for names: which files it lists and with which image, which option
// groups a selection enables, and what OK records.
#include <string>
#include <vector>

namespace qm {

// Images of the chooser's image list.
enum ChooserImage { imageOpenFolder = 0, imageFolder = 1, imageDocuments = 2, imageSound = 3 };

// The image a file is listed with, or -1 when it is not listed: names beginning with the
// product's name (the installed copies) are hidden, and only names of a kind are listed
// (pools/FileKinds.h: ".wav", ".bmp", ".scr" and, with `pictures`, the other pictures'
// endings, each all lower or all upper case).
int ListedFileImage(const std::string& name, bool pictures);

// Which option groups a mouse click leaves enabled for the selected names; every picture
// counts as a bitmap.
struct OptionGroups {
    bool sound = false;      // 1003 and 1011
    bool wallpaper = false;  // 1035, 1032 and 1033
};
OptionGroups OptionsForSelection(const std::vector<std::string>& selected);

// What OK records from the selected names in list order.
struct ChooserSelection {
    std::vector<std::string> names;  // those of a kind
    int bmpCount = 0;                // every picture, bitmap or not
    int scrCount = 0;
    int wavCount = 0;
};
ChooserSelection RecordSelection(const std::vector<std::string>& selected, bool pictures);

}  // namespace qm
