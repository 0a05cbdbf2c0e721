#include "ui/FileListImages.h"

#include <initializer_list>

#include "resources/resource.h"

namespace qm {

HIMAGELIST CreateFileListImages(HINSTANCE instance) {
    HIMAGELIST images = ImageList_Create(17, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
    if (!images) return nullptr;
    ImageList_SetBkColor(images, GetSysColor(COLOR_WINDOW));
    // The icons' own small images, not their large ones scaled down.
    for (int icon : {IDI_FOLDER_OPEN, IDI_FOLDER_CLOSED, IDI_DOCUMENTS, IDI_SPEAKER}) {
        HICON handle = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, 0));
        ImageList_AddIcon(images, handle);
        if (handle) DestroyIcon(handle);
    }
    return images;
}

}  // namespace qm
