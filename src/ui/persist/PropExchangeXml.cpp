#include "PropExchangeXml.h"

#include <cwchar>
#include <memory>
#include <string>

IMPLEMENT_DYNAMIC(CXTPPropExchangeXMLNode, CXTPPropExchange)

namespace
{
const CLSID CLSID_XTPDOMDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

void Check(HRESULT hr)
{
    if (FAILED(hr) && hr != E_NOINTERFACE)
        _com_issue_error(hr);
}

IXMLDOMDocumentPtr NewDocument()
{
    IUnknown* pUnknown = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_XTPDOMDocument, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                  IID_IUnknown, reinterpret_cast<void**>(&pUnknown))) || !pUnknown)
        return nullptr;
    IXMLDOMDocumentPtr xmlDoc;
    if (SUCCEEDED(::OleRun(pUnknown)))
        pUnknown->QueryInterface(__uuidof(IXMLDOMDocument), reinterpret_cast<void**>(&xmlDoc));
    pUnknown->Release();
    return xmlDoc;
}

// The system's parser copies the version of an XML declaration into a small buffer of its own and overruns it
// with a long one. It takes no version but "1." and digits anyway: a longer one than any file has is refused
// before the parser sees it.
const size_t kMaxVersionLength = 10;

// Whether the text (NUL-ended) opens with an XML declaration whose version is longer than that.
bool HasLongVersion(const wchar_t* p)
{
    auto skipSpace = [&p] {
        const wchar_t* start = p;
        while (*p == L' ' || *p == L'\t' || *p == L'\r' || *p == L'\n')
            ++p;
        return p != start;
    };
    if (*p == 0xFEFF)
        ++p;
    skipSpace();
    if (std::wcsncmp(p, L"<?xml", 5) != 0)
        return false;
    p += 5;
    if (!skipSpace() || std::wcsncmp(p, L"version", 7) != 0)
        return false;
    p += 7;
    skipSpace();
    if (*p++ != L'=')
        return false;
    skipSpace();
    wchar_t chQuote = *p++;
    if (chQuote != L'"' && chQuote != L'\'')
        return false;
    const wchar_t* pValue = p;
    while (*p && *p != chQuote)
        ++p;
    return static_cast<size_t>(p - pValue) > kMaxVersionLength;
}

// The file's text as the parser finds its declaration: UTF-16 in either order (by its mark or by "<" as the
// first unit), or else one character per byte, which is enough for the declaration's ASCII. Empty when the file
// cannot be read.
std::wstring FileText(LPCTSTR lpszFileName)
{
    CFile file;
    if (!file.Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite))
        return std::wstring();
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    bytes.resize(bytes.empty() ? 0 : file.Read(&bytes[0], static_cast<UINT>(bytes.size())));
    auto starts = [&bytes](const char* pszMark) { return bytes.compare(0, 2, pszMark, 2) == 0; };
    bool bLittle = starts("\xFF\xFE") || starts("<\0");
    bool bBig = starts("\xFE\xFF") || starts("\0<");
    std::wstring text;
    if (bLittle || bBig) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            auto chFirst = static_cast<unsigned char>(bytes[i]), chSecond = static_cast<unsigned char>(bytes[i + 1]);
            text += static_cast<wchar_t>(bLittle ? chFirst | chSecond << 8 : chFirst << 8 | chSecond);
        }
    } else {
        // A UTF-8 mark is not white space to the scan: it goes.
        size_t nStart = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        for (size_t i = nStart; i < bytes.size(); ++i)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    }
    return text;
}

// Loads the file into the document unless its declaration would overrun the parser.
BOOL LoadFile(IXMLDOMDocument* xmlDoc, LPCTSTR lpszFileName)
{
    VARIANT_BOOL bLoaded = VARIANT_FALSE;
    return !HasLongVersion(FileText(lpszFileName).c_str()) &&
           SUCCEEDED(xmlDoc->load(_variant_t(lpszFileName), &bLoaded)) && bLoaded == VARIANT_TRUE;
}

CString NodeName(IXMLDOMNode* xmlNode)
{
    BSTR bstrName = nullptr;
    Check(xmlNode->get_nodeName(&bstrName));
    CString strName(bstrName ? bstrName : L"");
    ::SysFreeString(bstrName);
    return strName;
}

