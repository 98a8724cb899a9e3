#include "TxControl.h"

#include "TextLayout.h"

#include <richedit.h>

#include <algorithm>

namespace {

DWORD CALLBACK ReadBytes(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    auto* pSource = reinterpret_cast<std::pair<const std::string*, size_t>*>(dwCookie);
    const size_t nLeft = pSource->first->size() - pSource->second;
    const size_t n = nLeft < static_cast<size_t>(cb) ? nLeft : static_cast<size_t>(cb);
    memcpy(pbBuff, pSource->first->data() + pSource->second, n);
    pSource->second += n;
    *pcb = static_cast<LONG>(n);
    return 0;
}

} // namespace

DWORD TxFormattingKey(UINT nKey, bool bShift)
{
    switch (nKey) {
    case 'B':
        return bShift ? 0 : CFE_BOLD;
    case 'I':
        return bShift ? 0 : CFE_ITALIC;
    case 'U':
        return bShift ? 0 : CFE_UNDERLINE;
    // Alignment, line spacing, bullets, sub- and superscript, font size and capitals.
    case 'L':
    case 'E':
    case 'R':
    case 'J':
    case '1':
    case '2':
    case '5':
    case VK_OEM_PLUS:
        return txKeyIgnored;
    case VK_OEM_PERIOD:
    case VK_OEM_COMMA:
    case 'A':
        return bShift ? txKeyIgnored : 0;
    default:
        return 0;
    }
}

BEGIN_MESSAGE_MAP(CTX4OLE, CWnd)
    ON_CONTROL_REFLECT_EX(EN_CHANGE, &CTX4OLE::OnChange)
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PASTE, &CTX4OLE::OnPaste)
END_MESSAGE_MAP()

CTX4OLE::CTX4OLE() = default;

CTX4OLE::~CTX4OLE()
{
    DestroyWindow();
}

BOOL CTX4OLE::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    static const HMODULE s_hRichEdit = ::LoadLibraryW(L"riched20.dll");
    if (!s_hRichEdit)
        return FALSE;
    if (!CWnd::Create(RICHEDIT_CLASSW, nullptr,
                      dwStyle | WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL |
                          ES_SAVESEL | ES_WANTRETURN,
                      rect, pParentWnd, nID))
        return FALSE;
    SendMessage(EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    ShowDocument();
    return TRUE;
}

void CTX4OLE::LoadDocument(LPCTSTR pszPath)
{
    CTextDocument doc;
    doc.Load(pszPath);
    doc.PageSetup() = m_doc.PageSetup();
    m_doc = doc;
    ShowDocument();
}

void CTX4OLE::SetDocument(const CTextDocument& doc)
{
    const CTextPageSetup page = m_doc.PageSetup();
    m_doc = doc;
    m_doc.PageSetup() = page;
    ShowDocument();
}

void CTX4OLE::NewDocument()
{
    const CTextPageSetup page = m_doc.PageSetup();
    m_doc.New();
    m_doc.PageSetup() = page;
    ShowDocument();
}

void CTX4OLE::InsertDocument(const CTextDocument& doc)
{
    // The model joins the two documents; the control then shows the result with the caret after the insertion.
    const long nAt = m_doc.GetSelStart() + m_doc.GetSelLength();
    const long nInserted = doc.GetLength();
    CTextDocument joined;
    joined.AppendRange(m_doc, 0, nAt);
    joined.AppendRange(doc, 0, nInserted);
    joined.AppendRange(m_doc, nAt, m_doc.GetLength());
    joined.PageSetup() = m_doc.PageSetup();
    joined.SetSel(nAt + nInserted, 0);
    m_doc = joined;
    ShowDocument();
}

void CTX4OLE::SetSel(long nStart, long nLength)
{
    m_doc.SetSel(nStart, nLength);
    if (m_hWnd)
        SendMessage(EM_SETSEL, ShownPos(m_doc.GetSelStart()), ShownPos(m_doc.GetSelStart() + m_doc.GetSelLength()));
}

