#include "ui/ResultDialog.h"

namespace qm {

CResultDialog::CResultDialog(UINT templateId, RepaintOnHide repaint) : CPaintedDialog(templateId), m_repaint(repaint) {}

bool CResultDialog::Create(HWND resultWindow, UINT resultMessage) {
    m_resultWindow = resultWindow;
    m_resultMessage = resultMessage;
    return CreateModeless(nullptr);
}

void CResultDialog::Show() {
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CResultDialog::PostResult() const {
    if (m_resultWindow) PostMessageA(m_resultWindow, m_resultMessage, 0, 0);
}

void CResultDialog::Hide() {
    ShowWindow(m_hWnd, SW_HIDE);
    if (!m_resultWindow) return;
    if (m_repaint == RepaintOnHide::invalidate) InvalidateRect(m_resultWindow, nullptr, TRUE);
    else UpdateWindow(m_resultWindow);
}

}  // namespace qm
