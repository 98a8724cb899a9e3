// The XML and INI stores: the compact mode and its absence, lists as siblings, and what they make of broken,
// cut and garbled input (FALSE or defaults, never a crash, nothing changed).
#include "PropExchangeStores.h"

#include <gtest/gtest.h>

namespace
{
std::string Utf8(LPCTSTR text)
{
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(nBytes > 0 ? nBytes - 1 : 0, '\0');
    if (nBytes > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], nBytes, nullptr, nullptr);
    return bytes;
}

// The root element of an XML text, read through the DOM.
IXMLDOMElementPtr RootElement(const CString& strXml)
{
    IXMLDOMDocumentPtr xmlDoc;
    const CLSID clsidDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
    xmlDoc.CreateInstance(clsidDocument);
    VARIANT_BOOL bLoaded = VARIANT_FALSE;
    xmlDoc->loadXML(_bstr_t(static_cast<LPCTSTR>(strXml)), &bLoaded);
    IXMLDOMElement* xmlRoot = nullptr;
    xmlDoc->get_documentElement(&xmlRoot);
    IXMLDOMElementPtr root;
    root.Attach(xmlRoot);
    return root;
}

CString Attribute(IXMLDOMElement* xmlElement, LPCTSTR lpszName)
{
    _variant_t value;
    xmlElement->getAttribute(_bstr_t(lpszName), &value);
    return value.vt == VT_BSTR ? CString(value.bstrVal) : CString(L"(assente)");
}

int CountChildren(IXMLDOMElement* xmlElement, LPCTSTR lpszName)
{
    int nCount = 0;
    IXMLDOMNode* xmlChild = nullptr;
    xmlElement->get_firstChild(&xmlChild);
    while (xmlChild) {
        BSTR bstrName = nullptr;
        xmlChild->get_nodeName(&bstrName);
        nCount += wcscmp(bstrName, lpszName) == 0;
        ::SysFreeString(bstrName);
        IXMLDOMNode* xmlNext = nullptr;
        xmlChild->get_nextSibling(&xmlNext);
        xmlChild->Release();
        xmlChild = xmlNext;
    }
    return nCount;
}

void SaveList(CXTPPropExchange* px, int nItems)
{
    int n = 5;
    ExchangeInt(px, L"N", n, 0);
    std::unique_ptr<CXTPPropExchangeEnumerator> list(px->GetEnumerator(L"Item"));
    POSITION pos = list->GetPosition(static_cast<DWORD>(nItems));
    for (int i = 0; pos; ++i) {
        CXTPPropExchangeSection item(list->GetNext(pos));
        ExchangeInt(&item, L"V", i, -1);
    }
}
}

TEST(PropExchangeXmlTest, CompactModeWritesItselfAndValuesAsAttributes)
{
    for (int nItems : {0, 1, 3}) {
        SCOPED_TRACE(nItems);
        CXmlBacking backing(TRUE);
        backing.Save([&](CXTPPropExchange* px) { SaveList(px, nItems); });
        IXMLDOMElementPtr root = RootElement(backing.m_strXml);
        ASSERT_TRUE(root);
        EXPECT_EQ(CString(L"1"), Attribute(root, L"CompactMode"));
        EXPECT_EQ(CString(L"5"), Attribute(root, L"N"));
        // Items are sibling elements of one tag, without a count.
        EXPECT_EQ(nItems, CountChildren(root, L"Item"));
        EXPECT_EQ(CString(L"(assente)"), Attribute(root, L"Count"));
    }
}

TEST(PropExchangeXmlTest, DocumentWithoutCompactModeIsReadAsChildElements)
{
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(px.LoadFromString(L"<Settings N=\"1\"><N>7</N><S>testo</S><Item><V>4</V></Item><Item><V>6</V></Item></Settings>"));
    px.UseDefaultOnLoad(FALSE);
    int n = 0;
    CString str;
    EXPECT_TRUE(ExchangeInt(&px, L"N", n));
    EXPECT_TRUE(ExchangeString(&px, L"S", str));
    EXPECT_EQ(7, n);
    EXPECT_EQ(CString(L"testo"), str);
    std::unique_ptr<CXTPPropExchangeEnumerator> list(px.GetEnumerator(L"Item"));
    std::vector<int> values;
    for (POSITION pos = list->GetPosition(); pos;) {
        CXTPPropExchangeSection item(list->GetNext(pos));
        int v = 0;
        ExchangeInt(&item, L"V", v, 0);
        values.push_back(v);
    }
    EXPECT_EQ((std::vector<int> {4, 6}), values);
}

