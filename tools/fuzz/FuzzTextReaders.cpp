// The text-document readers: ".txd" documents (read, set fields, make fields, write, read again: the same
// document) and the report filling of a template (checked against the filling done on plain text).
#include "FuzzReaders.h"

#include "platform/textdoc/TextDocument.h"
#include "reports/ReportFiller.h"

#include <functional>

namespace
{
// Runs one step of a reader's round; a fault names the step.
std::string Step(const char* pszStep, const std::function<std::string()>& step)
{
    const std::string fault = step();
    return fault.empty() ? fault : std::string(pszStep) + ": " + fault;
}

std::string Utf8(const CString& text) { return text.ToMultiByte(CP_UTF8); }

// The fields lie inside the text, in document order, without overlapping.
std::string CheckFields(const CTextDocument& doc)
{
    long nEnd = 0;
    for (const CTextField& field : doc.GetFields()) {
        if (field.nStart < nEnd || field.nLength < 0 || field.nLength > doc.GetLength() - field.nStart)
            return "field " + std::to_string(field.nId) + " at " + std::to_string(field.nStart) + "+" +
                   std::to_string(field.nLength) + " out of order or outside the text of " + std::to_string(doc.GetLength());
        nEnd = field.nStart + field.nLength;
    }
    return "";
}

// What a document holds, as one text: the text, each character's format, the fields with their data, the table
// rows' layouts, the page.
std::string Contents(const CTextDocument& doc)
{
    std::string s = Utf8(doc.GetText()) + "\n";
    const CTextCharFormat* last = nullptr;
    for (long i = 0; i < doc.GetLength(); ++i) {
        const CTextCharFormat& f = doc.GetCharFormat(i);
        if (last && *last == f)
            continue;
        last = &f;
        s += std::to_string(i) + ":" + Utf8(f.strFace) + "/" + std::to_string(f.nCharSet) + "/" +
             std::to_string(f.nHalfPoints) + (f.bBold ? "b" : "") + (f.bItalic ? "i" : "") + (f.bUnderline ? "u" : "") + " ";
    }
    for (const CTextField& field : doc.GetFields())
        s += "\n" + std::to_string(field.nStart) + "+" + std::to_string(field.nLength) + ":" + Utf8(field.strData);
    for (const CTextRowExtent& extent : doc.GetRowExtents()) {
        const CTextTableRow& row = doc.GetTableRow(extent.nRow);
        s += std::string("\nrow") + (row.bHeading ? "h" : "") + (row.bShaded ? "s" : "") + (row.bRuled ? "r" : "");
        for (const CTextTableCell& cell : row.cells)
            s += " " + std::to_string(cell.nRight) + "/" + std::to_string(cell.nAlign);
    }
    const CTextPageSetup& page = doc.PageSetup();
    for (long n : {page.nWidth, page.nHeight, page.nMarginLeft, page.nMarginTop, page.nMarginRight, page.nMarginBottom})
        s += " " + std::to_string(n);
    return s;
}

// Where two contents first differ, for the finding's text.
std::string FirstDifference(const std::string& a, const std::string& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const size_t from = i < 40 ? 0 : i - 40;
    return "at " + std::to_string(i) + ": \"" + a.substr(from, 80) + "\" / \"" + b.substr(from, 80) + "\"";
}

// Values for the references by their name, with what templates and archives hold: line breaks, check boxes,
// texts that look like references or tags.
CString FuzzValue(const CString& strName)
{
    static const LPCTSTR s_values[] = {L"", L"uno", L"Via Roma 1\r\n02015 Cittaducale", L"a\nb\rc", L"\u00fe", L"\u00a8",
                                       L"$[L:T;NAME:x]$", L"$P", L"]$", L"1.234,50 \u20ac"};
    unsigned n = 0;
    for (int i = 0; i < strName.GetLength(); ++i)
        n = n * 31 + strName[i];
    return s_values[n % (sizeof s_values / sizeof s_values[0])];
}

} // namespace

