#include "about/RunModalOnce.h"

namespace
{
// Empties the slot however the modal run ends: a slot left set would refuse the class for good.
class SlotGuard
{
  public:
    SlotGuard(CDialog** slot, CDialog& dialog) : m_slot(slot) { *m_slot = &dialog; }
    ~SlotGuard() { *m_slot = nullptr; }
    SlotGuard(const SlotGuard&) = delete;
    SlotGuard& operator=(const SlotGuard&) = delete;

  private:
    CDialog** m_slot;
};
} // namespace

int RunModalOnce(CDialog& dialog, CDialog** slot)
{
    if (CDialog* open = *slot)
    {
        if (::IsWindow(open->m_hWnd))
            ::SetForegroundWindow(open->m_hWnd);
        return kModalAlreadyOpen;
    }
    SlotGuard guard(slot, dialog);
    return static_cast<int>(dialog.CDialog::DoModal());
}