TEST(PropExchangeXmlTest, OlderListsWithACountUseNumberedChildren)
{
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(px.LoadFromString(L"<Settings CompactMode=\"1\" Count=\"2\"><Item0 V=\"8\"/><Item1 V=\"9\"/></Settings>"));
    std::unique_ptr<CXTPPropExchangeEnumerator> list(px.GetEnumerator(L"Item"));
    std::vector<int> values;
    for (POSITION pos = list->GetPosition(); pos;) {
        CXTPPropExchangeSection item(list->GetNext(pos));
        int v = 0;
        ExchangeInt(&item, L"V", v, 0);
        values.push_back(v);
    }
    EXPECT_EQ((std::vector<int> {8, 9}), values);
}

TEST(PropExchangeXmlTest, BrokenOrCutDocumentsAreRefusedAndTheLoadedOneStays)
{
    CTempFolder folder;
    const LPCTSTR texts[] = {L"", L"<Settings", L"<Settings N=\"2\"><A>", L"non è XML", L"<a></b>",
                             L"<Settings N=\"2\"/><Altro/>"};
    for (LPCTSTR text : texts) {
        SCOPED_TRACE(Utf8(text));
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
        ASSERT_TRUE(px.LoadFromString(L"<Settings CompactMode=\"1\" N=\"1\"/>"));
        EXPECT_FALSE(px.LoadFromString(text));
        EXPECT_FALSE(px.LoadFromFile(folder.Write(L"guasto.xml", Utf8(text))));
        int n = 0;
        EXPECT_TRUE(ExchangeInt(&px, L"N", n, 0));
        EXPECT_EQ(1, n);
    }
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
    EXPECT_FALSE(px.LoadFromFile(folder.File(L"assente.xml")));
    EXPECT_FALSE(px.LoadFromFile(folder.Path()));
}

// The bytes of an ASCII text in UTF-16, low byte first or high byte first.
std::string Utf16(const CString& text, bool bLittle)
{
    std::string bytes;
    for (int i = 0; i < text.GetLength(); i++) {
        char ch = static_cast<char>(text[i]);
        bytes += bLittle ? std::string {ch, '\0'} : std::string {'\0', ch};
    }
    return bytes;
}

// A long version in the declaration overran the system parser's buffer (a crash while loading): it is refused
// by every way in, whatever the file's encoding, while the versions files use still load.
TEST(PropExchangeXmlTest, DeclarationsWithALongVersionAreRefusedByEveryLoad)
{
    const CString strLong = L"1.01234567890123456789012345678901234567890123456789";
    const struct
    {
        CString declaration;
        BOOL bLoads;
    } cases[] = {
        {L"<?xml version=\"1.0\"?>", TRUE},
        {L"<?xml version=\"1.1\" encoding=\"UTF-8\"?>", TRUE},
        {L"<?xml version=\"1.01234567\"?>", TRUE},
        {L"<?xml version=\"1.6299999999999999999999999999999999999999990\" encoding=\"UTF-8\"?>", FALSE},
        {L"<?xml\r\n  version = '" + strLong + L"'?>", FALSE},
        {L"<?xml version=\"" + strLong + L"\" encoding=\"UTF-16\"?>", FALSE},
    };
    CTempFolder folder;
    for (const auto& c : cases) {
        const CString text = c.declaration + L"<Settings CompactMode=\"1\" N=\"2\"/>";
        SCOPED_TRACE(Utf8(text));
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
        EXPECT_EQ(c.bLoads, px.LoadFromString(text));
        EXPECT_EQ(c.bLoads, px.LoadFromString(L" \n" + text));
        const std::pair<const char*, std::string> files[] = {
            {"UTF-8", Utf8(text)},
            {"UTF-8 with its mark", "\xEF\xBB\xBF" + Utf8(text)},
            {"UTF-16 low byte first, with its mark", "\xFF\xFE" + Utf16(text, true)},
            {"UTF-16 high byte first", Utf16(text, false)},
        };
        for (const auto& file : files) {
            SCOPED_TRACE(file.first);
            const CString strFile = folder.Write(L"dichiarazione.xml", file.second);
            EXPECT_EQ(c.bLoads, px.LoadFromFile(strFile));
            EXPECT_EQ(c.bLoads, FormatXmlFile(strFile));
        }
    }
}

TEST(PropExchangeXmlTest, FileRoundTripAndFormattedText)
{
    CTempFolder folder;
    CXmlBacking backing(TRUE);
    backing.Save([&](CXTPPropExchange* px) { SaveList(px, 2); });
    CString strFile = folder.Write(L"layout.xml", Utf8(backing.m_strXml));
    ASSERT_TRUE(FormatXmlFile(strFile));
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(px.LoadFromFile(strFile));
    int n = 0;
    ExchangeInt(&px, L"N", n, 0);
    EXPECT_EQ(5, n);
    // Only opening tags start a line.
    EXPECT_EQ(CString(L"<a>\r\n\t<b/>\r\n\t<c>\r\n\t\t<d/></c></a>"), XTPFormatXml(L"<a><b/><c><d/></c></a>"));
}