BOOL IsElement(IXMLDOMNode* xmlNode)
{
    DOMNodeType type = NODE_INVALID;
    Check(xmlNode->get_nodeType(&type));
    return type == NODE_ELEMENT;
}

// The first element named lpszName among xmlNode (when bFromSelf) or its following siblings.
IXMLDOMNodePtr NextElementNamed(IXMLDOMNodePtr xmlNode, LPCTSTR lpszName, BOOL bFromSelf)
{
    if (xmlNode && !bFromSelf) {
        IXMLDOMNode* xmlNext = nullptr;
        Check(xmlNode->get_nextSibling(&xmlNext));
        xmlNode.Attach(xmlNext);
    }
    for (; xmlNode;) {
        if (IsElement(xmlNode) && NodeName(xmlNode) == lpszName)
            return xmlNode;
        IXMLDOMNode* xmlNext = nullptr;
        Check(xmlNode->get_nextSibling(&xmlNext));
        xmlNode.Attach(xmlNext);
    }
    return nullptr;
}

IXMLDOMNodePtr FirstChildElement(IXMLDOMNode* xmlParent, LPCTSTR lpszName)
{
    IXMLDOMNode* xmlChild = nullptr;
    Check(xmlParent->get_firstChild(&xmlChild));
    IXMLDOMNodePtr xmlFirst;
    xmlFirst.Attach(xmlChild);
    return NextElementNamed(xmlFirst, lpszName, TRUE);
}

IXMLDOMNodePtr AppendElement(IXMLDOMDocument* xmlDoc, IXMLDOMNode* xmlParent, LPCTSTR lpszName)
{
    IXMLDOMElement* xmlElement = nullptr;
    Check(xmlDoc->createElement(_bstr_t(lpszName), &xmlElement));
    IXMLDOMElementPtr element;
    element.Attach(xmlElement);
    IXMLDOMNode* xmlAppended = nullptr;
    Check(xmlParent->appendChild(element, &xmlAppended));
    IXMLDOMNodePtr appended;
    appended.Attach(xmlAppended);
    return appended;
}

// XML 1.0 holds no control characters but tab, line feed and carriage return: a text with others is refused
// rather than written into a document that could not be read again.
BOOL IsXmlText(const CString& strValue)
{
    for (int i = 0; i < strValue.GetLength(); ++i) {
        TCHAR ch = strValue[i];
        if ((ch < 0x20 && ch != L'\t' && ch != L'\n' && ch != L'\r') || ch == 0xFFFE || ch == 0xFFFF)
            return FALSE;
    }
    return TRUE;
}

CString NodeText(IXMLDOMNode* xmlNode)
{
    BSTR bstrText = nullptr;
    Check(xmlNode->get_text(&bstrText));
    CString strText(bstrText ? bstrText : L"");
    ::SysFreeString(bstrText);
    return strText;
}
}

// The XML walk over a list: saving appends one element per item, loading visits the elements of the tag.
class CXTPPropExchangeXMLEnumerator : public CXTPPropExchangeEnumerator
{
public:
    CXTPPropExchangeXMLEnumerator(CXTPPropExchangeXMLNode* pContainer, LPCTSTR lpszSection)
        : CXTPPropExchangeEnumerator(pContainer, lpszSection), m_pXmlContainer(pContainer)
    {
    }

    // A list of none saves no element at all.
    POSITION GetPosition(DWORD dwCount, BOOL /*bCompatible*/) override
    {
        m_nCount = dwCount;
        if (m_pXmlContainer->IsStoring())
            return dwCount ? reinterpret_cast<POSITION>(1) : nullptr;
        if (!m_pXmlContainer->OnBeforeExchange())
            return nullptr;
        m_xmlCurrent = FirstChildElement(m_pXmlContainer->m_xmlSectionNode, m_strSectionName);
        return m_xmlCurrent ? reinterpret_cast<POSITION>(1) : nullptr;
    }

    CXTPPropExchange* GetNext(POSITION& pos) override
    {
        UINT_PTR nPosition = reinterpret_cast<UINT_PTR>(pos);
        CXTPPropExchangeXMLNode* pSection = static_cast<CXTPPropExchangeXMLNode*>(m_pXmlContainer->GetSection(m_strSectionName));
        if (m_pXmlContainer->IsStoring()) {
            pSection->AttachElement(AppendElement(m_pXmlContainer->m_xmlDocPtr, m_pXmlContainer->m_xmlSectionNode, m_strSectionName));
            pos = nPosition < m_nCount ? reinterpret_cast<POSITION>(nPosition + 1) : nullptr;
            return pSection;
        }
        pSection->AttachElement(m_xmlCurrent);
        m_xmlCurrent = NextElementNamed(m_xmlCurrent, m_strSectionName, FALSE);
        pos = m_xmlCurrent ? reinterpret_cast<POSITION>(nPosition + 1) : nullptr;
        return pSection;
    }

