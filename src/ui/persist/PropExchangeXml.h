// The XML store: a section is an element of a DOM document (the system's msxml3, by COM), a value an attribute
// of it (compact mode) or a child element holding the value's text. A counted list is a run of sibling
// elements of one tag. Values equal to their defaults are left out, and removed when an older value is there.
// COM failures other than E_NOINTERFACE raise _com_error.
#pragma once

#include "ui/persist/PropExchange.h"

#include <msxml.h>
#include <comdef.h>

// MinGW's msxml.h names no interface ids for __uuidof: they come from the uuid library.
template <> inline const GUID& __mingw_uuidof<IXMLDOMDocument>() { return IID_IXMLDOMDocument; }
template <> inline const GUID& __mingw_uuidof<IXMLDOMNode>() { return IID_IXMLDOMNode; }
template <> inline const GUID& __mingw_uuidof<IXMLDOMElement>() { return IID_IXMLDOMElement; }
template <> inline const GUID& __mingw_uuidof<IXMLDOMNamedNodeMap>() { return IID_IXMLDOMNamedNodeMap; }

_COM_SMARTPTR_TYPEDEF(IXMLDOMDocument, __uuidof(IXMLDOMDocument));
_COM_SMARTPTR_TYPEDEF(IXMLDOMNode, __uuidof(IXMLDOMNode));
_COM_SMARTPTR_TYPEDEF(IXMLDOMElement, __uuidof(IXMLDOMElement));
_COM_SMARTPTR_TYPEDEF(IXMLDOMNamedNodeMap, __uuidof(IXMLDOMNamedNodeMap));

class CXTPPropExchangeXMLNode : public CXTPPropExchange
{
    DECLARE_DYNAMIC(CXTPPropExchangeXMLNode)
public:
    // xmlParentNode: the node (or document) under which the section's element lives; null for a root section
    // whose document is made on first use.
    CXTPPropExchangeXMLNode(BOOL bLoading, IXMLDOMNode* xmlParentNode, LPCTSTR lpszSection);

    BOOL CreateDocument();
    // Loads into a fresh document, which replaces the current one only when the text or file was read whole:
    // broken XML answers FALSE and leaves the exchange as it was.
    BOOL LoadFromString(LPCTSTR lpszXml);
    BOOL LoadFromFile(LPCTSTR lpszFileName);
    // Writes the whole document (its owner decides when; the store never does).
    BOOL SaveToFile(LPCTSTR lpszFileName);

    BOOL ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault = NULL) override;
    CXTPPropExchange* GetSection(LPCTSTR pszSection) override;
    void EmptySection() override;
    BOOL OnBeforeExchange() override;
    CXTPPropExchangeEnumerator* GetEnumerator(LPCTSTR pszSection) override;

    void SetCompactMode(BOOL bCompactMode) { m_bCompactMode = bCompactMode; }
    void SetLoading(BOOL bLoading) { m_bLoading = bLoading; }
    void SetEncoding(LPCTSTR lpszEncoding) { m_strEncoding = lpszEncoding; }
    BOOL IsSectionExists(LPCTSTR lpszSection) override;
    // The section of the first node an XPath query (relative to this section's element) selects; null when it
    // selects nothing. The caller releases it.
    CXTPPropExchangeXMLNode* SelectSection(LPCTSTR lpszQuery);
    // Appends the other section's element to this one.
    void PutSection(CXTPPropExchangeXMLNode* pNode);
    // The element's XML (the document's for a root section); formatted: a line and one tab per level before
    // each opening tag.
    CString GetXML(BOOL bFormatted = FALSE);

private:
    friend class CXTPPropExchangeXMLEnumerator;

    // The section's child element or attribute that holds a value; null when absent and not to be made.
    IXMLDOMNodePtr GetProfileNode(LPCTSTR lpszName, BOOL bCreate);
    void RemoveProfileNode(LPCTSTR lpszName);
    // Points the section at an element the enumerator chose.
    void AttachElement(IXMLDOMNode* xmlElement);

    IXMLDOMDocumentPtr m_xmlDocPtr;
    IXMLDOMNodePtr m_xmlParentNode;
    IXMLDOMNodePtr m_xmlSectionNode;
    CString m_strSectionName;
    CString m_strEncoding = L"UTF-8";
    BOOL m_bCompactMode = TRUE;
};

// A new line and one tab per nesting level before each opening tag.
CString XTPFormatXml(const CString& strXml);
// Rewrites an XML file in that form (files shorter than 3 bytes are left alone); FALSE when it cannot be
// read or written.
BOOL FormatXmlFile(LPCTSTR lpszFileName);
