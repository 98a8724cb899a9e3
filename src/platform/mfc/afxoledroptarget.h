// COleDropTarget: a window's side of OLE drag and drop. Register hooks the window up as the system's drop
// target; while data is dragged over it, the virtual steps get the data object and the point in the window's
// client coordinates and answer the drop effect. The COM interface is the object's own (GetDropTarget), so a
// caller can also drive it directly.
#pragma once

#include "afxwin.h"
#include "afxoledataobj.h"

#include <ole2.h>

// The DROPEFFECT_ values of a drag step.
typedef DWORD DROPEFFECT;

class COleDropTarget : public CCmdTarget
{
public:
    COleDropTarget();
    ~COleDropTarget() override;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // FALSE when the window is no window or the system refuses it (OLE not initialised on the thread).
    BOOL Register(CWnd* pWnd);
    void Revoke();
    BOOL IsRegistered() const { return m_hWnd != nullptr; }
    IDropTarget* GetDropTarget() { return &m_xDropTarget; }

    // The effects: DROPEFFECT_NONE (the base's answer) refuses the data.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

private:
    class XDropTarget : public IDropTarget
    {
    public:
        explicit XDropTarget(COleDropTarget* pOwner) : m_pOwner(pOwner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHODIMP DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHODIMP DragLeave() override;
        STDMETHODIMP Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

    private:
        COleDropTarget* m_pOwner;
    };

    // The window and the screen point in its client coordinates; null for a window that is gone.
    CWnd* GetWindow(POINTL pt, CPoint* pPoint) const;
    // One step of the drag, with the exception net of a callback from the system.
    template <class TStep>
    HRESULT RunStep(TStep step);

    HWND m_hWnd = nullptr;
    XDropTarget m_xDropTarget{this};
    COleDataObject m_dataObject;   // the data under the cursor, from DragEnter to DragLeave or Drop
    ULONG m_nInterfaceRefs = 0;
};