    // The walk follows the elements there are.
    BOOL IsNextStored(POSITION pos) override { return pos != nullptr; }

private:
    CXTPPropExchangeXMLNode* m_pXmlContainer;
    IXMLDOMNodePtr m_xmlCurrent;
};

CXTPPropExchangeXMLNode::CXTPPropExchangeXMLNode(BOOL bLoading, IXMLDOMNode* xmlParentNode, LPCTSTR lpszSection)
    : m_xmlParentNode(xmlParentNode), m_strSectionName(lpszSection)
{
    m_bLoading = bLoading;
    if (xmlParentNode) {
        IXMLDOMDocument* xmlDoc = nullptr;
        if (SUCCEEDED(xmlParentNode->get_ownerDocument(&xmlDoc)) && xmlDoc)
            m_xmlDocPtr.Attach(xmlDoc);
        else
            m_xmlDocPtr = xmlParentNode;   // the node is the document itself
    }
}

BOOL CXTPPropExchangeXMLNode::CreateDocument()
{
    if (m_xmlDocPtr)
        return TRUE;
    m_xmlDocPtr = NewDocument();
    return m_xmlDocPtr != nullptr;
}

BOOL CXTPPropExchangeXMLNode::LoadFromString(LPCTSTR lpszXml)
{
    IXMLDOMDocumentPtr xmlDoc = NewDocument();
    VARIANT_BOOL bLoaded = VARIANT_FALSE;
    if (!xmlDoc || HasLongVersion(lpszXml ? lpszXml : L"") || FAILED(xmlDoc->loadXML(_bstr_t(lpszXml), &bLoaded)) ||
        bLoaded != VARIANT_TRUE)
        return FALSE;
    m_xmlDocPtr = xmlDoc;
    m_xmlParentNode = xmlDoc;
    m_xmlSectionNode = nullptr;
    m_bInitialized = FALSE;
    return TRUE;
}

BOOL CXTPPropExchangeXMLNode::LoadFromFile(LPCTSTR lpszFileName)
{
    DWORD dwAttributes = ::GetFileAttributesW(lpszFileName);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    IXMLDOMDocumentPtr xmlDoc = NewDocument();
    if (!xmlDoc || !LoadFile(xmlDoc, lpszFileName))
        return FALSE;
    m_xmlDocPtr = xmlDoc;
    m_xmlParentNode = xmlDoc;
    m_xmlSectionNode = nullptr;
    m_bInitialized = FALSE;
    return TRUE;
}

BOOL CXTPPropExchangeXMLNode::SaveToFile(LPCTSTR lpszFileName)
{
    OnBeforeExchange();
    return m_xmlDocPtr && SUCCEEDED(m_xmlDocPtr->save(_variant_t(lpszFileName)));
}

BOOL CXTPPropExchangeXMLNode::OnBeforeExchange()
{
    if (!m_bInitialized) {
        m_bInitialized = TRUE;
        if (!m_bChildSection && !m_xmlDocPtr && CreateDocument())
            m_xmlParentNode = m_xmlDocPtr;
        if (m_xmlParentNode && !m_xmlSectionNode) {
            m_xmlSectionNode = FirstChildElement(m_xmlParentNode, m_strSectionName);
            if (!m_xmlSectionNode && m_xmlDocPtr)
                m_xmlSectionNode = AppendElement(m_xmlDocPtr, m_xmlParentNode, m_strSectionName);
        }
        // The root's mode; a document without it keeps its values in child elements, whatever the caller's
        // default flags.
        if (!m_bChildSection && m_xmlSectionNode) {
            BOOL bUseDefaultOnLoad = m_bUseDefaultOnLoad;
            m_bUseDefaultOnLoad = TRUE;
            ExchangeBool(this, L"CompactMode", m_bCompactMode, FALSE);
            m_bUseDefaultOnLoad = bUseDefaultOnLoad;
        }
    }
    return m_xmlDocPtr && m_xmlParentNode && m_xmlSectionNode;
}

