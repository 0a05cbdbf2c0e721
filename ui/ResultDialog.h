#pragma once
// A painted modeless dialog created hidden and kept for the whole run, shown on request,
// that announces a confirmed result by posting a message to the window given at creation.
#include "ui/PaintedDialog.h"

namespace qm {

class CResultDialog : public CPaintedDialog {
public:
    // What the result window is asked to do once the dialog hides: be erased and painted
    // again whole when its turn comes, or paint at once what is waiting.
    enum class RepaintOnHide { invalidate, update };

    CResultDialog(UINT templateId, RepaintOnHide repaint);

    // Creates the window hidden, with no parent; `resultMessage` goes to `resultWindow`.
    bool Create(HWND resultWindow, UINT resultMessage);
    // Shows the dialog in front and paints it whole at once.
    void Show();

protected:
    void PostResult() const;
    void Hide();

private:
    RepaintOnHide m_repaint;
    HWND m_resultWindow = nullptr;
    UINT m_resultMessage = 0;
};

}  // namespace qm
