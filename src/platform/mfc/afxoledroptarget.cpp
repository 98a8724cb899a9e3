#include "afxoledroptarget.h"

#include "afxthread.h"

COleDropTarget::COleDropTarget() = default;

COleDropTarget::~COleDropTarget()
{
    Revoke();
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (!pWnd || !::IsWindow(pWnd->m_hWnd))
        return FALSE;
    Revoke();
    if (FAILED(::RegisterDragDrop(pWnd->m_hWnd, &m_xDropTarget)))
        return FALSE;
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (!m_hWnd)
        return;
    if (::IsWindow(m_hWnd))
        ::RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
    m_dataObject.Release();
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/,
                                       CPoint /*point*/)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/,
                                      CPoint /*point*/)
{
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* /*pWnd*/)
{
}

BOOL COleDropTarget::OnDrop(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/, DROPEFFECT /*dropEffect*/,
                            CPoint /*point*/)
{
    return FALSE;
}

CWnd* COleDropTarget::GetWindow(POINTL pt, CPoint* pPoint) const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return nullptr;
    *pPoint = CPoint(pt.x, pt.y);
    ::ScreenToClient(m_hWnd, pPoint);
    return CWnd::FromHandle(m_hWnd);
}

template <class TStep>
HRESULT COleDropTarget::RunStep(TStep step)
{
    // The system calls in from its drag loop: nothing may leave through it.
    try {
        step();
        return S_OK;
    } catch (...) {
        MSG msg = {m_hWnd, WM_NULL, 0, 0, 0, {0, 0}};
        AfxProcessCurrentException(&msg);
        return E_UNEXPECTED;
    }
}

// The COM interface

STDMETHODIMP COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *ppv = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// The object lives with its owner, not by its references: the counts only keep the system's calls honest.
STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::AddRef()
{
    return ++m_pOwner->m_nInterfaceRefs;
}

STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::Release()
{
    return m_pOwner->m_nInterfaceRefs ? --m_pOwner->m_nInterfaceRefs : 0;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                     DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_POINTER;
    DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    COleDropTarget* pOwner = m_pOwner;
    return pOwner->RunStep([&] {
        pOwner->m_dataObject.Release();
        if (pDataObj) {
            pDataObj->AddRef();
            pOwner->m_dataObject.Attach(pDataObj, TRUE);
        }
        CPoint point;
        if (CWnd* pWnd = pOwner->GetWindow(pt, &point))
            *pdwEffect = pOwner->OnDragEnter(pWnd, &pOwner->m_dataObject, grfKeyState, point) & dwAllowed;
    });
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_POINTER;
    DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    COleDropTarget* pOwner = m_pOwner;
    return pOwner->RunStep([&] {
        CPoint point;
        if (CWnd* pWnd = pOwner->GetWindow(pt, &point))
            *pdwEffect = pOwner->OnDragOver(pWnd, &pOwner->m_dataObject, grfKeyState, point) & dwAllowed;
    });
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave()
{
    COleDropTarget* pOwner = m_pOwner;
    return pOwner->RunStep([&] {
        CPoint point;
        if (CWnd* pWnd = pOwner->GetWindow(POINTL{0, 0}, &point))
            pOwner->OnDragLeave(pWnd);
        pOwner->m_dataObject.Release();
    });
}

STDMETHODIMP COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_POINTER;
    DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    COleDropTarget* pOwner = m_pOwner;
    HRESULT hr = pOwner->RunStep([&] {
        CPoint point;
        CWnd* pWnd = pOwner->GetWindow(pt, &point);
        if (!pWnd)
            return;
        COleDataObject data;
        if (pDataObj) {
            pDataObj->AddRef();
            data.Attach(pDataObj, TRUE);
        }
        DROPEFFECT effect = pOwner->OnDragOver(pWnd, &data, grfKeyState, point) & dwAllowed;
        if (effect != DROPEFFECT_NONE && pOwner->OnDrop(pWnd, &data, effect, point))
            *pdwEffect = effect;
        else
            pOwner->OnDragLeave(pWnd);
    });
    m_pOwner->m_dataObject.Release();
    return hr;
}