void CTX4OLE::ShowDocument()
{
    m_nPendingAt = -1;
    if (!m_hWnd)
        return;
    m_bShowing = true;
    const std::string rtf = m_doc.SaveToBytes(txdFormatRtf);
    std::pair<const std::string*, size_t> source(&rtf, 0);
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadBytes;
    SendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    // A page break the control read as a paragraph end is put back as the character the model holds.
    m_strShown = ReadControlText();
    MapShownText();
    const CString& text = m_doc.GetText();
    for (int p = text.Find(L'\x0C'); p >= 0; p = text.Find(L'\x0C', p + 1)) {
        const long nShown = ShownPos(p);
        if (nShown < m_strShown.GetLength() && m_strShown[nShown] != L'\x0C') {
            SendMessage(EM_SETSEL, nShown, nShown + 1);
            SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\x0C"));
        }
    }
    m_strShown = ReadControlText();
    MapShownText();
    m_bShowing = false;
    // Whatever the control adds of its own (a closing paragraph mark) becomes part of the model too.
    OnChange();
    SendMessage(EM_SETSEL, ShownPos(m_doc.GetSelStart()), ShownPos(m_doc.GetSelStart() + m_doc.GetSelLength()));
    SendMessage(EM_SETREADONLY, m_bLocked);
    // The parent hears of the user's changes and of the caret's moves.
    SendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

CString CTX4OLE::ReadControlText() const
{
    GETTEXTLENGTHEX length = {GTL_DEFAULT | GTL_NUMCHARS, 1200};
    const LRESULT nLength = SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    CString text;
    if (nLength <= 0)
        return text;
    GETTEXTEX get = {};
    get.cb = static_cast<DWORD>((nLength + 1) * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    LPWSTR pBuffer = text.GetBuffer(static_cast<int>(nLength) + 1);
    const LRESULT nRead = SendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(pBuffer));
    text.ReleaseBuffer(static_cast<int>(nRead));
    return text;
}

BOOL CTX4OLE::OnChange()
{
    if (m_bShowing)
        return TRUE;   // the parent hears of changes the user makes, not of loading
    const CString now = ReadControlText();
    const int nOld = m_strShown.GetLength();
    const int nNew = now.GetLength();
    int nPrefix = 0;
    while (nPrefix < nOld && nPrefix < nNew && m_strShown[nPrefix] == now[nPrefix])
        ++nPrefix;
    int nSuffix = 0;
    while (nSuffix < nOld - nPrefix && nSuffix < nNew - nPrefix &&
           m_strShown[nOld - 1 - nSuffix] == now[nNew - 1 - nSuffix])
        ++nSuffix;
    if (nPrefix < nOld || nPrefix < nNew) {
        const long nStart = ModelPos(nPrefix);
        const long nEnd = std::max(nStart, ModelPos(nOld - nSuffix));
        // The control's own marks of rows are no text of the document.
        CString inserted = now.Mid(nPrefix, nNew - nPrefix - nSuffix);
        inserted.Remove(L'\n');
        inserted.Remove(wchar_t(0xFFF9));
        inserted.Remove(wchar_t(0xFFFB));
        m_doc.SetSel(nStart, nEnd - nStart);
        m_doc.ReplaceSel(inserted);
        const long nInserted = m_doc.GetSelStart() - nStart;
        if (m_nPendingAt == nPrefix && nInserted > 0) {
            m_doc.SetSel(nStart, nInserted);
            m_doc.SetSelCharFormat(m_pendingFormat);
            m_doc.SetSel(nStart + nInserted, 0);
        }
        m_nPendingAt = -1;
    }
    m_strShown = now;
    MapShownText();
    return FALSE;
}

void CTX4OLE::MapShownText()
{
    const CString& model = m_doc.GetText();
    const CString& shown = m_strShown;
    const long nModel = model.GetLength(), nShown = shown.GetLength();
    m_modelToShown.assign(static_cast<size_t>(nModel) + 1, nShown);
    m_shownToModel.assign(static_cast<size_t>(nShown) + 1, nModel);
    auto same = [](wchar_t m, wchar_t c) {
        return m == c || (m == kTxCellEnd && c == L'\t') || ((m == L'\x0C' || m == L'\v') && c == L'\r');
    };
    auto controlMark = [](wchar_t c) {
        return c == L'\r' || c == L'\n' || c == L'\t' || c == kTxCellEnd || c == 0xFFF9 || c == 0xFFFB;
    };
    long i = 0, j = 0;
    while (i < nModel || j < nShown) {
        if (i < nModel && j < nShown && same(model[i], shown[j])) {
            m_modelToShown[static_cast<size_t>(i++)] = j;
            m_shownToModel[static_cast<size_t>(j++)] = i - 1;
        }
        else if (j < nShown && (controlMark(shown[j]) || i >= nModel)) {
            m_shownToModel[static_cast<size_t>(j++)] = i;
        }
        else {
            m_modelToShown[static_cast<size_t>(i++)] = j;
        }
    }
}

long CTX4OLE::ModelPos(long nShown) const
{
    if (m_shownToModel.empty())
        return nShown;
    return m_shownToModel[static_cast<size_t>(std::clamp(nShown, 0L, static_cast<long>(m_shownToModel.size()) - 1))];
}

long CTX4OLE::ShownPos(long nModel) const
{
    if (m_modelToShown.empty())
        return nModel;
    return m_modelToShown[static_cast<size_t>(std::clamp(nModel, 0L, static_cast<long>(m_modelToShown.size()) - 1))];
}

void CTX4OLE::OnKeyDown(UINT nChar, UINT, UINT)
{
    m_bSwallowChar = false;
    const bool bAlt = ::GetKeyState(VK_MENU) < 0;
    const bool bCtrl = ::GetKeyState(VK_CONTROL) < 0 && !bAlt;
    const bool bShift = ::GetKeyState(VK_SHIFT) < 0;
    // The control pastes by these keys without a WM_PASTE of its own.
    if ((bCtrl && !bShift && nChar == 'V') || (!bCtrl && !bAlt && bShift && nChar == VK_INSERT)) {
        OnPaste(0, 0);
        m_bSwallowChar = bCtrl;
        return;
    }
    const DWORD dwAction = bCtrl ? TxFormattingKey(nChar, bShift) : 0;
    if (!dwAction) {
        Default();
        return;
    }
    if (dwAction != txKeyIgnored)
        ToggleSelectionEffect(dwAction);
    // Ctrl+I also makes a tab character: the key has done its work.
    m_bSwallowChar = true;
}

void CTX4OLE::OnChar(UINT, UINT, UINT)
{
    if (m_bSwallowChar) {
        m_bSwallowChar = false;
        return;
    }
    Default();
}

LRESULT CTX4OLE::OnPaste(WPARAM, LPARAM)
{
    if (!m_bLocked)
        SendMessage(EM_PASTESPECIAL, CF_UNICODETEXT, 0);
    return 0;
}

void CTX4OLE::OnPaint()
{
    Default();
    if (m_strShown.Find(L'\x0C') < 0)
        return;
    HDC hdc = ::GetDC(m_hWnd);
    ::HideCaret(m_hWnd);
    DrawPageBreaks(hdc);
    ::ShowCaret(m_hWnd);
    ::ReleaseDC(m_hWnd, hdc);
}

void CTX4OLE::DrawPageBreaks(HDC hdc) const
{
    RECT rcText = {};
    SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rcText));
    const int nSaved = ::SaveDC(hdc);
    ::IntersectClipRect(hdc, rcText.left, rcText.top, rcText.right, rcText.bottom);
    HPEN hPen = ::CreatePen(PS_DOT, 1, ::GetSysColor(COLOR_GRAYTEXT));
    ::SelectObject(hdc, hPen);
    ::SetBkMode(hdc, OPAQUE);
    ::SetBkColor(hdc, ::GetSysColor(COLOR_WINDOW));
    const int nDpi = ::GetDeviceCaps(hdc, LOGPIXELSY);
    for (int p = m_strShown.Find(L'\x0C'); p >= 0; p = m_strShown.Find(L'\x0C', p + 1)) {
        POINTL pt = {}, ptNext = {};
        SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), p);
        SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&ptNext), p + 1);
        // The line's height: down to the next line, or the font's height on the last one.
        int cyLine = ::MulDiv(m_doc.GetCharFormat(ModelPos(p)).nHalfPoints, nDpi, 144) * 5 / 4;
        const LRESULT nLine = SendMessage(EM_EXLINEFROMCHAR, 0, p);
        const LRESULT nNextLine = SendMessage(EM_LINEINDEX, nLine + 1, 0);
        if (nNextLine > p) {
            POINTL ptLine = {};
            SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&ptLine), nNextLine);
            if (ptLine.y > pt.y)
                cyLine = ptLine.y - pt.y;
        }
        const int cxGlyph = ptNext.y == pt.y && ptNext.x > pt.x ? ptNext.x - pt.x : cyLine / 2;
        const RECT rcGlyph = {pt.x, pt.y, pt.x + cxGlyph, pt.y + cyLine};
        ::FillRect(hdc, &rcGlyph, ::GetSysColorBrush(COLOR_WINDOW));
        ::MoveToEx(hdc, rcText.left, pt.y, nullptr);
        ::LineTo(hdc, rcText.right, pt.y);
    }
    ::RestoreDC(hdc, nSaved);
    ::DeleteObject(hPen);
}

