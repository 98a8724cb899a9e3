// Data dragged over the tabs of a docking window (a tabbed container, an auto-hide panel): the window brings
// the pane of the tab under the cursor forward, when its tab painter says so; the data itself is always refused.
#pragma once

#include "platform/mfc/afxoledroptarget.h"

#include <memory>
#include <utility>

class CXTPDockingPaneDropTarget : public COleDropTarget
{
public:
    class COwner
    {
    public:
        virtual ~COwner() = default;
        // Data is over the point (client coordinates).
        virtual void OnDragOverTab(CPoint point) = 0;
    };

    explicit CXTPDockingPaneDropTarget(COwner* pOwner) : m_pOwner(pOwner) {}

    // The donor's window went to the receiver: the registered object goes along and answers to the receiver's
    // owner now (registering anew costs a trip through OLE), the receiver's unused one goes to the donor.
    static void HandOver(std::unique_ptr<CXTPDockingPaneDropTarget>& pDonor,
                         std::unique_ptr<CXTPDockingPaneDropTarget>& pReceiver)
    {
        std::swap(pDonor->m_pOwner, pReceiver->m_pOwner);
        std::swap(pDonor, pReceiver);
    }

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override
    {
        return OnDragOver(pWnd, pDataObject, dwKeyState, point);
    }
    DROPEFFECT OnDragOver(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/, CPoint point) override
    {
        m_pOwner->OnDragOverTab(point);
        return DROPEFFECT_NONE;
    }

private:
    COwner* m_pOwner;
};