void CXTPPropExchangeXMLNode::AttachElement(IXMLDOMNode* xmlElement)
{
    m_xmlSectionNode = xmlElement;
    m_bInitialized = TRUE;
}

IXMLDOMNodePtr CXTPPropExchangeXMLNode::GetProfileNode(LPCTSTR lpszName, BOOL bCreate)
{
    if (m_bCompactMode) {
        IXMLDOMNamedNodeMap* xmlAttributes = nullptr;
        Check(m_xmlSectionNode->get_attributes(&xmlAttributes));
        IXMLDOMNamedNodeMapPtr attributes;
        attributes.Attach(xmlAttributes);
        IXMLDOMNode* xmlAttribute = nullptr;
        if (attributes)
            attributes->getNamedItem(_bstr_t(lpszName), &xmlAttribute);
        IXMLDOMNodePtr attribute;
        attribute.Attach(xmlAttribute);
        if (!attribute && bCreate) {
            IXMLDOMElementPtr element = m_xmlSectionNode;
            Check(element->setAttribute(_bstr_t(lpszName), _variant_t(L"")));
            attributes->getNamedItem(_bstr_t(lpszName), &xmlAttribute);
            attribute.Attach(xmlAttribute);
        }
        return attribute;
    }
    IXMLDOMNodePtr xmlChild = FirstChildElement(m_xmlSectionNode, lpszName);
    if (!xmlChild && bCreate)
        xmlChild = AppendElement(m_xmlDocPtr, m_xmlSectionNode, lpszName);
    return xmlChild;
}

void CXTPPropExchangeXMLNode::RemoveProfileNode(LPCTSTR lpszName)
{
    if (m_bCompactMode) {
        IXMLDOMElementPtr element = m_xmlSectionNode;
        Check(element->removeAttribute(_bstr_t(lpszName)));
        return;
    }
    if (IXMLDOMNodePtr xmlChild = FirstChildElement(m_xmlSectionNode, lpszName)) {
        IXMLDOMNode* xmlRemoved = nullptr;
        Check(m_xmlSectionNode->removeChild(xmlChild, &xmlRemoved));
        if (xmlRemoved)
            xmlRemoved->Release();
    }
}

BOOL CXTPPropExchangeXMLNode::ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault)
{
    pvDefault = EffectiveDefault(pvDefault);
    if (IsStoring()) {
        // A value back at its default leaves the section, so that a reload does not give the older value back.
        if (pvDefault && IsSamePropValue(vtProp, pvProp, pvDefault)) {
            if (!m_bEmptySection && OnBeforeExchange())
                RemoveProfileNode(pszPropName);
            return TRUE;
        }
        CString strValue;
        if (!OnBeforeExchange() || !PropValueToText(vtProp, pvProp, strValue) || !IsXmlText(strValue))
            return FALSE;
        IXMLDOMNodePtr xmlNode = GetProfileNode(pszPropName, TRUE);
        Check(xmlNode->put_text(_bstr_t(static_cast<LPCTSTR>(strValue))));
        return TRUE;
    }
    IXMLDOMNodePtr xmlNode = OnBeforeExchange() ? GetProfileNode(pszPropName, FALSE) : nullptr;
    if (!xmlNode)
        return CopyPropValue(vtProp, pvProp, pvDefault);
    return PropValueFromText(vtProp, NodeText(xmlNode), pvProp, pvDefault);
}

CXTPPropExchange* CXTPPropExchangeXMLNode::GetSection(LPCTSTR pszSection)
{
    OnBeforeExchange();
    CXTPPropExchangeXMLNode* pSection = new CXTPPropExchangeXMLNode(m_bLoading, m_xmlSectionNode, pszSection);
    pSection->m_bCompactMode = m_bCompactMode;
    pSection->InitSection(this);
    return pSection;
}

void CXTPPropExchangeXMLNode::EmptySection()
{
    CXTPPropExchange::EmptySection();
    if (OnBeforeExchange()) {
        IXMLDOMNode* xmlRemoved = nullptr;
        Check(m_xmlParentNode->removeChild(m_xmlSectionNode, &xmlRemoved));
        if (xmlRemoved)
            xmlRemoved->Release();
    }
    m_xmlSectionNode = nullptr;
    m_bInitialized = FALSE;
}