void CTX4OLE::SetLocked(bool bLocked)
{
    m_bLocked = bLocked;
    if (m_hWnd)
        SendMessage(EM_SETREADONLY, bLocked);
}

void CTX4OLE::ToggleSelectionEffect(DWORD dwEffect)
{
    if (m_bLocked)
        return;
    CHARRANGE range = {};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const bool bAtCaret = range.cpMin == range.cpMax;
    // At the caret, the text typed next takes the format of the character before it (or the one toggled there).
    const long nMin = ModelPos(range.cpMin), nMax = ModelPos(range.cpMax);
    CTextCharFormat format = bAtCaret && m_nPendingAt == range.cpMin ? m_pendingFormat
                             : bAtCaret && nMin > 0              ? m_doc.GetCharFormat(nMin - 1)
                                                                 : m_doc.GetCharFormat(nMin);
    bool* pFlag = dwEffect == CFE_BOLD ? &format.bBold : dwEffect == CFE_ITALIC ? &format.bItalic : &format.bUnderline;
    *pFlag = !*pFlag;
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = dwEffect == CFE_BOLD ? CFM_BOLD : dwEffect == CFE_ITALIC ? CFM_ITALIC : CFM_UNDERLINE;
    cf.dwEffects = *pFlag ? dwEffect : 0;
    SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    if (bAtCaret) {
        m_nPendingAt = range.cpMin;
        m_pendingFormat = format;
        return;   // nothing changed yet
    }
    m_doc.SetSel(nMin, nMax - nMin);
    m_doc.SetSelCharFormat(format);
    // A change of format is a change of the document for whoever listens.
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_CHANGE), reinterpret_cast<LPARAM>(m_hWnd));
}

