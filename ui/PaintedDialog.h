#pragma once
// A dialog that covers its client area with the stretched background texture, draws the
// captions of its static texts, check boxes and group boxes transparently over it, and
// shows pictures on its buttons. Where the texture or a picture cannot be loaded, the
// dialog keeps the plain dialog colour and the control keeps its text caption.
#include <map>

#include "ui/DialogBase.h"

namespace qm {

class CPaintedDialog : public CDialogBase {
public:
    using CDialogBase::CDialogBase;
    ~CPaintedDialog() override;

protected:
    // From the dialog's own initialisation, before the pictures are set.
    void InitBackground();
    virtual BOOL OnEraseBkgnd(HDC dc);
    // The brush for a control-colour query; nullptr lets the platform use its own colours.
    HBRUSH OnCtlColor(HDC dc, HWND control, int kind);
    // Loads bitmap `bitmapId` and shows it on control `controlId`, releasing the picture the
    // control showed before; the dialog keeps its pictures until it is destroyed. The
    // control remembers the picture's id in its user data, so that the face it shows can be
    // told from outside. Returns false and keeps the caption when the picture cannot be loaded.
    bool SetPicture(int controlId, int bitmapId);
    void ReleaseBackground();
    // Releases the background; a dialog with more to release calls it too.
    void OnDestroy() override;
    // Whether the client rectangle is read again at every erase (dialogs that may change size).
    bool m_bReadClientOnErase = false;

    HDC m_dcMem = nullptr;
    HBITMAP m_bmpBackground = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    HBRUSH m_hBrush = nullptr;
    BITMAP m_bmInfo = {};
    POINT m_ptOrigin = {};
    SIZE m_sizeClient = {};

private:
    // Erase-background and control-colour messages, answered before the dialog's own handler.
    bool PreRoute(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    std::map<int, HBITMAP> m_pictures;  // the picture each control shows, by control id
};

}  // namespace qm