CXTPPropExchangeEnumerator* CXTPPropExchangeXMLNode::GetEnumerator(LPCTSTR pszSection)
{
    // Older documents count their list items in "Count" and number them.
    if (IsLoading() && OnBeforeExchange() && GetProfileNode(L"Count", FALSE))
        return CXTPPropExchange::GetEnumerator(pszSection);
    return new CXTPPropExchangeXMLEnumerator(this, pszSection);
}

BOOL CXTPPropExchangeXMLNode::IsSectionExists(LPCTSTR lpszSection)
{
    return OnBeforeExchange() && FirstChildElement(m_xmlSectionNode, lpszSection) != nullptr;
}

CXTPPropExchangeXMLNode* CXTPPropExchangeXMLNode::SelectSection(LPCTSTR lpszQuery)
{
    if (!OnBeforeExchange())
        return nullptr;
    IXMLDOMNode* xmlSelected = nullptr;
    Check(m_xmlSectionNode->selectSingleNode(_bstr_t(lpszQuery), &xmlSelected));
    if (!xmlSelected)
        return nullptr;
    IXMLDOMNodePtr selected;
    selected.Attach(xmlSelected);
    auto* pSection = static_cast<CXTPPropExchangeXMLNode*>(GetSection(NodeName(selected)));
    pSection->AttachElement(selected);
    return pSection;
}

void CXTPPropExchangeXMLNode::PutSection(CXTPPropExchangeXMLNode* pNode)
{
    if (!OnBeforeExchange() || !pNode->OnBeforeExchange())
        return;
    IXMLDOMNode* xmlAppended = nullptr;
    Check(m_xmlSectionNode->appendChild(pNode->m_xmlSectionNode, &xmlAppended));
    if (xmlAppended)
        xmlAppended->Release();
}

CString CXTPPropExchangeXMLNode::GetXML(BOOL bFormatted)
{
    OnBeforeExchange();
    IXMLDOMNodePtr xmlNode = m_bChildSection ? m_xmlSectionNode : IXMLDOMNodePtr(m_xmlDocPtr);
    if (!xmlNode)
        return CString();
    BSTR bstrXml = nullptr;
    Check(xmlNode->get_xml(&bstrXml));
    CString strXml(bstrXml ? bstrXml : L"");
    ::SysFreeString(bstrXml);
    return bFormatted ? XTPFormatXml(strXml) : strXml;
}

CString XTPFormatXml(const CString& strXml)
{
    CString strResult;
    int nLevel = 0;
    int nLength = strXml.GetLength();
    for (int i = 0; i < nLength; ++i) {
        TCHAR ch = strXml[i];
        if (ch == L'<' && i + 1 < nLength) {
            TCHAR chNext = strXml[i + 1];
            if (chNext == L'/') {
                --nLevel;
            } else if (chNext != L'?' && chNext != L'!') {
                if (!strResult.IsEmpty()) {
                    strResult += L"\r\n";
                    for (int n = 0; n < nLevel; ++n)
                        strResult += L'\t';
                }
                // An element that closes itself does not open a level.
                int nEnd = strXml.Find(L'>', i);
                if (nEnd > 0 && strXml[nEnd - 1] != L'/')
                    ++nLevel;
            }
        }
        strResult += ch;
    }
    return strResult;
}

BOOL FormatXmlFile(LPCTSTR lpszFileName)
{
    CFileStatus status;
    if (!CFile::GetStatus(lpszFileName, status))
        return FALSE;
    if (status.m_size < 3)
        return TRUE;
    IXMLDOMDocumentPtr xmlDoc = NewDocument();
    BSTR bstrXml = nullptr;
    if (!xmlDoc || !LoadFile(xmlDoc, lpszFileName) || FAILED(xmlDoc->get_xml(&bstrXml)))
        return FALSE;
    CString strFormatted = XTPFormatXml(bstrXml ? bstrXml : L"");
    ::SysFreeString(bstrXml);
    // Written back through the DOM, which keeps the declaration's encoding; the added white space must stay.
    VARIANT_BOOL bReloaded = VARIANT_FALSE;
    xmlDoc->put_preserveWhiteSpace(VARIANT_TRUE);
    return SUCCEEDED(xmlDoc->loadXML(_bstr_t(static_cast<LPCTSTR>(strFormatted)), &bReloaded)) && bReloaded == VARIANT_TRUE &&
           SUCCEEDED(xmlDoc->save(_variant_t(lpszFileName)));
}