int CTX4OLE::GetCaretPage() const
{
    CHARRANGE range = {};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const CString& text = m_doc.GetText();
    int nPage = 1;
    for (int p = text.Find(L'\x0C'); p >= 0 && p < ModelPos(range.cpMin); p = text.Find(L'\x0C', p + 1))
        ++nPage;
    return nPage;
}

int CTX4OLE::GetPageCount() const
{
    return CTextLayout(m_doc).GetPageCount();
}

int CTX4OLE::Print(HDC hdc, LPCTSTR pszTitle, int nFirst, int nLast, int nCopies, CTxPrintJob* pJob) const
{
    CTxPrintJob printerJob;
    if (!pJob)
        pJob = &printerJob;
    const CTextLayout layout(m_doc);
    const int nPages = layout.GetPageCount();
    const int nFrom = nFirst < 1 ? 1 : nFirst;
    const int nTo = nLast < 1 || nLast > nPages ? nPages : nLast;
    if (nFrom > nTo || !pJob->Start(hdc, pszTitle))
        return 0;
    int nSent = 0;
    for (int nCopy = 0; nCopy < (nCopies < 1 ? 1 : nCopies); ++nCopy) {
        for (int nPage = nFrom; nPage <= nTo; ++nPage, ++nSent) {
            if (!pJob->StartPage(hdc)) {
                pJob->Abort(hdc);
                return 0;
            }
            layout.DrawPage(hdc, nPage - 1);
            if (!pJob->EndPage(hdc)) {
                pJob->Abort(hdc);
                return 0;
            }
        }
    }
    return pJob->End(hdc) ? nSent : 0;
}

bool CTxPrintJob::Start(HDC hdc, LPCTSTR pszTitle)
{
    DOCINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpszDocName = pszTitle;
    return ::StartDocW(hdc, &info) > 0;
}

bool CTxPrintJob::StartPage(HDC hdc)
{
    return ::StartPage(hdc) > 0;
}

bool CTxPrintJob::EndPage(HDC hdc)
{
    return ::EndPage(hdc) > 0;
}

bool CTxPrintJob::End(HDC hdc)
{
    return ::EndDoc(hdc) > 0;
}

void CTxPrintJob::Abort(HDC hdc)
{
    ::AbortDoc(hdc);
}
