#include "ui/persist/ResourceLoaderXml.h"

#include "ui/persist/PropExchangeXml.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace
{
const WORD kMenuEnd = 0x0080; // MF_END

// What the file describes, read before the in-memory templates are built.
struct XTP_XML_MENUITEM
{
    WORD wOption;
    WORD wID;
    CString strCaption;
};

struct XTP_XML_DLGITEM
{
    DWORD dwStyle;
    DWORD dwExStyle;
    CRect rcPosition; // x, y, cx, cy in dialog units
    WORD wID;
    CString strCaption;
    CString strClass;
    int nResource; // not 0: an ordinal title
};
struct XTP_XML_DIALOG
{
    DWORD dwStyle;
    DWORD dwExStyle;
    CRect rcPosition; // x, y, cx, cy in dialog units
    CString strCaption;
    CString strFontFace;
    WORD wPointSize;
    std::vector<XTP_XML_DLGITEM> controls;
};

class CTemplateWriter
{
public:
    void Word(WORD w) { Append(&w, sizeof(w)); }
    void DWord(DWORD dw) { Append(&dw, sizeof(dw)); }
    void Text(LPCWSTR lpsz) { Append(lpsz, (std::wcslen(lpsz) + 1) * sizeof(WCHAR)); }
    void AlignToDWord() { m_bytes.resize((m_bytes.size() + 3) & ~size_t(3)); }
    std::vector<BYTE>& Bytes() { return m_bytes; }

private:
    void Append(const void* pData, size_t nBytes)
    {
        const BYTE* p = static_cast<const BYTE*>(pData);
        m_bytes.insert(m_bytes.end(), p, p + nBytes);
    }
    std::vector<BYTE> m_bytes;
};

// Font faces and class names pass through the C runtime's multibyte form, as the file's narrow texts; FALSE
// when a character has none (a conversion that fails, or one that substitutes and so does not come back).
BOOL ToRuntimeWide(const CString& str, std::wstring& strWide)
{
    const size_t nNarrow = std::wcstombs(nullptr, str, 0);
    if (nNarrow == static_cast<size_t>(-1))
        return FALSE;
    std::string strNarrow(nNarrow, '\0');
    std::wcstombs(&strNarrow[0], str, nNarrow + 1);
    const size_t nWide = std::mbstowcs(nullptr, strNarrow.c_str(), 0);
    if (nWide == static_cast<size_t>(-1))
        return FALSE;
    strWide.assign(nWide, L'\0');
    std::mbstowcs(&strWide[0], strNarrow.c_str(), nWide + 1);
    return strWide == str.str();
}

CString IdQuery(LPCTSTR lpszElement, UINT nID)
{
    CString strQuery;
    strQuery.Format(L"%s[@id = \"%i\"]", lpszElement, static_cast<int>(nID));
    return strQuery;
}

// Depth first in document order: an item, then its children; the last item of each level ends it.
void CollectMenuItems(CXTPPropExchange* pSection, std::vector<XTP_XML_MENUITEM>& items)
{
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pSection->GetEnumerator(L"menuitem"));
    POSITION pos = pEnumerator->GetPosition();
    while (pos) {
        CXTPPropExchangeSection pxItem(pEnumerator->GetNext(pos));
        int nID = 0;
        XTP_XML_MENUITEM item = {0, 0, CString()};
        ExchangeInt(&pxItem, L"id", nID, 0);
        ExchangeString(&pxItem, L"caption", item.strCaption, L"");
        item.wID = static_cast<WORD>(nID);
        if (!pos)
            item.wOption |= kMenuEnd;
        const size_t nIndex = items.size();
        items.push_back(item);
        CollectMenuItems(&pxItem, items);
        if (items.size() > nIndex + 1)
            items[nIndex].wOption |= MF_POPUP;
        else if (item.wID == 0)
            items[nIndex].wOption |= MF_SEPARATOR;
    }
}

// A dialog template reads a point size of 0x7FFF as "no face name follows", and keeps its control count in a WORD:
// a file's dialog outside these limits is refused rather than built into a template read otherwise.
const int kMinPointSize = 1;
const int kMaxPointSize = 72;
const size_t kMaxControls = 0xFFFF;