TEST(PropExchangeTextStoresTest, LetterBlobsOfOddLengthOrForeignLettersAreRefused)
{
    for (LPCTSTR text : {L"ABC", L"ABZZ", L"ab"}) {
        SCOPED_TRACE(Utf8(text));
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
        ASSERT_TRUE(px.LoadFromString(CString(L"<Settings CompactMode=\"1\" Blob=\"") + text + L"\"/>"));
        BYTE buffer[4] = {9, 9, 9, 9};
        BYTE* pData = buffer;
        DWORD nBytes = sizeof(buffer);
        EXPECT_FALSE(ExchangeBlob(&px, L"Blob", pData, nBytes));
        EXPECT_EQ(9, buffer[0]);
    }
}

TEST(PropExchangeIniTest, LongTextsAndBlobsAreReadWhole)
{
    CIniBacking backing;
    CString strLong;
    for (int i = 0; i < 10000; ++i)
        strLong += static_cast<TCHAR>(L'a' + i % 26);
    std::vector<BYTE> blob(3000);
    for (size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<BYTE>(i);
    backing.Save([&](CXTPPropExchange* px) {
        ExchangeString(px, L"Long", strLong, L"");
        BYTE* pData = blob.data();
        DWORD nBytes = static_cast<DWORD>(blob.size());
        ExchangeBlob(px, L"Blob", pData, nBytes);
    });
    backing.Load([&](CXTPPropExchange* px) {
        CString str;
        EXPECT_TRUE(ExchangeString(px, L"Long", str, L""));
        EXPECT_EQ(strLong, str);
        BYTE* pData = nullptr;
        DWORD nBytes = 0;
        EXPECT_TRUE(ExchangeBlob(px, L"Blob", pData, nBytes));
        EXPECT_EQ(blob, std::vector<BYTE>(pData, pData + nBytes));
        free(pData);
    });
}

TEST(PropExchangeIniTest, EmptyTextIsToldApartFromAnAbsentOne)
{
    CIniBacking backing;
    CString strEmpty;
    backing.Save([&](CXTPPropExchange* px) { ExchangeString(px, L"S", strEmpty, L"predefinito"); });
    backing.Load([&](CXTPPropExchange* px) {
        CString str = L"x";
        EXPECT_TRUE(ExchangeString(px, L"S", str, L"predefinito"));
        EXPECT_EQ(CString(), str);
    });
}

TEST(PropExchangeIniTest, GarbledFilesGiveDefaultsAndStayAsTheyWere)
{
    const std::string files[] = {
        std::string("\x00\xFF\xFE\x01garbage\n\n", 14),
        "[Settings\nN=3\n",
        "N=3\n[Settings]\n=4\nN\n",
        "[Settings]\nBlob=ABC\nR=1, 2\n",
    };
    for (const std::string& bytes : files) {
        CTempFolder folder;
        CString strFile = folder.Write(L"guasto.ini", bytes);
        {
            CXTPPropExchangeIniFile px(TRUE, nullptr, L"Settings");
            px.LoadFromFile(strFile);
            int n = 9;
            EXPECT_TRUE(ExchangeInt(&px, L"N", n, 7));
            EXPECT_EQ(7, n);
            BYTE* pData = nullptr;
            DWORD nBytes = 0;
            EXPECT_FALSE(ExchangeBlob(&px, L"Blob", pData, nBytes) && nBytes > 0);
            CRect rc;
            ExchangeRect(&px, L"R", rc, CRect(1, 2, 3, 4));
            EXPECT_EQ(CRect(1, 2, 3, 4), rc);
        }
        CStdioFile file;
        ASSERT_TRUE(file.Open(strFile, CFile::modeRead | CFile::typeBinary));
        std::string after(static_cast<size_t>(file.GetLength()), '\0');
        file.Read(&after[0], static_cast<UINT>(after.size()));
        EXPECT_EQ(bytes, after);
    }
}

TEST(PropExchangeIniTest, SaveThatCannotCopyLeavesTheDestination)
{
    CTempFolder folder;
    CString strDestination = folder.Write(L"impostazioni.ini", "[Settings]\nN=1\n");
    CXTPPropExchangeIniFile px(FALSE, nullptr, L"Settings");
    px.AssignFile(folder.File(L"assente.ini"));
    EXPECT_FALSE(px.SaveToFile(strDestination));
    CXTPPropExchangeIniFile reader(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(reader.LoadFromFile(strDestination));
    int n = 0;
    ExchangeInt(&reader, L"N", n, 0);
    EXPECT_EQ(1, n);
}