std::string GenerateRtf(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_names = {"Arial", "Wingdings", "Caf\\'80", "\\u1055?\\u1088?A", "A\\'0dB", "A\\'3bB",
                                                     "\\u59?x", " Tahoma ", "{\\*\\panose 0}Times", "", "\\{x\\}"};
    static const std::vector<std::string> s_words = {
        "\\par ", "\\line ", "\\tab ", "\\page ", "\\b ", "\\b0 ", "\\i ", "\\ul ", "\\ulnone ", "\\plain ", "\\f0 ",
        "\\f1 ", "\\f7 ", "\\fs0 ", "\\fs24 ", "\\fs1300 ", "\\fs-4 ", "\\'e8", "\\'80", "\\'fe", "\\'0d", "\\u8364?",
        "\\u-10179?", "\\uc0 ", "\\uc2 ", "x", " ", "abc ", "{", "}", "{\\*\\x y}", "{\\colortbl;}", "\\~", "\\_",
        "\\\\", "\\{", "$[L:T;NAME:a]$", "$[", "]$", "$P", "\\emdash ", "\\paperw40 ", "\\paperh99999999 ",
        "\\margl-5 ", "\\landscape ", "\\trowd ", "\\trhdr ", "\\clbrdrt ", "\\clcbpat2 ", "\\cellx1000 ",
        "\\cellx-7 ", "\\intbl ", "\\pard ", "\\qr ", "\\qc ", "\\cell ", "\\cell ", "\\row ", "\\nestcell ", "\\'07"};
    std::string rtf = "{\\rtf1\\ansi\\deff0";
    if (rnd.Chance(80)) {
        rtf += "{\\fonttbl";
        for (size_t n = rnd.Chance(3) ? 10000 + rnd.Below(40000) : rnd.Count(); n > 0; --n) {
            const size_t nNumber = rnd.Chance(70) ? rnd.Below(8) : rnd.Below(1000000);
            rtf += "{\\f" + std::to_string(nNumber) + "\\fnil\\fcharset" + (rnd.Chance(30) ? "2" : "0") + " " +
                   rnd.Pick(s_names) + ";}";
        }
        rtf += "}";
    }
    if (rnd.Chance(70)) {
        rtf += "{\\*\\qzfields";
        const size_t nText = 40;
        for (size_t n = rnd.Chance(3) ? 5000 + rnd.Below(20000) : rnd.Count(); n > 0; --n) {
            static const std::vector<std::string> s_lengths = {"0", "0", "1", "3", "2147483647", "-1", "40"};
            rtf += "{\\qzfield\\qzpos" + std::to_string(rnd.Chance(95) ? rnd.Below(nText) : rnd.Below(4000000000U)) +
                   "\\qzlen" + rnd.Pick(s_lengths) + "{\\qzdata L:T;NAME:" + std::to_string(rnd.Below(20)) +
                   (rnd.Chance(20) ? "\\'0d\\par\\u8364?" : "") + "}}";
        }
        rtf += "}";
    }
    for (size_t n = rnd.Chance(3) ? 20000 + rnd.Below(40000) : 10 + rnd.Below(60); n > 0; --n) {
        if (rnd.Chance(10))
            rtf += "\\fs" + std::to_string(rnd.Below(1000000)) + " ";
        else
            rtf += rnd.Pick(s_words);
    }
    rtf += "}";
    return rnd.Chance(30) ? Mutate(rtf, rnd, s_words) : rtf;
}


std::string FuzzTextDocument(const std::string& input, CFuzzRandom& rnd)
{
    CTextDocument doc;
    std::string fault = Step("reading", [&]() {
        doc.LoadRtf(input);   // a refusal ends the input
        return CheckFields(doc);
    });
    if (!fault.empty())
        return fault;
    // Fill the fields as the centre-confirmation view does, and some single ones as a user would.
    fault = Step("setting fields", [&]() {
        std::vector<std::pair<long, CString>> texts;
        for (const CTextField& field : doc.GetFields())
            texts.emplace_back(field.nId, FuzzValue(field.strData));
        CTextDocument single = doc;
        doc.SetFieldTexts(texts);
        for (size_t i = 0; i < texts.size() && i < 50; ++i)
            single.SetFieldText(texts[i].first, texts[i].second);
        if (texts.size() <= 50 && Contents(single) != Contents(doc))
            return "fields set one by one and all at once differ " + FirstDifference(Contents(single), Contents(doc));
        return CheckFields(doc);
    });
    if (!fault.empty())
        return fault;
    if (rnd.Chance(50)) {
        fault = Step("making fields", [&]() {
            MakeReferenceFields(doc, true);
            return CheckFields(doc);
        });
        if (!fault.empty())
            return fault;
    }
    return Step("writing and reading again", [&]() {
        const std::string written = doc.SaveToBytes(txdFormatOwn);
        CTextDocument again;
        again.LoadRtf(written);
        if (Contents(again) != Contents(doc))
            return "the document written reads back different " + FirstDifference(Contents(doc), Contents(again));
        for (int nFormat : {txdFormatRtf, txdFormatHtml, txdFormatText})
            doc.SaveToBytes(nFormat);
        return std::string();
    });
}

namespace
{

// The filler with the fuzzing values; it never opens the archive.
class CFuzzFiller : public CReportFiller
{
public:
    explicit CFuzzFiller(CADOConnection& data) : CReportFiller(data, reportValues) {}

protected:
    CString ValueOf(const CCellInfo& cell) override { return FuzzValue(cell.m_strName); }
};

} // namespace