BOOL ReadDialog(CXTPPropExchange* pSection, XTP_XML_DIALOG& dialog)
{
    int nPointSize = 8;
    ExchangeDWord(pSection, L"style", dialog.dwStyle, 0);
    dialog.dwStyle |= DS_SETFONT;
    ExchangeDWord(pSection, L"styleex", dialog.dwExStyle, 0);
    ExchangeRect(pSection, L"position", dialog.rcPosition, CRect(0, 0, 0, 0));
    ExchangeString(pSection, L"caption", dialog.strCaption, L"");
    ExchangeString(pSection, L"fontface", dialog.strFontFace, L"MS Sans Serif");
    ExchangeInt(pSection, L"fontsize", nPointSize, 8);
    if (nPointSize < kMinPointSize || nPointSize > kMaxPointSize)
        return FALSE;
    dialog.wPointSize = static_cast<WORD>(nPointSize);

    std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pSection->GetEnumerator(L"control"));
    POSITION pos = pEnumerator->GetPosition();
    while (pos) {
        if (dialog.controls.size() == kMaxControls)
            return FALSE;
        CXTPPropExchangeSection pxControl(pEnumerator->GetNext(pos));
        XTP_XML_DLGITEM control = {};
        int nID = -1;
        ExchangeDWord(&pxControl, L"style", control.dwStyle, WS_CHILD | WS_VISIBLE | WS_GROUP);
        ExchangeDWord(&pxControl, L"styleex", control.dwExStyle, 0);
        ExchangeRect(&pxControl, L"position", control.rcPosition, CRect(0, 0, 0, 0));
        ExchangeString(&pxControl, L"caption", control.strCaption, L"");
        ExchangeString(&pxControl, L"class", control.strClass, L"STATIC");
        ExchangeInt(&pxControl, L"id", nID, -1);
        ExchangeInt(&pxControl, L"resource", control.nResource, 0);
        control.wID = static_cast<WORD>(nID);
        dialog.controls.push_back(control);
    }
    return TRUE;
}

// The rectangle's four numbers are x, y, cx, cy.
void WritePosition(CTemplateWriter& writer, const CRect& rc)
{
    writer.Word(static_cast<WORD>(rc.left));
    writer.Word(static_cast<WORD>(rc.top));
    writer.Word(static_cast<WORD>(rc.right));
    writer.Word(static_cast<WORD>(rc.bottom));
}

// A MENUITEMTEMPLATEHEADER and the items, then a closing WORD 0x0080.
std::vector<BYTE> BuildMenuTemplate(const std::vector<XTP_XML_MENUITEM>& items)
{
    CTemplateWriter writer;
    writer.Word(0); // version
    writer.Word(0); // offset
    for (const XTP_XML_MENUITEM& item : items) {
        writer.Word(item.wOption);
        if (!(item.wOption & MF_POPUP))
            writer.Word(item.wID);
        writer.Text(item.strCaption);
    }
    writer.Word(kMenuEnd);
    return std::move(writer.Bytes());
}

// A DLGTEMPLATE with its font and DLGITEMTEMPLATEs; empty when a font face or class name has no multibyte form
// in the C runtime's locale.
std::vector<DWORD> BuildDialogTemplate(const XTP_XML_DIALOG& dialog)
{
    CTemplateWriter writer;
    std::wstring strFace;
    if (!ToRuntimeWide(dialog.strFontFace, strFace))
        return {};
    writer.DWord(dialog.dwStyle);
    writer.DWord(dialog.dwExStyle);
    writer.Word(static_cast<WORD>(dialog.controls.size()));
    WritePosition(writer, dialog.rcPosition);
    writer.Word(0); // no menu
    writer.Word(0); // the dialog class
    writer.Text(dialog.strCaption);
    writer.Word(dialog.wPointSize);
    writer.Text(strFace.c_str());

    for (const XTP_XML_DLGITEM& control : dialog.controls) {
        std::wstring strClass;
        if (!ToRuntimeWide(control.strClass, strClass))
            return {};
        writer.AlignToDWord();
        writer.DWord(control.dwStyle);
        writer.DWord(control.dwExStyle);
        WritePosition(writer, control.rcPosition);
        writer.Word(control.wID);
        writer.Text(strClass.c_str());
        if (control.nResource != 0) {
            writer.Word(0xFFFF);
            writer.Word(static_cast<WORD>(control.nResource));
        } else {
            writer.Text(control.strCaption);
        }
        writer.Word(0); // no creation data
    }
    writer.AlignToDWord();

    const std::vector<BYTE>& bytes = writer.Bytes();
    std::vector<DWORD> block(bytes.size() / sizeof(DWORD));
    std::memcpy(block.data(), bytes.data(), bytes.size());
    return block;
}
}

