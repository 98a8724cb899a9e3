// The XML and INI stores: the compact mode and its absence, lists as siblings, and what they make of broken,
// cut and garbled input (FALSE or defaults, never a crash, nothing changed).
#include "PropExchangeStores.h"
#include "support/LinearTime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
// The text in a code page, UTF-8 unless another is named.
std::string Encoded(LPCTSTR text, UINT nCodePage = CP_UTF8)
{
    int nBytes = ::WideCharToMultiByte(nCodePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(nBytes > 0 ? nBytes - 1 : 0, '\0');
    if (nBytes > 1)
        ::WideCharToMultiByte(nCodePage, 0, text, -1, &bytes[0], nBytes, nullptr, nullptr);
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
        SCOPED_TRACE(Encoded(text));
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
        ASSERT_TRUE(px.LoadFromString(L"<Settings CompactMode=\"1\" N=\"1\"/>"));
        EXPECT_FALSE(px.LoadFromString(text));
        EXPECT_FALSE(px.LoadFromFile(folder.Write(L"guasto.xml", Encoded(text))));
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
        SCOPED_TRACE(Encoded(text));
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
        EXPECT_EQ(c.bLoads, px.LoadFromString(text));
        EXPECT_EQ(c.bLoads, px.LoadFromString(L" \n" + text));
        const std::pair<const char*, std::string> files[] = {
            {"UTF-8", Encoded(text)},
            {"UTF-8 with its mark", "\xEF\xBB\xBF" + Encoded(text)},
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
    CString strFile = folder.Write(L"layout.xml", Encoded(backing.m_strXml));
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
        SCOPED_TRACE(Encoded(text));
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

namespace
{
// What the system's profile functions read from an INI file: the reference the store reads as.
CString ProfileValue(LPCTSTR lpszSection, LPCTSTR lpszKey, const CString& strFile)
{
    WCHAR szValue[256];
    ::GetPrivateProfileStringW(lpszSection, lpszKey, L"(assente)", szValue, 256, strFile);
    return szValue;
}
}

// Of repeated sections and keys the first wins, as the profile functions have it: a later section of the same
// name adds nothing, a key without a value hides a later one.
TEST(PropExchangeIniTest, FirstOfRepeatedSectionsAndKeysWins)
{
    const struct
    {
        std::string file;
        LPCTSTR child;   // a section below "Settings", or none
        LPCTSTR key;
        LPCTSTR expected;
    } cases[] = {
        {"[Settings]\r\nA=1\r\n[Settings]\r\nA=2\r\nB=3\r\n", nullptr, L"A", L"1"},
        {"[Settings]\r\nA=1\r\n[settings]\r\nA=2\r\nB=3\r\n", nullptr, L"B", L"(assente)"},
        {"[Settings]\r\n[Settings\\Item0]\r\n[Settings\\Item0]\r\nV=2\r\n", L"Item0", L"V", L"(assente)"},
        {"[Settings]\r\nA = 1 \r\na=2\r\n", nullptr, L"A", L"1"},
        {"[Settings]\r\nA\r\nA=2\r\n", nullptr, L"A", L"(assente)"},
        {"[Settings]\r\nA=\"x y\"\r\n", nullptr, L"A", L"x y"},
        {"  [ Settings ] \r\n\r\nA=1\rB=2\n[Settings\r\nA=3\r\n", nullptr, L"B", L"2"},
        {std::string("[Settings\0x]\r\nA\0b=1\0 2\r\n", 24), nullptr, L"A", L"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.c_str());
        CTempFolder folder;
        CString strFile = folder.Write(L"ripetute.ini", c.file);
        CString strSection = c.child ? CString(L"Settings\\") + c.child : CString(L"Settings");
        ASSERT_EQ(CString(c.expected), ProfileValue(strSection, c.key, strFile));
        CXTPPropExchangeIniFile px(TRUE, nullptr, L"Settings");
        ASSERT_TRUE(px.LoadFromFile(strFile));
        CXTPPropExchangeSection child(c.child ? px.GetSection(c.child) : nullptr);
        CString strValue;
        ExchangeString(c.child ? child.Get() : &px, c.key, strValue, L"(assente)");
        EXPECT_EQ(CString(c.expected), strValue);
    }
}

// Saving changes only what the exchange wrote, and the file comes out as the profile functions write it, in the
// file's own encoding: the other sections, repeated ones and lines without a value stay where they were (a
// section without a name loses its head and joins the one before, of two keys without a name the second goes).
TEST(PropExchangeIniTest, SavingKeepsTheRestOfTheFileAsTheProfileFunctionsDo)
{
    const CString strText = L"; note\r\n[Other]\r\nX=1\r\n=x\r\n=y\r\n[Settings]\r\nA=1\r\nkeep\r\n\r\n[]\r\nB=0\r\n"
                            L"[Settings\\Item0]\r\nV=1\r\n[Other]\r\nY=caff\u00e8\r\n[Settings\\Item0]\r\nV=2\r\n[Settings]\r\nA=3\r\n";
    std::string utf16 = "\xFF\xFE";
    for (int i = 0; i < strText.GetLength(); i++) {
        utf16 += static_cast<char>(strText[i] & 0xFF);
        utf16 += static_cast<char>(strText[i] >> 8);
    }
    const std::string originals[] = {Encoded(strText, CP_ACP), "\xEF\xBB\xBF" + Encoded(strText), utf16};
    const CString strEuro = L"\u20ac 5";
    auto readAll = [](const CString& strFile) {
        CStdioFile file;
        std::string bytes;
        if (file.Open(strFile, CFile::modeRead | CFile::typeBinary)) {
            bytes.assign(static_cast<size_t>(file.GetLength()), '\0');
            file.Read(&bytes[0], static_cast<UINT>(bytes.size()));
        }
        return bytes;
    };
    for (const std::string& original : originals) {
        SCOPED_TRACE(original.substr(0, 3).c_str());
        CTempFolder folder;
        CString strReference = folder.Write(L"riferimento.ini", original);
        ::WritePrivateProfileStringW(L"Settings", L"A", L"4", strReference);
        ::WritePrivateProfileStringW(L"Settings", L"B", strEuro, strReference);
        ::WritePrivateProfileStringW(L"Settings\\Item0", nullptr, nullptr, strReference);
        ::WritePrivateProfileStringW(L"Settings\\Item0", nullptr, nullptr, strReference);
        ::WritePrivateProfileStringW(L"Settings\\Item1", L"V", L"6", strReference);
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, strReference);

        CString strFile = folder.Write(L"impostazioni.ini", original);
        {
            CXTPPropExchangeIniFile px(FALSE, nullptr, L"Settings");
            ASSERT_TRUE(px.LoadFromFile(strFile));
            int a = 4;
            ExchangeInt(&px, L"A", a, 0);
            CString b = strEuro;
            ExchangeString(&px, L"B", b, L"");
            CXTPPropExchangeSection(&px, L"Item0")->EmptySection();
            CXTPPropExchangeSection item(&px, L"Item1");
            int v = 6;
            ExchangeInt(&item, L"V", v, 0);
            ASSERT_TRUE(px.SaveToFile(strFile));
        }
        EXPECT_EQ(readAll(strReference), readAll(strFile));
    }
}

// A list read from a file of repeated sections (a damaged file repeats one thousands of times) and a list
// written: both in time linear in the file.
TEST(PropExchangeIniTest, ListsReadAndWriteInTimeLinearInTheFile)
{
    CTempFolder folder;
    auto fileOf = [&](int nItems) {
        std::string text = "[Settings]\r\nCount=" + std::to_string(nItems) + "\r\n";
        for (int i = 0; i < nItems; i++) {
            text += "[Settings\\Item" + std::to_string(i) + "]\r\nV=" + std::to_string(i) + "\r\n";
            text += "[Settings\\Item0]\r\n\r\n";
        }
        return folder.Write((L"elenco" + std::to_wstring(nItems) + L".ini").c_str(), text);
    };
    auto exchangeList = [](CXTPPropExchange* px, int nItems) {
        std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(px->GetEnumerator(L"Item"));
        POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(nItems));
        int nRead = 0;
        while (pos && (px->IsStoring() || pEnumerator->IsNextStored(pos))) {
            CXTPPropExchangeSection section(pEnumerator->GetNext(pos));
            int v = nRead;
            ExchangeInt(&section, L"V", v, -1);
            nRead += v == nRead ? 1 : 0;
        }
        return nRead;
    };
    auto load = [&](const CString& strFile, int nItems) {
        CXTPPropExchangeIniFile px(TRUE, nullptr, L"Settings");
        ASSERT_TRUE(px.LoadFromFile(strFile));
        EXPECT_EQ(nItems, exchangeList(&px, nItems));
    };
    auto save = [&](int nItems) {
        CXTPPropExchangeIniFile px(FALSE, nullptr, L"Settings");
        exchangeList(&px, nItems);
        ASSERT_TRUE(px.SaveToFile(folder.File(L"scritto.ini")));
    };
    CString strOnce = fileOf(100), strTenfold = fileOf(1000);
    EXPECT_TRUE(GrowsLinearly([&]() { load(strOnce, 100); }, [&]() { load(strTenfold, 1000); })) << "reading";
    EXPECT_TRUE(GrowsLinearly([&]() { save(100); }, [&]() { save(1000); })) << "writing";
}