std::string GenerateTemplate(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_words = {"$[L:T;NAME:a]$", "$[L:T;NAME:b]$", "$[L:T;NAME:c]$", "$[]$", "$[",
                                                     "]$", "$", "[", "]", "$P", "$P$P", "\r\n", "\n", "\r", "testo ",
                                                     "\xe8", "$[L:T;NAME:", "$[IMPCONT]"};
    std::string s;
    for (size_t n = rnd.Chance(3) ? 20000 + rnd.Below(60000) : 1 + rnd.Below(40); n > 0; --n)
        s += rnd.Pick(s_words);
    return rnd.Chance(20) ? Mutate(s, rnd, s_words) : s;
}

namespace
{

// The filling as plain text: what the document's text must be after filling and replacing a tag.
std::wstring FilledText(const std::wstring& text)
{
    std::wstring out;
    size_t done = 0;
    for (size_t p = text.find(L"$["); p != std::wstring::npos;) {
        const size_t q = text.find(L"]$", p + 2);
        if (q == std::wstring::npos)
            break;
        CCellInfo cell;
        cell.Parse(CString(text.substr(p + 2, q - p - 2).c_str()));
        out += text.substr(done, p - done) + static_cast<LPCTSTR>(CTextDocument::ParagraphText(FuzzValue(cell.m_strName)));
        done = q + 2;
        p = text.find(L"$[", done);
    }
    return out + text.substr(done);
}

std::wstring TagsReplaced(const std::wstring& text, const std::wstring& tag, const std::wstring& value)
{
    std::wstring out;
    size_t done = 0;
    for (size_t p = text.find(tag); p != std::wstring::npos; p = text.find(tag, done)) {
        out += text.substr(done, p - done) + value;
        done = p + tag.size();
    }
    return out + text.substr(done);
}

} // namespace

std::string FuzzFilling(const std::string& input, CFuzzRandom&)
{
    // A template read from a file has no cell end outside a row (the reader takes one for a paragraph end).
    CString strTemplate = Wide(input);
    strTemplate.Remove(kTxCellEnd);
    CTextDocument doc;
    doc.AppendText(strTemplate, CTextCharFormat());
    const std::wstring text = static_cast<LPCTSTR>(doc.GetText());
    CTextDocument fields = doc;
    std::string fault = Step("filling", [&]() {
        CADOConnection data;
        CFuzzFiller filler(data);
        filler.FillSpans(doc);
        const std::wstring expected = FilledText(text);
        if (std::wstring(static_cast<LPCTSTR>(doc.GetText())) != expected)
            return "filled text differs " + FirstDifference(Utf8(expected.c_str()), Utf8(doc.GetText()));
        long nBoxes = 0;
        for (long i = 0; i < doc.GetLength(); ++i)
            nBoxes += doc.GetCharFormat(i).IsSymbol() ? 1 : 0;
        long nExpected = 0;
        for (wchar_t ch : expected)
            nExpected += ch == kBoxTicked || ch == kBoxEmpty ? 1 : 0;
        if (nBoxes > nExpected)
            return "a symbol font on " + std::to_string(nBoxes) + " characters for " + std::to_string(nExpected) + " boxes";
        return std::string();
    });
    if (!fault.empty())
        return fault;
    fault = Step("replacing tags", [&]() {
        const std::wstring before = static_cast<LPCTSTR>(doc.GetText());
        ReplaceEveryTag(doc, L"$P", L"Q08\r\n$P");
        const std::wstring expected = TagsReplaced(before, L"$P", L"Q08\r$P");
        if (std::wstring(static_cast<LPCTSTR>(doc.GetText())) != expected)
            return "tags replaced differ " + FirstDifference(Utf8(expected.c_str()), Utf8(doc.GetText()));
        return std::string();
    });
    if (!fault.empty())
        return fault;
    return Step("making fields", [&]() {
        const std::vector<long> ids = MakeReferenceFields(fields, true);
        if (ids.size() != fields.GetFields().size())
            return std::string("the fields made are not the document's fields");
        for (const CTextField& field : fields.GetFields()) {
            const CString strText = fields.GetText().Mid(field.nStart, field.nLength);
            if (strText != field.strData)
                return "a field's text " + Utf8(strText) + " is not its reference " + Utf8(field.strData);
        }
        std::string fieldFault = CheckFields(fields);
        if (!fieldFault.empty())
            return fieldFault;
        std::vector<std::pair<long, CString>> texts;
        for (const CTextField& field : fields.GetFields())
            texts.emplace_back(field.nId, FuzzValue(field.strData));
        fields.SetFieldTexts(texts);
        for (size_t i = 0; i < texts.size(); ++i) {
            if (fields.GetFields()[i].nLength != CTextDocument::ParagraphText(texts[i].second).GetLength())
                return "field " + std::to_string(i) + " does not hold its value";
        }
        CTextDocument again;
        again.LoadRtf(fields.SaveToBytes(txdFormatOwn));
        if (Contents(again) != Contents(fields))
            return "the filled document reads back different " + FirstDifference(Contents(fields), Contents(again));
        return CheckFields(fields);
    });
}