CXTPResourceLoaderXML::CXTPResourceLoaderXML(LPCTSTR lpszFileName)
{
    m_pResourceNode = new CXTPPropExchangeXMLNode(TRUE, nullptr, L"resource");
    try {
        m_bValid = m_pResourceNode->LoadFromFile(lpszFileName) && m_pResourceNode->OnBeforeExchange();
    } catch (const _com_error&) {
        m_bValid = FALSE;
    }
}

CXTPResourceLoaderXML::CXTPResourceLoaderXML(CXTPPropExchangeXMLNode* pResourceNode) : m_pResourceNode(pResourceNode)
{
    try {
        m_bValid = pResourceNode && pResourceNode->OnBeforeExchange();
    } catch (const _com_error&) {
        m_bValid = FALSE;
    }
}

CXTPResourceLoaderXML::~CXTPResourceLoaderXML()
{
    Close();
}

BOOL CXTPResourceLoaderXML::LoadString(CString* pString, UINT nID)
{
    if (m_bValid && m_pResourceNode) {
        try {
            if (CXTPPropExchangeXMLNode* pSection = m_pResourceNode->SelectSection(IdQuery(L"string", nID))) {
                CXTPPropExchangeSection pxString(pSection);
                CString strValue;
                ExchangeString(&pxString, L"value", strValue, L"");
                *pString = strValue;
                return TRUE;
            }
        } catch (const _com_error&) {
            // A document the store cannot walk answers as if the string were not in it.
        }
    }
    return CXTPResourceLoader::LoadString(pString, nID);
}

BOOL CXTPResourceLoaderXML::LoadMenu(CMenu* pMenu, UINT nID)
{
    std::vector<XTP_XML_MENUITEM> items;
    if (m_bValid && m_pResourceNode) {
        try {
            if (CXTPPropExchangeXMLNode* pSection = m_pResourceNode->SelectSection(IdQuery(L"menu", nID))) {
                CXTPPropExchangeSection pxMenu(pSection);
                CollectMenuItems(&pxMenu, items);
            }
        } catch (const _com_error&) {
            items.clear();
        }
    }
    if (items.empty())
        return CXTPResourceLoader::LoadMenu(pMenu, nID);
    const std::vector<BYTE> block = BuildMenuTemplate(items);
    return pMenu->Attach(::LoadMenuIndirectW(block.data()));
}

LPCDLGTEMPLATE CXTPResourceLoaderXML::LoadDialogTemplate(UINT nID)
{
    if (LPCDLGTEMPLATE pTemplate = LoadTemplateFromFile(nID))
        return pTemplate;
    return CXTPResourceLoader::LoadDialogTemplate(nID);
}

LPCDLGTEMPLATE CXTPResourceLoaderXML::LoadTemplateFromFile(UINT nID)
{
    if (!m_bValid || !m_pResourceNode)
        return nullptr;
    auto it = m_mapDialogTemplates.find(nID);
    if (it != m_mapDialogTemplates.end())
        return reinterpret_cast<LPCDLGTEMPLATE>(it->second.data());

    XTP_XML_DIALOG dialog = {};
    try {
        CXTPPropExchangeXMLNode* pSection = m_pResourceNode->SelectSection(IdQuery(L"dialog", nID));
        if (!pSection)
            return nullptr;
        CXTPPropExchangeSection pxDialog(pSection);
        if (!ReadDialog(&pxDialog, dialog))
            return nullptr;
    } catch (const _com_error&) {
        return nullptr;
    }
    std::vector<DWORD> block = BuildDialogTemplate(dialog);
    if (block.empty())
        return nullptr;
    return reinterpret_cast<LPCDLGTEMPLATE>(m_mapDialogTemplates.emplace(nID, std::move(block)).first->second.data());
}

void CXTPResourceLoaderXML::Close()
{
    CXTPResourceLoader::Close();
    if (m_pResourceNode) {
        m_pResourceNode->InternalRelease();
        m_pResourceNode = nullptr;
    }
    m_mapDialogTemplates.clear();
    m_bValid = FALSE;
}
